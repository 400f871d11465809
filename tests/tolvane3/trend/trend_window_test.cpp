// The trend window in the frame: opened from the BarGraph menu, fed by the scan's lines, its
// legend, and gone with everything it recorded once closed.

#include "program_fixture.h"
#include "trend/Trend.h"

#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QValueAxis>
#include <cmath>

namespace {

class TrendTest : public ProgramFixture {
protected:
    // Redraws follow frames within about 34 ms; a busy machine may take far longer.
    static constexpr int WaitMs = 20000;

    static Trend& trend() { return FormInstance<Trend>::instance(); }
    // A frame line and the 16 channel lines "n <pressure + n> <temperature + n>".
    static void sendFrame(int number, double pressure, double temperature) {
        Global::ProcessVornLine(QStringLiteral("FRAME = %1").arg(number));
        for (int channel = 0; channel < 16; ++channel) {
            Global::ProcessVornLine(QStringLiteral("%1 %2 %3")
                                        .arg(channel)
                                        .arg(pressure + channel)
                                        .arg(temperature + channel));
        }
    }
    static QList<double> drawnValues(int channel) {
        QList<double> values;
        for (const QPointF& point : trend().linChannel[channel]->points()) {
            values << point.y();
        }
        return values;
    }
};

TEST_F(TrendTest, OpensFromTheMenuDrawsTheScanAndHidesAChannelByItsLegend) {
    startProgram();
    sendFrame(1, 10, 20); // nothing is recorded while the window is closed
    EXPECT_FALSE(FormInstance<Trend>::isLoaded());

    frame().mnuTrend->trigger();
    ASSERT_TRUE(trend().isVisible());
    EXPECT_EQ(frame().mdiArea->activeSubWindow()->widget(), &trend());
    sendFrame(2, 10, 20);
    sendFrame(3, 11, 20);
    ASSERT_TRUE(QTest::qWaitFor([] { return drawnValues(4).size() == 2; }, WaitMs));
    EXPECT_EQ(drawnValues(4), (QList<double>{14, 15}));

    // Temperatures replace the pressures drawn so far.
    frame().mnuBarGraphTemp->trigger();
    sendFrame(4, 12, 21.5);
    ASSERT_TRUE(QTest::qWaitFor([] { return drawnValues(4) == QList<double>{25.5}; }, WaitMs));

    const auto axis = [](Qt::Orientation orientation) {
        return qobject_cast<QValueAxis*>(trend().chtTrend->chart()->axes(orientation).constFirst());
    };
    sendFrame(5, 12, 30);
    ASSERT_TRUE(QTest::qWaitFor([] { return drawnValues(4).size() == 2; }, WaitMs));
    const QList<QLegendMarker*> markers = trend().chtTrend->chart()->legend()->markers();
    ASSERT_EQ(markers.size(), 16);
    // 21.5 to 45 between round ticks.
    const QValueAxis& values = *axis(Qt::Vertical);
    EXPECT_TRUE(values.min() <= 21.5 && values.max() >= 45);
    EXPECT_EQ(std::fmod(values.min(), values.tickInterval()), 0);
    EXPECT_EQ(std::fmod(values.max(), values.tickInterval()), 0);
    EXPECT_EQ(axis(Qt::Horizontal)->min(), 0); // the first frame's time
    Q_EMIT markers[15]->clicked();
    EXPECT_FALSE(trend().linChannel[15]->isVisible());
    EXPECT_TRUE(markers[15]->isVisible()); // still there to be clicked again
    EXPECT_EQ(trend().shownChannels(), 0x7FFF);
    Q_EMIT markers[15]->clicked();
    EXPECT_EQ(drawnValues(15), (QList<double>{36.5, 45}));

    trend().parentWidget()->close();
    // Its MDI window goes too: left are the connection window and the bar graph.
    ASSERT_TRUE(
        QTest::qWaitFor([] { return frame().mdiArea->subWindowList().size() == 2; }, WaitMs));
    sendFrame(6, 12, 30);
    EXPECT_FALSE(FormInstance<Trend>::isLoaded());
}

} // namespace
