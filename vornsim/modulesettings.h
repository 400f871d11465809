#pragma once

#include <QByteArray>
#include <QList>
#include <optional>
#include <vector>

namespace vornsim {

// Optional sign, digits, at most one decimal point, at least one digit.
bool isDecimalNumber(const QByteArray& text);

// The module's settings in groups, each answered by "List" and its letter. The four a client
// reads on connecting, I, C, H and S, end with the key it waits for (PAGE, NEGPTSH, MAX15,
// HOST), and MODEL (in group I, asked for first) precedes every full-scale key, so a client
// knows the model before it reads the scales. The sensor tables list one line per sensor, 0 to
// 15 in order: H the maxima "SET MAXn", L the minima "SET MINn", B the absolute-pressure flags
// "SET ABSn", N the negative points "SET NEGPTSn", O and G the temperature offsets and gains
// "SET TEMP n OFFSET v" and "SET TEMP n GAIN v".
class ModuleSettings {
public:
    explicit ModuleSettings(const QByteArray& model);

    // Keys are matched without regard to case; TEMP takes the sensor and OFFSET or GAIN as the
    // first two words of its value. Empty when stored, else the module's refusal ("ERROR: ...")
    // and the old value stays: an unknown key, a PERIOD, AVG, FPS, MINn, NEGPTSn or TEMP value
    // that is not a decimal number, an ABSn other than 0 or 1, a UNITSCAN that is not one of the
    // module's units.
    QByteArray set(const QByteArray& key, const QByteArray& value);
    QByteArray value(const QByteArray& key) const;
    // The leading decimal number of a value, 0 when there is none.
    double number(const QByteArray& key) const;

    // "SET key value" lines of a group in its fixed order; nullopt for an unknown letter.
    std::optional<QList<QByteArray>> listGroup(char letter) const;
    // "SET key value" lines of every setting a SAVE keeps, in group order. MODEL, SN and VER
    // are not among them: they are what the module is, not settings.
    QList<QByteArray> savedLines() const;

    // Status lines use the "Status->" form and a banner greets each client.
    bool model30() const;
    // Rows of each sensor's point table.
    int pointRows() const;
    // Full scale of channel 0-15: MAXn for models ending in "07", else the PMAXL/PMAXH bank.
    double fullScale(int channel) const;

private:
    enum class Kind { Text, Number, Flag, Unit }; // what a value must be
    struct Entry {
        char group;
        QByteArray key;
        QByteArray value;
        Kind kind = Kind::Text;
    };
    int indexOf(const QByteArray& key) const; // -1 when the module has no such key

    std::vector<Entry> entries_;
};

} // namespace vornsim
