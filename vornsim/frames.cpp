#include "vornsim/frames.h"

#include <QtEndian>

namespace vornsim {

namespace {

constexpr int kVornFrameBytes = 104;
constexpr int kHkqChannelsPerTemperature = 8;

void putWord(QByteArray& frame, int offset, quint32 value) {
    qToLittleEndian(value, frame.data() + offset);
}

void putFloat(QByteArray& frame, int offset, float value) {
    qToLittleEndian(value, frame.data() + offset);
}

void putPressures(QByteArray& frame, int offset, int channels, quint32 frameNumber,
                  const PressureModel& model) {
    for (int channel = 0; channel < channels; ++channel) {
        putFloat(frame, offset + 4 * channel, model.pressure(channel, frameNumber));
    }
}

} // namespace

int frameSize(FrameType type, int channels) {
    switch (type) {
    case FrameType::Vorn:
        return channels == 16 ? kVornFrameBytes : 0;
    case FrameType::Hkq:
        return channels == 16 ? 168 : channels == 32 ? 304 : channels == 64 ? 572 : 0;
    case FrameType::Pxt:
    case FrameType::Wgn:
        return channels >= 1 && channels <= kMaxChannels ? 12 + 4 * channels : 0;
    }
    return 0;
}

quint32 firstFrameNumber(FrameType type) {
    return type == FrameType::Pxt ? 1 : 0;
}

const char* frameTypeName(FrameType type) {
    switch (type) {
    case FrameType::Vorn:
        return "VORN";
    case FrameType::Hkq:
        return "HKQ";
    case FrameType::Pxt:
        return "PXT";
    case FrameType::Wgn:
        return "WGN";
    }
    return "";
}

std::optional<FrameType> frameTypeFromName(QByteArrayView name) {
    for (FrameType type : {FrameType::Vorn, FrameType::Hkq, FrameType::Pxt, FrameType::Wgn}) {
        if (name == QByteArrayView(frameTypeName(type))) {
            return type;
        }
    }
    return std::nullopt;
}

QByteArray buildFrame(FrameType type, int channels, quint32 frameNumber,
                      const PressureModel& model) {
    QByteArray frame(frameSize(type, channels), '\0');
    if (frame.isEmpty()) {
        return frame;
    }
    putWord(frame, 0, static_cast<quint32>(type));
    switch (type) {
    case FrameType::Vorn:
        putWord(frame, 4, frameNumber);
        putPressures(frame, 8, channels, frameNumber, model);
        break;
    case FrameType::Hkq:
        putWord(frame, 4, static_cast<quint32>(channels));
        putWord(frame, 8, frameNumber);
        putPressures(frame, 12, channels, frameNumber, model);
        for (int block = 0; block < channels / kHkqChannelsPerTemperature; ++block) {
            putFloat(frame, 12 + 4 * channels + 4 * block,
                     model.temperature(block * kHkqChannelsPerTemperature, frameNumber));
        }
        break;
    case FrameType::Pxt:
    case FrameType::Wgn:
        putWord(frame, 4, frameNumber);
        putWord(frame, 8, static_cast<quint32>(channels));
        putPressures(frame, 12, channels, frameNumber, model);
        break;
    }
    return frame;
}

} // namespace vornsim
