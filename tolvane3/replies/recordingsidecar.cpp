#include "recordingsidecar.h"

#include "bargraph/barscale.h"
#include "mainwindow/programinfo.h"
#include "program/Global.h"
#include "program/settingsstore.h"

#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>

namespace RecordingSidecar {
namespace {

// The scan settings a recording's numbers depend on, by the module's names.
constexpr const char* ScanSettingKeys[] = {"PERIOD", "AVG", "FPS",   "UNITSCAN", "CVTUNIT",
                                           "EU",     "ZC",  "QPKTS", "XSCANTRIG"};
// Even a capture with millions of gaps has a sidecar far smaller; a larger file is none of ours.
constexpr qint64 MaxSidecarBytes = 64 * 1024 * 1024;

QString Reported(const char* key) {
    return Global::ReportedSettings.value(QLatin1String(key));
}

void InsertKnown(QJsonObject& object, const QString& key, const QString& value) {
    if (!value.isEmpty()) {
        object.insert(key, value);
    }
}

QJsonObject ModuleIdentity() {
    QJsonObject module;
    InsertKnown(module, QStringLiteral("address"), Global::ConnectedAddress);
    InsertKnown(module, QStringLiteral("model"), Reported("MODEL").trimmed());
    InsertKnown(module, QStringLiteral("serialNumber"), Reported("SN").trimmed());
    InsertKnown(module, QStringLiteral("firmware"), Reported("VER").trimmed());
    return module;
}

QJsonArray Counts(const int (&events)[Global::ChannelSlots]) {
    QJsonArray counts;
    for (int channel = 0; channel < 16; ++channel) {
        counts.append(events[channel]);
    }
    return counts;
}

} // namespace

QString ProgramText() {
    return QStringLiteral("tolvane3 ") + QLatin1String(ProgramInfo::Version);
}

QString TimeText(const QDateTime& time) {
    return time.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ"));
}

QJsonObject ModuleState() {
    QJsonObject state;
    if (const QJsonObject module = ModuleIdentity(); !module.isEmpty()) {
        state.insert(QStringLiteral("module"), module);
    }
    QJsonObject settings;
    for (const char* key : ScanSettingKeys) {
        if (Global::ReportedSettings.contains(QLatin1String(key))) {
            settings.insert(QLatin1String(key), Reported(key));
        }
    }
    if (!settings.isEmpty()) {
        state.insert(QStringLiteral("settings"), settings);
    }
    QJsonArray fullScales;
    bool fullScaleKnown = false;
    for (int channel = 0; channel < 16; ++channel) {
        fullScales.append(Global::ChannelMax[channel]);
        fullScaleKnown = fullScaleKnown || !Global::ChannelMax[channel].isEmpty();
    }
    if (fullScaleKnown) {
        state.insert(QStringLiteral("fullScales"), fullScales);
    }
    // The recordings hold pressures, whichever values the bars show.
    InsertKnown(state, QStringLiteral("unit"),
                BarGraph::UnitsTextFor(
                    BarGraph::ScaleModeFor(false, true, SettingsStore::EngineeringUnitsChecked()),
                    Global::UnitScan));
    // Externally triggered frames have no period; single precision kept to its own digits.
    if (!Global::ExtTrigScan && Global::FramePeriod > 0) {
        state.insert(QStringLiteral("framePeriodSeconds"),
                     Global::NumberText(Global::FramePeriod).toDouble());
    }
    return state;
}

QJsonObject ScanLog(const ScanLogFacts& facts) {
    QJsonObject sidecar = facts.moduleState;
    sidecar.insert(QStringLiteral("program"), ProgramText());
    sidecar.insert(QStringLiteral("kind"),
                   facts.csv ? QStringLiteral("CSV") : QStringLiteral("plain"));
    sidecar.insert(QStringLiteral("start"), TimeText(facts.start));
    if (facts.end.isValid()) {
        sidecar.insert(QStringLiteral("end"), TimeText(facts.end));
    }
    sidecar.insert(QStringLiteral("rowsWritten"), facts.rowsWritten);
    sidecar.insert(QStringLiteral("settingChanges"), facts.settingChanges);
    if (facts.changesOmitted > 0) {
        sidecar.insert(QStringLiteral("settingChangesOmitted"), facts.changesOmitted);
    }
    sidecar.insert(QStringLiteral("overRangeEvents"), Counts(Global::OverRangeEvents));
    sidecar.insert(QStringLiteral("alarmEvents"), Counts(Global::AlarmEvents));
    return sidecar;
}

QJsonObject SettingChange(const QString& frame, const QString& key, const QString& value) {
    QJsonObject change{{QStringLiteral("key"), key}, {QStringLiteral("value"), value}};
    if (!frame.isEmpty()) {
        change.insert(QStringLiteral("frame"), Global::LeadingNumber(frame));
    }
    return change;
}

QJsonObject MergedCapture(const QJsonObject& consolePart, const QJsonObject& handOff) {
    QJsonObject merged = handOff;
    for (auto entry = consolePart.begin(); entry != consolePart.end(); ++entry) {
        merged.insert(entry.key(), entry.value());
    }
    return merged;
}

std::optional<QJsonObject> Read(const QString& recordingName) {
    QFile file(recordingName + QStringLiteral(".json"));
    if (!file.exists()) {
        return QJsonObject();
    }
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxSidecarBytes) {
        return std::nullopt;
    }
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    if (!document.isObject()) {
        return std::nullopt;
    }
    return document.object();
}

bool Write(const QString& recordingName, const QJsonObject& sidecar) {
    // CR LF like every text file of the suite; JSON strings hold no raw line ends to disturb.
    QByteArray text = QJsonDocument(sidecar).toJson(QJsonDocument::Indented);
    text.replace('\n', "\r\n");
    QSaveFile file(recordingName + QStringLiteral(".json"));
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit();
}

} // namespace RecordingSidecar
