#pragma once
// A recording read back from its text: a scan log (comma-separated rows "time,frame,16 values"
// or the received "FRAME" and channel lines) or a capture's conversion (the frame number, then
// every value of the frame: comma-separated, VORN's parted by two commas, or space-separated).
// The kind is told by the lines themselves: the first lines are held until one kind reads
// clearly more of them than the others, then every line is read as that kind and the lines it
// cannot read are skipped and counted.
//
// Fed in chunks of any size, so that a file of hundreds of megabytes is read a slice at a time
// and never held whole: only the values are kept, as floats, frame after frame.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>
#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

namespace ReviewData {

enum class RecordingKind { ScanLogCsv, CaptureCsv, CaptureText, ScanLogText };

struct MissingFrames {
    qint64 first;
    qint64 last;
};

struct Recording {
    RecordingKind kind = RecordingKind::CaptureCsv;
    int channels = 0;
    // Frame after frame, `channels` values each; NaN where a frame lacks a value.
    std::vector<float> values;
    std::vector<qint64> frames;
    // Seconds of each frame when every frame came with its time, else empty.
    std::vector<double> times;
    // Frame numbers that never came, in file order.
    std::vector<MissingFrames> missing;
    // Frames after which the lines stop: a gap or a frame number that went back (a new scan in
    // the same log). Ascending.
    std::vector<std::size_t> pieceStarts;
    qint64 skippedLines = 0;

    std::size_t frameCount() const { return frames.size(); }
    float value(std::size_t frame, int channel) const {
        return values[frame * static_cast<std::size_t>(channels) +
                      static_cast<std::size_t>(channel)];
    }
};

// How many frames are missing and which: "3 frames missing: 1201-1203", "1 frame missing: 7",
// the first few ranges and then "..." when there are many; "" when none is.
QString MissingFramesText(const std::vector<MissingFrames>& missing);

class LineReader;

class RecordingReader {
public:
    // The file's size, when known, lets the values be reserved once instead of growing.
    explicit RecordingReader(qint64 expectedBytes = 0);
    ~RecordingReader();
    RecordingReader(const RecordingReader&) = delete;
    RecordingReader& operator=(const RecordingReader&) = delete;

    void feed(QByteArrayView chunk);
    // After the last chunk: the last line without a line end is read, and the kind decided if
    // the file was too short to decide it before.
    void finish();

    // Known once the kind is: true when no kind reads any of the first lines.
    bool refused() const { return refused_; }
    // The refusal as said to the user, naming the file and the first line that could not be read.
    QString refusal(const QString& fileName) const;
    // What was read so far (complete after finish()).
    const Recording& recording() const { return recording_; }
    Recording takeRecording() { return std::move(recording_); }

    // The longest line kept: a longer one (a binary file has no line ends) is skipped.
    static constexpr qsizetype MaxLineBytes = 64 * 1024;

private:
    struct Candidate;

    void takeLine(QByteArrayView line);
    void decide();

    qint64 expectedBytes_;
    QByteArray partial_;
    bool overlong_ = false;
    qint64 lineNumber_ = 0;
    qint64 bytesSeen_ = 0; // of the lines taken
    // Every kind reads the first lines; the one that reads most of them stays.
    std::vector<std::unique_ptr<Candidate>> candidates_;
    std::unique_ptr<LineReader> reader_;
    qint64 heldLines_ = 0;
    bool refused_ = false;
    std::optional<std::pair<qint64, QByteArray>> firstLine_;
    Recording recording_;
};

} // namespace ReviewData
