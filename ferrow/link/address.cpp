#include "address.h"

namespace ferrow {

ModuleAddress parseModuleAddress(std::string_view address) {
    const std::string defaultPort(defaultCommandPort);
    if (address.starts_with('[')) {
        const std::size_t close = address.find(']');
        if (close != std::string_view::npos) {
            const std::string_view rest = address.substr(close + 1);
            return {std::string(address.substr(1, close - 1)),
                    rest.starts_with(':') ? std::string(rest.substr(1)) : defaultPort};
        }
    }
    const std::size_t colon = address.find(':');
    // Two or more colons without brackets: an IPv6 address on the default port.
    if (colon == std::string_view::npos || address.find(':', colon + 1) != std::string_view::npos) {
        return {std::string(address), defaultPort};
    }
    return {std::string(address.substr(0, colon)), std::string(address.substr(colon + 1))};
}

} // namespace ferrow
