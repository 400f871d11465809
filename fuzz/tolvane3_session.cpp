#include "tolvane3_session.h"

#include "connection/Main.h"
#include "mainwindow/MDIMain.h"
#include "program/Global.h"
#include "program/forms.h"
#include "program/timing.h"
#include "program/userprompts.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace FuzzSession {
namespace {

constexpr double TimeScale = 0.0001;
// Connecting on loopback takes milliseconds; this is only the bound on a machine gone wrong.
constexpr int ConnectLimitMs = 30000;

QTcpServer* standIn = nullptr;
QString scratchPath;

// Keeps every connection to the stand-in open and reads away what tolvane3 sends, so that no
// buffer grows over millions of inputs.
void acceptConnections() {
    QObject::connect(standIn, &QTcpServer::newConnection, [] {
        while (QTcpSocket* client = standIn->nextPendingConnection()) {
            QObject::connect(client, &QTcpSocket::readyRead, client,
                             [client] { client->readAll(); });
            QObject::connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
        }
    });
}

// Qt's caches make nearly every input look like a leak to libFuzzer, whose check then scans the
// whole heap after each: a third of the speed. Leaks are still reported when the run ends.
void withoutLeakCheckPerInput(int* argc, char*** argv) {
    static std::vector<char*> arguments(*argv, *argv + *argc);
    static char noLeakCheck[] = "-detect_leaks=0";
    arguments.insert(arguments.begin() + 1, noLeakCheck);
    arguments.push_back(nullptr);
    *argc = static_cast<int>(arguments.size() - 1);
    *argv = arguments.data();
}

} // namespace

void start(int* fuzzerArgc, char*** fuzzerArgv) {
    withoutLeakCheckPerInput(fuzzerArgc, fuzzerArgv);
    static QTemporaryDir scratch;
    scratchPath = scratch.path();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString config = scratch.filePath(QStringLiteral("config"));
    qputenv("HOME", scratch.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
    static int argc = 1;
    static char name[] = "tolvane3";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config);
    QApplication::setQuitOnLastWindowClosed(false);
    UserPrompts::setMessageBoxHandler(
        [](const UserPrompts::MessageBoxRequest&) { return QMessageBox::Ok; });
    UserPrompts::setFileDialogHandler(
        [](const UserPrompts::FileDialogRequest&) { return QString(); });
    Timing::setScale(TimeScale);

    standIn = new QTcpServer;
    if (!standIn->listen(QHostAddress::LocalHost)) {
        std::fprintf(stderr, "the module stand-in cannot listen on loopback\n");
        std::abort();
    }
    acceptConnections();
    const InScratchFolder here;
    MDIMain& frame = FormInstance<MDIMain>::instance();
    frame.MDIForm_Load();
    frame.show();
    ensureConnected();
}

InScratchFolder::InScratchFolder() : previous_(QDir::currentPath()) {
    QDir::setCurrent(scratchPath);
}

InScratchFolder::~InScratchFolder() {
    QDir::setCurrent(previous_);
}

void ensureConnected() {
    if (Global::ConnState == Global::Connected) {
        return;
    }
    Main& window = FormInstance<Main>::instance();
    window.txtIpAdd->setText(QStringLiteral("127.0.0.1:%1").arg(standIn->serverPort()));
    if (Global::ConnState == Global::Disconnected) {
        window.Command1->click();
    }
    const QDeadlineTimer limit(ConnectLimitMs);
    while (Global::ConnState != Global::Connected && !limit.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    if (Global::ConnState != Global::Connected) {
        std::fprintf(stderr, "tolvane3 did not connect to the module stand-in\n");
        std::abort();
    }
}

void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace FuzzSession

// fontconfig, under Qt's font database, keeps a cache it never frees; it is none of ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
