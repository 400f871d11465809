#include "Global.h"
#include "forms.h"
#include "scanconfig/VornConfig.h"

#include <QComboBox>
#include <array>

namespace Global {
namespace {
// A unit's code is its position here, and its position in the scan dialog's unit list.
constexpr std::array<const char*, 27> KnownUnits = {
    "PSI",   "ATM",  "BAR",  "CMHG",  "CMH2O", "DECIBAR", "FTH2O", "GCM2", "INHG",
    "INH2O", "KNM2", "KGM2", "KGCM2", "KPA",   "KIPIN2",  "MPA",   "MBAR", "MH2O",
    "MMHG",  "NM2",  "NCM2", "OZIN2", "OZFT2", "PA",      "PSF",   "TORR", "USER"};
} // namespace

void InitUnits() {
    for (std::size_t code = 0; code < KnownUnits.size(); ++code) {
        UnitNames[code] = QString::fromLatin1(KnownUnits[code]);
    }
    UnitCount = static_cast<short>(KnownUnits.size());
    // Appended without clearing, so the first 27 entries always stand at their codes.
    QComboBox* list = FormInstance<VornConfig>::instance().lstUnitScan;
    const bool noSelection = list->currentIndex() < 0;
    for (int code = 0; code < UnitCount; ++code) {
        list->addItem(UnitNames[code]);
    }
    // Qt selects the first entry of a list that was empty; only the module names the unit (-1
    // while it has named none).
    if (noSelection) {
        list->setCurrentIndex(FindUnitCode(UnitScan));
    }
}

int FindUnitCode(const QString& reportedName) {
    const QString wanted = reportedName.trimmed();
    for (int code = 0; code < UnitCount; ++code) {
        if (UnitNames[code].trimmed() == wanted) {
            return code;
        }
    }
    return -1;
}

} // namespace Global
