// Any IpHist.cfg (long lines, no line end, NUL bytes, lone CRs, any Latin-1): loading it fills the
// address list without crashing, each entry is one line within the reader's bound, and what
// saving writes reads back as the same entries, less the CRs that saving takes out.

#include "connection/Main.h"
#include "connection/addresshistory.h"
#include "program/Global.h"
#include "program/forms.h"
#include "tolvane3_session.h"

#include <QBuffer>
#include <QFile>
#include <QListWidget>
#include <cstdint>

namespace {

// The longest entry the reader keeps of one line.
constexpr qsizetype MaxEntry = 4096;

void writeHistory(const std::uint8_t* data, std::size_t size) {
    QFile file(QString::fromLatin1(AddressHistory::FileName));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) !=
            static_cast<qint64>(size)) {
        __builtin_trap(); // the scratch folder must take the file, or the run means nothing
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    FuzzSession::start(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FuzzSession::InScratchFolder here;
    writeHistory(data, size);
    Global::IpHistory = {};
    Global::LoadIpHistory();
    AddressHistory::Table expected = Global::IpHistory;
    for (QString& entry : expected) {
        if (entry.contains(QLatin1Char('\n')) || entry.size() > MaxEntry) {
            __builtin_trap();
        }
        entry.remove(QLatin1Char('\r'));
    }
    // An entry picked from the list goes into the address box.
    Main& window = FormInstance<Main>::instance();
    for (int row = 0; row < window.lstIpHistory->count(); ++row) {
        window.lstIpHistory_Click(window.lstIpHistory->item(row));
    }
    // What saving writes (in memory: the file's sync to disk would be nine tenths of the time).
    QByteArray saved = AddressHistory::FileBytes(Global::IpHistory);
    QBuffer file(&saved);
    file.open(QIODevice::ReadOnly);
    AddressHistory::Table again;
    if (!AddressHistory::ReadSlots(file, again) || again != expected) {
        __builtin_trap();
    }
    return 0;
}
