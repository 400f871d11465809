// Any module address as typed or read from IpHist.cfg: parsing must neither crash nor overrun, an
// address it accepts has a host and a port from 1 to 65535, and a plain host (no brackets, colons
// or surrounding spaces) written back as "host:port" or "[host]:port" parses to the same again.

#include "connection/moduleaddress.h"

#include <QString>
#include <cstdint>

namespace {

bool plainHost(const QString& host) {
    return !host.contains(QLatin1Char('[')) && !host.contains(QLatin1Char(']')) &&
           host.trimmed() == host;
}

QString written(const ModuleAddress& address) {
    const QString port = QString::number(address.port);
    return address.host.contains(QLatin1Char(':'))
               ? QLatin1Char('[') + address.host + QStringLiteral("]:") + port
               : address.host + QLatin1Char(':') + port;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<ModuleAddress> address = ParseModuleAddress(text);
    if (!address) {
        return 0;
    }
    if (address->host.isEmpty() || address->port == 0) {
        __builtin_trap();
    }
    if (plainHost(address->host)) {
        const std::optional<ModuleAddress> again = ParseModuleAddress(written(*address));
        if (!again || again->host != address->host || again->port != address->port) {
            __builtin_trap();
        }
    }
    return 0;
}
