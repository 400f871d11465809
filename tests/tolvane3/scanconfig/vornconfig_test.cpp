// The scan-configuration dialog against a fake module: what Apply, Close and Cancel send and in
// which order around the rate warning, recomputation on the user's own edits only, the unit list,
// and when the dialog counts as activated.

#include "program_fixture.h"
#include "scanconfig/VornConfig.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QRadioButton>
#include <QTabWidget>
#include <QWindow>

namespace {

VornConfig& dialog() {
    return FormInstance<VornConfig>::instance();
}

// The last line of each settings group, which makes the program ask for the next group.
QByteArray GroupEnd(char letter) {
    switch (letter) {
    case 'I':
        return "SET PAGE 1";
    case 'C':
        return "SET NEGPTSH 0";
    case 'H':
        return "SET MAX15 0";
    default:
        return "SET HOST 0 0 T"; // what a module set for low-speed scans reports
    }
}

bool focusOn(QWidget& window) {
    window.windowHandle()->requestActivate();
    return QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == window.windowHandle(); });
}

class ScanConfigTest : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        savedFramePeriod_ = Global::FramePeriod;
    }
    void TearDown() override {
        Global::FramePeriod = savedFramePeriod_;
        ProgramFixture::TearDown();
    }

    // Plays a module with nothing more to report: each group asked for since the record was
    // last cleared ends at once. True when every group was asked for in time.
    bool answerLists(const char* letters) {
        for (const char* letter = letters; *letter != '\0'; ++letter) {
            if (!module.waitForCommandCount("List " + QByteArray(1, *letter), 1)) {
                return false;
            }
            module.sendLine(GroupEnd(*letter));
        }
        return QTest::qWaitFor([] { return dialog().cmdApply->isEnabled(); });
    }

    // Connected, the dialog open and its settings read back, the record cleared.
    void openSettled() {
        startProgram();
        ASSERT_TRUE(connectTo(module.address()));
        ASSERT_TRUE(answerLists("ICHS"));
        module.clearReceived();
        frame().toolbarButton(4)->trigger();
        ASSERT_TRUE(dialog().isVisible());
        ASSERT_TRUE(answerLists("SC"));
        module.clearReceived();
    }

    // Sends a marker and waits for it: everything sent before it has arrived.
    QList<QByteArray> commandsSoFar() {
        const qsizetype marks = module.commandCount("SYNC") + 1;
        Global::SendVornCommand(QStringLiteral("SYNC\r"));
        EXPECT_TRUE(module.waitForCommandCount("SYNC", marks));
        QList<QByteArray> sent = module.commands();
        sent.removeAll("STATUS"); // polls fall wherever they fall
        sent.removeAll("SYNC");
        return sent;
    }

private:
    float savedFramePeriod_ = 0;
};

TEST_F(ScanConfigTest, ApplyAndCloseSendEveryFieldAndRereadAroundTheRateWarning) {
    const QList<QByteArray> userUnitSets = {
        "SET PERIOD 500", "SET AVG 1",     "SET FPS 100",    "SET UNITSCAN USER", "SET CVTUNIT 2.5",
        "SET EU 1",       "SET ZC 0",      "SET QPKTS 1",    "SET XSCANTRIG 0",   "SET PMAXL 15.0",
        "SET PMAXH 2.5",  "SET PMINL -15", "SET PMINH -2.5", "SET NEGPTSL 3",     "SET NEGPTSH 4",
    };
    const QList<QByteArray> kpaSets = {
        "SET PERIOD 500", "SET AVG 5",      "SET FPS 100",     "SET UNITSCAN KPA", "SET EU 0",
        "SET ZC 1",       "SET QPKTS 0",    "SET XSCANTRIG 1", "SET PMAXL 15.0",   "SET PMAXH 2.5",
        "SET PMINL -15",  "SET PMINH -2.5", "SET NEGPTSL 3",   "SET NEGPTSH 4",
    };
    const struct {
        const char* name;
        bool close;
        const char* average;
        int unit;
        bool boxes;
        bool highSpeed;
        const QList<QByteArray>& sets;
        int warningAt; // position of the warning among the commands, -1 for none
    } cases[] = {
        {"Apply warns before rereading", false, " 1 ", 26, true, false, userUnitSets, 15},
        {"Close rereads before the warning", true, "1", 26, true, false, userUnitSets, 16},
        {"25 Hz exactly is no warning", true, "5", 13, false, false, kpaSets, -1},
        {"high-speed scans are not limited", false, "1", 26, true, true, userUnitSets, -1},
    };
    openSettled();
    const QString warning = QStringLiteral("WARNING: Scan rate is 125 Hz, limit is 25 Hz");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        module.clearReceived();
        frame().toolbarButton(4)->trigger();
        ASSERT_TRUE(answerLists("SC"));
        VornConfig& form = dialog();
        form.medPeriod->setText(QStringLiteral("500 "));
        form.medAverage->setText(QLatin1String(c.average));
        form.medFps->setText(QStringLiteral("100"));
        form.lstUnitScan->setCurrentIndex(c.unit);
        form.medCvtUnits->setText(QStringLiteral("2.5"));
        form.chkEu->setChecked(c.boxes);
        form.chkZc->setChecked(!c.boxes);
        form.chkQPkts->setChecked(c.boxes);
        form.chkXScanTrig->setChecked(!c.boxes);
        const char* const limits[] = {"15.0", "2.5", "-15", "-2.5", "3", "4"};
        QLineEdit* const limitFields[] = {form.medPMaxL, form.medPMaxH,   form.medPMinL,
                                          form.medPMinH, form.medNegPtsL, form.medNegPtsH};
        for (int i = 0; i < 6; ++i) {
            limitFields[i]->setText(QLatin1String(limits[i]));
        }
        linkConfig().chkHSS->setChecked(c.highSpeed);
        window().Command1->setEnabled(false);
        module.clearReceived();
        messages.clear();
        // The box is answered after a marker command, so that the record shows where it stood.
        UserPrompts::setMessageBoxHandler([this](const UserPrompts::MessageBoxRequest& request) {
            messages.append(request);
            Global::SendVornCommand(QStringLiteral("BOX\r"));
            return QMessageBox::Ok;
        });

        (c.close ? form.cmdOk : form.cmdApply)->click();

        QList<QByteArray> expected = c.sets;
        expected << "List S";
        if (c.warningAt >= 0) {
            expected.insert(c.warningAt, "BOX");
            ASSERT_EQ(messages.size(), 1);
            EXPECT_EQ(messages[0].text, warning);
            EXPECT_EQ(messages[0].title, QStringLiteral("Tolvane3"));
        }
        EXPECT_EQ(commandsSoFar(), expected);
        EXPECT_EQ(form.isVisible(), !c.close);
        EXPECT_TRUE(FormInstance<VornConfig>::isLoaded());
        EXPECT_EQ(window().Command1->isEnabled(), c.close);
    }
}

TEST_F(ScanConfigTest, RateAndPeriodOrAverageFollowOnlyTheUsersOwnEdits) {
    enum Field { None, Period, Average, Rate };
    const struct {
        const char* name;
        bool fixPeriod;
        const char* period;
        const char* average;
        Field typedInto;
        const char* typed;
        const char* periodAfter;
        const char* averageAfter;
        const char* rateAfter;
    } cases[] = {
        {"average typed", false, "500", "", Average, "10", "500", "10", "12.5"},
        {"period typed", false, "", "7", Period, "300", "300", "7", "29.76191"},
        {"period below 50", false, "", "10", Period, "40", "40", "10", "0"},
        {"rate with the average fixed", false, "1", "4", Rate, "100", "156.25", "4", "100"},
        {"rate with the period fixed", true, "500", "9", Rate, "100", "500", "1", "100"},
        {"half an average is none", true, "500", "9", Rate, "250", "500", "0", "250"},
        // A mirrored period with no average yet must not turn the period into 0.
        {"texts the program sets", false, "500", "", None, "", "500", "", "0.0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FormInstance<VornConfig>::unload();
        VornConfig& form = dialog();
        (c.fixPeriod ? form.optFixPeriod : form.optFixAvg)->setChecked(true);
        form.medAverage->setText(QLatin1String(c.average));
        form.medPeriod->setText(QLatin1String(c.period));
        Global::FramePeriod = 0.5f;
        QLineEdit* const fields[] = {nullptr, form.medPeriod, form.medAverage, form.medRate};
        if (QLineEdit* field = fields[c.typedInto]) {
            field->clear();
            QTest::keyClicks(field, QLatin1String(c.typed));
        }
        EXPECT_EQ(form.medPeriod->text(), QLatin1String(c.periodAfter));
        EXPECT_EQ(form.medAverage->text(), QLatin1String(c.averageAfter));
        EXPECT_EQ(form.medRate->text(), QLatin1String(c.rateAfter));
        EXPECT_EQ(Global::FramePeriod, 0.5f); // only the module's AVG line sets it
    }
}

TEST_F(ScanConfigTest, LoadsWithItsCaptionsAndTheUnitsUnselected) {
    VornConfig& form = dialog();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Vorn Configuration"));
    EXPECT_FALSE(form.isModal());
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_EQ(form.medRate->text(), QStringLiteral("0.0"));
    EXPECT_TRUE(form.optFixAvg->isChecked());
    EXPECT_FALSE(form.optFixPeriod->isChecked());
    EXPECT_EQ(form.SSTab2->tabText(0), QStringLiteral("Scan"));
    EXPECT_EQ(form.SSTab2->tabText(1), QStringLiteral("Calibration"));
    const std::pair<QWidget*, const char*> named[] = {
        {form.medPeriod, "Period"},
        {form.medAverage, "Average"},
        {form.medRate, "Rate in Hz"},
        {form.medFps, "Frames Per Scan"},
        {form.lstUnitScan, "Conversion Units"},
        {form.medCvtUnits, "User Units"},
        {form.chkEu, "EU"},
        {form.chkZc, "Zero Correct"},
        {form.chkQPkts, "Queue Scan Output"},
        {form.chkXScanTrig, "External Scan Trigger"},
        {form.optFixPeriod, "Fix period to calculate average"},
        {form.optFixAvg, "Fix average to calculate period"},
        {form.medPMaxL, "Max Pressure Low Bank"},
        {form.medPMaxH, "Max Pressure High Bank"},
        {form.medPMinL, "Min Pressure Low Bank"},
        {form.medPMinH, "Min Pressure High Bank"},
        {form.medNegPtsL, "Negative Points Low Bank"},
        {form.medNegPtsH, "Negative Points High Bank"},
        {form.cmdApply, "Apply"},
        {form.cmdOk, "Close"},
        {form.cmdCancel, "Cancel"},
    };
    for (const auto& [control, name] : named) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(accessible, nullptr) << name;
        EXPECT_EQ(accessible->text(QAccessible::Name), QLatin1String(name));
    }
    EXPECT_EQ(form.Frame1->title(), QStringLiteral("When Using Rate:"));

    // Appended, never cleared: the first copies keep the codes; nothing is chosen for the module.
    QComboBox* units = form.lstUnitScan;
    Global::InitUnits();
    Global::InitUnits();
    EXPECT_EQ(units->count(), 54);
    EXPECT_EQ(units->currentIndex(), -1);
    EXPECT_EQ(units->itemText(0), QStringLiteral("PSI"));
    EXPECT_EQ(units->itemText(26), QStringLiteral("USER"));
    EXPECT_EQ(units->itemText(27), QStringLiteral("PSI"));
    units->setCurrentIndex(13);
    Global::InitUnits();
    EXPECT_EQ(units->count(), 81);
    EXPECT_EQ(units->currentText(), QStringLiteral("KPA"));
    EXPECT_EQ(units->currentIndex(), 13);
}

TEST_F(ScanConfigTest, TheCalibrationTabWarnsWhenShown) {
    QTabWidget* tabs = dialog().SSTab2;
    tabs->setCurrentIndex(1);
    tabs->setCurrentIndex(0);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].text,
              QStringLiteral(
                  "WARNING: Changes to any value on this page will require a full re-calibration"));
    EXPECT_EQ(messages[0].title, QStringLiteral("Tolvane3"));
}

TEST_F(ScanConfigTest, CancelEscapeAndTheCloseBoxSendNothingAndUnload) {
    const struct {
        const char* name;
        void (*leave)(VornConfig&);
    } ways[] = {
        {"Cancel", [](VornConfig& form) { form.cmdCancel->click(); }},
        {"Escape", [](VornConfig& form) { QTest::keyClick(form.medFps, Qt::Key_Escape); }},
        {"close box", [](VornConfig& form) { form.close(); }},
    };
    openSettled();
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        // Settings being read back: leaving steps the sequence on to the next group.
        frame().toolbarButton(4)->trigger();
        ASSERT_TRUE(module.waitForCommandCount("List S", 1));
        dialog().medFps->setText(QStringLiteral("77"));
        window().Command1->setEnabled(false);
        module.clearReceived();

        way.leave(dialog());

        EXPECT_FALSE(FormInstance<VornConfig>::isLoaded());
        EXPECT_TRUE(window().Command1->isEnabled());
        EXPECT_EQ(commandsSoFar(), QList<QByteArray>{"List C"});
        module.clearReceived();
        // Opened again at once, it is a new dialog: the edit went with the old one.
        frame().mnuConfigure->trigger();
        EXPECT_TRUE(dialog().isVisible());
        EXPECT_EQ(dialog().medFps->text(), QString());
        ASSERT_TRUE(answerLists("SC"));
        module.clearReceived();
    }
}

TEST_F(ScanConfigTest, ActivationRereadsOnlyWhenComingFromAnotherWindowOfTheProgram) {
    openSettled();
    ASSERT_TRUE(focusOn(dialog()));
    const auto rereads = [this] { return commandsSoFar().count("List S"); };
    EXPECT_EQ(rereads(), 0); // the focus that follows opening is the same activation
    EXPECT_EQ(dialog().lstUnitScan->count(), 54); // on connecting, then on opening

    // A window of its own, like its message boxes, takes the focus and gives it back.
    QDialog own(&dialog());
    own.show();
    ASSERT_TRUE(focusOn(own));
    ASSERT_TRUE(focusOn(dialog()));
    own.hide();
    EXPECT_EQ(rereads(), 0);

    ASSERT_TRUE(focusOn(frame()));
    ASSERT_TRUE(focusOn(dialog()));
    EXPECT_EQ(rereads(), 1);
    EXPECT_EQ(dialog().lstUnitScan->count(), 81);

    frame().mnuConfigure->trigger(); // chosen again while open
    EXPECT_EQ(rereads(), 2);
    EXPECT_EQ(dialog().lstUnitScan->count(), 108);
}

} // namespace
