#include "vornsim/modulesettings.h"

#include "vornsim/pointtables.h"
#include "vornsim/simconstants.h"

#include <QByteArrayView>
#include <algorithm>
#include <cctype>

namespace vornsim {

namespace {

constexpr char kLowBankScale[] = "15";
constexpr char kHighBankScale[] = "50";

// The engineering units a module converts to, by the names it takes in UNITSCAN.
constexpr QByteArrayView kUnits[] = {
    "PSI",   "ATM",  "BAR",  "CMHG",  "CMH2O", "DECIBAR", "FTH2O", "GCM2", "INHG",
    "INH2O", "KNM2", "KGM2", "KGCM2", "KPA",   "KIPIN2",  "MPA",   "MBAR", "MH2O",
    "MMHG",  "NM2",  "NCM2", "OZIN2", "OZFT2", "PA",      "PSF",   "TORR", "USER"};

} // namespace

bool isDecimalNumber(const QByteArray& text) {
    qsizetype at = text.startsWith('-') || text.startsWith('+') ? 1 : 0;
    bool digitSeen = false;
    bool pointSeen = false;
    for (; at < text.size(); ++at) {
        if (text[at] == '.' && !pointSeen) {
            pointSeen = true;
        } else if (std::isdigit(static_cast<unsigned char>(text[at]))) {
            digitSeen = true;
        } else {
            return false;
        }
    }
    return digitSeen;
}

ModuleSettings::ModuleSettings(const QByteArray& model) {
    entries_ = {
        {'I', "MODEL", model}, {'I', "SN", "0417"},           {'I', "VER", "3.03"},
        {'I', "PAGE", "0"},    {'C', "PMAXL", kLowBankScale}, {'C', "PMAXH", kHighBankScale},
        {'C', "PMINL", "-15"}, {'C', "PMINH", "-50"},         {'C', "NEGPTSL", "4"},
        {'C', "NEGPTSH", "4"},
    };
    // The sensor tables; a group lists its own keys in the order they are added here.
    for (int sensor = 0; sensor < 16; ++sensor) {
        const QByteArray number = QByteArray::number(sensor);
        // "07" models carry a sensor of its own range on every channel.
        const QByteArray scale = model.endsWith("07") ? QByteArray::number(5 * (sensor + 1))
                                 : sensor < 8         ? QByteArray(kLowBankScale)
                                                      : QByteArray(kHighBankScale);
        const std::vector<Entry> tables = {
            {'H', "MAX" + number, scale},
            {'L', "MIN" + number, '-' + scale, Kind::Number},
            {'B', "ABS" + number, "0", Kind::Flag},
            {'N', "NEGPTS" + number, "4", Kind::Number},
            {'O', "TEMP " + number + " OFFSET", "0.000", Kind::Number},
            {'G', "TEMP " + number + " GAIN", "1.000", Kind::Number},
        };
        entries_.insert(entries_.end(), tables.begin(), tables.end());
    }
    const std::vector<Entry> scan = {
        {'S', "PERIOD", "500", Kind::Number},
        {'S', "AVG", "10", Kind::Number},
        {'S', "FPS", "100", Kind::Number},
        {'S', "XSCANTRIG", "0"},
        {'S', "EU", "1"},
        {'S', "ZC", "1"},
        {'S', "QPKTS", "0"},
        {'S', "UNITSCAN", "PSI", Kind::Unit},
        {'S', "CVTUNIT", "1.0"},
        {'S', "BIN", "0"},
        {'S', "FORMAT", "0"},
        {'S', "HOST", "0 0 T"},
    };
    entries_.insert(entries_.end(), scan.begin(), scan.end());
}

int ModuleSettings::indexOf(const QByteArray& key) const {
    const QByteArray wanted = key.toUpper();
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].key == wanted) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

QByteArray ModuleSettings::set(const QByteArray& key, const QByteArray& value) {
    QByteArray fullKey = key;
    QByteArray stored = value;
    // "TEMP n OFFSET v": the sensor and the kind are part of the key.
    if (key.toUpper() == "TEMP") {
        const QList<QByteArray> words = value.split(' ');
        if (words.size() < 3) {
            return kInvalidSettingReply;
        }
        fullKey = "TEMP " + words[0] + ' ' + words[1];
        stored = words.mid(2).join(' ');
    }
    const int index = indexOf(fullKey);
    if (index < 0) {
        return kInvalidSettingReply;
    }
    Entry& entry = entries_[static_cast<std::size_t>(index)];
    switch (entry.kind) {
    case Kind::Text:
        break;
    case Kind::Number:
        if (!isDecimalNumber(stored)) {
            return kInvalidValueReply;
        }
        break;
    case Kind::Flag:
        if (stored != "0" && stored != "1") {
            return kInvalidValueReply;
        }
        break;
    case Kind::Unit: {
        const auto* unit = std::find(std::begin(kUnits), std::end(kUnits), stored.toUpper());
        if (unit == std::end(kUnits)) {
            return kInvalidUnitReply;
        }
        stored = unit->toByteArray();
        break;
    }
    }
    entry.value = stored;
    return {};
}

QByteArray ModuleSettings::value(const QByteArray& key) const {
    const int index = indexOf(key);
    return index < 0 ? QByteArray() : entries_[static_cast<std::size_t>(index)].value;
}

double ModuleSettings::number(const QByteArray& key) const {
    // The leading decimal number ("." as decimal point whatever the locale), 0 when none.
    const QByteArray text = value(key).trimmed();
    qsizetype end = 0;
    if (end < text.size() && (text[end] == '-' || text[end] == '+')) {
        ++end;
    }
    bool pointSeen = false;
    while (end < text.size() && (std::isdigit(static_cast<unsigned char>(text[end])) ||
                                 (text[end] == '.' && !pointSeen))) {
        pointSeen = pointSeen || text[end] == '.';
        ++end;
    }
    bool ok = false;
    const double number = text.left(end).toDouble(&ok);
    return ok ? number : 0.0;
}

std::optional<QList<QByteArray>> ModuleSettings::listGroup(char letter) const {
    QList<QByteArray> lines;
    for (const Entry& entry : entries_) {
        if (entry.group == letter) {
            lines.append("SET " + entry.key + ' ' + entry.value);
        }
    }
    if (lines.isEmpty()) {
        return std::nullopt;
    }
    return lines;
}

QList<QByteArray> ModuleSettings::savedLines() const {
    QList<QByteArray> lines;
    for (const Entry& entry : entries_) {
        if (entry.key != "MODEL" && entry.key != "SN" && entry.key != "VER") {
            lines.append("SET " + entry.key + ' ' + entry.value);
        }
    }
    return lines;
}

bool ModuleSettings::model30() const {
    return value("MODEL").startsWith("30");
}

int ModuleSettings::pointRows() const {
    return model30() ? kPointRows30 : kPointRows;
}

double ModuleSettings::fullScale(int channel) const {
    if (value("MODEL").endsWith("07")) {
        return number("MAX" + QByteArray::number(channel));
    }
    return number(channel < 8 ? "PMAXL" : "PMAXH");
}

} // namespace vornsim
