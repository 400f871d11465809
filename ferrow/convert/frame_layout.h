#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ferrow {

enum class FrameKind { Vorn, Hkq, Pxt, Wgn };

// Where the converter finds things in one record of a binary capture file. All numbers are
// little-endian; values are IEEE 754 single-precision floats.
struct FrameLayout {
    FrameKind kind = FrameKind::Vorn;
    int channelCount = 16;
    int frameSize = 104;       // bytes per record
    int frameNumberOffset = 4; // unsigned 32-bit frame number
    int valuesOffset = 8;      // first float
    int valueCount = 16;       // channel values, then HKQ's further values, back to back
    std::uint32_t firstFrameNumber = 0;
};

struct LayoutChoice {
    std::optional<FrameLayout> layout;
    std::string refusal; // the ERROR text when layout is empty
};

// The layout for a frame type and channel count. The type is compared exactly; any type other
// than "VORN", "HKQ" and "WGN" is read as PXT. A channel count the type cannot have is refused,
// since no record size would fit it.
LayoutChoice converterLayout(std::string_view frameType, int channelCount);

} // namespace ferrow
