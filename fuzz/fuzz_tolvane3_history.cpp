// Any IpHist.cfg (long lines, no line end, NUL bytes, lone CRs, any Latin-1): loading it fills the
// address list without crashing, each entry is one line within the reader's bound, and what
// saving writes reads back as the same entries, less the CRs that saving takes out. Each entry,
// parsed as the address it is meant to be, gives a host and a port from 1 to 65535 or nothing,
// and a plain host (no brackets, no surrounding spaces) written back as "host:port" or
// "[host]:port" parses to the same again.

#include "connection/Main.h"
#include "connection/addresshistory.h"
#include "connection/moduleaddress.h"
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

void checkAddress(const QString& text) {
    const std::optional<ModuleAddress> address = ParseModuleAddress(text);
    if (!address) {
        return;
    }
    const QString& host = address->host;
    if (host.isEmpty() || address->port == 0) {
        __builtin_trap();
    }
    if (host.contains(QLatin1Char('[')) || host.contains(QLatin1Char(']')) ||
        host.trimmed() != host) {
        return;
    }
    const QString port = QString::number(address->port);
    const std::optional<ModuleAddress> again = ParseModuleAddress(
        host.contains(QLatin1Char(':')) ? '[' + host + "]:" + port : host + ':' + port);
    if (!again || again->host != host || again->port != address->port) {
        __builtin_trap();
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
        checkAddress(entry);
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
