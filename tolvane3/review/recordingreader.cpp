#include "recordingreader.h"

#include <QStringList>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace ReviewData {
namespace {

// Lines read by every kind before one is chosen, unless a megabyte comes first.
constexpr qint64 DecidingLines = 1000;
constexpr qint64 DecidingBytes = 1024 * 1024;
// Frame numbers beyond this lose their exactness on the chart's double axis.
constexpr qint64 LargestFrame = qint64{1} << 53;
constexpr int ScanLogChannels = 16;
// The most values a frame of any type carries (PXT and WGN); more are no frame's.
constexpr int MaxChannels = 512;
constexpr qsizetype ShownLineBytes = 80;
constexpr std::size_t ShownRanges = 5;

constexpr float NoValue = std::numeric_limits<float>::quiet_NaN();

// The fields of a line between separators; n separators give n + 1 fields, empty ones included.
class Fields {
public:
    Fields(QByteArrayView line, char separator) : rest_(line), separator_(separator) {}
    bool next(QByteArrayView& field) {
        if (done_) {
            return false;
        }
        const qsizetype at = rest_.indexOf(separator_);
        if (at < 0) {
            field = rest_;
            done_ = true;
        } else {
            field = rest_.first(at);
            rest_ = rest_.sliced(at + 1);
        }
        return true;
    }
    bool atEnd() const { return done_; }

private:
    QByteArrayView rest_;
    char separator_;
    bool done_ = false;
};

std::optional<qint64> WholeNumber(QByteArrayView field) {
    if (field.isEmpty()) {
        return std::nullopt;
    }
    qint64 number = 0;
    const char* end = field.data() + field.size();
    const auto [stop, error] = std::from_chars(field.data(), end, number);
    if (field.isEmpty() || error != std::errc() || stop != end ||
        std::llabs(number) >= LargestFrame) {
        return std::nullopt;
    }
    return number;
}

std::optional<float> Value(QByteArrayView field) {
    if (field.size() > 1 && field.front() == '+') {
        field = field.sliced(1);
    }
    if (field.isEmpty()) {
        return std::nullopt;
    }
    float value = 0;
    const char* end = field.data() + field.size();
    const auto [stop, error] = std::from_chars(field.data(), end, value);
    if (error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

// A value as the conversion writes it: with a point ("1.500000"), or nan or inf; never a bare
// whole number, which is what tells a conversion from a scan log's frame number.
std::optional<float> ConvertedValue(QByteArrayView field) {
    const bool shaped = field.contains('.') || field.contains('n') || field.contains('N');
    return shaped ? Value(field) : std::nullopt;
}

// A new frame with no values yet, its gap or step back to the frame before noted.
void AppendFrame(Recording& into, qint64 number) {
    if (!into.frames.empty()) {
        const qint64 previous = into.frames.back();
        if (number > previous + 1) {
            into.missing.push_back({previous + 1, number - 1});
        }
        if (number != previous + 1) {
            into.pieceStarts.push_back(into.frames.size());
        }
    }
    into.frames.push_back(number);
    into.values.resize(into.values.size() + static_cast<std::size_t>(into.channels), NoValue);
}

void SetValue(Recording& into, int channel, float value) {
    into.values[into.values.size() - static_cast<std::size_t>(into.channels) +
                static_cast<std::size_t>(channel)] = value;
}

} // namespace

// One kind's reading of a line: false when the line is not of that kind.
class LineReader {
public:
    virtual ~LineReader() = default;
    virtual bool read(QByteArrayView line, Recording& into) = 0;
};

namespace {

// time or XTRIG, frame, then up to 16 values; a row is shorter by each channel line that failed
// to come. The times are kept while every row has one.
class ScanLogCsvReader : public LineReader {
public:
    bool read(QByteArrayView line, Recording& into) override {
        Fields fields(line, ',');
        QByteArrayView field;
        fields.next(field);
        const std::optional<float> time = Value(field);
        if (!(time && std::isfinite(*time)) && field != "XTRIG") {
            return false;
        }
        std::optional<qint64> frame;
        if (!fields.next(field) || !(frame = WholeNumber(field))) {
            return false;
        }
        std::array<float, ScanLogChannels> values;
        values.fill(NoValue);
        for (int channel = 0; fields.next(field); ++channel) {
            const std::optional<float> value = Value(field);
            if (channel == ScanLogChannels || !value) {
                return false;
            }
            values[static_cast<std::size_t>(channel)] = *value;
        }
        into.channels = ScanLogChannels;
        AppendFrame(into, *frame);
        for (int channel = 0; channel < ScanLogChannels; ++channel) {
            SetValue(into, channel, values[static_cast<std::size_t>(channel)]);
        }
        timed_ = timed_ && time;
        if (timed_) {
            into.times.push_back(*time);
        } else {
            std::vector<double>().swap(into.times);
        }
        return true;
    }

private:
    bool timed_ = true;
};

// The frame number, then every value of the frame, parted by the separator; VORN's
// comma-separated form writes a comma after each value too. The first line fixes the count.
class CaptureReader : public LineReader {
public:
    explicit CaptureReader(char separator) : separator_(separator) {}

    bool read(QByteArrayView line, Recording& into) override {
        Fields fields(line, separator_);
        QByteArrayView field;
        fields.next(field);
        const std::optional<qint64> frame = WholeNumber(field);
        if (!frame || *frame < 0) {
            return false;
        }
        if (into.channels == 0) {
            doubled_ = separator_ == ',' && line.endsWith(",") && line.contains(",,");
        }
        values_.clear();
        while (fields.next(field)) {
            const std::optional<float> value = ConvertedValue(field);
            if (!value || (doubled_ && (!fields.next(field) || !field.isEmpty()))) {
                return false;
            }
            values_.push_back(*value);
        }
        const auto count = static_cast<int>(values_.size());
        if (count == 0 || count > MaxChannels || (into.channels != 0 && count != into.channels)) {
            return false;
        }
        into.channels = count;
        AppendFrame(into, *frame);
        std::copy(values_.begin(), values_.end(), into.values.end() - count);
        return true;
    }

private:
    char separator_;
    bool doubled_ = false;
    std::vector<float> values_;
};

// "FRAME = n" starts a frame; "c pressure temperature" gives it channel c's pressure.
class ScanLogTextReader : public LineReader {
public:
    bool read(QByteArrayView line, Recording& into) override {
        Fields fields(line, ' ');
        QByteArrayView first;
        QByteArrayView second;
        QByteArrayView third;
        fields.next(first);
        fields.next(second);
        fields.next(third);
        if (first.compare("FRAME", Qt::CaseInsensitive) == 0) {
            const std::optional<qint64> frame = WholeNumber(third);
            if (!frame) {
                return false;
            }
            into.channels = ScanLogChannels;
            AppendFrame(into, *frame);
            return true;
        }
        const std::optional<qint64> channel = WholeNumber(first);
        const bool channelLine = channel && *channel >= 0 && *channel < ScanLogChannels &&
                                 (first.size() == 1 || first.front() != '0');
        const std::optional<float> value = Value(second);
        if (!channelLine || !value || into.frames.empty()) {
            return false;
        }
        SetValue(into, static_cast<int>(*channel), *value);
        return true;
    }
};

std::unique_ptr<LineReader> ReaderFor(RecordingKind kind) {
    switch (kind) {
    case RecordingKind::ScanLogCsv:
        return std::make_unique<ScanLogCsvReader>();
    case RecordingKind::CaptureCsv:
        return std::make_unique<CaptureReader>(',');
    case RecordingKind::CaptureText:
        return std::make_unique<CaptureReader>(' ');
    case RecordingKind::ScanLogText:
        break;
    }
    return std::make_unique<ScanLogTextReader>();
}

} // namespace

struct RecordingReader::Candidate {
    std::unique_ptr<LineReader> reader;
    Recording recording;
    qint64 readLines = 0;
};

QString MissingFramesText(const std::vector<MissingFrames>& missing) {
    if (missing.empty()) {
        return {};
    }
    qint64 count = 0;
    QStringList ranges;
    for (const MissingFrames& range : missing) {
        count += range.last - range.first + 1;
        if (static_cast<std::size_t>(ranges.size()) < ShownRanges) {
            ranges << (range.first == range.last
                           ? QString::number(range.first)
                           : QStringLiteral("%1-%2").arg(range.first).arg(range.last));
        }
    }
    if (missing.size() > ShownRanges) {
        ranges << QStringLiteral("...");
    }
    return QStringLiteral("%1 %2 missing: %3")
        .arg(count)
        .arg(count == 1 ? QStringLiteral("frame") : QStringLiteral("frames"))
        .arg(ranges.join(QStringLiteral(", ")));
}

RecordingReader::RecordingReader(qint64 expectedBytes) : expectedBytes_(expectedBytes) {
    for (const RecordingKind kind : {RecordingKind::ScanLogCsv, RecordingKind::CaptureCsv,
                                     RecordingKind::CaptureText, RecordingKind::ScanLogText}) {
        auto candidate = std::make_unique<Candidate>();
        candidate->reader = ReaderFor(kind);
        candidate->recording.kind = kind;
        candidates_.push_back(std::move(candidate));
    }
}

RecordingReader::~RecordingReader() = default;

void RecordingReader::feed(QByteArrayView chunk) {
    while (!chunk.isEmpty()) {
        const qsizetype end = chunk.indexOf('\n');
        const QByteArrayView piece = end < 0 ? chunk : chunk.first(end);
        if (!overlong_) {
            if (partial_.size() + piece.size() > MaxLineBytes) {
                // Kept only as far as the refusal shows it.
                overlong_ = true;
                const qsizetype room = std::max<qsizetype>(0, ShownLineBytes - partial_.size());
                partial_.append(piece.first(std::min(piece.size(), room)));
                partial_.truncate(ShownLineBytes);
            } else {
                partial_.append(piece);
            }
        }
        if (end < 0) {
            return;
        }
        takeLine(partial_);
        partial_.clear();
        overlong_ = false;
        chunk = chunk.sliced(end + 1);
    }
}

void RecordingReader::finish() {
    if (!partial_.isEmpty() || overlong_) {
        takeLine(partial_);
        partial_.clear();
        overlong_ = false;
    }
    if (!reader_ && !refused_) {
        decide();
    }
}

void RecordingReader::takeLine(QByteArrayView line) {
    ++lineNumber_;
    bytesSeen_ += line.size() + 1;
    while (line.endsWith('\r')) {
        line.chop(1);
    }
    if (line.isEmpty() && !overlong_) {
        return;
    }
    if (!firstLine_) {
        firstLine_ = std::make_pair(
            lineNumber_, line.first(std::min(line.size(), ShownLineBytes)).toByteArray());
    }
    if (refused_) {
        return;
    }
    if (reader_) {
        if (overlong_ || !reader_->read(line, recording_)) {
            ++recording_.skippedLines;
        }
        return;
    }
    for (const auto& candidate : candidates_) {
        if (!overlong_ && candidate->reader->read(line, candidate->recording)) {
            ++candidate->readLines;
        } else {
            ++candidate->recording.skippedLines;
        }
    }
    if (++heldLines_ >= DecidingLines || bytesSeen_ >= DecidingBytes) {
        decide();
    }
}

// The first kind in the list wins a tie.
void RecordingReader::decide() {
    const auto best = std::max_element(
        candidates_.begin(), candidates_.end(),
        [](const auto& one, const auto& other) { return one->readLines < other->readLines; });
    if ((*best)->readLines == 0) {
        refused_ = true;
        candidates_.clear();
        return;
    }
    reader_ = std::move((*best)->reader);
    recording_ = std::move((*best)->recording);
    candidates_.clear();
    // The rest of the file is taken to hold frames as densely as its start.
    if (expectedBytes_ > bytesSeen_ && bytesSeen_ > 0) {
        const double frames = static_cast<double>(recording_.frameCount()) *
                              static_cast<double>(expectedBytes_) /
                              static_cast<double>(bytesSeen_) * 1.02;
        const auto reserved = static_cast<std::size_t>(frames) + 16;
        recording_.frames.reserve(reserved);
        recording_.values.reserve(reserved * static_cast<std::size_t>(recording_.channels));
        if (!recording_.times.empty()) {
            recording_.times.reserve(reserved);
        }
    }
}

QString RecordingReader::refusal(const QString& fileName) const {
    if (!firstLine_) {
        return fileName + QStringLiteral(" is not a recording: it holds no lines");
    }
    QString text = QString::fromLatin1(firstLine_->second);
    for (QChar& c : text) {
        if (!c.isPrint()) {
            c = QLatin1Char('?');
        }
    }
    return fileName +
           QStringLiteral(" is not a recording: line %1 cannot be read: ").arg(firstLine_->first) +
           text;
}

} // namespace ReviewData
