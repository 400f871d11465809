// The review window's rules without a window: reading each kind of recording in chunks of any
// size, what is drawn of it, its saved data, its sidecar and the last capture's name.

#include "review/lastcapture.h"
#include "review/recordingreader.h"
#include "review/reviewcsv.h"
#include "review/reviewpicture.h"
#include "review/sidecar.h"

#include <cmath>
#include <gtest/gtest.h>
#include <iomanip>
#include <sstream>
#include <tuple>

namespace {

using namespace ReviewData;

ReviewData::Recording Read(const QByteArray& bytes, qsizetype chunk) {
    RecordingReader reader(bytes.size());
    for (qsizetype at = 0; at < bytes.size(); at += chunk) {
        reader.feed(QByteArrayView(bytes).sliced(at, std::min(chunk, bytes.size() - at)));
    }
    reader.finish();
    EXPECT_FALSE(reader.refused()) << reader.refusal(QStringLiteral("x")).toStdString();
    return reader.takeRecording();
}

// A recording in short: its channels, its frames, their times (nine digits, so that single
// precision shows), each frame's values up to its last present one, where pieces start, the lines
// skipped and the gaps told.
std::string Described(const Recording& read) {
    std::ostringstream text;
    const auto list = [&](const char* name, const auto& items) {
        text << name;
        for (const auto& item : items) {
            text << ' ' << item;
        }
    };
    text << read.channels << " channels, " << std::setprecision(9);
    list("frames", read.frames);
    list(", times", read.times);
    text << std::setprecision(6) << ", values";
    for (std::size_t frame = 0; frame < read.frameCount(); ++frame) {
        int present = read.channels;
        while (present > 0 && std::isnan(read.value(frame, present - 1))) {
            --present;
        }
        for (int channel = 0; channel < present; ++channel) {
            text << (channel == 0 ? ' ' : ',') << read.value(frame, channel);
        }
    }
    list(", pieces", read.pieceStarts);
    text << ", skipped " << read.skippedLines << ", "
         << MissingFramesText(read.missing).toStdString();
    return text.str();
}

TEST(RecordingReader, ReadsEachKindAlikeInChunksOfAnySize) {
    const std::tuple<const char*, QByteArray, RecordingKind, const char*> cases[] = {
        {"scan log, comma-separated, with a status record and a gap",
         "STATUS:,READY\r\n0.016,1,1.5,2.5\r\n0.032,2,1.6,2.6\r\n0.08,5,1.7,2.7\r\n",
         RecordingKind::ScanLogCsv,
         "16 channels, frames 1 2 5, times 0.0160000008 0.0320000015 0.0799999982, "
         "values 1.5,2.5 1.6,2.6 1.7,2.7, pieces 2, skipped 1, 2 frames missing: 3-4"},
        {"scan log of externally triggered scans, a second scan after the first",
         "XTRIG,7,1\r\nXTRIG,8,2\r\nXTRIG,0,3", RecordingKind::ScanLogCsv,
         "16 channels, frames 7 8 0, times, values 1 2 3, pieces 2, skipped 0, "},
        {"VORN conversion: values parted by two commas",
         "0,1.000000,,-2.000000,\r\n1,1.500000,,nan,\r\n2,1.5,,2.5\r\n", RecordingKind::CaptureCsv,
         "2 channels, frames 0 1, times, values 1,-2 1.5, pieces, skipped 1, "},
        {"PXT conversion with LF line ends and a line of the wrong length",
         "1,1.000000,2.000000,3.000000\n2,1.000000\n3,4.000000,5.000000,6.000000\n",
         RecordingKind::CaptureCsv,
         "3 channels, frames 1 3, times, values 1,2,3 4,5,6, pieces 1, skipped 1, "
         "1 frame missing: 2"},
        {"text conversion with many gaps, told in short",
         "0 1.000000 2.000000\r\n4 1.500000 2.500000\r\n6 1.000000 2.000000\r\n"
         "8 1.000000 2.000000\r\n10 1.000000 2.000000\r\n12 1.000000 2.000000\r\n"
         "14 1.000000 2.000000\r\n",
         RecordingKind::CaptureText,
         "2 channels, frames 0 4 6 8 10 12 14, times, values 1,2 1.5,2.5 1,2 1,2 1,2 1,2 1,2, "
         "pieces 1 2 3 4 5 6, skipped 0, 8 frames missing: 1-3, 5, 7, 9, 11, ..."},
        {"scan log as received, a channel line missing, a command and a stray channel line",
         "2 9.5 20.0\r\nSET PERIOD 500\r\nFRAME = 3\r\n0 12.5 24.1\r\n1 13.5 24.0\r\n"
         "FRAME = 4\r\n0 12.6 24.1\r\n00 1 2\r\nSCAN\r\r\n",
         RecordingKind::ScanLogText,
         "16 channels, frames 3 4, times, values 12.5,13.5 12.6, pieces, skipped 4, "},
    };
    for (const auto& [name, bytes, kind, described] : cases) {
        for (const qsizetype chunk : {qsizetype{1}, qsizetype{7}, bytes.size()}) {
            SCOPED_TRACE(std::string(name) + ", chunks of " + std::to_string(chunk));
            const Recording read = Read(bytes, chunk);
            EXPECT_EQ(read.kind, kind);
            EXPECT_EQ(Described(read), described);
        }
    }
}

TEST(RecordingReader, RefusesAFileNoKindReadsNamingItsFirstLine) {
    const std::vector<std::pair<QByteArray, QString>> cases{
        {"\r\nhello world\r\n\x01\x02\r\n",
         "a.bin is not a recording: line 2 cannot be read: hello world"},
        {"", "a.bin is not a recording: it holds no lines"},
        {QByteArray(100000, '\x07'),
         "a.bin is not a recording: line 1 cannot be read: " + QString(80, QLatin1Char('?'))},
    };
    for (const auto& [bytes, message] : cases) {
        RecordingReader reader;
        reader.feed(bytes);
        reader.finish();
        EXPECT_TRUE(reader.refused());
        EXPECT_EQ(reader.refusal(QStringLiteral("a.bin")), message);
    }
}

// Frames 0 to 9 without 3, one channel whose value is the frame number, 7's lacking.
ReviewData::Recording WithAGap() {
    return Read("0,0.000000\n1,1.000000\n2,2.000000\n4,4.000000\n5,5.000000\n6,6.000000\n"
                "7,nan\n8,8.000000\n9,9.000000\n",
                1000);
}

std::vector<double> Xs(const QList<QPointF>& points) {
    std::vector<double> xs;
    for (const QPointF& point : points) {
        xs.push_back(point.x());
    }
    return xs;
}

TEST(ReviewPicture, StopsTheLinesAtGapsAndMissingValues) {
    const ReviewData::Recording recording = WithAGap();
    const HorizontalAxis axis = AxisOf(recording, 0);
    EXPECT_FALSE(axis.seconds);
    const std::vector<ChannelLine> all = Project(recording, axis, 0, 9, 100, {true});
    EXPECT_EQ(Xs(all[0].points), (std::vector<double>{0, 1, 2, 4, 5, 6, 8, 9}));
    EXPECT_EQ(all[0].pieceStarts, (QList<qsizetype>{0, 3, 6}));

    // Zoomed in: one frame beyond either edge, so that the line reaches it.
    const std::vector<ChannelLine> zoomed = Project(recording, axis, 4.5, 5.5, 100, {true});
    EXPECT_EQ(Xs(zoomed[0].points), (std::vector<double>{4, 5, 6}));
    EXPECT_EQ(zoomed[0].pieceStarts, (QList<qsizetype>{0}));

    // One column: each piece keeps its lowest and highest point.
    const std::vector<ChannelLine> narrow = Project(recording, axis, 0, 9, 1, {true});
    EXPECT_EQ(Xs(narrow[0].points), (std::vector<double>{0, 2, 4, 6, 8, 9}));
    EXPECT_TRUE(Project(recording, axis, 0, 9, 100, {false})[0].points.isEmpty());
}

TEST(ReviewPicture, PutsFramesInSecondsWhenTheirTimeIsKnown) {
    const ReviewData::Recording timed = Read("0.5,1,3\n1,2,4\n0.5,1,5\n", 1000);
    const HorizontalAxis own = AxisOf(timed, 2);
    EXPECT_TRUE(own.seconds);
    // The second scan goes on one frame after the first.
    EXPECT_EQ(own.x, (std::vector<double>{0.5, 1, 1.5}));
    const ReviewData::Recording untimed = Read("0,1,3\n0,2,4\n", 1000); // period not yet known
    EXPECT_EQ(AxisOf(untimed, 0).x, (std::vector<double>{1, 2}));
    const HorizontalAxis byPeriod = AxisOf(WithAGap(), 0.25);
    EXPECT_TRUE(byPeriod.seconds);
    EXPECT_EQ(byPeriod.x[3], 1.0);
    const std::optional<ValueRange> range = RangeOf(WithAGap(), {true});
    ASSERT_TRUE(range);
    EXPECT_EQ(std::pair(range->low, range->high), std::pair(0.0, 9.0));
}

TEST(ReviewCsv, WritesTheFramesShownOfTheShownChannels) {
    const ReviewData::Recording recording =
        Read("0 1.000000 2.500000\n1 nan 3.000000\n2 5.000000 6.000000\n", 1000);
    EXPECT_EQ(CsvOf(recording, AxisOf(recording, 0.5), 0.5, 1, {true, false}),
              "Frame,Time,Ch 1\r\n1,0.500000,\r\n2,1.000000,5\r\n");
    EXPECT_EQ(CsvOf(recording, AxisOf(recording, 0), 0, 0, {false, true}),
              "Frame,Ch 2\r\n0,2.5\r\n");
}

TEST(ReviewSidecar, TakesTheUnitAndFramePeriodOfAValidObjectOnlyAndDescribesIt) {
    const std::optional<Sidecar> full = SidecarFrom(
        R"({"unit": "PSI", "framePeriodSeconds": 0.016, "program": "x", "module": {"SN": "7"},)"
        R"( "fullScales": [15, 50], "missingFrames": [[7, 7], [9, 12]], "eu": true})");
    ASSERT_TRUE(full);
    EXPECT_EQ(full->unit, "PSI");
    EXPECT_EQ(full->framePeriodSeconds, 0.016);
    EXPECT_EQ(full->description, "eu: true\nframePeriodSeconds: 0.016\nfullScales: 15, 50\n"
                                 "missingFrames: 7-7, 9-12\nmodule: SN 7\nprogram: x\nunit: PSI");
    const std::optional<Sidecar> bare = SidecarFrom("{}");
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->framePeriodSeconds, 0);
    for (const char* invalid :
         {"", "[1]", "{\"unit\": 5}", "{\"framePeriodSeconds\": \"1\"}", "{\"unit\": \"PSI\""}) {
        EXPECT_FALSE(SidecarFrom(invalid)) << invalid;
    }
}

TEST(LastCapture, IsTheConversionOfTheDataFileNameHandedOver) {
    const std::vector<std::pair<QString, QString>> cases{
        {"run1.dat", "run1.csv"},
        {"runs.v2/run", "runs.v2/run.csv"},
        {"C:\\data\\a.b.bin", "C:\\data\\a.b.csv"},
        {"", "Data.bin.csv"},
    };
    for (const auto& [handed, csv] : cases) {
        EXPECT_EQ(CaptureCsvName(handed), csv) << handed.toStdString();
    }
}

} // namespace
