// The scan-configuration dialog against a fake module: what Apply, Close and Cancel send and in
// which order around the rate warning, recomputation on the user's own edits only, and when the
// dialog counts as activated.

#include "program_fixture.h"
#include "scanconfig/VornConfig.h"

#include <QComboBox>
#include <QRadioButton>
#include <QTabWidget>

namespace {

VornConfig& dialog() {
    return FormInstance<VornConfig>::instance();
}

class ScanConfigTest : public ProgramFixture {
protected:
    // The dialog's settings read back: the groups it asked for answered, Apply enabled again.
    bool answerLists(const char* letters) {
        return module.answerLists(letters) &&
               QTest::qWaitFor([] { return dialog().cmdApply->isEnabled(); });
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
    // Close or Apply, the four boxes on or off, high-speed scans, the average and unit chosen, what
    // is sent and where the warning stands among it (-1: no warning).
    const std::tuple<const char*, bool, bool, bool, const char*, int, const QList<QByteArray>&, int>
        cases[] = {
            {"Apply warns before rereading", false, true, false, " 1 ", 26, userUnitSets, 15},
            {"Close rereads before the warning", true, true, false, "1", 26, userUnitSets, 16},
            {"25 Hz exactly is no warning", true, false, false, "5", 13, kpaSets, -1},
            {"high-speed scans are not limited", false, true, true, "1", 26, userUnitSets, -1},
        };
    openSettled();
    // The box is answered after a marker command, so that the record shows where it stood.
    answerMessages(QMessageBox::Ok, [] { Global::SendVornCommand(QStringLiteral("BOX\r")); });
    for (const auto& [name, close, boxes, highSpeed, average, unit, sets, warningAt] : cases) {
        SCOPED_TRACE(name);
        module.clearReceived();
        frame().toolbarButton(4)->trigger();
        ASSERT_TRUE(answerLists("SC"));
        VornConfig& form = dialog();
        const std::pair<QLineEdit*, const char*> texts[] = {
            {form.medPeriod, "500 "},  {form.medAverage, average}, {form.medFps, "100"},
            {form.medCvtUnits, "2.5"}, {form.medPMaxL, "15.0"},    {form.medPMaxH, "2.5"},
            {form.medPMinL, "-15"},    {form.medPMinH, "-2.5"},    {form.medNegPtsL, "3"},
            {form.medNegPtsH, "4"}};
        for (const auto& [field, text] : texts) {
            field->setText(QLatin1String(text));
        }
        form.lstUnitScan->setCurrentIndex(unit);
        for (QCheckBox* box : {form.chkEu, form.chkZc, form.chkQPkts, form.chkXScanTrig}) {
            box->setChecked(boxes != (box == form.chkZc || box == form.chkXScanTrig));
        }
        linkConfig().chkHSS->setChecked(highSpeed);
        window().Command1->setEnabled(false);
        module.clearReceived();
        messages.clear();

        (close ? form.cmdOk : form.cmdApply)->click();

        QList<QByteArray> expected = sets + QList<QByteArray>{"List S"};
        if (warningAt >= 0) {
            expected.insert(warningAt, "BOX");
            EXPECT_EQ(messageTexts(), QStringList{"WARNING: Scan rate is 125 Hz, limit is 25 Hz"});
        }
        EXPECT_EQ(commandsSoFar(), expected);
        EXPECT_EQ(form.isVisible(), !close);
        EXPECT_EQ(window().Command1->isEnabled(), close);
    }
}

TEST_F(ScanConfigTest, RateAndPeriodOrAverageFollowOnlyTheUsersOwnEditsAndCalibrationWarns) {
    dialog().SSTab2->setCurrentIndex(1);
    dialog().SSTab2->setCurrentIndex(0);
    ASSERT_EQ(messages.size(), 1); // on showing the calibration page, not on leaving it

    enum Field { None, Period, Average, Rate };
    // Period fixed, period and average shown, the field typed into and the text typed; then the
    // period, average and rate shown.
    using Text = const char*;
    const std::tuple<Text, bool, Text, Text, Field, Text, Text, Text, Text> cases[] = {
        {"average typed", false, "500", "", Average, "10", "500", "10", "12.5"},
        {"period typed", false, "", "7", Period, "300", "300", "7", "29.76191"},
        {"rate with the average fixed", false, "1", "4", Rate, "100", "156.25", "4", "100"},
        {"rate with the period fixed", true, "500", "9", Rate, "100", "500", "1", "100"},
        // A mirrored period with no average yet must not turn the period into 0.
        {"texts the program sets", false, "500", "", None, "", "500", "", "0.0"},
    };
    for (const auto& [name, fixPeriod, period, average, typedInto, typed, periodAfter, averageAfter,
                      rateAfter] : cases) {
        SCOPED_TRACE(name);
        FormInstance<VornConfig>::unload();
        VornConfig& form = dialog();
        (fixPeriod ? form.optFixPeriod : form.optFixAvg)->setChecked(true);
        form.medAverage->setText(QLatin1String(average));
        form.medPeriod->setText(QLatin1String(period));
        Global::FramePeriod = 0.5f;
        QLineEdit* const fields[] = {nullptr, form.medPeriod, form.medAverage, form.medRate};
        if (QLineEdit* field = fields[typedInto]) {
            field->clear();
            QTest::keyClicks(field, QLatin1String(typed));
        }
        EXPECT_EQ(std::tuple(form.medPeriod->text(), form.medAverage->text(), form.medRate->text()),
                  std::tuple(QLatin1String(periodAfter), QLatin1String(averageAfter),
                             QLatin1String(rateAfter)));
        EXPECT_EQ(Global::FramePeriod, 0.5f); // only the module's AVG line sets it
    }
}

TEST_F(ScanConfigTest, ActivationRereadsFromAnotherWindowAndLeavingSendsNothingAndUnloads) {
    const std::pair<const char*, void (*)(VornConfig&)> ways[] = {
        {"Cancel", [](VornConfig& form) { form.cmdCancel->click(); }},
        {"Escape", [](VornConfig& form) { QTest::keyClick(form.medFps, Qt::Key_Escape); }},
    };
    openSettled();
    ASSERT_TRUE(focusOn(dialog()));
    const auto rereads = [this] { return commandsSoFar().count("List S"); };
    EXPECT_EQ(rereads(), 0); // the focus that follows opening is the same activation
    EXPECT_EQ(dialog().lstUnitScan->count(), 54);        // on connecting, then on opening
    EXPECT_EQ(dialog().lstUnitScan->currentIndex(), -1); // nothing chosen for the module

    // A window of its own, like its message boxes, takes the focus and gives it back.
    {
        QDialog own(&dialog());
        own.show();
        ASSERT_TRUE(focusOn(own));
        ASSERT_TRUE(focusOn(dialog()));
    }
    EXPECT_EQ(rereads(), 0);

    ASSERT_TRUE(focusOn(frame()));
    ASSERT_TRUE(focusOn(dialog()));
    EXPECT_EQ(rereads(), 1);
    EXPECT_EQ(dialog().lstUnitScan->count(), 81);

    frame().mnuConfigure->trigger(); // chosen again while open
    EXPECT_EQ(rereads(), 2);
    EXPECT_EQ(dialog().lstUnitScan->count(), 108);

    module.sendLine("SET FPS 100");
    module.sendLine("SET EU 1");
    ASSERT_TRUE(QTest::qWaitFor([] { return dialog().chkEu->isChecked(); }));
    for (const auto& [name, leave] : ways) {
        SCOPED_TRACE(name);
        // Settings being read back: leaving steps the sequence on to the next group.
        module.clearReceived();
        frame().toolbarButton(4)->trigger();
        ASSERT_TRUE(module.waitForCommandCount("List S", 1));
        // A new dialog shows what the module reported, not what was typed into the old one.
        EXPECT_EQ(dialog().medFps->text(), "100");
        EXPECT_TRUE(dialog().chkEu->isChecked());
        dialog().medFps->setText(QStringLiteral("77"));
        window().Command1->setEnabled(false);
        module.clearReceived();

        leave(dialog());

        EXPECT_FALSE(FormInstance<VornConfig>::isLoaded());
        EXPECT_TRUE(window().Command1->isEnabled());
        EXPECT_EQ(commandsSoFar(), QList<QByteArray>{"List C"});
    }
}

} // namespace
