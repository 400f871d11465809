// The command port as a client sees it: exact reply bytes, setting groups, framing, clients.

#include "simtestclient.h"

#include <QTest>
#include <gtest/gtest.h>

using vornsim::SimConfig;

namespace {

const QByteArray kGroupI = "SET MODEL 1216\r\n"
                           "SET SN 0417\r\n"
                           "SET VER 3.03\r\n"
                           "SET PAGE 0\r\n";
const QByteArray kGroupC = "SET PMAXL 15\r\n"
                           "SET PMAXH 50\r\n"
                           "SET PMINL -15\r\n"
                           "SET PMINH -50\r\n"
                           "SET NEGPTSL 4\r\n"
                           "SET NEGPTSH 4\r\n";
const QByteArray kGroupH = "SET MAX0 15\r\nSET MAX1 15\r\nSET MAX2 15\r\nSET MAX3 15\r\n"
                           "SET MAX4 15\r\nSET MAX5 15\r\nSET MAX6 15\r\nSET MAX7 15\r\n"
                           "SET MAX8 50\r\nSET MAX9 50\r\nSET MAX10 50\r\nSET MAX11 50\r\n"
                           "SET MAX12 50\r\nSET MAX13 50\r\nSET MAX14 50\r\nSET MAX15 50\r\n";
const QByteArray kGroupS = "SET PERIOD 500\r\n"
                           "SET AVG 10\r\n"
                           "SET FPS 100\r\n"
                           "SET XSCANTRIG 0\r\n"
                           "SET EU 1\r\n"
                           "SET ZC 1\r\n"
                           "SET QPKTS 0\r\n"
                           "SET UNITSCAN PSI\r\n"
                           "SET CVTUNIT 1.0\r\n"
                           "SET BIN 0\r\n"
                           "SET FORMAT 0\r\n"
                           "SET HOST 0 0 T\r\n";

SimConfig withModel(const QByteArray& model) {
    SimConfig config;
    config.model = model;
    return config;
}

} // namespace

TEST(CommandPort, StatusIsPlainWithoutBannerAndArrowFormAfterABannerForModel30) {
    SimUnderTest sim;
    auto client = sim.connectClient();
    EXPECT_EQ(exchange(*client, "STATUS\r", "STATUS: READY\r\n"), "STATUS: READY\r\n");

    SimUnderTest sim30(withModel("3099"));
    auto client30 = sim30.connectClient();
    const QByteArray expected = "Module 3099 SN 0417\r\n"
                                "Module firmware 3.03\r\n"
                                "Status->READY\r\n";
    EXPECT_EQ(exchange(*client30, "STATUS\r", expected), expected);
}

TEST(CommandPort, ListsTheFourGroupsInOrderEachEndingWithItsLastKey) {
    SimUnderTest sim;
    auto client = sim.connectClient();
    const QByteArray expected = kGroupI + kGroupC + kGroupH + kGroupS;
    EXPECT_EQ(exchange(*client, "List I\rList C\rList H\rList S\r", expected), expected);
}

TEST(CommandPort, SetValuesComeBackInTheirGroupAndSurviveReconnection) {
    SimUnderTest sim;
    const QByteArray changedS = QByteArray(kGroupS)
                                    .replace("PERIOD 500", "PERIOD 250")
                                    .replace("AVG 10", "AVG 4")
                                    .replace("FPS 100", "FPS 20")
                                    .replace("PSI", "KPA")
                                    .replace("BIN 0", "BIN 1")
                                    .replace("HOST 0 0 T", "HOST 10.0.0.5 23 U");
    {
        // Command words and keys in any case.
        auto client = sim.connectClient();
        client->write("set PERIOD 250\rset avg 4\rSET fps 20\rSet UNITSCAN KPA\r"
                      "SET BIN 1\rSET HOST 10.0.0.5 23 U\r");
        EXPECT_EQ(exchange(*client, "list s\r", changedS), changedS);
    }
    auto next = sim.connectClient();
    EXPECT_EQ(exchange(*next, "List S\r", changedS), changedS);
}

TEST(CommandPort, RefusesUnknownCommandsKeysAndGroupsAndIgnoresEmptyLines) {
    SimUnderTest sim;
    auto client = sim.connectClient();
    const QByteArray expected = "ERROR: Invalid command\r\n"
                                "ERROR: Invalid setting\r\n"
                                "ERROR: Invalid setting\r\n"
                                "ERROR: Invalid command\r\n"
                                "STATUS: READY\r\n";
    EXPECT_EQ(
        exchange(*client, "FROB 1\rSET NOSUCHKEY 1\rSET FPS\r\r  \rList X\rsTaTuS\r", expected),
        expected);
}

TEST(CommandPort, ServesOneClientAtATimeAndTakesTheNextAfterADisconnect) {
    SimUnderTest sim;
    auto first = sim.connectClient();
    auto second = sim.connectClient();
    second->write("STATUS\r");
    second->flush();
    EXPECT_EQ(exchange(*first, "STATUS\r", "STATUS: READY\r\n"), "STATUS: READY\r\n");
    EXPECT_EQ(second->bytesAvailable(), 0);
    first->disconnectFromHost();
    EXPECT_EQ(readBytes(*second, 15), "STATUS: READY\r\n");
}

TEST(CommandPort, AnswersALongBatchOfCommandsInOrder) {
    SimUnderTest sim;
    auto client = sim.connectClient();
    const QByteArray expected = QByteArray("STATUS: READY\r\n").repeated(2000) + kGroupI;
    EXPECT_EQ(exchange(*client, QByteArray("STATUS\r").repeated(2000) + "List I\r", expected),
              expected);
}
