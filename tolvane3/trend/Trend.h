#pragma once
// The trend window "Trend": the last seconds of every channel as lines, fed by the same frame and
// channel lines as the bar graph. A child of the MDI frame, loaded only while open: closed, it is
// destroyed and a scan does nothing here but find it missing.
//
// Frames only mark the picture stale; a single-shot timer redraws it at most about 30 times a
// second, taking in only the frames since the last redraw, so that a 1 kHz scan costs a few
// dozen frames' projection per redraw, not the whole span's, and no stall of the event loop.

#include "axisticks.h"
#include "trendpicture.h"
#include "trendring.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <optional>

class QChartView;
class QComboBox;
class QLineSeries;
class QPushButton;
class QValueAxis;

class Trend : public QWidget {
    Q_OBJECT

public:
    static constexpr int Channels = TrendData::Channels;
    static constexpr int DefaultSpanSeconds = 60;

    Trend();

    QSize sizeHint() const override;

    // Controls by their names.
    QPushButton* cmdPause = nullptr; // checkable: pressed, the picture stands still
    QComboBox* cmbSpan = nullptr;
    QPushButton* cmdSavePicture = nullptr;
    QPushButton* cmdSaveData = nullptr;
    QChartView* chtTrend = nullptr;
    std::array<QLineSeries*, Channels> linChannel{};
    QTimer tmrRedraw;

    // The frame number as the module sent it; channels outside 0 to 15 and values that are not
    // finite are ignored.
    void SetFrame(const QString& sFrame);
    void SetValue(short nChan, float value);

    // The channels drawn (bit n: channel n), as the legend left them.
    quint16 shownChannels() const { return shown_; }

public Q_SLOTS:
    void cmdPause_Click();
    void cmbSpan_Click();
    void cmdSavePicture_Click();
    void cmdSaveData_Click();
    void chtTrend_LegendClick(int channel);
    void tmrRedraw_Timer();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void followDisplayChoices();
    // The other quantity (pressures, temperatures) from now on: the samples of the old one go.
    void changeQuantity();
    void redrawSoon();
    void applyTitle();
    void applyValueRange();
    // Tick intervals for an axis this many pixels long.
    static int tickIntervals(double pixels);
    void showPoints(int channel);
    int spanSeconds() const;
    // What the picture is drawn from: the samples as they were when Pause was pressed, or now.
    const TrendData::SampleRing& drawnSamples() const;

    TrendData::SampleRing samples_;
    std::optional<TrendData::SampleRing> frozen_;
    TrendData::LivePicture picture_;
    AxisTicks::StableValueAxis valueAxis_;
    QElapsedTimer clock_;
    quint16 shown_ = 0xFFFF;
    QValueAxis* axisTime_ = nullptr;
    QValueAxis* axisValue_ = nullptr;
};
