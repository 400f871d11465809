// Any IpHist.cfg (long lines, no line end, NUL bytes, lone CRs, any Latin-1): each entry read is
// one line within the reader's bound, and what saving writes reads back as the same entries, less
// the CRs that saving takes out. Each entry, parsed as the address it is meant to be, gives a host
// and a port from 1 to 65535 or nothing, and a plain host (no brackets, no surrounding spaces)
// written back as "host:port" or "[host]:port" parses to the same again.

#include "connection/addresshistory.h"
#include "connection/moduleaddress.h"

#include <QBuffer>
#include <cstdint>

namespace {

// The longest entry the reader keeps of one line.
constexpr qsizetype MaxEntry = 4096;

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

AddressHistory::Table read(QByteArray bytes) {
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    AddressHistory::Table table;
    AddressHistory::ReadSlots(file, table);
    return table;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const AddressHistory::Table table =
        read(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    AddressHistory::Table expected = table;
    for (QString& entry : expected) {
        if (entry.contains(QLatin1Char('\n')) || entry.size() > MaxEntry) {
            __builtin_trap();
        }
        checkAddress(entry);
        entry.remove(QLatin1Char('\r'));
    }
    if (read(AddressHistory::FileBytes(table)) != expected) {
        __builtin_trap();
    }
    return 0;
}
