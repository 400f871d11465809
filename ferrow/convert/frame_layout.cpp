#include "frame_layout.h"

namespace ferrow {

namespace {

constexpr int vornChannels = 16;
constexpr int maxPlainChannels = 512;

LayoutChoice hkqLayout(int channelCount) {
    int frameSize = 0;
    switch (channelCount) {
    case 16:
        frameSize = 168;
        break;
    case 32:
        frameSize = 304;
        break;
    case 64:
        frameSize = 572;
        break;
    default:
        return {std::nullopt, "ERROR: Channel must be 16, 32 or 64\n"};
    }
    // One further value per eight channels follows the channel values.
    return {FrameLayout{FrameKind::Hkq, channelCount, frameSize, 8, 12,
                        channelCount + channelCount / 8, 0},
            {}};
}

LayoutChoice plainLayout(FrameKind kind, int channelCount) {
    if (channelCount < 1) {
        return {std::nullopt, "ERROR: Channel cannot be lower than 1\n"};
    }
    if (channelCount > maxPlainChannels) {
        return {std::nullopt, "ERROR: Channel cannot be higher than 512\n"};
    }
    const std::uint32_t first = kind == FrameKind::Wgn ? 0 : 1;
    return {FrameLayout{kind, channelCount, 4 * channelCount + 12, 4, 12, channelCount, first}, {}};
}

} // namespace

LayoutChoice converterLayout(std::string_view frameType, int channelCount) {
    if (frameType == "HKQ") {
        return hkqLayout(channelCount);
    }
    if (frameType == "VORN") {
        return {FrameLayout{FrameKind::Vorn, vornChannels, 104, 4, 8, vornChannels, 0}, {}};
    }
    return plainLayout(frameType == "WGN" ? FrameKind::Wgn : FrameKind::Pxt, channelCount);
}

} // namespace ferrow
