#pragma once

#include <string>
#include <string_view>

namespace ferrow {

inline constexpr std::string_view defaultCommandPort = "23";

struct ModuleAddress {
    std::string host;
    std::string port;
};

// "host", "host:port", "[v6address]:port" or a bare IPv6 address; the port defaults to 23.
ModuleAddress parseModuleAddress(std::string_view address);

} // namespace ferrow
