#pragma once
// A module address as typed: "host" (command port 23), "host:port", or "[v6addr]:port".
// A bare IPv6 address (more than one colon, no brackets) is a host on port 23.

#include <QString>
#include <optional>

struct ModuleAddress {
    static constexpr quint16 CommandPort = 23;
    QString host;
    quint16 port = CommandPort;
};

// Empty text, an empty host, an unclosed bracket or a port outside 1..65535 give nullopt.
std::optional<ModuleAddress> ParseModuleAddress(const QString& text);
