#include "Review.h"

#include "mainwindow/MDIMain.h"
#include "program/forms.h"
#include "program/userprompts.h"
#include "reviewcsv.h"
#include "reviewlines.h"
#include "trend/axisticks.h"
#include "trend/channelstyle.h"
#include "trend/chartfiles.h"
#include "trend/trendcsv.h"

#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPen>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValueAxis>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {

// Read per turn of the event loop: a few milliseconds of parsing.
constexpr qint64 SliceBytes = 1024 * 1024;
constexpr int ProgressSteps = 1000;
// Two pixels a column, as in the live window, but up to 1,000 columns (the live one stops at
// 500): a zoomed-out recording spans far more frames than a live span.
constexpr int PixelsPerColumn = 2;
constexpr int MaxColumns = 1000;
constexpr double ZoomStep = 0.5;
constexpr double WheelStepPerNotch = 0.8;
constexpr double PanStep = 0.1;
constexpr int TicksWanted = 8;

// Ticks at round values over whatever range zoom or pan left, labelled with the places the step
// needs; the range itself stays as the user chose it.
void ApplyRoundTicks(QValueAxis& axis) {
    const double span = axis.max() - axis.min();
    if (!(span > 0) || !std::isfinite(span)) {
        return;
    }
    const AxisTicks::Scale scale = AxisTicks::ValueScale(axis.min(), axis.max(), TicksWanted);
    axis.setTickType(QValueAxis::TicksDynamic);
    axis.setTickAnchor(scale.anchor);
    axis.setTickInterval(scale.step);
    axis.setLabelFormat(QStringLiteral("%.%1f").arg(scale.decimals));
}

QString ValueText(float value) {
    if (!std::isfinite(value)) {
        return QStringLiteral("-");
    }
    QByteArray text;
    TrendData::AppendCsvValue(text, value);
    return QString::fromLatin1(text);
}

} // namespace

Review* Review::Open(const QString& fileName, double framePeriod) {
    auto* review = new Review(fileName, framePeriod);
    if (!review->file_.open(QIODevice::ReadOnly)) {
        delete review;
        UserPrompts::MsgBox(QStringLiteral("Error opening ") + fileName);
        return nullptr;
    }
    review->reader_ = std::make_unique<ReviewData::RecordingReader>(review->file_.size());
    FormInstance<MDIMain>::instance().showMdiChild(review);
    review->tmrLoad.start();
    return review;
}

Review::Review(const QString& fileName, double framePeriod)
    : fileName_(fileName), framePeriod_(framePeriod), file_(fileName) {
    setObjectName(QStringLiteral("Review"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Review - ") + QFileInfo(fileName).fileName());

    lblFile = Named(new QLabel, "lblFile");
    lblFile->setAccessibleDescription(QStringLiteral("Recording"));
    SetLabelText(*lblFile, QStringLiteral("Reading ") + fileName);
    prgLoad = Named(new QProgressBar, "prgLoad");
    prgLoad->setRange(0, ProgressSteps);
    prgLoad->setAccessibleName(QStringLiteral("Reading"));
    cmdCancel = Named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
    cmdResetZoom = Named(new QPushButton(QStringLiteral("Reset Zoom")), "cmdResetZoom");
    cmdSavePicture = Named(new QPushButton(QStringLiteral("Save Picture")), "cmdSavePicture");
    cmdSaveData = Named(new QPushButton(QStringLiteral("Save Data")), "cmdSaveData");
    for (QPushButton* button : {cmdResetZoom, cmdSavePicture, cmdSaveData}) {
        button->setEnabled(false);
    }
    lblMissing = Named(new QLabel, "lblMissing");
    lblMissing->setAccessibleDescription(QStringLiteral("Missing frames"));
    lblCursor = Named(new QLabel, "lblCursor");
    lblCursor->setAccessibleDescription(QStringLiteral("Values under the mouse"));
    lblCursor->setWordWrap(true);
    txtSidecar = Named(new QPlainTextEdit, "txtSidecar");
    txtSidecar->setReadOnly(true);
    txtSidecar->setAccessibleName(QStringLiteral("Sidecar"));
    txtSidecar->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtSidecar->setVisible(false);

    auto* chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignRight);
    axisX_ = new QValueAxis;
    axisY_ = new QValueAxis;
    chart->addAxis(axisX_, Qt::AlignBottom);
    chart->addAxis(axisY_, Qt::AlignLeft);
    chtReview = Named(new QChartView(chart), "chtReview");
    chtReview->setAccessibleName(QStringLiteral("Recording"));
    chtReview->setRubberBand(QChartView::RectangleRubberBand);
    chtReview->setFocusPolicy(Qt::StrongFocus);
    chtReview->installEventFilter(this);
    chtReview->viewport()->installEventFilter(this);
    chtReview->viewport()->setMouseTracking(true);
    lines_ = new ReviewData::ReviewLines(*chart, *axisX_, *axisY_);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblFile, 1);
    buttons->addWidget(prgLoad);
    buttons->addWidget(cmdCancel);
    buttons->addWidget(cmdResetZoom);
    buttons->addWidget(cmdSavePicture);
    buttons->addWidget(cmdSaveData);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(lblMissing);
    auto* chartAndSidecar = new QHBoxLayout;
    chartAndSidecar->addWidget(chtReview, 3);
    chartAndSidecar->addWidget(txtSidecar, 1);
    layout->addLayout(chartAndSidecar, 1);
    layout->addWidget(lblCursor);

    tmrLoad.setInterval(0);
    tmrRedraw_.setSingleShot(true);
    tmrRedraw_.setInterval(0);
    connect(&tmrLoad, &QTimer::timeout, this, &Review::tmrLoad_Timer);
    connect(&tmrRedraw_, &QTimer::timeout, this, &Review::redraw);
    connect(cmdCancel, &QPushButton::clicked, this, &Review::cmdCancel_Click);
    connect(cmdResetZoom, &QPushButton::clicked, this, &Review::cmdResetZoom_Click);
    connect(cmdSavePicture, &QPushButton::clicked, this, &Review::cmdSavePicture_Click);
    connect(cmdSaveData, &QPushButton::clicked, this, &Review::cmdSaveData_Click);
    // Zooming by rubber band or right click moves the axes; the picture follows them.
    connect(axisX_, &QValueAxis::rangeChanged, this, &Review::redrawSoon);
    connect(axisY_, &QValueAxis::rangeChanged, this, &Review::redrawSoon);
    connect(chart, &QChart::plotAreaChanged, this, [this] {
        lines_->followPlotArea();
        redrawSoon();
    });
}

QSize Review::sizeHint() const {
    return {800, 500};
}

void Review::tmrLoad_Timer() {
    slice_.resize(SliceBytes);
    const qint64 read = file_.read(slice_.data(), SliceBytes);
    if (read < 0) {
        tmrLoad.stop();
        UserPrompts::MsgBox(QStringLiteral("Error reading ") + fileName_);
        close();
        return;
    }
    reader_->feed(QByteArrayView(slice_.constData(), read));
    const qint64 size = std::max<qint64>(file_.size(), 1);
    prgLoad->setValue(static_cast<int>(std::min(file_.pos(), size) * ProgressSteps / size));
    if (read > 0 && !reader_->refused()) {
        return;
    }
    tmrLoad.stop();
    reader_->finish();
    if (reader_->refused()) {
        UserPrompts::MsgBox(reader_->refusal(fileName_));
        close();
        return;
    }
    recording_ = reader_->takeRecording();
    reader_.reset();
    file_.close();
    slice_ = QByteArray();
    showRecording();
}

void Review::showRecording() {
    sidecar_ = ReviewData::SidecarOf(fileName_);
    const double period =
        sidecar_ && sidecar_->framePeriodSeconds > 0 ? sidecar_->framePeriodSeconds : framePeriod_;
    axis_ = ReviewData::AxisOf(recording_, period);
    shown_.assign(static_cast<std::size_t>(recording_.channels), true);
    loaded_ = true;

    axisX_->setTitleText(axis_.seconds ? QStringLiteral("Time (s)")
                                       : QStringLiteral("Frame number"));
    axisY_->setTitleText(sidecar_ ? sidecar_->unit : QString());
    txtSidecar->setPlainText(sidecar_ ? sidecar_->description : QString());
    txtSidecar->setVisible(sidecar_.has_value());
    QChart* chart = chtReview->chart();
    for (int channel = 0; channel < recording_.channels; ++channel) {
        QLineSeries* series = TrendData::AddChannelLine(*chart, channel, *axisX_, *axisY_);
        linChannel.push_back(series);
        for (QLegendMarker* marker : chart->legend()->markers(series)) {
            connect(marker, &QLegendMarker::clicked, this,
                    [this, channel] { chtReview_LegendClick(channel); });
        }
    }

    QString summary = QStringLiteral("%1: %2 frames of %3 channels")
                          .arg(QFileInfo(fileName_).fileName())
                          .arg(recording_.frameCount())
                          .arg(recording_.channels);
    if (recording_.skippedLines > 0) {
        summary += QStringLiteral(", %1 lines skipped").arg(recording_.skippedLines);
    }
    SetLabelText(*lblFile, summary);
    SetLabelText(*lblMissing, ReviewData::MissingFramesText(recording_.missing));
    lblMissing->setVisible(!recording_.missing.empty());
    prgLoad->hide();
    cmdCancel->hide();
    for (QPushButton* button : {cmdResetZoom, cmdSavePicture, cmdSaveData}) {
        button->setEnabled(true);
    }
    cmdResetZoom_Click();
    chtReview->setFocus();
}

void Review::cmdCancel_Click() {
    tmrLoad.stop();
    close();
}

// The whole file, the values of the shown channels between the round ticks around them.
void Review::cmdResetZoom_Click() {
    if (!loaded_) {
        return;
    }
    const double first = axis_.x.empty() ? 0 : axis_.x.front();
    const double last = axis_.x.empty() ? 1 : axis_.x.back();
    const std::optional<ReviewData::ValueRange> values = ReviewData::RangeOf(recording_, shown_);
    const double low = values ? values->low : -1;
    const double high = values ? values->high : 1;
    const AxisTicks::Scale scale = AxisTicks::ValueScale(low, high, TicksWanted);
    axisX_->setRange(first, last > first ? last : first + 1);
    axisY_->setRange(scale.min, scale.max);
}

void Review::cmdSavePicture_Click() {
    TrendData::SavePicture(*chtReview, QStringLiteral("review.png"));
}

void Review::cmdSaveData_Click() {
    TrendData::SaveData(QStringLiteral("review.csv"), [this] {
        return ReviewData::CsvOf(recording_, axis_, axisX_->min(), axisX_->max(), shown_);
    });
}

void Review::chtReview_LegendClick(int channel) {
    const auto index = static_cast<std::size_t>(channel);
    shown_[index] = !shown_[index];
    TrendData::ShowLegendEntry(*chtReview->chart(), linChannel[index], shown_[index]);
    redrawSoon();
}

// Round ticks on both axes, whatever moved them.
void Review::applyAxisTicks() {
    ApplyRoundTicks(*axisX_);
    ApplyRoundTicks(*axisY_);
}

void Review::redrawSoon() {
    if (loaded_ && !tmrRedraw_.isActive()) {
        tmrRedraw_.start();
    }
}

void Review::redraw() {
    applyAxisTicks();
    const int columns = std::clamp(
        static_cast<int>(chtReview->chart()->plotArea().width()) / PixelsPerColumn, 1, MaxColumns);
    std::vector<QColor> colours;
    for (int channel = 0; channel < recording_.channels; ++channel) {
        colours.push_back(TrendData::ChannelColour(channel));
    }
    lines_->setLines(
        ReviewData::Project(recording_, axis_, axisX_->min(), axisX_->max(), columns, shown_),
        std::move(colours));
}

void Review::zoomHorizontally(double factor, double anchor) {
    const double from = anchor - (anchor - axisX_->min()) * factor;
    const double to = anchor + (axisX_->max() - anchor) * factor;
    // Closer than this the axis could no longer tell its ends apart.
    if (to - from > 1e-9 * std::max(1.0, std::fabs(anchor))) {
        axisX_->setRange(from, to);
    }
}

void Review::pan(double fractionX, double fractionY) {
    const double stepX = (axisX_->max() - axisX_->min()) * fractionX;
    const double stepY = (axisY_->max() - axisY_->min()) * fractionY;
    axisX_->setRange(axisX_->min() + stepX, axisX_->max() + stepX);
    axisY_->setRange(axisY_->min() + stepY, axisY_->max() + stepY);
}

// "t = 12.340 s (frame 617)  Ch 1: 14.7  Ch 2: ...", for the frame nearest the mouse.
void Review::showValuesAt(const QPointF& viewPosition) {
    const QRectF area = chtReview->chart()->plotArea();
    const QPointF position =
        chtReview->chart()->mapFromScene(chtReview->mapToScene(viewPosition.toPoint()));
    if (!loaded_ || axis_.x.empty() || !area.contains(position)) {
        SetLabelText(*lblCursor, QString());
        return;
    }
    const double x = axisX_->min() +
                     (position.x() - area.left()) / area.width() * (axisX_->max() - axisX_->min());
    auto at = static_cast<std::size_t>(std::lower_bound(axis_.x.begin(), axis_.x.end(), x) -
                                       axis_.x.begin());
    if (at == axis_.x.size() || (at > 0 && x - axis_.x[at - 1] < axis_.x[at] - x)) {
        --at;
    }
    QString text = axis_.seconds ? QStringLiteral("t = %1 s (frame %2)")
                                       .arg(axis_.x[at], 0, 'f', 3)
                                       .arg(recording_.frames[at])
                                 : QStringLiteral("Frame %1").arg(recording_.frames[at]);
    for (int channel = 0; channel < recording_.channels; ++channel) {
        if (shown_[static_cast<std::size_t>(channel)]) {
            text += QStringLiteral("  ") + TrendData::ChannelName(channel) + QStringLiteral(": ") +
                    ValueText(recording_.value(at, channel));
        }
    }
    SetLabelText(*lblCursor, text);
}

bool Review::handleKey(int key) {
    if (!loaded_) {
        return false;
    }
    const double centre = (axisX_->min() + axisX_->max()) / 2;
    switch (key) {
    case Qt::Key_Left:
        pan(-PanStep, 0);
        return true;
    case Qt::Key_Right:
        pan(PanStep, 0);
        return true;
    case Qt::Key_Up:
        pan(0, PanStep);
        return true;
    case Qt::Key_Down:
        pan(0, -PanStep);
        return true;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoomHorizontally(ZoomStep, centre);
        return true;
    case Qt::Key_Minus:
        zoomHorizontally(1 / ZoomStep, centre);
        return true;
    case Qt::Key_Home:
        cmdResetZoom_Click();
        return true;
    default:
        return false;
    }
}

bool Review::eventFilter(QObject* watched, QEvent* event) {
    if (watched == chtReview && event->type() == QEvent::KeyPress) {
        return handleKey(static_cast<QKeyEvent*>(event)->key());
    }
    if (watched != chtReview->viewport()) {
        return false;
    }
    if (event->type() == QEvent::MouseMove) {
        showValuesAt(static_cast<QMouseEvent*>(event)->position());
        return false;
    }
    if (event->type() == QEvent::Wheel && loaded_) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const QRectF area = chtReview->chart()->plotArea();
        const QPointF position =
            chtReview->chart()->mapFromScene(chtReview->mapToScene(wheel->position().toPoint()));
        const double anchor =
            axisX_->min() + (std::clamp(position.x(), area.left(), area.right()) - area.left()) /
                                std::max(area.width(), 1.0) * (axisX_->max() - axisX_->min());
        zoomHorizontally(std::pow(WheelStepPerNotch, wheel->angleDelta().y() / 120.0), anchor);
        return true;
    }
    return false;
}

// Escape takes the close box's path, wherever the focus is in the window.
void Review::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Review::closeEvent(QCloseEvent* event) {
    tmrLoad.stop();
    event->accept();
}
