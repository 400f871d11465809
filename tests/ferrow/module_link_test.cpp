#include "console/settings.h"
#include "link/address.h"
#include "link/module_link.h"
#include "support/module_standin.h"

#include <gtest/gtest.h>

#include <sys/socket.h>

namespace {

using namespace ferrow;
using namespace ferrow::test;

struct Link : ::testing::Test {
    TemporaryCurrentDirectory directory;
    CapturedOutputs outputs;
    Settings settings;
    ModuleStandIn module;
    ModuleLink link{outputs.out, settings};

    Link() { settings.udpPort = freeUdpPort(); }

    // The lengths of the datagrams taken until `count` have come or the limit has passed.
    std::vector<std::size_t> datagramLengths(std::size_t count) {
        std::vector<std::size_t> lengths;
        retryUntil(
            [&](Milliseconds left) {
                if (readable(link.udpHandle(), left)) {
                    for (const Datagram& datagram : link.receiveDatagrams()) {
                        lengths.push_back(datagram.length);
                    }
                }
                return lengths.size() >= count;
            },
            patience);
        return lengths;
    }
};

// A large receive buffer, since the default loses frames in bursts; any length of datagram.
TEST_F(Link, ReceiverHasALargeBufferTakesAnyDatagramAndAnEmptyOneDoesNotCloseIt) {
    link.connect(module.address());
    ASSERT_TRUE(link.connected() && link.udpOpen());
    int granted = 0;
    socklen_t length = sizeof granted;
    getsockopt(link.udpHandle(), SOL_SOCKET, SO_RCVBUF, &granted, &length);
    EXPECT_GE(granted, ModuleLink::requestedReceiveBuffer);

    for (const std::string& datagram :
         {std::string(), std::string("A"), std::string(5000, 'B'), vornFrame(7)}) {
        module.sendDatagram(settings.udpPort, datagram);
    }
    EXPECT_EQ(datagramLengths(3), (std::vector<std::size_t>{1, 4096, 104}));
    EXPECT_TRUE(link.udpOpen());
}

TEST_F(Link, ModuleHangingUpEndsTheConnectionQuietlyAndKeepsTheReceiverUntilTheNextOpen) {
    link.connect(module.address());
    ASSERT_TRUE(module.acceptClient());
    module.hangUp();
    const bool noticed = retryUntil(
        [&](Milliseconds left) {
            if (readable(link.tcpHandle(), left)) {
                link.receiveBytes();
            }
            return !link.connected();
        },
        patience);
    ASSERT_TRUE(noticed) << "the link still counts as connected " << patience.count()
                         << " ms after the module hung up";
    EXPECT_EQ(outputs.takeConsole(), "Connecting to " + module.address() + "\n");
    // Frames still arrive after the command connection went, and OPEN finds the port free.
    EXPECT_TRUE(link.udpOpen());
    link.connect(module.address());
    EXPECT_TRUE(link.connected() && link.udpOpen());
    EXPECT_EQ(errlogLines().find("bind() failed"), std::string::npos);
}

TEST_F(Link, OpenWhileConnectedClosesTheFirstConnectionSoTheUdpPortIsFree) {
    link.connect(module.address());
    ASSERT_TRUE(module.acceptClient());
    link.connect(module.address());

    EXPECT_TRUE(module.waitForHangUp());
    EXPECT_TRUE(link.connected() && link.udpOpen());
    EXPECT_EQ(errlogLines().find("bind() failed"), std::string::npos);
}

TEST_F(Link, UdpPortZeroOpensNoReceiver) {
    settings.udpPort = 0;
    link.connect(module.address());
    EXPECT_TRUE(link.connected() && !link.udpOpen());
    EXPECT_TRUE(link.receiveDatagrams().empty());
}

TEST_F(Link, RefusedConnectionIsReportedAndLeavesNothingOpen) {
    const std::string address = [] {
        ModuleStandIn gone;
        return gone.address();
    }();
    link.connect(address);
    EXPECT_FALSE(link.connected() || link.udpOpen());
    EXPECT_EQ(errlogLines(), "EVENT: Connecting to " + address +
                                 "\nERROR: ERROR: Connecting to the server failed. Error: 111\n");
}

TEST(ModuleAddressParsing, HostPortBracketedIpv6AndTheDefaultPort) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"10.0.0.5", "10.0.0.5", "23"},        {"vorn7:2323", "vorn7", "2323"},
        {"[fe80::1]:5000", "fe80::1", "5000"}, {"[::1]", "::1", "23"},
        {"fe80::1", "fe80::1", "23"},          {"0", "0", "23"}};
    for (const auto& [text, host, port] : cases) {
        const ModuleAddress parsed = parseModuleAddress(text);
        EXPECT_EQ(parsed.host, host) << text;
        EXPECT_EQ(parsed.port, port) << text;
    }
}

} // namespace
