#include "livesession.h"

#include "connection/Main.h"
#include "mainwindow/MDIMain.h"
#include "program/Global.h"
#include "program/forms.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <cstdio>

LiveSession::LiveSession() {
    const QString config = scratch_.filePath(QStringLiteral("config"));
    qputenv("HOME", scratch_.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config);
    QDir::setCurrent(scratch_.path());
}

bool LiveSession::start(const QStringList& simulatorPresets) {
    if (simulator_.start(simulatorPresets) == 0) {
        std::fprintf(stderr, "vornsim did not start\n");
        return false;
    }
    MDIMain& main = frame();
    main.MDIForm_Load();
    main.resize(1024, 768);
    main.show();
    Main& window = FormInstance<Main>::instance();
    window.txtIpAdd->setText(simulator_.address());
    window.Command1->click();
    constexpr int WaitMs = 20000;
    const bool settingsRead = QTest::qWaitFor(
        [&] {
            return Global::ConnState == Global::Connected &&
                   Global::ListPosition > Global::ListLetters.size() &&
                   !window.tmrResponse->isActive();
        },
        WaitMs);
    if (!settingsRead) {
        std::fprintf(stderr, "could not connect to vornsim and read its settings\n");
    }
    return settingsRead;
}

MDIMain& LiveSession::frame() {
    return FormInstance<MDIMain>::instance();
}
