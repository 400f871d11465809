// The address history: IpHist.cfg's exact bytes, moves to the top, the 11-slot limit, and what a
// short or odd file leaves behind.

#include "settings_sandbox.h"

#include <QListWidget>

namespace {

QStringList listedAddresses() {
    QStringList entries;
    const QListWidget* list = FormInstance<Main>::instance().lstIpHistory;
    for (int row = 0; row < list->count(); ++row) {
        entries << list->item(row)->text();
    }
    return entries;
}

AddressHistory::Table numberedTable() {
    AddressHistory::Table table;
    for (int slot = 0; slot < AddressHistory::UsedSlots; ++slot) {
        table[static_cast<std::size_t>(slot)] = QStringLiteral("10.0.0.%1").arg(slot);
    }
    return table;
}

TEST(AddressHistory, SavedFileHoldsElevenCrLfLinesWhateverTheEntries) {
    SettingsSandbox sandbox;
    Global::IpHistory[0] = QStringLiteral("192.168.1.50");
    Global::IpHistory[1] = QStringLiteral("vorn-7:2323");
    Global::IpHistory[3] = QStringLiteral("10.1.1.\xE9");  // Latin-1 stays one byte
    Global::IpHistory[4] = QStringLiteral("host\r\nname"); // cannot shift the lines
    Global::SaveIpHistory();
    EXPECT_EQ(sandbox.history(), QByteArray("192.168.1.50\r\nvorn-7:2323\r\n\r\n10.1.1.\xE9\r\n"
                                            "hostname\r\n\r\n\r\n\r\n\r\n\r\n\r\n"));
}

TEST(AddressHistory, AnAddressMovesToTheTopAndANewOneDropsTheOldestOfEleven) {
    AddressHistory::Table table = numberedTable();
    AddressHistory::MoveToTop(table, QStringLiteral("10.0.0.0"));
    EXPECT_EQ(table, numberedTable());

    AddressHistory::MoveToTop(table, QStringLiteral("10.0.0.4"));
    const QStringList moved{"10.0.0.4", "10.0.0.0", "10.0.0.1", "10.0.0.2", "10.0.0.3", "10.0.0.5",
                            "10.0.0.6", "10.0.0.7", "10.0.0.8", "10.0.0.9", "10.0.0.10"};
    for (int slot = 0; slot < AddressHistory::UsedSlots; ++slot) {
        EXPECT_EQ(table[static_cast<std::size_t>(slot)], moved[slot]) << slot;
    }

    table = numberedTable();
    AddressHistory::MoveToTop(table, QStringLiteral("172.16.0.1"));
    EXPECT_EQ(table[0], QStringLiteral("172.16.0.1"));
    for (int slot = 1; slot < AddressHistory::UsedSlots; ++slot) {
        EXPECT_EQ(table[static_cast<std::size_t>(slot)], QStringLiteral("10.0.0.%1").arg(slot - 1));
    }
    EXPECT_EQ(table[11], QString()); // the twelfth slot is never used
}

TEST(AddressHistory, ConnectingRefillsTheListSkippingEmptySlots) {
    SettingsSandbox sandbox;
    Global::IpHistory[0] = QStringLiteral("a");
    Global::IpHistory[2] = QStringLiteral("b");
    Global::AddToIpHistory(QStringLiteral("b"));
    EXPECT_EQ(listedAddresses(), (QStringList{"b", "a"}));
    EXPECT_EQ(Global::IpHistory[1], QStringLiteral("a"));
    EXPECT_EQ(Global::IpHistory[2], QString());
}

TEST(AddressHistory, AFullFileFillsTableAndList) {
    SettingsSandbox sandbox;
    sandbox.writeHistory(
        "h0\r\nh1\r\n\r\nh3\r\nh4\r\nh5\r\nh6\r\nh7\r\nh8\r\nh9\r\nh10\r\nextra\r\n");
    Global::LoadIpHistory();
    EXPECT_EQ(listedAddresses(),
              (QStringList{"h0", "h1", "h3", "h4", "h5", "h6", "h7", "h8", "h9", "h10"}));
    EXPECT_EQ(Global::IpHistory[2], QString());
    EXPECT_EQ(Global::IpHistory[11], QString());
    // Saved back unchanged, minus what lay beyond the eleventh line.
    Global::SaveIpHistory();
    EXPECT_EQ(sandbox.history(),
              QByteArray("h0\r\nh1\r\n\r\nh3\r\nh4\r\nh5\r\nh6\r\nh7\r\nh8\r\nh9\r\nh10\r\n"));
}

TEST(AddressHistory, AShortFileFillsWhatItHasAndLeavesTheListEmpty) {
    SettingsSandbox sandbox;
    sandbox.writeHistory("one\r\ntwo\r\nthree\r\n");
    Global::LoadIpHistory();
    EXPECT_EQ(Global::IpHistory[0], QStringLiteral("one"));
    EXPECT_EQ(Global::IpHistory[1], QStringLiteral("two"));
    EXPECT_EQ(Global::IpHistory[2], QStringLiteral("three"));
    EXPECT_EQ(Global::IpHistory[3], QString());
    EXPECT_TRUE(listedAddresses().isEmpty());
    // The next connection refills it.
    Global::AddToIpHistory(QStringLiteral("four"));
    EXPECT_EQ(listedAddresses(), (QStringList{"four", "one", "two", "three"}));
}

TEST(AddressHistory, OddFilesAreReadLineByLine) {
    SettingsSandbox sandbox;
    Global::LoadIpHistory(); // no file
    EXPECT_EQ(Global::IpHistory, AddressHistory::Table{});
    EXPECT_TRUE(listedAddresses().isEmpty());

    sandbox.writeHistory("a\nb\nc\nd\ne\nf\ng\nh\ni\nj\nk");
    Global::LoadIpHistory();
    EXPECT_EQ(listedAddresses(),
              (QStringList{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k"}));

    QByteArray bytes = QByteArray(100000, 'x') + "\r\n";
    for (int line = 1; line < AddressHistory::UsedSlots; ++line) {
        bytes += QByteArray::number(line) + "\r\n";
    }
    sandbox.writeHistory(bytes);
    Global::LoadIpHistory();
    EXPECT_LT(Global::IpHistory[0].size(), 100000);
    EXPECT_TRUE(Global::IpHistory[0].startsWith(QStringLiteral("xxxx")));
    EXPECT_EQ(Global::IpHistory[1], QStringLiteral("1"));
    EXPECT_EQ(Global::IpHistory[10], QStringLiteral("10"));
}

} // namespace
