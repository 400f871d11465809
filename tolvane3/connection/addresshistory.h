#pragma once
// The address history: the eleven most recent module addresses, most recent first, kept in
// "IpHist.cfg" in the current directory. AddToIpHistory, LoadIpHistory and SaveIpHistory are
// declared in Global.h and kept in iphistory.cpp; the table rules are plain functions here.

#include <QByteArray>
#include <QString>
#include <array>

class QIODevice;

namespace AddressHistory {

inline constexpr auto FileName = "IpHist.cfg";
// Slots 0 to 10 hold addresses; slot 11 exists but is never used.
inline constexpr int SlotCount = 12;
inline constexpr int UsedSlots = 11;
using Table = std::array<QString, SlotCount>;

// Puts the address into slot 0: an entry already present moves up, otherwise every entry
// shifts down and the oldest (slot 10) is dropped.
void MoveToTop(Table& table, const QString& address);

// The file's contents: slots 0 to 10, one Latin-1 line each ended by CR LF.
QByteArray FileBytes(const Table& table);

// Reads lines into slots 0 to 10 in order; true when all eleven were read. On a short file the
// slots read so far keep their text and the rest stay as they were.
bool ReadSlots(QIODevice& file, Table& table);

} // namespace AddressHistory

namespace Global {
inline AddressHistory::Table IpHistory;
} // namespace Global
