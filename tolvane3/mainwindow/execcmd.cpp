// Running the capture console and waiting for it. The console needs a terminal for its keys and
// messages: on Windows it gets a console window of its own. Elsewhere it shares the terminal
// tolvane3 was started from; without one it runs inside a terminal emulator ($TERMINAL,
// x-terminal-emulator, xterm); with none of these it runs without a console and ends by itself
// when its frame count is reached or its frames stop. VORN_FERROW_TERMINAL overrides the
// choice: a terminal emulator command, or empty for none.

#include "MDIMain.h"
#include "program/userprompts.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <optional>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

using ExitCode = std::optional<int>; // empty: the program could not be started

// While the console runs, this program takes no input and runs no timers: one capture at a
// time, nothing sent or changed behind it (the module's connection is closed by then). Its
// windows still repaint and answer the desktop, so that they show what is true (menus closed, no
// connection) and are never taken for a program that hangs.
class ConsoleWait : public QObject {
public:
    ConsoleWait() { QCoreApplication::instance()->installEventFilter(this); }
    ~ConsoleWait() override { QCoreApplication::instance()->removeEventFilter(this); }
    ConsoleWait(const ConsoleWait&) = delete;
    ConsoleWait& operator=(const ConsoleWait&) = delete;

    // Paints what is due, then blocks in the wait for at most this long.
    static constexpr int PaintIntervalMs = 100;

    static void paint() {
        QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers |
                                        QEventLoop::X11ExcludeTimers);
    }

protected:
    // Keys, clicks and the close box meant for this program are dropped, not kept for later.
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::Close:
            event->ignore();
            return true;
        default:
            return QObject::eventFilter(watched, event);
        }
    }
};

ExitCode RunAndWait(QProcess& process) {
    process.start();
    if (!process.waitForStarted(-1)) {
        return std::nullopt;
    }
    while (!process.waitForFinished(ConsoleWait::PaintIntervalMs) &&
           process.state() != QProcess::NotRunning) {
        ConsoleWait::paint();
    }
    return process.exitCode();
}

#ifdef Q_OS_WIN

ExitCode RunConsoleProgram(const QString& program) {
    QProcess process;
    process.setProgram(program);
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* arguments) {
        arguments->flags |= CREATE_NEW_CONSOLE;
    });
    return RunAndWait(process);
}

#else

// The console program inherits the standard three descriptors and nothing else of ours: not
// the module's socket, not the scan log. Marked here rather than closed in the child, where a
// failed start would go unnoticed.
void KeepDescriptorsFromChildren() {
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    const QStringList entries = descriptors.entryList(QDir::Files | QDir::System);
    for (const QString& entry : entries) {
        bool isNumber = false;
        const int fd = entry.toInt(&isNumber);
        if (isNumber && fd > STDERR_FILENO) {
            const int flags = fcntl(fd, F_GETFD);
            if (flags >= 0) {
                fcntl(fd, F_SETFD, flags | FD_CLOEXEC);
            }
        }
    }
}

struct ConsoleChoice {
    QStringList terminal; // terminal emulator command; empty: run directly
    bool sharesTerminal = false;
};

ConsoleChoice ChooseConsole() {
    if (qEnvironmentVariableIsSet("VORN_FERROW_TERMINAL")) {
        return {QProcess::splitCommand(qEnvironmentVariable("VORN_FERROW_TERMINAL")), false};
    }
    if (isatty(STDIN_FILENO) != 0) {
        return {{}, true};
    }
    if (const QString terminal = qEnvironmentVariable("TERMINAL"); !terminal.trimmed().isEmpty()) {
        return {QProcess::splitCommand(terminal), false};
    }
    for (const char* name : {"x-terminal-emulator", "xterm"}) {
        if (const QString path = QStandardPaths::findExecutable(QLatin1String(name));
            !path.isEmpty()) {
            return {{path}, false};
        }
    }
    return {};
}

ExitCode RunDirectly(const QString& program, bool sharesTerminal) {
    QProcess process;
    process.setProgram(program);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    if (sharesTerminal) {
        process.setInputChannelMode(QProcess::ForwardedInputChannel);
    } else {
        // No keys can come: the console ends by itself once its frames are in or have stopped.
        process.setStandardInputFile(QProcess::nullDevice());
    }
    return RunAndWait(process);
}

bool IsRunning(pid_t pid) {
    return kill(pid, 0) == 0 || errno == EPERM;
}

// Many terminal emulators hand the window to a server and return at once, so the wait is for
// the program itself: a small shell wrapper inside the terminal notes its process id, runs the
// program and notes its exit status.
ExitCode RunInTerminal(const QStringList& terminal, const QString& program) {
    const QTemporaryDir notes;
    if (!notes.isValid()) {
        return RunDirectly(program, false);
    }
    const QString pidFile = notes.filePath(QStringLiteral("pid"));
    const QString statusFile = notes.filePath(QStringLiteral("status"));
    QProcess process;
    process.setProgram(terminal.first());
    process.setArguments(terminal.mid(1) +
                         QStringList{QStringLiteral("-e"), QStringLiteral("/bin/sh"),
                                     QStringLiteral("-c"),
                                     QStringLiteral("echo $$ > \"$1.new\" && mv \"$1.new\" "
                                                    "\"$1\"; \"$0\"; echo $? > \"$2\""),
                                     program, pidFile, statusFile});
    process.setStandardInputFile(QProcess::nullDevice());
    const ExitCode emulatorExit = RunAndWait(process);
    if (!emulatorExit || (*emulatorExit != 0 && !QFile::exists(pidFile))) {
        // The emulator could not start or run it: the console still runs, without a window.
        return RunDirectly(program, false);
    }
    // An emulator that returned without starting the wrapper gets this long to start it.
    constexpr qint64 WrapperStartLimitMs = 30000;
    constexpr unsigned long PollMs = ConsoleWait::PaintIntervalMs;
    QElapsedTimer sinceEmulatorEnded;
    sinceEmulatorEnded.start();
    QFile pid(pidFile);
    while (!pid.exists()) {
        if (sinceEmulatorEnded.elapsed() > WrapperStartLimitMs) {
            return std::nullopt;
        }
        ConsoleWait::paint();
        QThread::msleep(PollMs);
    }
    pid.open(QIODevice::ReadOnly);
    const pid_t wrapper = static_cast<pid_t>(pid.readAll().trimmed().toInt());
    while (wrapper > 0 && IsRunning(wrapper)) {
        ConsoleWait::paint();
        QThread::msleep(PollMs);
    }
    QFile status(statusFile);
    if (!status.open(QIODevice::ReadOnly)) {
        return 0; // the terminal was closed under the program
    }
    // The shell's own codes for a program it could not find or run.
    constexpr int NotExecutable = 126;
    constexpr int NotFound = 127;
    const int code = status.readAll().trimmed().toInt();
    if (code == NotExecutable || code == NotFound) {
        return std::nullopt;
    }
    return code;
}

ExitCode RunConsoleProgram(const QString& program) {
    KeepDescriptorsFromChildren();
    const ConsoleChoice console = ChooseConsole();
    return console.terminal.isEmpty() ? RunDirectly(program, console.sharesTerminal)
                                      : RunInTerminal(console.terminal, program);
}

#endif

} // namespace

int MDIMain::ExecCmd(const QString& cmdline) {
    const QFileInfo program(cmdline);
    ExitCode exitCode;
    if (program.isFile() && program.isExecutable()) {
        const ConsoleWait wait;
        ConsoleWait::paint();
        exitCode = RunConsoleProgram(cmdline);
    }
    if (!exitCode) {
        UserPrompts::MsgBox(QStringLiteral("Could not open Ferrow.exe"));
        return 0;
    }
    return *exitCode;
}
