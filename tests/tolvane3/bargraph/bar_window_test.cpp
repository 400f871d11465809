// The bar graph window in the frame: its controls' places, scale modes, values, tags, warnings,
// the hidden window and the BarGraph menu.

#include "bargraph/AlarmLimits.h"
#include "bargraph/Bar.h"
#include "bargraph/drawncontrols.h"
#include "program_fixture.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <limits>
#include <tuple>

namespace {

class BarGraphTest : public ProgramFixture {
protected:
    static Bar& bar() { return FormInstance<Bar>::instance(); }

    // The program started and the bar graph opened with a drawing area of the given size.
    static Bar& openSized(const QSize& area) {
        startProgram();
        frame().mnuBarGraphOpen->trigger();
        return resized(area);
    }
    static Bar& resized(const QSize& area) {
        QWidget* window = bar().parentWidget();
        window->resize(window->size() - bar().size() + area);
        EXPECT_TRUE(QTest::qWaitFor([&] { return bar().size() == area; }));
        return bar();
    }
    static void setEngineeringUnits(bool on) {
        FormInstance<VornConfig>::instance().chkEu->setChecked(on);
    }
    static QColor textColour(int channel) {
        return bar().labPress[channel]->palette().color(QPalette::WindowText);
    }
};

TEST_F(BarGraphTest, ControlsArePlacedAsAFractionOfTheWindowAndShowPlainText) {
    openSized({1000, 1000});
    for (QLabel* each : bar().findChildren<QLabel*>()) {
        EXPECT_EQ(each->textFormat(), Qt::PlainText) << each->objectName().toStdString();
    }
    EXPECT_EQ(bar().linCenter->line(), QLine(550, 100, 550, 900));
    EXPECT_EQ(bar().linTick[15]->line(), QLine(540, 850, 560, 850));
    EXPECT_EQ(bar().labChan[15]->geometry(), QRect(15, 850, 40, 50));
    EXPECT_EQ(bar().labChan[15]->text(), QStringLiteral("16"));
    // The font follows the label's height: 50 pixels.
    EXPECT_EQ(bar().labUnits->font().family(), QStringLiteral("Arial"));
    EXPECT_DOUBLE_EQ(bar().labUnits->font().pointSizeF(), 0.75 * 50 * 72 / bar().logicalDpiY());
}

// Each display mode with a decimal-places choice: the entries checked, the ends of every bar, the
// units and the full scale that bars are drawn against.
TEST_F(BarGraphTest, ScaleModesAndDecimalPlacesGiveEndsUnitsAndFullScales) {
    openSized({1000, 1000});
    Global::UnitScan = QStringLiteral("KPA");
    std::fill(std::begin(Global::ChannelMax), std::end(Global::ChannelMax), QStringLiteral("15"));
    const auto temp = &MDIMain::mnuBarGraphTemp, press = &MDIMain::mnuBarGraphPress;
    // The display entry, engineering units, the decimal places and the conversion factor; the
    // units, the full-scale text and the full scale.
    const std::tuple<decltype(temp), bool, int, const char*, const char*, const char*, float>
        rows[] = {
            {temp, true, 1, "1", "Degrees C", "70.0", 70},
            {temp, false, 3, "1", "Raw Temp Counts", "32767", 32767},
            {press, true, 2, "1", "KPA", "15.00", 15},
            {press, true, 2, "6.894757", "KPA", "103.42", 103.42136f},
            {press, false, 5, "1", "Raw Press Counts", "32767", 32767},
            // A product beyond single precision is no full scale.
            {press, true, 0, "1000000000000000000000000000000000000000", "KPA", "0", 0},
        };
    for (const auto& [display, engineeringUnits, places, cvtUnit, units, max, fullScale] : rows) {
        SCOPED_TRACE(units);
        Global::CvtUnit = QLatin1String(cvtUnit);
        setEngineeringUnits(engineeringUnits);
        (frame().*display)->trigger();
        const auto entries = frame().decimalPlacesEntries();
        entries[places]->trigger();
        // Option groups: choosing the checked entry again (the next row) keeps it.
        for (QAction* entry : entries) {
            EXPECT_EQ(entry->isChecked(), entry == entries[places]);
        }
        EXPECT_EQ(frame().mnuBarGraphTemp->isChecked(), display == temp);
        EXPECT_NE(frame().mnuBarGraphPress->isChecked(), frame().mnuBarGraphTemp->isChecked());
        EXPECT_EQ(bar().labUnits->text(), QLatin1String(units));
        EXPECT_EQ(bar().labUnits->accessibleName(), QLatin1String(units));
        for (int i : {0, 15}) {
            EXPECT_EQ(bar().labMax[i]->text(), QLatin1String(max));
            EXPECT_EQ(bar().labMin[i]->text(), QLatin1Char('-') + QLatin1String(max));
            EXPECT_EQ(Global::FullScale[i], fullScale);
        }
    }
    // The full scale of 0 leaves bars where they were.
    bar().CalcBar(1, 5, Global::FullScale[1]);
    EXPECT_EQ(bar().shaBar[1]->geometry(), QRect(0, 0, 0, 0));

    // Engineering units on and neither entry checked: no units, the scale stays.
    frame().mnuBarGraphPress->setChecked(false);
    frame().mnuBarGraph1Places->trigger();
    EXPECT_EQ(bar().labUnits->text(), QString());
    EXPECT_EQ(bar().labMax[0]->text(), QStringLiteral("0.0"));
    QStringList legend; // the one check of these texts, which reach the accessibility bus
    for (QLabel* each : bar().labLeg) {
        legend << each->accessibleName();
    }
    EXPECT_EQ(legend.join(' '), QStringLiteral("-100% -75% -50% -25% 0% 25% 50% 75% 100%"));
}

TEST_F(BarGraphTest, FramesShowValuesAndBarsAndTagsMarkLowAndHigh) {
    openSized({1000, 1000});
    setEngineeringUnits(true);
    frame().mnuBarGraph2Places->trigger();
    bar().SetFrame(QStringLiteral("41"));
    const float values[16] = {1, -3, 2, 2, 0, 9, 9, -3, 5, 5, 5, 5, 5, 5, 5, 5};
    for (short i = 0; i < 16; ++i) {
        bar().SetPressValue(i, QString::number(values[i]));
        bar().CalcBar(i, values[i] * 7.5f, 15);
    }
    bar().SetPressValue(16, QStringLiteral("1")); // no such channel: ignored
    bar().CalcBar(-1, 1, 15);
    EXPECT_EQ(bar().labFrameData->text(), QStringLiteral("41"));
    EXPECT_EQ(bar().labPress[1]->text(), QStringLiteral("-3.00"));
    // Names follow the values a few times a second, not with every frame.
    EXPECT_TRUE(QTest::qWaitFor(
        [] { return bar().labPress[1]->accessibleName() == QStringLiteral("-3.00"); }));
    EXPECT_EQ(bar().shaBar[0]->geometry(), QRect(550, 110, 133, 30));

    const QColor plain = textColour(0);
    frame().mnuTag1to8->trigger();
    frame().mnuTag9to16->trigger(); // all alike: channel 8 is both, red last
    EXPECT_EQ(textColour(1), QColor(0, 255, 0));
    EXPECT_EQ(textColour(5), QColor(255, 0, 0));
    EXPECT_EQ(textColour(8), QColor(255, 0, 0));

    Global::SetScanning(); // a new scan clears the tags
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(textColour(i), plain) << i;
    }
}

// Hidden, the window changes nothing but its full scales follow; Open shows it over the
// connection window, closing destroys it, and a value creates it again hidden.
TEST_F(BarGraphTest, AHiddenWindowChangesNothingOpenShowsItAndCloseDestroysIt) {
    startProgram();
    ASSERT_FALSE(bar().isVisible());
    setEngineeringUnits(true);
    frame().mnuBarGraphTemp->trigger();
    bar().SetFrame(QStringLiteral("7"));
    bar().SetPressValue(0, QStringLiteral("3"));
    bar().SetMaxValue(0, QStringLiteral("3"));
    bar().CalcBar(0, 3, 15);
    EXPECT_EQ(bar().labFrameData->text(), QStringLiteral("0"));
    EXPECT_EQ(bar().labPress[0]->text(), QString());
    EXPECT_EQ(bar().labMax[0]->text(), QStringLiteral("Max"));
    EXPECT_EQ(bar().labUnits->text(), QString());
    EXPECT_EQ(Global::BarRects[0].width, 0.0f);
    EXPECT_EQ(Global::FullScale[0], 70.0f);

    frame().mnuBarGraphOpen->trigger();
    EXPECT_TRUE(bar().isVisible());
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(frame().mdiArea->activeSubWindow()->widget(), &bar());
    EXPECT_EQ(bar().labUnits->text(), QStringLiteral("Degrees C"));

    bar().parentWidget()->close();
    ASSERT_TRUE(QTest::qWaitFor([] { return frame().mdiArea->subWindowList().size() == 1; }));
    EXPECT_FALSE(FormInstance<Bar>::isLoaded());
    bar().SetFrame(QStringLiteral("3")); // created again, hidden
    EXPECT_FALSE(bar().isVisible());
    frame().mnuBarGraphOpen->trigger();
    EXPECT_TRUE(bar().isVisible());
    EXPECT_EQ(bar().labMax[0]->text(), QStringLiteral("70.00"));
}

// Whatever the window's size, the legend labels shown never run into each other, past their
// places or past the window; which ones give way is the rules' business.
TEST_F(BarGraphTest, LegendLabelsNeverRunIntoEachOtherAtAnySize) {
    const std::pair<QSize, int> rows[] = {{{2000, 300}, 9}, {{640, 480}, 3}, {{40, 1000}, 0}};
    openSized(rows[0].first);
    for (const auto& [area, shownAtLeast] : rows) {
        resized(area);
        SCOPED_TRACE(area.width());
        int shown = 0;
        int lastRight = std::numeric_limits<int>::min();
        for (QLabel* each : bar().labLeg) {
            if (each->isHidden()) {
                continue;
            }
            ++shown;
            const int textWidth = each->fontMetrics().horizontalAdvance(each->text());
            const int left = each->geometry().center().x() - textWidth / 2;
            EXPECT_LE(textWidth, each->width());
            EXPECT_GT(left, lastRight);
            EXPECT_GE(left, 0);
            lastRight = left + textWidth;
            EXPECT_LE(lastRight, area.width());
        }
        EXPECT_GE(shown, shownAtLeast);
    }
}

// The scale follows what it shows whenever that changes. A window made active before it could be
// seen (the frame not shown yet), or restored after the settings arrived while it was minimised,
// gets no activation when it appears; and a module may name its unit after the full scales.
TEST_F(BarGraphTest, TheScaleIsDrawnWhenTheWindowAppearsAndWhenTheUnitArrives) {
    frame().MDIForm_Load();
    frame().mnuBarGraphOpen->trigger();
    frame().show();
    ASSERT_TRUE(bar().isVisible());
    EXPECT_EQ(bar().labUnits->text(), QStringLiteral("Raw Press Counts"));

    auto* window = qobject_cast<QMdiSubWindow*>(bar().parentWidget());
    window->showMinimized();
    for (const char* line : {"SET EU 1", "SET PMAXL 15", "SET CVTUNIT 1"}) {
        Global::ProcessVornLine(QLatin1String(line));
    }
    window->showNormal();
    ASSERT_TRUE(bar().isVisible());
    EXPECT_EQ(bar().labMax[0]->text(), QStringLiteral("15.00"));

    Global::ProcessVornLine(QStringLiteral("SET UNITSCAN KPA"));
    EXPECT_EQ(bar().labUnits->text(), QStringLiteral("KPA"));
}

// Values from the module while a scan runs, two beyond full scale (50 for channels 9 to 16) and one
// beyond the alarm limits set in their dialog: orange bars, arrowheads at the axis's ends, bold
// values and panel 2 naming them. Back inside, or the scan ended or stopped, panel 2 shows the
// status again, whatever still arrives; nothing of it reaches the module.
TEST_F(BarGraphTest, ValuesBeyondFullScaleOrAlarmLimitsAreWarnedOfWhileTheyLast) {
    ASSERT_TRUE(startConnectedQuietly());
    frame().mnuBarGraphOpen->trigger();
    resized({1000, 1000});
    for (const char* line : {"SET EU 1", "SET PMAXL 15", "SET PMAXH 50", "SET CVTUNIT 1"}) {
        module.sendLine(line);
    }
    ASSERT_TRUE(QTest::qWaitFor([] { return Global::FullScale[8] == 50.0f; }));
    frame().mnuAlarmLimits->trigger();
    AlarmLimits& limits = FormInstance<AlarmLimits>::instance();
    limits.chkAlarm[2]->setChecked(true);
    limits.txtLow[2]->setText(QStringLiteral("0"));
    limits.txtHigh[2]->setText(QStringLiteral("10"));
    QTest::keyClick(limits.txtHigh[2], Qt::Key_Return);
    EXPECT_FALSE(FormInstance<AlarmLimits>::isLoaded());
    EXPECT_EQ(Global::AlarmRanges[2], (Global::AlarmRange{true, 0, 10}));

    const QLabel* panel = frame().findChild<QLabel*>(QStringLiteral("StatusBar1Panel2"));
    const auto panelReads = [&](const char* text) {
        return QTest::qWaitFor([&] { return panel->text() == QLatin1String(text); }) &&
               panel->accessibleName() == QLatin1String(text);
    };
    const QColor orange(255, 140, 0);
    frame().mnuStartScan->trigger();
    for (const char* line : {"8 60.5 20", "10 -51 20", "2 12 20", "8 70 20"}) {
        module.sendLine(line);
    }
    ASSERT_TRUE(panelReads("Over range: 9, 11  Alarm limits: 3"));
    for (int channel : {8, 10, 2}) {
        EXPECT_EQ(bar().shaBar[channel]->palette().color(QPalette::Window), orange) << channel;
        EXPECT_TRUE(bar().labPress[channel]->font().bold()) << channel;
        EXPECT_EQ(bar().shaArrow[channel]->isVisible(), channel != 2) << channel;
    }
    EXPECT_EQ(bar().shaBar[8]->geometry(), QRect(550, 510, 275, 30));
    EXPECT_EQ(bar().shaArrow[8]->geometry(), QRect(825, 505, 25, 40));

    for (const char* line : {"8 3 20", "10 0 20", "2 5 20"}) {
        module.sendLine(line);
    }
    ASSERT_TRUE(panelReads("Status Off"));
    EXPECT_FALSE(bar().shaArrow[8]->isVisible());
    EXPECT_FALSE(bar().labPress[8]->font().bold());
    EXPECT_NE(bar().shaBar[8]->palette().color(QPalette::Window), orange);

    module.sendLine("8 99 20");
    ASSERT_TRUE(panelReads("Over range: 9"));
    Global::FramesPerScan = 10; // the last channel of the scan's last frame ends them too
    module.sendLine("FRAME = 9");
    module.sendLine("15 1 20");
    ASSERT_TRUE(panelReads("Status Off"));
    frame().mnuStartScan->trigger();
    module.sendLine("8 99 20");
    ASSERT_TRUE(panelReads("Over range: 9"));
    frame().mnuStop->trigger();
    EXPECT_TRUE(panelReads("Status Off"));
    module.sendLine("8 77 20"); // in flight when Stop went out
    ASSERT_TRUE(QTest::qWaitFor([] { return bar().labPress[8]->text() == "77.00"; }));
    EXPECT_TRUE(panelReads("Status Off"));
    EXPECT_EQ(bytesSent(), QByteArray("SCAN\rSCAN\rSTOP\r"));
}

} // namespace
