// Addresses as typed and socket error texts.

#include "connection/moduleaddress.h"
#include "connection/socketerrors.h"

#include <gtest/gtest.h>

namespace {

std::string parsed(const char* text) {
    const auto address = ParseModuleAddress(QString::fromLatin1(text));
    if (!address) {
        return "invalid";
    }
    return (address->host + QLatin1Char('|') + QString::number(address->port)).toStdString();
}

TEST(ModuleAddress, APortFollowsAColonOrABracketedV6AddressOrIsTheCommandPortElseRefused) {
    EXPECT_EQ(parsed("192.168.1.50"), "192.168.1.50|23");
    EXPECT_EQ(parsed("  10.0.0.1 "), "10.0.0.1|23");
    EXPECT_EQ(parsed("127.0.0.1:2323"), "127.0.0.1|2323");
    EXPECT_EQ(parsed("[::1]:2323"), "::1|2323");
    EXPECT_EQ(parsed("fe80::1"), "fe80::1|23");
    for (const char* text : {"", "   ", ":2323", "host:", "host:0", "host:65536", "host:+23",
                             "host:2x", "[::1", "[::1]2323", "[]:23"}) {
        EXPECT_EQ(parsed(text), "invalid") << text;
    }
}

// The errors met on connecting are checked through the connection window.
TEST(SocketErrors, AnUnknownErrorKeepsTheSystemsDescription) {
    EXPECT_EQ(SocketErrorMessage(DescribeSocketError(QAbstractSocket::UnknownSocketError,
                                                     QStringLiteral("Odd failure"))),
              QStringLiteral("Odd failure\rError Number 10022"));
}

} // namespace
