#pragma once

// Binary frame layouts of the high-speed scan, one frame per UDP datagram, all numbers
// little-endian:
//   VORN  104 bytes: 0 type code, 4 frame number, 8 sixteen values, 72..103 zero.
//   HKQ   16/32/64 channels (168/304/572 bytes): 0 type code, 4 channel count, 8 frame number,
//         12 channel values, then one temperature per eight channels, the rest zero.
//   PXT, WGN  12 + 4 x channels bytes: 0 type code, 4 frame number, 8 channel count,
//         12 channel values.

#include "vornsim/pressuremodel.h"
#include "vornsim/simconstants.h"

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

namespace vornsim {

inline constexpr int kMaxChannels = 512;

// Bytes in one frame, 0 when the type cannot carry that many channels.
int frameSize(FrameType type, int channels);

// The module's first frame number: PXT modules count from 1, the others from 0.
quint32 firstFrameNumber(FrameType type);

const char* frameTypeName(FrameType type);
std::optional<FrameType> frameTypeFromName(QByteArrayView name);

// One frame of a valid type/channel combination; channel i takes the model's channel i.
QByteArray buildFrame(FrameType type, int channels, quint32 frameNumber,
                      const PressureModel& model);

} // namespace vornsim
