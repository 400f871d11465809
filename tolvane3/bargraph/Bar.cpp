#include "Bar.h"

#include "barfont.h"
#include "bargeometry.h"
#include "barscale.h"
#include "bartags.h"
#include "drawncontrols.h"
#include "mainwindow/MDIMain.h"
#include "program/Global.h"
#include "program/forms.h"
#include "program/settingsstore.h"
#include "program/timing.h"
#include "valuetext.h"

#include <QAction>
#include <QCloseEvent>
#include <QFontMetricsF>
#include <QLabel>
#include <QMdiSubWindow>
#include <algorithm>

namespace {

constexpr int ScanTextNamingMs = 250;
const QColor BarColour(0, 0, 255);
const QColor WarningColour(255, 140, 0);

bool IsChannel(short nChan) {
    return nChan >= 0 && nChan < Bar::Channels;
}

QString IndexedName(const char* base, int index) {
    return QLatin1String(base) + QString::number(index);
}

void SetTextColour(QLabel& label, const QColor& colour) {
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, colour);
    label.setPalette(palette);
}

QColor PlainTextColour(const QLabel& label) {
    return label.palette().color(QPalette::ButtonText);
}

// A label's font for its height in pixels, on a screen of that many dots per inch.
QFont ScaledFont(QFont font, double heightPixels, double dotsPerInch) {
    const BarGraph::LabelFont choice = BarGraph::LabelFontFor(heightPixels, dotsPerInch);
    font.setFamily(choice.family);
    font.setPointSizeF(choice.pointSize);
    return font;
}

} // namespace

Bar::Bar() {
    setObjectName(QStringLiteral("Bar"));
    setWindowTitle(QStringLiteral("Bar Graph"));
    scanTextNames_.setSingleShot(true);
    scanTextNames_.setInterval(Timing::scaled(ScanTextNamingMs));
    connect(&scanTextNames_, &QTimer::timeout, this, &Bar::nameScanTexts);
    Form_Load();
}

QSize Bar::sizeHint() const {
    return {640, 480};
}

void Bar::Form_Load() {
    InitBackground();
    DrawBackground();
    SetXScale();
}

void Bar::InitBackground() {
    if (linTop != nullptr) {
        return; // the controls are made once, for the window's whole life
    }
    const auto line = [this](const QString& name, Qt::PenStyle style = Qt::SolidLine) {
        auto* made = new LineControl(this, style);
        made->setObjectName(name);
        return made;
    };
    const auto label = [this](const QString& name, const QString& caption, Qt::Alignment alignment,
                              const char* purpose) {
        auto* made = new QLabel(this);
        made->setObjectName(name);
        // Module text is shown as it is, never as markup.
        made->setTextFormat(Qt::PlainText);
        made->setAlignment(alignment | Qt::AlignTop);
        SetTextColour(*made, PlainTextColour(*made));
        SetLabelText(*made, caption);
        if (purpose != nullptr) {
            made->setAccessibleDescription(QLatin1String(purpose));
        }
        return made;
    };

    linTop = line(QStringLiteral("linTop"));
    linCenter = line(QStringLiteral("linCenter"));
    linBot = line(QStringLiteral("linBot"));
    linBotWL = line(QStringLiteral("linBotWL"));
    linBotWR = line(QStringLiteral("linBotWR"));
    for (int k = 0; k < LegendLabels; ++k) {
        linGrid[k] = line(IndexedName("linGrid", k), Qt::DashDotDotLine);
    }
    for (int i = 0; i < Channels; ++i) {
        linTick[i] = line(IndexedName("linTick", i));
    }
    labFrame = label(QStringLiteral("labFrame"), QStringLiteral("Frame"), Qt::AlignLeft, nullptr);
    labFrameData =
        label(QStringLiteral("labFrameData"), QStringLiteral("0"), Qt::AlignLeft, "Frame number");
    labUnits = label(QStringLiteral("labUnits"), QString(), Qt::AlignHCenter, "Units");
    for (int i = 0; i < Channels; ++i) {
        labChan[i] =
            label(IndexedName("labChan", i), QString::number(i + 1), Qt::AlignLeft, nullptr);
    }
    for (int i = 0; i < Channels; ++i) {
        labMin[i] = label(IndexedName("labMin", i), QStringLiteral("Min"), Qt::AlignHCenter,
                          "Negative full scale");
    }
    for (int i = 0; i < Channels; ++i) {
        labMax[i] =
            label(IndexedName("labMax", i), QStringLiteral("Max"), Qt::AlignHCenter, "Full scale");
    }
    for (int i = 0; i < Channels; ++i) {
        labPress[i] = label(IndexedName("labPress", i), QString(), Qt::AlignRight, "Value");
    }
    for (int k = 0; k < LegendLabels; ++k) {
        labLeg[k] = label(IndexedName("labLeg", k), QString::number(k + 1), Qt::AlignHCenter,
                          "Percent of full scale");
    }
    for (int i = 0; i < Channels; ++i) {
        shaBar[i] = NewFilledShape(this, BarColour);
        shaBar[i]->setObjectName(IndexedName("shaBar", i));
    }
    for (int i = 0; i < Channels; ++i) {
        shaArrow[i] = new ArrowControl(this, WarningColour);
        shaArrow[i]->setObjectName(IndexedName("shaArrow", i));
        shaArrow[i]->hide();
    }
}

void Bar::DrawBackground() {
    const QSize area = size();
    linTop->setLine(BarGraph::ToPixels(BarGraph::TopLine(), area));
    linCenter->setLine(BarGraph::ToPixels(BarGraph::CenterLine(), area));
    linBot->setLine(BarGraph::ToPixels(BarGraph::AxisLine(), area));
    linBotWL->setLine(BarGraph::ToPixels(BarGraph::AxisLeftEnd(), area));
    linBotWR->setLine(BarGraph::ToPixels(BarGraph::AxisRightEnd(), area));
    for (int k = 0; k < LegendLabels; ++k) {
        linGrid[k]->setLine(BarGraph::ToPixels(BarGraph::GridLine(k), area));
    }
    for (int i = 0; i < Channels; ++i) {
        linTick[i]->setLine(BarGraph::ToPixels(BarGraph::TickLine(i), area));
    }
    placeLabel(labFrame, BarGraph::FrameCaptionRect());
    placeLabel(labFrameData, BarGraph::FrameNumberRect());
    placeLabel(labUnits, BarGraph::UnitsRect());
    for (int i = 0; i < Channels; ++i) {
        placeLabel(labChan[i], BarGraph::ChannelCaptionRect(i));
    }
    for (int i = 0; i < Channels; ++i) {
        placeLabel(labPress[i], BarGraph::ValueRect(i));
    }
    for (int i = 0; i < Channels; ++i) {
        placeLabel(labMin[i], BarGraph::MinRect(i));
    }
    for (int i = 0; i < Channels; ++i) {
        placeLabel(labMax[i], BarGraph::MaxRect(i));
    }
    const int legendStride = fittingLegendStride();
    for (int k = 0; k < LegendLabels; ++k) {
        placeLabel(labLeg[k], BarGraph::LegendRect(k, legendStride));
        labLeg[k]->setVisible(BarGraph::LegendShown(k, legendStride));
    }
    for (int i = 0; i < Channels; ++i) {
        placeBar(i);
    }
}

void Bar::placeLabel(QLabel* label, const QRectF& fraction) {
    label->setGeometry(BarGraph::ToPixels(fraction, size()));
    label->setFont(ScaledFont(label->font(), fraction.height() * height(), logicalDpiY()));
}

// The legend's texts are measured in the font they get at this height, not as they read now.
int Bar::fittingLegendStride() const {
    const QFontMetricsF metrics(ScaledFont(
        labLeg[0]->font(), BarGraph::LegendRect(0, 1).height() * height(), logicalDpiY()));
    double widest = 0;
    for (int k = 0; k < LegendLabels; ++k) {
        widest = std::max(widest, metrics.horizontalAdvance(BarGraph::LegendText(k)));
    }
    return BarGraph::LegendStride(widest, metrics.horizontalAdvance(QLatin1Char(' ')), width());
}

void Bar::placeBar(int channel) {
    const QRect pixels =
        BarGraph::ToPixels(BarGraph::BarFraction(Global::BarRects[channel]), size());
    // A frame's value often leaves its bar where it was; moving it anyway would repaint it.
    if (shaBar[channel]->geometry() != pixels) {
        shaBar[channel]->setGeometry(pixels);
    }
    ArrowControl& arrow = *shaArrow[channel];
    if (!arrow.isHidden()) {
        arrow.setGeometry(BarGraph::ToPixels(
            BarGraph::OverRangeBarFor(channel, arrow.pointsRight()).head, size()));
    }
}

void Bar::showWarnings(int channel, BarGraph::ChannelWarnings warnings) {
    BarGraph::ChannelWarnings& shown = shownWarnings_[static_cast<std::size_t>(channel)];
    if (warnings == shown) {
        return;
    }
    shown = warnings;
    SetShapeFill(*shaBar[channel], warnings.any() ? WarningColour : BarColour);
    shaArrow[channel]->setVisible(warnings.overRange);
    QFont font = labPress[channel]->font();
    font.setBold(warnings.any());
    labPress[channel]->setFont(font);
}

void Bar::showScanText(QLabel& label, const QString& text) {
    if (label.text() == text) {
        return;
    }
    // A label without a name announces every change of its text itself: named first, it does not.
    if (label.accessibleName().isEmpty()) {
        label.setAccessibleName(text);
    }
    label.setText(text);
    if (!scanTextNames_.isActive()) {
        scanTextNames_.start();
    }
}

void Bar::nameScanTexts() {
    const auto nameByText = [](QLabel& label) {
        if (label.accessibleName() != label.text()) {
            label.setAccessibleName(label.text());
        }
    };
    for (QLabel* label : labPress) {
        nameByText(*label);
    }
    nameByText(*labFrameData);
}

void Bar::SetFrame(const QString& sFrame) {
    if (isVisible()) {
        showScanText(*labFrameData, sFrame);
    }
}

void Bar::SetPressValue(short nChan, const QString& sPress) {
    if (isVisible() && IsChannel(nChan)) {
        showScanText(*labPress[nChan], BarGraph::ValueText(sPress, Global::DisplayFormat));
    }
}

void Bar::SetMaxValue(short nChan, const QString& sPress) {
    if (isVisible() && IsChannel(nChan)) {
        SetLabelText(*labMax[nChan], BarGraph::ValueText(sPress, Global::DisplayFormat));
    }
}

void Bar::SetMinValue(short nChan, const QString& sPress) {
    if (isVisible() && IsChannel(nChan)) {
        SetLabelText(*labMin[nChan], BarGraph::ValueText(sPress, Global::DisplayFormat));
    }
}

void Bar::CalcBar(short nChan, float value, float fullScale) {
    if (!isVisible() || !IsChannel(nChan)) {
        return;
    }
    const BarGraph::ChannelWarnings warnings =
        BarGraph::WarningsFor(value, fullScale, Global::AlarmRanges[nChan]);
    showWarnings(nChan, warnings);
    if (warnings.overRange) {
        const bool rightOfZero = BarGraph::DrawnRightOfZero(value, fullScale);
        shaArrow[nChan]->setPointsRight(rightOfZero);
        Global::BarRects[nChan] = BarGraph::OverRangeBarFor(nChan, rightOfZero).shaft;
        placeBar(nChan);
    } else if (const auto bar = BarGraph::CalcBarRect(nChan, value, fullScale)) {
        Global::BarRects[nChan] = *bar;
        placeBar(nChan);
    }
}

void Bar::SetXScale() {
    const MDIMain& frame = FormInstance<MDIMain>::instance();
    const BarGraph::ScaleMode mode = BarGraph::ScaleModeFor(
        frame.mnuBarGraphTemp->isChecked(), frame.mnuBarGraphPress->isChecked(),
        SettingsStore::EngineeringUnitsChecked());
    for (int i = 0; i < Channels; ++i) {
        if (const auto scale =
                BarGraph::ChannelScaleFor(mode, Global::CvtUnit, Global::ChannelMax[i])) {
            Global::FullScale[i] = scale->fullScale;
            Global::FullScaleText[i] = scale->text;
        }
    }
    Global::UpdateDisplayFormat();
    if (!isVisible()) {
        return;
    }
    SetLabelText(*labUnits, BarGraph::UnitsTextFor(mode, Global::UnitScan));
    for (int k = 0; k < LegendLabels; ++k) {
        SetLabelText(*labLeg[k], BarGraph::LegendText(k));
    }
    for (int i = 0; i < Channels; ++i) {
        const BarGraph::ScaleEndTexts ends =
            BarGraph::ScaleEndTextsFor(Global::FullScaleText[i], Global::DisplayFormat);
        SetLabelText(*labMax[i], ends.max);
        SetLabelText(*labMin[i], ends.min);
    }
}

void Bar::TagHighAndLow(short nRangeStart, short nRangeEnd) {
    std::array<double, Channels> shown{};
    for (int i = 0; i < Channels; ++i) {
        shown[i] = Global::LeadingNumber(labPress[i]->text());
    }
    const BarGraph::Tags tags = BarGraph::ChooseTags(shown, nRangeStart, nRangeEnd);
    SetTextColour(*labPress[tags.low], QColor(0, 255, 0));
    SetTextColour(*labPress[tags.high], QColor(255, 0, 0));
}

void Bar::ResetLables() {
    for (QLabel* label : labPress) {
        SetTextColour(*label, PlainTextColour(*label));
    }
}

void Bar::Form_Resize() {
    DrawBackground();
}

void Bar::Form_Activate() {
    SetXScale();
}

bool Bar::event(QEvent* event) {
    if (event->type() == QEvent::ParentChange) {
        followActivationOf(parentWidget());
    }
    // Appearing without an activation of its own (made active before it could be seen, or
    // restored from minimised after the settings changed), the window would keep the captions it
    // was made with or an old scale: the scale is drawn whenever it becomes visible.
    if (event->type() == QEvent::Show) {
        SetXScale();
    }
    return QWidget::event(event);
}

void Bar::followActivationOf(QWidget* parent) {
    disconnect(activation_);
    if (auto* window = qobject_cast<QMdiSubWindow*>(parent)) {
        activation_ = connect(window, &QMdiSubWindow::windowStateChanged, this,
                              [this](Qt::WindowStates before, Qt::WindowStates now) {
                                  if (!(before & Qt::WindowActive) && (now & Qt::WindowActive)) {
                                      Form_Activate();
                                  }
                              });
    }
}

void Bar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

// Closing the window destroys it; the next use creates it again, hidden.
void Bar::closeEvent(QCloseEvent* event) {
    event->accept();
    FormInstance<Bar>::unloadLater();
}
