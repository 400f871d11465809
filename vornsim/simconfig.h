#pragma once

#include "vornsim/simconstants.h"

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

namespace vornsim {

// Misbehaviour on the command port, chosen by option so tests and people can provoke it.
struct FaultConfig {
    QByteArray silentGroups;   // upper-case List letters answered with nothing
    int closeAfterLines = 0;   // close the connection after this many reply lines; 0 never
    QList<int> splitPositions; // byte offsets at which each reply is cut into separate writes
    int splitDelayMs = kDefaultSplitDelayMs;
    GarbageKind garbage = GarbageKind::None;
    int garbageBytes = kDefaultGarbageBytes;
};

struct HighSpeedConfig {
    bool burst = false;
    QSet<quint32> dropFrames;
    QSet<quint32> repeatFrames;
    FrameType frameType = FrameType::Vorn;
    int channels = 16;
};

// What text scans send in place of the moving readings, by option.
struct TextScanConfig {
    // --fixed-values P,T: every channel sends these two texts as they were given.
    std::optional<std::pair<QByteArray, QByteArray>> fixedValues;
    int omittedChannel = -1; // --omit-channel: this channel's line is left out of every frame
};

struct SimConfig {
    QHostAddress address = QHostAddress::LocalHost;
    quint16 port = 0;
    QByteArray model = kDefaultModel;
    quint32 seed = kDefaultSeed;
    QString transcriptPath;
    QString statePath;               // SAVE writes the settings here; read at start when present
    int rebootMs = kDefaultRebootMs; // how long a reboot keeps the command port closed
    // --set KEY=VALUE in order, upper-case keys: applied as SETs and saved, after the state file.
    QList<std::pair<QByteArray, QByteArray>> presets;
    FaultConfig faults;
    TextScanConfig textScan;
    HighSpeedConfig highSpeed;
};

struct ParsedArguments {
    std::optional<SimConfig> config; // empty when the program should only print `message`
    QString message;                 // help text or the reason the arguments were refused
    bool helpRequested = false;
};

// args includes the program name, as QCoreApplication::arguments() gives it.
ParsedArguments parseArguments(const QStringList& args);

// "ADDR:PORT", "[v6]:PORT" or "localhost:PORT"; nullopt when malformed.
std::optional<std::pair<QHostAddress, quint16>> parseListenAddress(const QString& text);

// The one line printed at start-up, in the same form --listen takes.
QString formatListenAddress(const QHostAddress& address, quint16 port);

} // namespace vornsim
