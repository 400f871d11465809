#pragma once

#include <QByteArray>
#include <QList>
#include <optional>
#include <vector>

namespace vornsim {

// The module's settings in four groups, answered by "List I", "List C", "List H" and "List S".
// Each group ends with the key a client waits for (PAGE, NEGPTSH, MAX15, HOST), and MODEL (in
// group I, asked for first) precedes every full-scale key, so a client knows the model before it
// reads the scales.
class ModuleSettings {
public:
    explicit ModuleSettings(const QByteArray& model);

    // Keys are matched without regard to case. Empty when stored, else the module's refusal
    // ("ERROR: ...") and the old value stays: an unknown key, a PERIOD, AVG or FPS that is not
    // a decimal number, a UNITSCAN that is not one of the module's units.
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
    // Full scale of channel 0-15: MAXn for models ending in "07", else the PMAXL/PMAXH bank.
    double fullScale(int channel) const;

private:
    struct Entry {
        char group;
        QByteArray key;
        QByteArray value;
    };
    int indexOf(const QByteArray& key) const; // -1 when the module has no such key

    std::vector<Entry> entries_;
};

} // namespace vornsim
