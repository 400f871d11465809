#include "Trend.h"

#include "axisticks.h"
#include "bargraph/barscale.h"
#include "channelstyle.h"
#include "chartfiles.h"
#include "mainwindow/MDIMain.h"
#include "program/Global.h"
#include "program/forms.h"
#include "program/settingsstore.h"
#include "program/timing.h"
#include "trendcsv.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace {

// Just over 30 redraws a second at most.
constexpr int RedrawMs = 34;
// Qt Charts outlines every point of a series each time it changes (about half a microsecond a
// point): two pixels a column, and no more than 500 columns however wide the window, keep a
// redraw of 16 full lines to a few milliseconds.
constexpr int PixelsPerColumn = 2;
constexpr int MaxColumns = 500;
constexpr std::array<int, 5> SpanChoices{10, 30, 60, 120, 300};

// The frame number as a whole number; 0 for one no 64-bit number holds exactly.
qint64 FrameNumberOf(const QString& text) {
    const double number = Global::LeadingNumber(text);
    constexpr double Exact = 9007199254740992.0; // 2^53
    return std::fabs(number) < Exact ? static_cast<qint64>(number) : 0;
}

// About one tick label per this many pixels.
constexpr int PixelsPerTick = 100;

// Ticks on whole multiples of the step, labelled with the decimals it needs. A label format is
// set only when it changes: each setting lays the chart out again.
void Apply(const AxisTicks::Scale& scale, QValueAxis& axis) {
    const QString format = QStringLiteral("%.%1f").arg(scale.decimals);
    if (axis.labelFormat() != format) {
        axis.setLabelFormat(format);
    }
    axis.setTickAnchor(scale.anchor);
    axis.setTickInterval(scale.step);
    axis.setRange(scale.min, scale.max);
}

} // namespace

Trend::Trend() : samples_(TrendData::CapacityFor(DefaultSpanSeconds)) {
    setObjectName(QStringLiteral("Trend"));
    setWindowTitle(QStringLiteral("Trend"));
    clock_.start();

    cmdPause = Named(new QPushButton(QStringLiteral("Pause")), "cmdPause");
    cmdPause->setCheckable(true);
    cmbSpan = Named(new QComboBox, "cmbSpan");
    for (const int seconds : SpanChoices) {
        cmbSpan->addItem(QStringLiteral("%1 s").arg(seconds), seconds);
    }
    cmbSpan->setCurrentIndex(cmbSpan->findData(DefaultSpanSeconds));
    cmdSavePicture = Named(new QPushButton(QStringLiteral("Save Picture")), "cmdSavePicture");
    cmdSaveData = Named(new QPushButton(QStringLiteral("Save Data")), "cmdSaveData");

    auto* chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignRight);
    axisTime_ = new QValueAxis;
    axisTime_->setTitleText(QStringLiteral("Time (s)"));
    axisValue_ = new QValueAxis;
    for (QValueAxis* axis : {axisTime_, axisValue_}) {
        axis->setTickType(QValueAxis::TicksDynamic);
    }
    chart->addAxis(axisTime_, Qt::AlignBottom);
    chart->addAxis(axisValue_, Qt::AlignLeft);
    for (int channel = 0; channel < Channels; ++channel) {
        linChannel[channel] = TrendData::AddChannelLine(*chart, channel, *axisTime_, *axisValue_);
    }
    for (int channel = 0; channel < Channels; ++channel) {
        for (QLegendMarker* marker : chart->legend()->markers(linChannel[channel])) {
            connect(marker, &QLegendMarker::clicked, this,
                    [this, channel] { chtTrend_LegendClick(channel); });
        }
    }
    // A wider plot has more columns to fill.
    connect(chart, &QChart::plotAreaChanged, this, &Trend::redrawSoon);
    chtTrend = Named(new QChartView(chart), "chtTrend");
    chtTrend->setAccessibleName(QStringLiteral("Trend"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdPause);
    buttons->addWidget(LabelFor(cmbSpan, "lblSpan", QStringLiteral("Span")));
    buttons->addWidget(cmbSpan);
    buttons->addStretch();
    buttons->addWidget(cmdSavePicture);
    buttons->addWidget(cmdSaveData);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(chtTrend, 1);

    tmrRedraw.setSingleShot(true);
    tmrRedraw.setInterval(Timing::scaled(RedrawMs));
    connect(&tmrRedraw, &QTimer::timeout, this, &Trend::tmrRedraw_Timer);
    connect(cmdPause, &QPushButton::clicked, this, &Trend::cmdPause_Click);
    connect(cmbSpan, &QComboBox::activated, this, &Trend::cmbSpan_Click);
    connect(cmdSavePicture, &QPushButton::clicked, this, &Trend::cmdSavePicture_Click);
    connect(cmdSaveData, &QPushButton::clicked, this, &Trend::cmdSaveData_Click);
    followDisplayChoices();
    redrawSoon();
}

QSize Trend::sizeHint() const {
    return {800, 500};
}

void Trend::followDisplayChoices() {
    const MDIMain& frame = FormInstance<MDIMain>::instance();
    connect(frame.mnuBarGraphTemp, &QAction::toggled, this, &Trend::changeQuantity);
}

void Trend::changeQuantity() {
    samples_.clear();
    picture_.reset();
    valueAxis_.reset();
    redrawSoon();
}

void Trend::SetFrame(const QString& sFrame) {
    // Times count from the first frame drawn.
    if (samples_.empty()) {
        clock_.restart();
    }
    samples_.addFrame(FrameNumberOf(sFrame), static_cast<double>(clock_.nsecsElapsed()) / 1e9);
    if (!frozen_) {
        redrawSoon();
    }
}

void Trend::SetValue(short nChan, float value) {
    samples_.setValue(nChan, value);
    if (!frozen_) {
        redrawSoon();
    }
}

void Trend::redrawSoon() {
    if (!tmrRedraw.isActive()) {
        tmrRedraw.start();
    }
}

void Trend::tmrRedraw_Timer() {
    applyTitle();
    const QRectF plot = chtTrend->chart()->plotArea();
    const int columns = std::min(static_cast<int>(plot.width()) / PixelsPerColumn, MaxColumns);
    const TrendData::Picture& picture = picture_.update(drawnSamples(), spanSeconds(), columns);
    // Each change of an axis recomputes every series' outline, and so does each new point list:
    // emptied first, the series are outlined once, with their new points.
    for (QLineSeries* series : linChannel) {
        series->clear();
    }
    Apply(AxisTicks::TimeScale(picture.end, spanSeconds(), tickIntervals(plot.width())),
          *axisTime_);
    applyValueRange();
    for (int channel = 0; channel < Channels; ++channel) {
        showPoints(channel);
    }
}

// A hidden channel keeps no points in its series, so that it costs no outline.
void Trend::showPoints(int channel) {
    const bool shown = (shown_ & (1u << channel)) != 0;
    linChannel[channel]->replace(shown ? picture_.picture().lines[channel].points
                                       : QList<QPointF>());
}

// The value axis names what the bar graph shows.
void Trend::applyTitle() {
    const MDIMain& frame = FormInstance<MDIMain>::instance();
    const BarGraph::ScaleMode mode = BarGraph::ScaleModeFor(
        frame.mnuBarGraphTemp->isChecked(), frame.mnuBarGraphPress->isChecked(),
        SettingsStore::EngineeringUnitsChecked());
    axisValue_->setTitleText(BarGraph::UnitsTextFor(mode, Global::UnitScan));
}

void Trend::applyValueRange() {
    const TrendData::ValueRange range = TrendData::RangeOf(picture_.picture(), shown_);
    const double now = static_cast<double>(clock_.nsecsElapsed()) / 1e9;
    const int intervals = tickIntervals(chtTrend->chart()->plotArea().height());
    Apply(valueAxis_.follow(range.low, range.high, now, intervals), *axisValue_);
}

int Trend::tickIntervals(double pixels) {
    return std::max(2, static_cast<int>(pixels) / PixelsPerTick);
}

void Trend::chtTrend_LegendClick(int channel) {
    shown_ ^= static_cast<quint16>(1u << channel);
    const bool shown = (shown_ & (1u << channel)) != 0;
    QLineSeries* series = linChannel[channel];
    series->setVisible(shown);
    showPoints(channel);
    TrendData::ShowLegendEntry(*chtTrend->chart(), series, shown);
    // The operator chose what to compare: the range fits it at once.
    valueAxis_.reset();
    applyValueRange();
}

void Trend::cmdPause_Click() {
    if (cmdPause->isChecked()) {
        frozen_ = samples_;
    } else {
        frozen_.reset();
        redrawSoon();
    }
}

void Trend::cmbSpan_Click() {
    samples_.setCapacity(TrendData::CapacityFor(spanSeconds()));
    valueAxis_.reset();
    redrawSoon();
}

int Trend::spanSeconds() const {
    return cmbSpan->currentData().toInt();
}

const TrendData::SampleRing& Trend::drawnSamples() const {
    return frozen_ ? *frozen_ : samples_;
}

void Trend::cmdSavePicture_Click() {
    TrendData::SavePicture(*chtTrend, QStringLiteral("trend.png"));
}

void Trend::cmdSaveData_Click() {
    TrendData::SaveData(QStringLiteral("trend.csv"),
                        [this] { return TrendData::CsvOf(drawnSamples(), spanSeconds(), shown_); });
}

// Closing the window destroys it, samples and all; the next opening starts afresh.
void Trend::closeEvent(QCloseEvent* event) {
    event->accept();
    FormInstance<Trend>::unloadLater();
}
