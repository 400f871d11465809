#pragma once

// Constants shared by the simulator and its tests: option names, defaults and the texts the
// simulated module sends, so a test and the server can never disagree on a spelling.

#include <QtGlobal>

namespace vornsim {

// Command-line option names (without the leading "--").
inline constexpr char kOptListen[] = "listen";
inline constexpr char kOptModel[] = "model";
inline constexpr char kOptSeed[] = "seed";
inline constexpr char kOptTranscript[] = "transcript";
inline constexpr char kOptSilentGroup[] = "silent-group";
inline constexpr char kOptCloseAfter[] = "close-after";
inline constexpr char kOptSplitAt[] = "split-at";
inline constexpr char kOptSplitDelay[] = "split-delay";
inline constexpr char kOptGarbage[] = "garbage";
inline constexpr char kOptGarbageBytes[] = "garbage-bytes";
inline constexpr char kOptBurst[] = "burst";
inline constexpr char kOptDrop[] = "drop";
inline constexpr char kOptRepeat[] = "repeat";
inline constexpr char kOptFrameType[] = "frame-type";
inline constexpr char kOptChannels[] = "channels";
inline constexpr char kOptState[] = "state";
inline constexpr char kOptRebootMs[] = "reboot-ms";
inline constexpr char kOptSet[] = "set";
inline constexpr char kOptFixedValues[] = "fixed-values";
inline constexpr char kOptOmitChannel[] = "omit-channel";

// Defaults.
inline constexpr char kDefaultModel[] = "1216";
inline constexpr quint32 kDefaultSeed = 1;
inline constexpr int kDefaultSplitDelayMs = 20;
inline constexpr int kDefaultGarbageBytes = 1 << 20;
inline constexpr int kLowSpeedChannels = 16;
// A reboot keeps the command port closed this long, as a module does while it restarts.
inline constexpr int kDefaultRebootMs = 35000;

// Garbage kinds as given to --garbage.
inline constexpr char kGarbageBinary[] = "binary";
inline constexpr char kGarbageLong[] = "long";
inline constexpr char kGarbageNoEol[] = "noeol";

// Replies of the simulated module.
inline constexpr char kStatusPrefix[] = "STATUS: ";
inline constexpr char kStatusPrefix30[] = "Status->";
inline constexpr char kStateReady[] = "READY";
inline constexpr char kStateScanning[] = "SCAN";
inline constexpr char kInvalidCommandReply[] = "ERROR: Invalid command";
inline constexpr char kInvalidSettingReply[] = "ERROR: Invalid setting";
inline constexpr char kScanInProgressReply[] = "ERROR: Scan in progress";
inline constexpr char kNoBinaryHostReply[] = "ERROR: Binary host not set";
inline constexpr char kInvalidScanRateReply[] = "ERROR: Invalid scan rate";
inline constexpr char kInvalidValueReply[] = "ERROR: Invalid value";
inline constexpr char kInvalidUnitReply[] = "ERROR: Invalid unit";
inline constexpr char kInvalidRowReply[] = "ERROR: Invalid row";
inline constexpr char kInvalidSensorReply[] = "ERROR: Invalid sensor";
// A point listing ends with kListingReadyLines of these, DELETE and FILL with
// kChangeReadyLines, so a client can count its way to the end of each.
inline constexpr char kReadyLine[] = "READY";
inline constexpr int kListingReadyLines = 3;
inline constexpr int kChangeReadyLines = 2;
// First words of the point listings: the master table, the full table FILL derived.
inline constexpr char kInsertWord[] = "INSERT";
inline constexpr char kFullPointWord[] = "POINT";
// First words of the zero listings (List Z, List D).
inline constexpr char kZeroWord[] = "ZERO";
inline constexpr char kDeltaWord[] = "DELTA";
// Refused commands the module keeps for ERROR; older ones make way.
inline constexpr int kMaxErrors = 100;

// Limits that keep a misbehaving client from growing the simulator's memory.
inline constexpr int kMaxCommandBytes = 4096;
inline constexpr qint64 kMaxPendingReplyBytes = 8 * 1024 * 1024;
// A --state file larger than this is refused rather than read.
inline constexpr qint64 kMaxStateFileBytes = 1024 * 1024;

enum class GarbageKind { None, Binary, LongLine, NoLineEnd };

// The four binary frame layouts; the code is written into each frame's first word.
enum class FrameType : quint32 { Vorn = 1, Hkq = 2, Pxt = 3, Wgn = 4 };

} // namespace vornsim
