#include "vornsim/modulesettings.h"

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

// Optional sign, digits, at most one decimal point, at least one digit.
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

} // namespace

ModuleSettings::ModuleSettings(const QByteArray& model) {
    entries_ = {
        {'I', "MODEL", model}, {'I', "SN", "0417"},           {'I', "VER", "3.03"},
        {'I', "PAGE", "0"},    {'C', "PMAXL", kLowBankScale}, {'C', "PMAXH", kHighBankScale},
        {'C', "PMINL", "-15"}, {'C', "PMINH", "-50"},         {'C', "NEGPTSL", "4"},
        {'C', "NEGPTSH", "4"},
    };
    for (int channel = 0; channel < 16; ++channel) {
        // "07" models carry a sensor of its own range on every channel.
        const QByteArray scale = model.endsWith("07") ? QByteArray::number(5 * (channel + 1))
                                 : channel < 8        ? QByteArray(kLowBankScale)
                                                      : QByteArray(kHighBankScale);
        entries_.push_back({'H', "MAX" + QByteArray::number(channel), scale});
    }
    const std::vector<Entry> scan = {
        {'S', "PERIOD", "500"},  {'S', "AVG", "10"}, {'S', "FPS", "100"},  {'S', "XSCANTRIG", "0"},
        {'S', "EU", "1"},        {'S', "ZC", "1"},   {'S', "QPKTS", "0"},  {'S', "UNITSCAN", "PSI"},
        {'S', "CVTUNIT", "1.0"}, {'S', "BIN", "0"},  {'S', "FORMAT", "0"}, {'S', "HOST", "0 0 T"},
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
    const int index = indexOf(key);
    if (index < 0) {
        return kInvalidSettingReply;
    }
    Entry& entry = entries_[static_cast<std::size_t>(index)];
    QByteArray stored = value;
    if (entry.key == "PERIOD" || entry.key == "AVG" || entry.key == "FPS") {
        if (!isDecimalNumber(value)) {
            return kInvalidValueReply;
        }
    } else if (entry.key == "UNITSCAN") {
        const QByteArray upper = value.toUpper();
        const auto* unit = std::find(std::begin(kUnits), std::end(kUnits), upper);
        if (unit == std::end(kUnits)) {
            return kInvalidUnitReply;
        }
        stored = unit->toByteArray();
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

double ModuleSettings::fullScale(int channel) const {
    if (value("MODEL").endsWith("07")) {
        return number("MAX" + QByteArray::number(channel));
    }
    return number(channel < 8 ? "PMAXL" : "PMAXH");
}

} // namespace vornsim
