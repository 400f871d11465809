#include "scanframes.h"

#include "bargraph/Bar.h"
#include "bargraph/overrange.h"
#include "mainwindow/MDIMain.h"
#include "program/Global.h"
#include "program/forms.h"
#include "scanlog.h"
#include "trend/Trend.h"

namespace Global {
namespace {

BarGraph::ExcursionTracker& Excursions() {
    static BarGraph::ExcursionTracker excursions;
    return excursions;
}

// Watched whether or not the bar graph is open: its full scales are kept while it is closed.
void WatchChannelValue(int channel, float value) {
    const BarGraph::ChannelWarnings warnings =
        BarGraph::WarningsFor(value, FullScale[channel], AlarmRanges[channel]);
    if (Excursions().update(channel, warnings)) {
        ShowChannelWarnings();
    }
}

} // namespace

void HandleFrameLine(const ReplyTokens& tokens, const QString& line) {
    const QString frame = tokens[2];
    const float frameNumber = LeadingSingle(frame);
    // Taken as the last frame whether or not this program started the scan.
    if (frameNumber >= FramesPerScan - 1.0f) {
        RestoreAfterScan();
    }
    FormInstance<Bar>::instance().SetFrame(frame);
    if (Trend* trend = FormInstance<Trend>::loaded()) {
        trend->SetFrame(frame);
    }
    if (!LogScanData) {
        return;
    }
    if (!LogAsCsv) {
        LogLine(0, line);
        return;
    }
    EndOpenLogRow();
    LogLine(1, ExtTrigScan ? QStringLiteral("XTRIG") : NumberText(FramePeriod * frameNumber));
    LogLine(1, frame);
}

void HandleChannelLine(int channel, const ReplyTokens& tokens, const QString& line,
                       int valueIndex) {
    const auto barChannel = static_cast<short>(channel);
    const QString value = tokens[valueIndex];
    const float number = LeadingSingle(value);
    Bar& bar = FormInstance<Bar>::instance();
    bar.SetPressValue(barChannel, value);
    bar.CalcBar(barChannel, number, FullScale[channel]);
    if (Trend* trend = FormInstance<Trend>::loaded()) {
        trend->SetValue(barChannel, number);
    }
    WatchChannelValue(channel, number);
    if (!LogScanData) {
        return;
    }
    if (!LogAsCsv) {
        LogLine(0, line);
        return;
    }
    // The log always takes the pressure, whichever value the bars show.
    constexpr int LastChannel = 15;
    LogLine(channel == LastChannel ? 2 : 1, tokens[1]);
}

void ShowChannelWarnings() {
    FormInstance<MDIMain>::instance().setStatusWarning(
        ScanRunning ? BarGraph::WarningText(Excursions()) : QString());
}

void EndChannelWarnings() {
    Excursions().clear();
    ShowChannelWarnings();
}

} // namespace Global
