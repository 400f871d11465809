#include "scanlog.h"

#include "mainwindow/MDIMain.h"
#include "program/Global.h"
#include "program/forms.h"
#include "program/userprompts.h"
#include "recordingsidecar.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <algorithm>
#include <memory>
#include <optional>

namespace Global {
namespace {

// Whole-line records held back while a row stays open: past this many the row is taken as
// abandoned and ended, so that nothing waits without bound.
constexpr qsizetype MaxHeldRecords = 1000;
// Setting changes a sidecar lists; a module that floods SET lines gets the rest counted.
constexpr qsizetype MaxSettingChanges = 10000;

struct OpenLog {
    QFile file;
    // A comma-separated row is built here and written whole when its last field arrives, so
    // that records which arrive meanwhile (status lines, commands) never land inside it.
    QByteArray row;
    bool rowOpen = false;
    QList<QByteArray> heldRecords;
    // The sidecar's facts. A device or a pipe as log gets no sidecar beside it.
    bool hasSidecar = false;
    bool sidecarFailed = false; // said once
    RecordingSidecar::ScanLogFacts facts;
    std::optional<QString> lastFrame;
};

std::unique_ptr<OpenLog> openLog;

void ShowLogState() {
    MDIMain& frame = FormInstance<MDIMain>::instance();
    frame.setStatusPanel(3, LogFileOpen ? QStringLiteral("Logging to ") + LogFileName
                                        : QStringLiteral("No Log File"));
    // A running scan keeps Open and Close off (a failed write can end the log meanwhile); the
    // scan's end sets them again.
    if (ScanRunning) {
        return;
    }
    frame.mnuOpenLogFile->setEnabled(!LogFileOpen);
    frame.mnuCloseLogFile->setEnabled(LogFileOpen);
    frame.toolbarButton(1)->setEnabled(!LogFileOpen);
    frame.toolbarButton(2)->setEnabled(LogFileOpen);
}

// Forgets the file without writing anything more.
void ReleaseLog() {
    openLog.reset();
    LogFileOpen = false;
    LogFileName.clear();
}

// Until the first frame the module's state may still change, and the sidecar follows it; from
// then on it keeps the state the frames were taken in, and the changes tell the rest.
void WriteSidecar() {
    if (!openLog || !openLog->hasSidecar) {
        return;
    }
    if (!openLog->lastFrame) {
        openLog->facts.moduleState = RecordingSidecar::ModuleState();
    }
    if (RecordingSidecar::Write(LogFileName, RecordingSidecar::ScanLog(openLog->facts)) ||
        openLog->sidecarFailed) {
        return;
    }
    openLog->sidecarFailed = true;
    UserPrompts::MsgBox(QStringLiteral("Error writing ") + LogFileName + QStringLiteral(".json"));
}

// The sidecar's last word, then the file is forgotten.
void EndLog() {
    if (openLog) {
        openLog->facts.end = QDateTime::currentDateTimeUtc();
        WriteSidecar();
    }
    ReleaseLog();
}

// A failed write (disk full, file gone) is reported once; the log then ends, so that the
// indicators never claim a log that is not being written.
void Write(const QByteArray& bytes) {
    if (!openLog) {
        return;
    }
    if (openLog->file.write(bytes) == bytes.size()) {
        ++openLog->facts.rowsWritten;
        return;
    }
    const QString name = LogFileName;
    EndLog();
    ShowLogState();
    UserPrompts::MsgBox(QStringLiteral("Error writing log file ") + name);
}

void WriteHeldRecords() {
    while (openLog && !openLog->heldRecords.isEmpty()) {
        Write(openLog->heldRecords.takeFirst());
    }
}

QByteArray SpacesTrimmed(const QString& text) {
    qsizetype first = 0;
    qsizetype end = text.size();
    while (first < end && text[first] == QLatin1Char(' ')) {
        ++first;
    }
    while (end > first && text[end - 1] == QLatin1Char(' ')) {
        --end;
    }
    return text.sliced(first, end - first).toLatin1();
}

constexpr char LineEnd[] = "\r\n";

} // namespace

void LogLine(int mode, const QString& text) {
    if (!LogFileOpen || !openLog) {
        return;
    }
    switch (mode) {
    case 0: {
        QString record =
            LogAsCsv ? QString(text).replace(QLatin1Char(' '), QLatin1Char(',')) : text;
        const QByteArray bytes = record.toLatin1() + LineEnd;
        if (!openLog->rowOpen) {
            Write(bytes);
            return;
        }
        openLog->heldRecords.append(bytes);
        if (openLog->heldRecords.size() > MaxHeldRecords) {
            EndOpenLogRow();
        }
        return;
    }
    case 1:
        openLog->row += SpacesTrimmed(text) + ',';
        openLog->rowOpen = true;
        return;
    case 2: {
        const QByteArray row = openLog->row + text.toLatin1() + LineEnd;
        openLog->row.clear();
        openLog->rowOpen = false;
        Write(row);
        WriteHeldRecords();
        return;
    }
    default:
        return;
    }
}

void EndOpenLogRow() {
    if (!openLog || !openLog->rowOpen) {
        return;
    }
    QByteArray row = openLog->row;
    row.chop(1); // the comma after the last field that came
    openLog->row.clear();
    openLog->rowOpen = false;
    Write(row + LineEnd);
    WriteHeldRecords();
}

void OpenLogFile() {
    const QString fileName = UserPrompts::ChooseFile(
        UserPrompts::FileDialogMode::Save,
        QStringLiteral("Comma Separated Variable Files (*.csv)|*.csv|Log Files (*.log)|*.log|Text "
                       "Files (*.txt)|*.txt|All Files (*.*)|*.*"));
    if (fileName.isEmpty()) {
        return;
    }
    if (LogFileOpen) {
        CloseLogFile();
    }
    LogFileName = fileName;
    LogAsCsv = LogFileName.trimmed().right(3).toUpper() == QLatin1String("CSV");
    auto log = std::make_unique<OpenLog>();
    log->file.setFileName(LogFileName);
    // Unbuffered: every record reaches the file at once, and a failed write shows at once.
    if (!log->file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        UserPrompts::MsgBox(QStringLiteral("Error opening log file ") + LogFileName);
        LogFileName.clear();
        LogFileOpen = false;
        return;
    }
    log->hasSidecar = QFileInfo(LogFileName).isFile();
    log->facts.start = QDateTime::currentDateTimeUtc();
    log->facts.csv = LogAsCsv;
    std::fill(std::begin(OverRangeEvents), std::end(OverRangeEvents), 0);
    std::fill(std::begin(AlarmEvents), std::end(AlarmEvents), 0);
    openLog = std::move(log);
    LogFileOpen = true;
    ShowLogState();
    WriteSidecar();
}

void CloseLogFile() {
    EndOpenLogRow();
    EndLog();
    ShowLogState();
}

void NoteLogFrame(const QString& frame) {
    if (!openLog) {
        return;
    }
    if (!openLog->lastFrame) {
        openLog->facts.moduleState = RecordingSidecar::ModuleState();
    }
    openLog->lastFrame = frame;
}

void NoteLogSetting(const QString& key, const QString& value) {
    if (!openLog) {
        return;
    }
    RecordingSidecar::ScanLogFacts& facts = openLog->facts;
    if (facts.settingChanges.size() < MaxSettingChanges) {
        facts.settingChanges.append(
            RecordingSidecar::SettingChange(openLog->lastFrame.value_or(QString()), key, value));
    } else {
        ++facts.changesOmitted;
    }
}

void UpdateLogSidecar() {
    WriteSidecar();
}

} // namespace Global
