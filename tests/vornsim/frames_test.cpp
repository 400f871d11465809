// Binary frame layouts byte by byte, and the simulated readings behind them.

#include "vornsim/frames.h"

#include <QtEndian>
#include <gtest/gtest.h>

using vornsim::FrameType;
using vornsim::PressureModel;

namespace {

quint32 wordAt(const QByteArray& frame, int offset) {
    return qFromLittleEndian<quint32>(frame.constData() + offset);
}

float floatAt(const QByteArray& frame, int offset) {
    return qFromLittleEndian<float>(frame.constData() + offset);
}

bool zeroFrom(const QByteArray& frame, int offset) {
    return frame.mid(offset) == QByteArray(frame.size() - offset, '\0');
}

PressureModel modelOf(int channels, double fullScale = 15.0) {
    return PressureModel(3, std::vector<double>(static_cast<std::size_t>(channels), fullScale));
}

} // namespace

TEST(Frames, VornCarriesNumberAtFourAndSixteenValuesAtEight) {
    const PressureModel model = modelOf(16);
    const QByteArray frame = vornsim::buildFrame(FrameType::Vorn, 16, 0x01020304, model);
    ASSERT_EQ(frame.size(), 104);
    EXPECT_EQ(frame.left(8), QByteArray("\x01\0\0\0\x04\x03\x02\x01", 8));
    for (int channel = 0; channel < 16; ++channel) {
        EXPECT_EQ(floatAt(frame, 8 + 4 * channel), model.pressure(channel, 0x01020304));
    }
    EXPECT_TRUE(zeroFrom(frame, 72));
}

TEST(Frames, HkqCarriesNumberAtEightValuesAtTwelveAndOneTemperaturePerEightChannels) {
    for (const auto& [channels, size] : {std::pair{16, 168}, {32, 304}, {64, 572}}) {
        const PressureModel model = modelOf(channels);
        const QByteArray frame = vornsim::buildFrame(FrameType::Hkq, channels, 9, model);
        ASSERT_EQ(frame.size(), size);
        EXPECT_EQ(wordAt(frame, 0), 2u);
        EXPECT_EQ(wordAt(frame, 4), static_cast<quint32>(channels));
        EXPECT_EQ(wordAt(frame, 8), 9u);
        for (int channel = 0; channel < channels; ++channel) {
            EXPECT_EQ(floatAt(frame, 12 + 4 * channel), model.pressure(channel, 9));
        }
        const int temperatures = 12 + 4 * channels;
        for (int block = 0; block < channels / 8; ++block) {
            EXPECT_EQ(floatAt(frame, temperatures + 4 * block), model.temperature(block * 8, 9));
        }
        EXPECT_TRUE(zeroFrom(frame, temperatures + channels / 2));
    }
}

TEST(PressureModel, ReadingsFollowTheSeedStayInRangeAndChangeFromFrameToFrame) {
    const PressureModel model = modelOf(16, 15.0);
    const PressureModel same = modelOf(16, 15.0);
    const PressureModel other(4, std::vector<double>(16, 15.0));
    int changes = 0;
    for (quint32 frame = 0; frame < 200; ++frame) {
        for (int channel = 0; channel < 16; ++channel) {
            const float pressure = model.pressure(channel, frame);
            EXPECT_EQ(pressure, same.pressure(channel, frame));
            EXPECT_LE(std::abs(pressure), 15.0f);
            const float temperature = model.temperature(channel, frame);
            EXPECT_GT(temperature, 15.0f);
            EXPECT_LT(temperature, 35.0f);
            changes += pressure != model.pressure(channel, frame + 1) ? 1 : 0;
        }
    }
    EXPECT_GT(changes, 3000);
    EXPECT_NE(model.pressure(0, 0), other.pressure(0, 0));
}
