// The address history and IpHist.cfg.

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

// The used slots holding the entries, the rest empty.
AddressHistory::Table tableOf(const QStringList& entries) {
    AddressHistory::Table table;
    for (qsizetype slot = 0; slot < entries.size(); ++slot) {
        table[static_cast<std::size_t>(slot)] = entries[slot];
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
    const QStringList full{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k"};
    const struct {
        const char* address;
        QStringList after;
    } cases[] = {
        {"a", full},
        {"e", {"e", "a", "b", "c", "d", "f", "g", "h", "i", "j", "k"}},
        {"new", {"new", "a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}},
    };
    for (const auto& c : cases) {
        AddressHistory::Table table = tableOf(full);
        AddressHistory::MoveToTop(table, QLatin1String(c.address));
        EXPECT_EQ(table, tableOf(c.after)) << c.address; // the twelfth slot is never used
    }
}

TEST(AddressHistory, LoadingReadsElevenLinesCutsOverlongOnesAndOnlyAFullFileFillsTheList) {
    const QStringList letters{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k"};
    const struct {
        const char* file; // nullptr: no file
        QStringList table;
        QStringList listed;
    } cases[] = {
        {"a\r\nb\r\n\r\nd\r\ne\r\nf\r\ng\r\nh\r\ni\r\nj\r\nk\r\nextra\r\n",
         {"a", "b", "", "d", "e", "f", "g", "h", "i", "j", "k"},
         {"a", "b", "d", "e", "f", "g", "h", "i", "j", "k"}},
        {"a\nb\nc\nd\ne\nf\ng\nh\ni\nj\nk", letters, letters},
        {"a\r\nb\r\nc\r\n", {"a", "b", "c"}, {}}, // filled by the next connection
        {nullptr, {}, {}},
    };
    for (const auto& c : cases) {
        SettingsSandbox sandbox;
        if (c.file != nullptr) {
            sandbox.writeHistory(c.file);
        }
        Global::LoadIpHistory();
        SCOPED_TRACE(c.file != nullptr ? c.file : "no file");
        EXPECT_EQ(Global::IpHistory, tableOf(c.table));
        EXPECT_EQ(listedAddresses(), c.listed);
    }
    // An over-long line is cut without shifting the others.
    SettingsSandbox sandbox;
    sandbox.writeHistory(QByteArray(100000, 'x') +
                         "\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n");
    Global::LoadIpHistory();
    EXPECT_TRUE(Global::IpHistory[0].size() < 100000 && Global::IpHistory[0].startsWith("xxxx"));
    EXPECT_EQ(Global::IpHistory[10], "10");
}

} // namespace
