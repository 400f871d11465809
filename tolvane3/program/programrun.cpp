#include "programrun.h"

#include "connection/Main.h"
#include "forms.h"
#include "mainwindow/MDIMain.h"
#include "shutdownsignals.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

int RunTolvane3(QApplication& app, const LaunchOptions& options) {
    // SIGINT / SIGTERM end every event loop, modal message boxes included; the shut-down sequence
    // then runs below, once no handler is left half-way.
    const ShutdownSignals signalWatcher([] { QCoreApplication::quit(); });

    MDIMain& frame = FormInstance<MDIMain>::instance();
    frame.MDIForm_Load();
    frame.show();
    if (options.connectAtStart || !options.address.isEmpty()) {
        Main& window = FormInstance<Main>::instance();
        window.txtIpAdd->setText(options.address);
        if (options.connectAtStart) {
            window.Command1->click();
        }
    }
    const int result = app.exec();
    // Closing the main window runs its unload handler (settings and history saved, log closed);
    // after the operator closed it, that has already happened and closing again does nothing.
    if (FormInstance<MDIMain>::isLoaded()) {
        FormInstance<MDIMain>::instance().close();
    }
    return result;
}
