#include "vornsim/simconfig.h"

#include "vornsim/frames.h"
#include "vornsim/modulesettings.h"

#include <QCommandLineParser>

namespace vornsim {

namespace {

std::optional<QList<int>> parseNumberList(const QString& text, qint64 minimum, qint64 maximum) {
    QList<int> numbers;
    for (const QString& part : text.split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const qint64 value = part.trimmed().toLongLong(&ok);
        if (!ok || value < minimum || value > maximum) {
            return std::nullopt;
        }
        numbers.append(static_cast<int>(value));
    }
    return numbers;
}

std::optional<QSet<quint32>> parseFrameNumbers(const QString& text) {
    QSet<quint32> numbers;
    for (const QString& part : text.split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const quint32 value = part.trimmed().toUInt(&ok);
        if (!ok) {
            return std::nullopt;
        }
        numbers.insert(value);
    }
    return numbers;
}

std::optional<int> parseInt(const QString& text, int minimum, int maximum) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < minimum || value > maximum) {
        return std::nullopt;
    }
    return value;
}

std::optional<GarbageKind> parseGarbageKind(const QString& text) {
    if (text == QLatin1String(kGarbageBinary)) {
        return GarbageKind::Binary;
    }
    if (text == QLatin1String(kGarbageLong)) {
        return GarbageKind::LongLine;
    }
    if (text == QLatin1String(kGarbageNoEol)) {
        return GarbageKind::NoLineEnd;
    }
    return std::nullopt;
}

ParsedArguments refuse(const QString& why) {
    ParsedArguments result;
    result.message = why;
    return result;
}

} // namespace

std::optional<std::pair<QHostAddress, quint16>> parseListenAddress(const QString& text) {
    const int colon = static_cast<int>(text.lastIndexOf(u':'));
    if (colon <= 0) {
        return std::nullopt;
    }
    QString host = text.left(colon);
    if (host.startsWith(u'[') && host.endsWith(u']')) {
        host = host.mid(1, host.size() - 2);
    }
    const auto port = parseInt(text.mid(colon + 1), 0, 65535);
    if (!port) {
        return std::nullopt;
    }
    QHostAddress address;
    if (host == QLatin1String("localhost")) {
        address = QHostAddress(QHostAddress::LocalHost);
    } else if (!address.setAddress(host)) {
        return std::nullopt;
    }
    return std::pair{address, static_cast<quint16>(*port)};
}

QString formatListenAddress(const QHostAddress& address, quint16 port) {
    const QString host = address.protocol() == QAbstractSocket::IPv6Protocol
                             ? QStringLiteral("[%1]").arg(address.toString())
                             : address.toString();
    return QStringLiteral("%1:%2").arg(host).arg(port);
}

ParsedArguments parseArguments(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Simulated Vorn module."));
    const QCommandLineOption help = parser.addHelpOption();
    auto option = [&parser](const char* name, const char* description, const char* valueName) {
        QCommandLineOption added(QString::fromLatin1(name), QString::fromLatin1(description));
        if (valueName != nullptr) {
            added.setValueName(QString::fromLatin1(valueName));
        }
        parser.addOption(added);
    };
    option(kOptListen, "Address and port of the command port; port 0 picks a free one.",
           "ADDR:PORT");
    option(kOptModel, "Model text (default 1216); 30xx models use the Status-> form.", "TEXT");
    option(kOptSeed, "Seed of the simulated pressures (default 1).", "N");
    option(kOptTranscript, "Write every byte received and sent to FILE.", "FILE");
    option(kOptState, "SAVE writes the settings to FILE; read at start when it exists.", "FILE");
    option(kOptSet, "Start with this setting, as if SET and SAVE had been sent (repeatable).",
           "KEY=VALUE");
    option(kOptRebootMs, "Milliseconds a reboot keeps the command port closed (default 35000).",
           "N");
    option(kOptSilentGroup,
           "Never answer List for these letters: groups I C H S, sensor tables O G B L N, "
           "points M A, zeros D Z (e.g. H or CS).",
           "LETTERS");
    option(kOptCloseAfter, "Close the connection after N reply lines.", "N");
    option(kOptSplitAt, "Cut every reply into separate writes at these byte offsets.", "P,P,...");
    option(kOptSplitDelay, "Milliseconds between the pieces of a cut reply (default 20).", "MS");
    option(kOptGarbage, "Send garbage before every reply: binary, long or noeol.", "KIND");
    option(kOptGarbageBytes, "Length of a long or noeol garbage line (default 1048576).", "N");
    option(kOptFixedValues,
           "Text scans send pressure P and temperature T, as given, on every channel.", "P,T");
    option(kOptOmitChannel, "Text scans leave this channel's line (0-15) out of every frame.", "N");
    option(kOptBurst, "High-speed scans send as fast as the socket allows.", nullptr);
    option(kOptDrop, "High-speed and text scans skip these frame numbers.", "N,N,...");
    option(kOptRepeat, "High-speed and text scans send these frame numbers twice.", "N,N,...");
    option(kOptFrameType, "Binary frame layout: VORN (default), HKQ, PXT or WGN.", "TYPE");
    option(kOptChannels, "Channels per binary frame (HKQ 16/32/64, PXT/WGN 1-512).", "N");

    if (!parser.parse(args)) {
        return refuse(parser.errorText());
    }
    if (parser.isSet(help)) {
        ParsedArguments result;
        result.helpRequested = true;
        result.message = parser.helpText();
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        return refuse(QStringLiteral("Unexpected argument: %1")
                          .arg(parser.positionalArguments().constFirst()));
    }
    auto value = [&parser](const char* name) { return parser.value(QString::fromLatin1(name)); };
    auto isSet = [&parser](const char* name) { return parser.isSet(QString::fromLatin1(name)); };
    auto badValue = [&value](const char* name) {
        return refuse(QStringLiteral("Bad --%1: %2").arg(QLatin1String(name), value(name)));
    };

    SimConfig config;
    if (!isSet(kOptListen)) {
        return refuse(QStringLiteral("--listen ADDR:PORT is required"));
    }
    const auto listen = parseListenAddress(value(kOptListen));
    if (!listen) {
        return refuse(QStringLiteral("Bad --listen address: %1").arg(value(kOptListen)));
    }
    config.address = listen->first;
    config.port = listen->second;
    if (isSet(kOptModel)) {
        config.model = value(kOptModel).toLatin1().trimmed();
    }
    if (isSet(kOptSeed)) {
        bool ok = false;
        config.seed = value(kOptSeed).toUInt(&ok);
        if (!ok) {
            return badValue(kOptSeed);
        }
    }
    config.transcriptPath = value(kOptTranscript);
    config.statePath = value(kOptState);
    if (isSet(kOptRebootMs)) {
        const auto rebootMs = parseInt(value(kOptRebootMs), 0, 3600000);
        if (!rebootMs) {
            return badValue(kOptRebootMs);
        }
        config.rebootMs = *rebootMs;
    }
    // Each preset is tried on a module of this model, so a refused one stops the start here.
    ModuleSettings trial(config.model);
    for (const QString& preset : parser.values(QString::fromLatin1(kOptSet))) {
        const qsizetype equals = preset.indexOf(u'=');
        const QByteArray key = preset.left(equals).toLatin1().trimmed().toUpper();
        const QByteArray setting = preset.mid(equals + 1).toLatin1().simplified();
        if (equals < 0 || key.isEmpty() || setting.isEmpty() ||
            !trial.set(key, setting).isEmpty()) {
            return refuse(QStringLiteral("Bad --%1: %2").arg(QLatin1String(kOptSet), preset));
        }
        config.presets.append({key, setting});
    }

    FaultConfig& faults = config.faults;
    faults.silentGroups = value(kOptSilentGroup).toLatin1().toUpper();
    if (isSet(kOptCloseAfter)) {
        const auto lines = parseInt(value(kOptCloseAfter), 1, 1 << 30);
        if (!lines) {
            return badValue(kOptCloseAfter);
        }
        faults.closeAfterLines = *lines;
    }
    if (isSet(kOptSplitAt)) {
        const auto positions = parseNumberList(value(kOptSplitAt), 1, 1 << 30);
        if (!positions || positions->isEmpty()) {
            return badValue(kOptSplitAt);
        }
        faults.splitPositions = *positions;
    }
    if (isSet(kOptSplitDelay)) {
        const auto delay = parseInt(value(kOptSplitDelay), 0, 60000);
        if (!delay) {
            return badValue(kOptSplitDelay);
        }
        faults.splitDelayMs = *delay;
    }
    if (isSet(kOptGarbage)) {
        const auto kind = parseGarbageKind(value(kOptGarbage));
        if (!kind) {
            return badValue(kOptGarbage);
        }
        faults.garbage = *kind;
    }
    if (isSet(kOptGarbageBytes)) {
        const auto bytes = parseInt(value(kOptGarbageBytes), 1, 256 * 1024 * 1024);
        if (!bytes) {
            return badValue(kOptGarbageBytes);
        }
        faults.garbageBytes = *bytes;
    }

    TextScanConfig& textScan = config.textScan;
    if (isSet(kOptFixedValues)) {
        // Two texts without blanks, so every channel line keeps its three tokens.
        const QList<QByteArray> values = value(kOptFixedValues).toLatin1().split(',');
        auto oneWord = [](const QByteArray& text) {
            return !text.isEmpty() && text.simplified() == text && !text.contains(' ');
        };
        if (values.size() != 2 || !oneWord(values[0]) || !oneWord(values[1])) {
            return badValue(kOptFixedValues);
        }
        textScan.fixedValues = std::pair{values[0], values[1]};
    }
    if (isSet(kOptOmitChannel)) {
        const auto channel = parseInt(value(kOptOmitChannel), 0, kLowSpeedChannels - 1);
        if (!channel) {
            return badValue(kOptOmitChannel);
        }
        textScan.omittedChannel = *channel;
    }

    HighSpeedConfig& highSpeed = config.highSpeed;
    highSpeed.burst = isSet(kOptBurst);
    const auto drop = parseFrameNumbers(value(kOptDrop));
    const auto repeat = parseFrameNumbers(value(kOptRepeat));
    if (!drop || !repeat) {
        return refuse(QStringLiteral("Bad frame number list in --drop or --repeat"));
    }
    highSpeed.dropFrames = *drop;
    highSpeed.repeatFrames = *repeat;
    if (isSet(kOptFrameType)) {
        const auto type = frameTypeFromName(value(kOptFrameType).toUpper().toLatin1());
        if (!type) {
            return badValue(kOptFrameType);
        }
        highSpeed.frameType = *type;
    }
    if (isSet(kOptChannels)) {
        const auto channels = parseInt(value(kOptChannels), 1, kMaxChannels);
        if (!channels) {
            return badValue(kOptChannels);
        }
        highSpeed.channels = *channels;
    }
    if (frameSize(highSpeed.frameType, highSpeed.channels) == 0) {
        return refuse(QStringLiteral("%1 frames cannot carry %2 channels")
                          .arg(QLatin1String(frameTypeName(highSpeed.frameType)))
                          .arg(highSpeed.channels));
    }
    ParsedArguments result;
    result.config = config;
    return result;
}

} // namespace vornsim
