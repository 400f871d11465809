#pragma once
// tolvane3 in this process against vornsim as a process, the way an operator runs them: for
// benchmarks and the README's picture. Settings, address history and files stay in a scratch
// folder, which is the current directory while the session lives.

#include "simulatorprocess.h"

#include <QStringList>
#include <QTemporaryDir>

class MDIMain;

class LiveSession {
public:
    // Call before the QApplication exists: it points the settings store at the scratch folder.
    LiveSession();

    // Starts vornsim with these presets ("KEY=VALUE"), shows the main window, connects and waits
    // until the settings are read. False (after saying why on stderr) when that fails.
    bool start(const QStringList& simulatorPresets);
    MDIMain& frame();
    QString path(const QString& name) const { return scratch_.filePath(name); }

private:
    QTemporaryDir scratch_;
    SimulatorProcess simulator_;
};
