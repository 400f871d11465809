// tolvane3 under a flood of replies, on the offscreen platform against a fake module on
// loopback: a listing of 10,000 lines with the command window open, then an error list of
// 1,000 lines with the error window open. For each: the time from the module's write to the
// last line handled, and the longest the event loop went without turning (a 1 ms timer's
// longest gap). Then the same listing dispatched in one call chain and the view brought up to
// date: the worst case, all lines in one chunk.
//
//   reply_echo_bench [listing lines]   (default 10,000)

#include "connection/Main.h"
#include "fakemodule.h"
#include "mainwindow/Commands.h"
#include "mainwindow/MDIMain.h"
#include "program/Global.h"
#include "program/forms.h"
#include "program/linebox.h"
#include "program/userprompts.h"
#include "replies/Error.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int DeadlineMs = 120000;

// The longest gap between two turns of the event loop while it runs.
class StallProbe {
public:
    StallProbe() {
        ticker_.setTimerType(Qt::PreciseTimer);
        ticker_.setInterval(1);
        QObject::connect(&ticker_, &QTimer::timeout, [this] {
            const qint64 now = clock_.nsecsElapsed();
            longest_ = std::max(longest_, now - last_);
            last_ = now;
        });
    }
    void start() {
        longest_ = 0;
        clock_.start();
        last_ = 0;
        ticker_.start();
    }
    double stopMs() {
        ticker_.stop();
        return static_cast<double>(longest_) / 1e6;
    }

private:
    QTimer ticker_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 longest_ = 0;
};

struct Run {
    double elapsedMs;
    double stallMs;
};

// Sends the bytes from the module and waits until the program has handled `lines` more lines.
Run Receive(FakeModule& module, const QByteArray& bytes, qsizetype lines,
            const qsizetype& handled) {
    StallProbe probe;
    const qsizetype target = handled + lines;
    QElapsedTimer clock;
    probe.start();
    clock.start();
    module.send(bytes);
    if (!QTest::qWaitFor([&] { return handled >= target; }, DeadlineMs)) {
        std::printf("only %lld of %lld lines arrived\n", static_cast<long long>(handled),
                    static_cast<long long>(target));
        std::exit(1);
    }
    const double elapsed = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    return {elapsed, probe.stopMs()};
}

void Report(const char* what, qsizetype lines, const Run& run) {
    std::printf("%-44s %6lld lines  %8.1f ms  longest stall %6.1f ms\n", what,
                static_cast<long long>(lines), run.elapsedMs, run.stallMs);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const qsizetype listingLines = argc > 1 ? std::atoi(argv[1]) : 10000;

    // Settings and the address history in a scratch folder; no polling, every box answered OK.
    QTemporaryDir scratch;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, scratch.path());
    QDir::setCurrent(scratch.path());
    UserPrompts::setMessageBoxHandler(
        [](const UserPrompts::MessageBoxRequest&) { return QMessageBox::Ok; });

    MDIMain& frame = FormInstance<MDIMain>::instance();
    frame.MDIForm_Load();
    frame.show();
    Global::StatusPollAlways = false;
    FakeModule module;
    Main& window = FormInstance<Main>::instance();
    qsizetype handled = 0;
    window.lineHandler = [original = window.lineHandler, &handled](const QString& line) {
        original(line);
        ++handled;
    };
    window.txtIpAdd->setText(module.address());
    window.Command1->click();
    if (!QTest::qWaitFor([] { return Global::ConnState == Global::Connected; }) ||
        !module.answerLists("ICHS")) {
        std::printf("no connection to the fake module\n");
        return 1;
    }

    // A listing as the module sends it: one point-table row per line.
    QByteArray listing;
    QStringList lines;
    for (qsizetype row = 0; row < listingLines; ++row) {
        const QByteArray line = "INSERT " + QByteArray::number(row % 16) + " " +
                                QByteArray::number(row % 70) + " 14.6959 -0.0213 1.00012 " +
                                QByteArray::number(row);
        listing += line + "\r\n";
        lines << QString::fromLatin1(line);
    }
    frame.mnuCommands->trigger();
    Commands& commands = FormInstance<Commands>::instance();
    Report("listing, command window open (socket)", listingLines,
           Receive(module, listing, listingLines, handled));
    std::printf("%-44s %6lld characters\n", "  result box holds",
                static_cast<long long>(commands.txtResult->length()));

    QByteArray errors;
    constexpr qsizetype errorLines = 1000;
    for (qsizetype number = 0; number < errorLines; ++number) {
        errors += "ERROR: " + QByteArray::number(number) + " bad key in SET command\r\n";
    }
    commands.cmdClose->click();
    frame.mnuErrors->trigger();
    Report("error list, error window open (socket)", errorLines,
           Receive(module, errors, errorLines, handled));
    std::printf("%-44s %6lld characters\n", "  error box holds",
                static_cast<long long>(FormInstance<Error>::instance().txtError->length()));
    FormInstance<Error>::instance().cmdClose->click();

    frame.mnuCommands->trigger();
    QElapsedTimer clock;
    clock.start();
    for (const QString& line : lines) {
        Global::ProcessVornLine(line);
    }
    // The result box's view catches up on the next turn of the event loop; that counts too.
    QCoreApplication::processEvents();
    std::printf("%-44s %6lld lines  %8.1f ms\n", "listing, command window open (one call chain)",
                static_cast<long long>(listingLines),
                static_cast<double>(clock.nsecsElapsed()) / 1e6);

    frame.close();
    return 0;
}
