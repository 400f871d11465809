// Feeds 10 s of a 1 kHz low-speed scan into the open bar graph the way the frame handling does
// (per frame SetFrame, then per channel SetPressValue and CalcBar) and prints the calls per
// second, the time the calls take and the longest stall of the event loop. Then the cost of a
// label text with and without its accessible name, with accessibility off and on.
//
//   bargraph_bench [seconds]   (offscreen unless QT_QPA_PLATFORM says otherwise)

#include "bargraph/Bar.h"
#include "mainwindow/MDIMain.h"
#include "program/Global.h"
#include "program/forms.h"
#include "scanconfig/VornConfig.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

constexpr int Channels = 16;
constexpr int FrameRate = 1000;
constexpr int DistinctFrames = 997; // a prime, so that the texts do not repeat with the period

struct FrameTexts {
    QString frame;
    std::array<QString, Channels> values;
    std::array<float, Channels> numbers;
};

// Pressures sweeping through the scale, each channel a sixteenth of a turn after the previous.
std::vector<FrameTexts> MakeFrames() {
    std::vector<FrameTexts> frames(DistinctFrames);
    for (int n = 0; n < DistinctFrames; ++n) {
        frames[n].frame = QString::number(n);
        for (int channel = 0; channel < Channels; ++channel) {
            const double turn = 2 * M_PI * (n / 250.0 + channel / 16.0);
            const double value = 15 * std::sin(turn);
            frames[n].values[channel] = QString::number(value, 'f', 4);
            frames[n].numbers[channel] = static_cast<float>(value);
        }
    }
    return frames;
}

double Seconds(qint64 nanoseconds) {
    return static_cast<double>(nanoseconds) / 1e9;
}

struct ScanFigures {
    long long frames = 0;
    double seconds = 0;
    double busySeconds = 0;
    double longestGapMs = 0;
    double longestGapCpuMs = 0; // the program's own work in that time, without being scheduled out
    double longestTickMs = 0;
};

// One tick every millisecond catches up with the frames due by the clock, as a socket read
// delivers the lines that arrived since the last one.
ScanFigures FeedScan(Bar& bar, const std::vector<FrameTexts>& frames, int seconds) {
    ScanFigures figures;
    const long long total = static_cast<long long>(seconds) * FrameRate;
    QElapsedTimer clock;
    QElapsedTimer busy;
    qint64 lastTickNs = 0;
    std::clock_t lastTickCpu = std::clock();
    qint64 busyNs = 0;
    QTimer feeder;
    feeder.setTimerType(Qt::PreciseTimer);
    feeder.setInterval(1);
    QObject::connect(&feeder, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        figures.longestGapMs = std::max(figures.longestGapMs, 1000 * Seconds(now - lastTickNs));
        lastTickNs = now;
        const std::clock_t cpu = std::clock();
        figures.longestGapCpuMs =
            std::max(figures.longestGapCpuMs,
                     1000.0 * static_cast<double>(cpu - lastTickCpu) / CLOCKS_PER_SEC);
        lastTickCpu = cpu;
        const long long due = std::min(total, now * FrameRate / 1000000000);
        busy.start();
        for (; figures.frames < due; ++figures.frames) {
            const FrameTexts& frame =
                frames[static_cast<std::size_t>(figures.frames % DistinctFrames)];
            bar.SetFrame(frame.frame);
            for (short channel = 0; channel < Channels; ++channel) {
                bar.SetPressValue(channel, frame.values[channel]);
                float value = frame.numbers[channel];
                float fullScale = Global::FullScale[channel];
                bar.CalcBar(channel, value, fullScale);
            }
        }
        const qint64 spent = busy.nsecsElapsed();
        busyNs += spent;
        figures.longestTickMs = std::max(figures.longestTickMs, 1000 * Seconds(spent));
        if (figures.frames >= total) {
            feeder.stop();
            QCoreApplication::exit();
        }
    });
    clock.start();
    feeder.start();
    QCoreApplication::exec();
    figures.seconds = Seconds(clock.nsecsElapsed());
    figures.busySeconds = Seconds(busyNs);
    return figures;
}

void PrintScan(const char* title, const ScanFigures& figures) {
    const double frames = static_cast<double>(figures.frames);
    const double calls = frames * (1 + 2.0 * Channels);
    std::printf("%s\n", title);
    std::printf("  frames fed          %lld in %.2f s (%.0f frames/s)\n", figures.frames,
                figures.seconds, frames / figures.seconds);
    std::printf("  method calls        %.0f/s (SetFrame, SetPressValue, CalcBar)\n",
                calls / figures.seconds);
    std::printf(
        "  time in the calls   %.1f %% of the run, %.2f us per frame, room for %.0f calls/s\n",
        100 * figures.busySeconds / figures.seconds, 1e6 * figures.busySeconds / frames,
        calls / figures.busySeconds);
    std::printf("  longest loop stall  %.2f ms between ticks (%.2f ms of it on the CPU); longest "
                "tick %.2f ms\n",
                figures.longestGapMs, figures.longestGapCpuMs, figures.longestTickMs);
}

// Nanoseconds per text set on one of the bar graph's labels, alternating two texts so that
// every call changes it.
double NanosecondsPerText(QLabel& label, bool withAccessibleName) {
    constexpr int Calls = 200000;
    const QString texts[2] = {QStringLiteral("12.34"), QStringLiteral("-3.21")};
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < Calls; ++i) {
        if (withAccessibleName) {
            SetLabelText(label, texts[i % 2]);
        } else {
            label.setText(texts[i % 2]);
        }
    }
    const double ns = static_cast<double>(clock.nsecsElapsed()) / Calls;
    QCoreApplication::processEvents();
    return ns;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;

    MDIMain& frame = FormInstance<MDIMain>::instance();
    frame.show();
    FormInstance<VornConfig>::instance().chkEu->setChecked(true);
    Global::CvtUnit = QStringLiteral("1");
    std::fill(std::begin(Global::ChannelMax), std::end(Global::ChannelMax), QStringLiteral("15"));
    frame.mnuBarGraphPress->trigger();
    frame.mnuBarGraph2Places->trigger();
    frame.mnuBarGraphOpen->trigger();
    Bar& bar = FormInstance<Bar>::instance();
    QCoreApplication::processEvents();

    const std::vector<FrameTexts> frames = MakeFrames();
    std::printf("bar graph %dx%d, %s, %d s at %d frames/s\n", bar.width(), bar.height(),
                qPrintable(QGuiApplication::platformName()), seconds, FrameRate);
    PrintScan(QAccessible::isActive() ? "scan, accessibility active from the start"
                                      : "scan, accessibility off",
              FeedScan(bar, frames, seconds));

    QLabel& label = *bar.labPress[0];
    std::printf("label text, as started:        setText %.0f ns, SetLabelText %.0f ns\n",
                NanosecondsPerText(label, false), NanosecondsPerText(label, true));
    auto* fresh = new QLabel(&bar);
    std::printf("unnamed label, as started: setText %.0f ns\n", NanosecondsPerText(*fresh, false));
    QAccessible::setActive(true);
    std::printf("label text, accessibility on:  setText %.0f ns, SetLabelText %.0f ns\n",
                NanosecondsPerText(label, false), NanosecondsPerText(label, true));
    PrintScan("scan, accessibility on", FeedScan(bar, frames, seconds));
    QAccessible::setActive(false);

    FormInstance<Bar>::unload();
    FormInstance<VornConfig>::unload();
    FormInstance<MDIMain>::unload();
    return 0;
}
