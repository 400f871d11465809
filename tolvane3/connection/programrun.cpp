#include "programrun.h"

#include "Main.h"
#include "forms.h"
#include "mainwindow/MDIMain.h"
#include "shutdownsignals.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

int RunTolvane3(QApplication& app, const LaunchOptions& options) {
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
    // Closing the main window runs its unload handler: settings and history saved, log closed.
    const ShutdownSignals signalWatcher([] {
        if (FormInstance<MDIMain>::isLoaded()) {
            FormInstance<MDIMain>::instance().close();
        }
    });
    return app.exec();
}
