#include "moduleaddress.h"

#include <algorithm>

namespace {

std::optional<quint16> ParsePort(QStringView text) {
    bool ok = false;
    const uint port = text.toUInt(&ok);
    // toUInt accepts a leading '+' and spaces; a port is digits only.
    const bool digitsOnly = !text.isEmpty() && std::all_of(text.begin(), text.end(),
                                                           [](QChar c) { return c.isDigit(); });
    if (!ok || !digitsOnly || port == 0 || port > 65535) {
        return std::nullopt;
    }
    return static_cast<quint16>(port);
}

std::optional<ModuleAddress> WithPort(QStringView host, std::optional<QStringView> portText) {
    if (host.isEmpty()) {
        return std::nullopt;
    }
    ModuleAddress address{host.toString()};
    if (portText) {
        const auto port = ParsePort(*portText);
        if (!port) {
            return std::nullopt;
        }
        address.port = *port;
    }
    return address;
}

} // namespace

std::optional<ModuleAddress> ParseModuleAddress(const QString& text) {
    const QStringView address = QStringView(text).trimmed();
    if (address.startsWith(QLatin1Char('['))) {
        const qsizetype close = address.indexOf(QLatin1Char(']'));
        if (close < 0) {
            return std::nullopt;
        }
        const QStringView rest = address.sliced(close + 1);
        if (rest.isEmpty()) {
            return WithPort(address.sliced(1, close - 1), std::nullopt);
        }
        if (!rest.startsWith(QLatin1Char(':'))) {
            return std::nullopt;
        }
        return WithPort(address.sliced(1, close - 1), rest.sliced(1));
    }
    if (address.count(QLatin1Char(':')) == 1) {
        const qsizetype colon = address.indexOf(QLatin1Char(':'));
        return WithPort(address.first(colon), address.sliced(colon + 1));
    }
    return WithPort(address, std::nullopt);
}
