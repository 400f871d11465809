#include "errorlist.h"
#include "mainwindow/Commands.h"
#include "mainwindow/MDIMain.h"
#include "profiles/CreateSPF.h"
#include "profiles/UploadSPF.h"
#include "program/Global.h"
#include "program/forms.h"
#include "replytokens.h"
#include "scanframes.h"
#include "scanlog.h"
#include "settingsmirror.h"

#include <QAction>

namespace Global {
namespace {

void ShowStatus(const QString& statusWord, const QString& line) {
    FormInstance<MDIMain>::instance().setStatusPanel(2, QStringLiteral("Vorn Status: ") +
                                                            statusWord.trimmed());
    if (LogStatusData) {
        LogLine(0, line);
    }
}

// Handles the module's status and banner lines; true when the line was one (it goes no further).
bool HandleStatusLine(const ReplyTokens& tokens, const QString& line) {
    const QString first = tokens[0];
    if (Model30) {
        if (first.startsWith(QLatin1String("Module"))) {
            return true;
        }
        constexpr QLatin1String statusPrefix("Status->");
        if (first.startsWith(statusPrefix)) {
            ShowStatus(first.mid(statusPrefix.size()), line);
            return true;
        }
        return false;
    }
    if (first == QLatin1String("STATUS:")) {
        ShowStatus(tokens[1], line);
        return true;
    }
    return false;
}

// "0" to "15" exactly (no sign, no leading zero) name a channel; anything else gives -1.
int ChannelNumber(const QString& token) {
    static const QStringList channelTokens = [] {
        QStringList names;
        for (int channel = 0; channel < 16; ++channel) {
            names << QString::number(channel);
        }
        return names;
    }();
    return static_cast<int>(channelTokens.indexOf(token));
}

} // namespace

// Every line keeps its own tokens, so a call nested by a message box or Pause inside a branch is
// handled like any other.
void ProcessVornLine(const QString& line) {
    if (line.isEmpty()) {
        return;
    }
    const ReplyTokens tokens(line);
    const QString first = tokens[0];
    const bool frameLine = first.compare(QLatin1String("FRAME"), Qt::CaseInsensitive) == 0;
    const int channel = frameLine ? -1 : ChannelNumber(first);
    // The module sends a frame's lines together: any other line once the scan is over means that
    // an unfinished row gets no more channels.
    if (!ScanRunning && !frameLine && channel < 0) {
        EndOpenLogRow();
    }
    if (FormInstance<CreateSPF>::isShown()) {
        FormInstance<CreateSPF>::instance().HandleLineFromVorn(line);
    }
    if (FormInstance<UploadSPF>::isShown()) {
        FormInstance<UploadSPF>::instance().HandleLineFromVorn(line);
    }
    if (HandleStatusLine(tokens, line)) {
        return;
    }
    if (FormInstance<Commands>::isShown()) {
        FormInstance<Commands>::instance().echoLine(line);
    }
    const int valueIndex = FormInstance<MDIMain>::instance().mnuBarGraphTemp->isChecked() ? 2 : 1;
    if (frameLine) {
        HandleFrameLine(tokens, line);
    } else if (channel >= 0) {
        HandleChannelLine(channel, tokens, line, valueIndex);
    } else if (first == QLatin1String("SET")) {
        HandleSetLine(tokens, line);
    } else if (first == QLatin1String("ERROR:")) {
        HandleErrorLine(line);
    }
}

} // namespace Global
