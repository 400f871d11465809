// Any bytes as a recording, fed whole and in two pieces split anywhere: the reader must neither
// crash nor read out of bounds, must read the same either way, and what it keeps must hold
// together (a value per channel per frame, pieces inside the frames) so that drawing and saving
// it are safe.

#include "review/recordingreader.h"
#include "review/reviewcsv.h"
#include "review/reviewpicture.h"

#include <cstdint>
#include <cstring>
#include <tuple>

namespace {

ReviewData::Recording Read(QByteArrayView bytes, qsizetype split, bool& refused) {
    ReviewData::RecordingReader reader(bytes.size());
    reader.feed(bytes.first(split));
    reader.feed(bytes.sliced(split));
    reader.finish();
    refused = reader.refused();
    std::ignore = reader.refusal(QStringLiteral("fuzz"));
    return reader.takeRecording();
}

bool SameBits(const std::vector<float>& one, const std::vector<float>& other) {
    return one.size() == other.size() &&
           (one.empty() || std::memcmp(one.data(), other.data(), one.size() * sizeof(float)) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype split = size == 0 ? 0 : static_cast<qsizetype>(data[0] % (size + 1));
    bool refusedWhole = false;
    bool refusedSplit = false;
    const ReviewData::Recording whole = Read(bytes, bytes.size(), refusedWhole);
    const ReviewData::Recording pieces = Read(bytes, split, refusedSplit);
    if (refusedWhole != refusedSplit || whole.frames != pieces.frames ||
        !SameBits(whole.values, pieces.values) || whole.skippedLines != pieces.skippedLines) {
        __builtin_trap();
    }
    if (whole.values.size() != whole.frames.size() * static_cast<std::size_t>(whole.channels) ||
        (!whole.times.empty() && whole.times.size() != whole.frames.size())) {
        __builtin_trap();
    }
    for (std::size_t i = 0; i < whole.pieceStarts.size(); ++i) {
        if (whole.pieceStarts[i] == 0 || whole.pieceStarts[i] >= whole.frameCount() ||
            (i > 0 && whole.pieceStarts[i] <= whole.pieceStarts[i - 1])) {
            __builtin_trap();
        }
    }
    const ReviewData::HorizontalAxis axis = ReviewData::AxisOf(whole, 0.001);
    const std::vector<bool> shown(static_cast<std::size_t>(whole.channels), true);
    if (!axis.x.empty()) {
        std::ignore = ReviewData::Project(whole, axis, axis.x.front(), axis.x.back(), 50, shown);
        std::ignore = ReviewData::CsvOf(whole, axis, axis.x.front(), axis.x.back(), shown);
    }
    return 0;
}
