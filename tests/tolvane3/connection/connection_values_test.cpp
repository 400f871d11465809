// Addresses as typed, socket error texts, leading numbers and the unit table.

#include "connection/Global.h"
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
    EXPECT_EQ(parsed("[fe80::1]"), "fe80::1|23");
    EXPECT_EQ(parsed("fe80::1"), "fe80::1|23");
    for (const char* text : {"", "   ", ":2323", "host:", "host:0", "host:65536", "host:+23",
                             "host:2x", "[::1", "[::1]2323", "[]:23"}) {
        EXPECT_EQ(parsed(text), "invalid") << text;
    }
}

TEST(SocketErrors, MessageIsDescriptionCrAndTheNumber) {
    EXPECT_EQ(SocketErrorMessage(DescribeSocketError(QAbstractSocket::ConnectionRefusedError, {})),
              QStringLiteral("Connection refused\rError Number 10061"));
    EXPECT_EQ(SocketErrorMessage(DescribeSocketError(QAbstractSocket::HostNotFoundError, {})),
              QStringLiteral("Host not found\rError Number 11001"));
    EXPECT_EQ(SocketErrorMessage(DescribeSocketError(QAbstractSocket::UnknownSocketError,
                                                     QStringLiteral("Odd failure"))),
              QStringLiteral("Odd failure\rError Number 10022"));
}

TEST(LeadingNumber, TakesTheLeadingDecimalNumberOrZero) {
    EXPECT_EQ(Global::LeadingNumber(u"5"), 5);
    EXPECT_EQ(Global::LeadingNumber(u" 12abc"), 12);
    EXPECT_EQ(Global::LeadingNumber(u"-2.5 psi"), -2.5);
    EXPECT_EQ(Global::LeadingNumber(u".5"), 0.5);
    EXPECT_EQ(Global::LeadingNumber(u"7."), 7);
    EXPECT_EQ(Global::LeadingNumber(u"1,5"), 1);
    EXPECT_EQ(Global::LeadingNumber(u""), 0);
    EXPECT_EQ(Global::LeadingNumber(u"abc"), 0);
    EXPECT_EQ(Global::LeadingNumber(u"-"), 0);
}

TEST(Units, LookupIsExactAfterTrimmingAndSurvivesASecondInitialisation) {
    Global::InitUnits();
    Global::InitUnits();
    EXPECT_EQ(Global::UnitCount, 27);
    EXPECT_EQ(Global::FindUnitCode(QStringLiteral("PSI")), 0);
    EXPECT_EQ(Global::FindUnitCode(QStringLiteral("KPA")), 13);
    EXPECT_EQ(Global::FindUnitCode(QStringLiteral(" USER ")), 26);
    EXPECT_EQ(Global::FindUnitCode(QStringLiteral("psi")), -1);
    EXPECT_EQ(Global::FindUnitCode(QString()), -1);
    EXPECT_EQ(Global::UnitNames[27], QString());
}

} // namespace
