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

constexpr int LastChannel = 15;

// The channels' excursions while their warnings are live, from the start of a scan to its end.
struct ChannelWarningState {
    BarGraph::ExcursionTracker excursions;
    bool live = false;
    // The frame under way is the last of a scan of a known number of frames.
    bool lastFrame = false;
};

ChannelWarningState& Warnings() {
    static ChannelWarningState state;
    return state;
}

void ShowChannelWarnings() {
    FormInstance<MDIMain>::instance().setStatusWarning(
        BarGraph::WarningText(Warnings().excursions));
}

// Watched whether or not the bar graph is open: its full scales are kept while it is closed.
void WatchChannelValue(int channel, float value) {
    ChannelWarningState& state = Warnings();
    if (!state.live) {
        return;
    }
    const BarGraph::ChannelWarnings warnings =
        BarGraph::WarningsFor(value, FullScale[channel], AlarmRanges[channel]);
    if (state.excursions.update(channel, warnings)) {
        ShowChannelWarnings();
    }
    if (state.lastFrame && channel == LastChannel) {
        EndChannelWarnings();
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
    // A scan without a number of frames (0) runs until Stop, though each frame passes the test.
    Warnings().lastFrame = FramesPerScan >= 1.0f && frameNumber >= FramesPerScan - 1.0f;
    NoteLogFrame(frame);
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
    LogLine(channel == LastChannel ? 2 : 1, tokens[1]);
}

void BeginChannelWarnings() {
    EndChannelWarnings();
    Warnings().live = true;
}

void EndChannelWarnings() {
    ChannelWarningState& state = Warnings();
    state.excursions.clear();
    state.live = false;
    state.lastFrame = false;
    ShowChannelWarnings();
}

} // namespace Global
