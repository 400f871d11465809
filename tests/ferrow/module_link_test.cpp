#include "console/settings.h"
#include "link/address.h"
#include "link/module_link.h"
#include "log/message.h"
#include "support/ferrow_test_support.h"
#include "support/module_standin.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>

namespace {

using namespace ferrow;
using namespace ferrow::test;

bool readableWithin(net::Handle handle, int milliseconds) {
    pollfd entry{handle, POLLIN, 0};
    return poll(&entry, 1, milliseconds) > 0;
}

struct Link : ::testing::Test {
    TemporaryCurrentDirectory directory;
    CapturedOutputs outputs;
    Settings settings;
    ModuleStandIn module;
    ModuleLink link{outputs.out, settings};

    Link() { settings.udpPort = freeUdpPort(); }

    int grantedReceiveBuffer() const {
        int granted = 0;
        socklen_t length = sizeof granted;
        getsockopt(link.udpHandle(), SOL_SOCKET, SO_RCVBUF, &granted, &length);
        return granted;
    }
    std::vector<std::size_t> datagramLengths() {
        std::vector<std::size_t> lengths;
        while (readableWithin(link.udpHandle(), 200)) {
            const auto batch = link.receiveDatagrams();
            if (batch.empty()) {
                break;
            }
            for (const Datagram& datagram : batch) {
                lengths.push_back(datagram.length);
            }
        }
        return lengths;
    }
};

TEST_F(Link, ConnectOpensCommandPortAndUdpReceiverWithALargeBuffer) {
    link.connect(module.address());
    ASSERT_TRUE(link.connected());
    ASSERT_TRUE(link.udpOpen());

    EXPECT_GE(grantedReceiveBuffer(), ModuleLink::requestedReceiveBuffer);
    EXPECT_EQ(outputs.takeConsole(), "Connecting to " + module.address() + "\n");
    EXPECT_EQ(outputs.errlog(),
              logRecord("EVENT", "Connecting to " + module.address() + "\n") +
                  logRecord("EVENT",
                            message("UDP receive buffer of %d bytes\n", grantedReceiveBuffer())) +
                  logRecord("EVENT", message("Opening udp server on port %d\n", settings.udpPort)));
}

TEST_F(Link, DatagramsOfAnyLengthAreTakenAndAnEmptyOneDoesNotCloseTheReceiver) {
    link.connect(module.address());
    module.sendDatagram(settings.udpPort, "");
    module.sendDatagram(settings.udpPort, "A");
    module.sendDatagram(settings.udpPort, std::string(5000, 'B'));
    module.sendDatagram(settings.udpPort, vornFrame(7));

    EXPECT_EQ(datagramLengths(), (std::vector<std::size_t>{1, 4096, 104}));
    EXPECT_TRUE(link.udpOpen());
}

TEST_F(Link, ModuleHangingUpEndsTheConnectionQuietlyAndKeepsTheReceiverUntilTheNextOpen) {
    link.connect(module.address());
    ASSERT_TRUE(module.acceptClient());
    module.hangUp();
    while (link.connected() && readableWithin(link.tcpHandle(), 20000)) {
        link.receiveBytes();
    }
    EXPECT_FALSE(link.connected());
    EXPECT_EQ(outputs.takeConsole(), "Connecting to " + module.address() + "\n");
    // Frames still arrive after the command connection went, and OPEN finds the port free.
    EXPECT_TRUE(link.udpOpen());
    link.connect(module.address());
    EXPECT_TRUE(link.connected());
    EXPECT_TRUE(link.udpOpen());
    EXPECT_EQ(outputs.errlog().find("bind() failed"), std::string::npos);
}

TEST_F(Link, OpenWhileConnectedClosesTheFirstConnectionSoTheUdpPortIsFree) {
    link.connect(module.address());
    ASSERT_TRUE(module.acceptClient());
    link.connect(module.address());

    EXPECT_TRUE(module.waitForHangUp());
    EXPECT_TRUE(link.connected());
    EXPECT_TRUE(link.udpOpen());
    EXPECT_EQ(outputs.errlog().find("bind() failed"), std::string::npos);
}

TEST_F(Link, UdpPortZeroOpensNoReceiver) {
    settings.udpPort = 0;
    link.connect(module.address());
    EXPECT_TRUE(link.connected());
    EXPECT_FALSE(link.udpOpen());
    EXPECT_TRUE(link.receiveDatagrams().empty());
}

TEST_F(Link, RefusedConnectionIsReportedAndLeavesNothingOpen) {
    int closedPort = 0;
    {
        ModuleStandIn gone;
        closedPort = gone.commandPort();
    }
    link.connect("127.0.0.1:" + std::to_string(closedPort));
    EXPECT_FALSE(link.connected());
    EXPECT_FALSE(link.udpOpen());
    EXPECT_EQ(outputs.errlog(),
              logRecord("EVENT", "Connecting to 127.0.0.1:" + std::to_string(closedPort) + "\n") +
                  logRecord("ERROR", "ERROR: Connecting to the server failed. Error: 111\n"));
}

TEST(ModuleAddressParsing, HostPortBracketedIpv6AndTheDefaultPort) {
    const auto check = [](const char* text, const char* host, const char* port) {
        const ModuleAddress parsed = parseModuleAddress(text);
        EXPECT_EQ(parsed.host, host) << text;
        EXPECT_EQ(parsed.port, port) << text;
    };
    check("10.0.0.5", "10.0.0.5", "23");
    check("vorn7:2323", "vorn7", "2323");
    check("[fe80::1]:5000", "fe80::1", "5000");
    check("[::1]", "::1", "23");
    check("fe80::1", "fe80::1", "23");
    check("0", "0", "23");
}

} // namespace
