// Writes a capture's conversion of many frames (VORN's form: 16 values parted by two commas, a
// few frames missing) and opens it in a review window the way Review Recording does, offscreen:
// prints the file's size, the load time, the longest stall of the event loop while loading, the
// memory the program gained and the values' own size as floats, then the time of one redraw.
//
//   review_bench [frames]   (default 1,000,000, about 190 MB; the file goes to a temporary folder)

#include "mainwindow/MDIMain.h"
#include "program/forms.h"
#include "review/Review.h"
#include "review/reviewpicture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr int Channels = 16;
constexpr int GapEvery = 100000; // frames; three go missing there

bool WriteCapture(const QString& name, long long frames) {
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    QByteArray block;
    std::array<char, 64> text{};
    for (long long frame = 0; frame < frames; ++frame) {
        if (frame % GapEvery == GapEvery / 2) {
            frame += 3;
        }
        block += QByteArray::number(frame);
        for (int channel = 0; channel < Channels; ++channel) {
            const double value =
                15 * std::sin(2 * M_PI * (static_cast<double>(frame) / 2500.0 + channel / 16.0));
            const auto end = std::to_chars(text.data(), text.data() + text.size(),
                                           static_cast<float>(value), std::chars_format::fixed, 6);
            block += ',';
            block.append(text.data(), end.ptr - text.data());
            block += ',';
        }
        block += "\r\n";
        if (block.size() > (1 << 20)) {
            if (file.write(block) != block.size()) {
                return false;
            }
            block.clear();
        }
    }
    return file.write(block) == block.size();
}

// Resident memory now and at most so far, in megabytes.
double ResidentMb() {
    QFile status(QStringLiteral("/proc/self/statm"));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QList<QByteArray> fields = status.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * 4096 / 1e6 : 0;
}

double PeakMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1e3;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const long long frames = argc > 1 ? std::atoll(argv[1]) : 1000000;
    QTemporaryDir folder;
    const QString name = folder.filePath(QStringLiteral("capture.csv"));
    QElapsedTimer clock;
    clock.start();
    if (!folder.isValid() || !WriteCapture(name, frames)) {
        std::printf("could not write %s\n", qPrintable(name));
        return 1;
    }
    std::printf("file: %lld frames, %.1f MB, written in %.1f s\n", frames,
                static_cast<double>(QFileInfo(name).size()) / 1e6,
                static_cast<double>(clock.elapsed()) / 1e3);

    MDIMain& frame = FormInstance<MDIMain>::instance();
    frame.show();
    const double before = ResidentMb();
    const double peakBefore = PeakMb();
    qint64 longestStallMs = 0;
    QElapsedTimer sinceTick;
    QTimer watch;
    watch.setInterval(1);
    QObject::connect(&watch, &QTimer::timeout,
                     [&] { longestStallMs = std::max(longestStallMs, sinceTick.restart()); });
    clock.restart();
    sinceTick.start();
    watch.start();
    Review* review = Review::Open(name);
    if (review == nullptr) {
        return 1;
    }
    while (!review->loaded()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    const double loadSeconds = static_cast<double>(clock.elapsed()) / 1e3;
    watch.stop();
    const std::size_t values = review->recording().values.size();
    std::printf("load: %.2f s, longest event-loop stall %lld ms\n", loadSeconds, longestStallMs);
    std::printf("memory: %.1f MB before opening, peak %.1f MB (%.1f MB more), values as floats "
                "%.1f MB\n",
                before, std::max(PeakMb(), peakBefore), std::max(PeakMb(), peakBefore) - before,
                static_cast<double>(values * sizeof(float)) / 1e6);

    clock.restart();
    const ReviewData::HorizontalAxis axis = ReviewData::AxisOf(review->recording(), 0);
    const std::vector<bool> shown(Channels, true);
    const std::vector<ReviewData::ChannelLine> lines =
        ReviewData::Project(review->recording(), axis, axis.x.front(), axis.x.back(), 1000, shown);
    std::printf("whole file projected to 1000 columns in %.0f ms (%lld points)\n",
                static_cast<double>(clock.nsecsElapsed()) / 1e6,
                static_cast<long long>(lines[0].points.size()) * Channels);
    review->close();
    FormInstance<MDIMain>::unload();
    return 0;
}
