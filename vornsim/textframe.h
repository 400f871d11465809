#pragma once

// What a module sends for one frame of a text scan: "FRAME = n", then one line
// "channel pressure temperature" per channel. Pure functions, so a test can compute the exact
// lines the simulator sends for frame n from the same seed and settings.

#include "vornsim/modulesettings.h"
#include "vornsim/pressuremodel.h"
#include "vornsim/simconfig.h"

#include <QByteArray>
#include <QList>

namespace vornsim {

// Raw counts of a reading at full scale (and at minus full scale, negated).
inline constexpr int kFullScaleCounts = 32767;
// Raw temperature counts per degree: the temperature in hundredths of a degree.
inline constexpr int kTemperatureCountsPerDegree = 100;

// The readings of a module on `channels` channels: channel n takes the full scale of sensor
// n modulo 16 from the settings; after CALZ (zeroed) they move around zero.
PressureModel moduleReadings(const ModuleSettings& settings, quint32 seed, int channels,
                             bool zeroed);

struct TextFrameFormat {
    bool engineeringUnits = true; // EU 1: pressure x CVTUNIT; EU 0: raw counts
    double unitFactor = 1.0;      // CVTUNIT
    TextScanConfig options;       // fixed values, an omitted channel
};

// The format a scan started now would use.
TextFrameFormat textFrameFormat(const ModuleSettings& settings, const SimConfig& config);

// The lines of frame `frame`, without line ends.
QList<QByteArray> textFrameLines(const TextFrameFormat& format, const PressureModel& readings,
                                 quint32 frame);

} // namespace vornsim
