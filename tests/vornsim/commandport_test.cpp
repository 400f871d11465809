// The command port as a client sees it: status forms, setting groups, refusals, order, clients.

#include "simtestclient.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

TEST(CommandPort, StatusIsPlainWithoutBannerAndArrowFormAfterABannerForModel30) {
    SimUnderTest sim;
    EXPECT_EQ(exchange(*sim.connectClient(), "STATUS\r", kReady), kReady);
    SimUnderTest sim30(QStringLiteral("--model 3099"));
    const QByteArray expected = "Module 3099 SN 0417\r\nModule firmware 3.03\r\nStatus->READY\r\n";
    EXPECT_EQ(exchange(*sim30.connectClient(), "STATUS\r", expected), expected);
}

TEST(CommandPort, ListsEachGroupAsSetLinesEndingWithItsLastKey) {
    SimUnderTest sim;
    auto client = sim.connectClient();
    const QString lines = QStringLiteral("(SET [A-Z0-9]+ [^\r\n]+\r\n)*");
    QString maxima; // one per channel, in channel order
    for (int channel = 0; channel < 16; ++channel) {
        maxima += QStringLiteral("SET MAX%1 (15|50)\r\n").arg(channel);
    }
    const std::pair<const char*, QString> groups[] = {
        {"List I\r", "SET MODEL 1216\r\n" + lines + "SET PAGE 0\r\n"},
        {"list c\r", lines + "SET NEGPTSH 4\r\n"},
        {"LIST H\r", maxima},
        {"List S\r", lines + "SET HOST 0 0 T\r\n"}};
    for (const auto& [list, pattern] : groups) {
        // The STATUS after the List marks where the group's reply ends.
        const QByteArray reply = readUntilEnd(*client, QByteArray(list) + "STATUS\r", kReady);
        const QRegularExpression group(QRegularExpression::anchoredPattern(pattern + kReady));
        EXPECT_TRUE(group.match(QString::fromLatin1(reply)).hasMatch()) << reply.toStdString();
    }
}

TEST(CommandPort, SetValuesComeBackInTheirGroupAndSurviveReconnection) {
    SimUnderTest sim;
    QByteArray groupS;
    {
        // Command words and keys in any case; a value may have several words.
        auto client = sim.connectClient();
        client->write("set PERIOD 250\rset avg 4\rSet UNITSCAN KPA\rSET HOST 10.0.0.5 23 U\r");
        groupS = readUntilEnd(*client, "List S\r", "SET HOST 10.0.0.5 23 U\r\n");
        for (const char* line : {"SET PERIOD 250\r\n", "SET AVG 4\r\n", "SET UNITSCAN KPA\r\n"}) {
            EXPECT_TRUE(groupS.contains(line)) << line << groupS.toStdString();
        }
    }
    EXPECT_EQ(exchange(*sim.connectClient(), "List S\r", groupS), groupS);
}

TEST(CommandPort, AnswersALongBatchInOrderRefusingWhatItDoesNotKnowAndSkippingEmptyLines) {
    SimUnderTest sim;
    const QByteArray expected = kReady.repeated(2000) +
                                "ERROR: Invalid command\r\n"
                                "ERROR: Invalid setting\r\n"
                                "ERROR: Invalid setting\r\n"
                                "ERROR: Invalid command\r\n" +
                                kReady;
    const QByteArray commands = QByteArray("STATUS\r").repeated(2000) +
                                "FROB 1\rSET NOSUCHKEY 1\rSET FPS\r\r  \rList X\rsTaTuS\r";
    EXPECT_EQ(exchange(*sim.connectClient(), commands, expected), expected);
}

TEST(CommandPort, ServesOneClientAtATimeAndTakesTheNextAfterADisconnect) {
    SimUnderTest sim;
    auto first = sim.connectClient();
    auto second = sim.connectClient();
    second->write("STATUS\r");
    second->flush();
    EXPECT_EQ(exchange(*first, "STATUS\r", kReady), kReady);
    EXPECT_EQ(second->bytesAvailable(), 0);
    first->disconnectFromHost();
    EXPECT_EQ(exchange(*second, "", kReady), kReady);
}
