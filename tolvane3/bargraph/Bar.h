#pragma once
// The bar graph window "Bar Graph": each channel's latest value as a bar around a common zero
// line, with the value, the full scale at either end, a percent legend, the units and the last
// frame number. A child of the MDI frame, loaded hidden at start-up. Its lines, labels and bars
// are made at run time (InitBackground) and placed as fractions of the window (DrawBackground).
//
// The updating methods show nothing while the window is hidden, so that a scan costs nothing
// here until the window is open; the full-scale tables follow the settings all the same.
//
// A value beyond its full scale or its alarm limits shows in bold over an orange bar; beyond full
// scale the bar runs to the end of the axis, where an arrowhead points out of the scale.

#include "overrange.h"

#include <QMetaObject>
#include <QTimer>
#include <QWidget>
#include <array>

class ArrowControl;
class LineControl;
class QLabel;
class QRectF;

class Bar : public QWidget {
    Q_OBJECT

public:
    static constexpr int Channels = 16;
    static constexpr int LegendLabels = 9;

    Bar();

    QSize sizeHint() const override;

    // Controls by their names, all made by InitBackground.
    LineControl* linTop = nullptr;
    LineControl* linCenter = nullptr;
    LineControl* linBot = nullptr;
    LineControl* linBotWL = nullptr;
    LineControl* linBotWR = nullptr;
    std::array<LineControl*, LegendLabels> linGrid{};
    std::array<LineControl*, Channels> linTick{};
    QLabel* labFrame = nullptr;
    QLabel* labFrameData = nullptr;
    QLabel* labUnits = nullptr;
    std::array<QLabel*, Channels> labChan{};
    std::array<QLabel*, Channels> labMin{};
    std::array<QLabel*, Channels> labMax{};
    std::array<QLabel*, Channels> labPress{};
    std::array<QLabel*, LegendLabels> labLeg{};
    std::array<QWidget*, Channels> shaBar{};
    std::array<ArrowControl*, Channels> shaArrow{};

    void InitBackground();
    void DrawBackground();

    // Channels outside 0 to 15 are ignored.
    void SetFrame(const QString& sFrame);
    void SetPressValue(short nChan, const QString& sPress);
    void SetMaxValue(short nChan, const QString& sPress);
    void SetMinValue(short nChan, const QString& sPress);
    // A value or full scale that cannot be drawn (not finite, full scale 0) leaves the bar as is,
    // unless the value is beyond the full scale.
    void CalcBar(short nChan, float value, float fullScale);
    void SetXScale();
    // Green for the lowest shown value, then red for the highest; earlier tags stay.
    void TagHighAndLow(short nRangeStart, short nRangeEnd);
    void ResetLables();

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void Form_Resize();
    void Form_Activate();
    // Activation is the MDI window around this one becoming active.
    void followActivationOf(QWidget* parent);
    void placeLabel(QLabel* label, const QRectF& fraction);
    int fittingLegendStride() const;
    void placeBar(int channel);
    void showWarnings(int channel, BarGraph::ChannelWarnings warnings);
    // The frame number and the values change up to 17,000 times a second in a scan. Announcing
    // each change on the accessibility bus costs about 80 us when a screen reader listens, which
    // would stall the scan for seconds; their accessible names follow their texts a few times a
    // second instead.
    void showScanText(QLabel& label, const QString& text);
    void nameScanTexts();

    QMetaObject::Connection activation_;
    QTimer scanTextNames_;
    std::array<BarGraph::ChannelWarnings, Channels> shownWarnings_{};
};
