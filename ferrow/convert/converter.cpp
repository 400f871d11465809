#include "converter.h"

#include "fixed_format.h"
#include "frame_layout.h"
#include "log/errlog.h"
#include "log/message.h"
#include "record_files.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>

namespace ferrow {

namespace {

using FilePointer = std::unique_ptr<std::FILE, FileCloser>;

std::uint32_t readUnsigned(const unsigned char* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

float readFloat(const unsigned char* bytes) {
    const std::uint32_t bits = readUnsigned(bytes);
    float value = 0;
    static_assert(sizeof value == sizeof bits);
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

const char* kindName(FrameKind kind) {
    switch (kind) {
    case FrameKind::Hkq:
        return "HKQ";
    case FrameKind::Vorn:
        return "VORN";
    case FrameKind::Wgn:
        return "WGN";
    case FrameKind::Pxt:
        break;
    }
    return "PXT";
}

// How one frame becomes one line: the frame number, then every value with its separators.
struct LineShape {
    char separator = ',';       // before each value
    bool trailingComma = false; // after each value: the CSV of VORN frames parts values by ",,"

    std::size_t maxLength(const FrameLayout& layout) const {
        return maxUnsignedLength +
               static_cast<std::size_t>(layout.valueCount) * (maxFixedLength + 2) + 2;
    }
};

LineShape lineShape(ConversionForm form, FrameKind kind) {
    if (form == ConversionForm::Text) {
        return {' ', false};
    }
    return {',', kind == FrameKind::Vorn};
}

char* formatLine(char* out, std::uint32_t frameNumber, const unsigned char* record,
                 const FrameLayout& layout, LineShape shape) {
    // Frame numbers are unsigned: numbers from 2^31 up stay positive.
    out = formatUnsigned(out, frameNumber);
    const unsigned char* value = record + layout.valuesOffset;
    for (int i = 0; i < layout.valueCount; ++i, value += 4) {
        *out++ = shape.separator;
        out = formatFixed6(out, readFloat(value));
        if (shape.trailingComma) {
            *out++ = ',';
        }
    }
    *out++ = '\r';
    *out++ = '\n';
    return out;
}

// The per-frame EVENTs of the CVT form.
class FrameTrace {
public:
    FrameTrace(ConversionForm form, const FrameLayout& layout, ErrorLog& log)
        : on_(form == ConversionForm::Text), layout_(layout), log_(log) {}

    void beforeRead(std::uint32_t expected) const {
        if (!on_) {
            return;
        }
        if (layout_.kind == FrameKind::Vorn) {
            log_.event("Doing VORN EU frame, not time stamped\n");
        } else if (layout_.kind == FrameKind::Hkq) {
            log_.event("Doing HKQ frame\n");
        }
        if (layout_.kind == FrameKind::Vorn ||
            (layout_.kind == FrameKind::Hkq && layout_.channelCount == 16)) {
            log_.event(message("Woking frame %lu fs %d\n", static_cast<unsigned long>(expected),
                               layout_.frameSize));
        }
    }

    void matched(std::uint32_t frameNumber) const {
        if (on_ && (layout_.kind == FrameKind::Vorn || layout_.kind == FrameKind::Wgn)) {
            const auto number = static_cast<unsigned long>(frameNumber);
            log_.event(message("OK: Frame %lu read frame %lu\n", number, number));
        }
    }

private:
    bool on_;
    const FrameLayout& layout_;
    ErrorLog& log_;
};

struct Counts {
    std::uint32_t expected = 0;
    // Sums of unsigned differences kept modulo 2^32, so an out-of-order frame counts negative.
    std::uint32_t missed = 0;
    std::vector<FrameRange> skipped;
};

Counts convertRecords(RecordReader& reader, TextWriter& writer, const FrameLayout& layout,
                      LineShape shape, const FrameTrace& trace, ErrorLog& log) {
    Counts counts{layout.firstFrameNumber, 0, {}};
    for (;;) {
        trace.beforeRead(counts.expected);
        const unsigned char* record = reader.next();
        if (record == nullptr) {
            return counts;
        }
        const std::uint32_t number = readUnsigned(record + layout.frameNumberOffset);
        if (number == counts.expected) {
            writer.commit(formatLine(writer.lineStart(), number, record, layout, shape));
            trace.matched(number);
            ++counts.expected;
        } else {
            log.error(message("ERROR: Missed frame, expecting frame %lu read frame %lu\n",
                              static_cast<unsigned long>(counts.expected),
                              static_cast<unsigned long>(number)));
            counts.missed += number - counts.expected;
            if (number > counts.expected) {
                counts.skipped.push_back({counts.expected, number - 1});
            }
            counts.expected = number + 1;
        }
    }
}

std::string summary(const FrameLayout& layout, const Counts& counts) {
    // PXT numbers frames from 1, so its count is the last number; WGN keeps that reckoning.
    const bool countsFromOne = layout.kind == FrameKind::Pxt || layout.kind == FrameKind::Wgn;
    const auto converted = static_cast<std::int32_t>(counts.expected - (countsFromOne ? 1U : 0U));
    return message("Converted %d frames of %s data. Missed %d frames\n", converted,
                   kindName(layout.kind), static_cast<std::int32_t>(counts.missed));
}

bool sameFile(const std::string& first, const std::string& second) {
    std::error_code ignored;
    return std::filesystem::equivalent(first, second, ignored);
}

} // namespace

bool convertCapture(const ConversionRequest& request, ErrorLog& log) {
    log.event(message("Opening text output file %s\n", request.outputName.c_str()));
    log.event(message("Opening binary input file %s\n", request.inputName.c_str()));

    const LayoutChoice choice = converterLayout(request.frameType, request.channelCount);
    if (!choice.layout) {
        log.error(choice.refusal);
        return false;
    }
    const FrameLayout& layout = *choice.layout;

    FilePointer input(std::fopen(request.inputName.c_str(), "rb"));
    if (!input) {
        log.error(message("Cannot open input file %s\n", request.inputName.c_str()));
        return false;
    }
    // Binary mode: the CR LF line ends are written out, the same bytes on every platform.
    // Opening the capture itself as output would empty it before a single frame is read.
    FilePointer output(sameFile(request.inputName, request.outputName)
                           ? nullptr
                           : std::fopen(request.outputName.c_str(), "wb"));
    if (!output) {
        log.error(message("Could not open out file %s\n", request.outputName.c_str()));
        return false;
    }
    log.event(message("%s Converting %d channels with %d bytes frame size\n",
                      layout.kind == FrameKind::Pxt ? "WGN" : kindName(layout.kind),
                      layout.channelCount, layout.frameSize));

    const LineShape shape = lineShape(request.form, layout.kind);
    RecordReader reader(input.get(), layout.frameSize);
    TextWriter writer(output.get(), shape.maxLength(layout));
    const Counts counts =
        convertRecords(reader, writer, layout, shape, FrameTrace(request.form, layout, log), log);
    if (reader.failed()) {
        log.error(message("ERROR: Could not read file %s\n", request.inputName.c_str()));
        return false;
    }
    // Flushed first: fclose does not report a failed flush in every C library (wine's).
    const bool written =
        writer.flush() && std::fflush(output.get()) == 0 && std::fclose(output.release()) == 0;
    if (!written) {
        log.error(message("ERROR: Could not write to file %s\n", request.outputName.c_str()));
        return false;
    }
    log.event(summary(layout, counts));
    if (request.frameNumbers != nullptr) {
        *request.frameNumbers = {layout.firstFrameNumber, counts.expected, counts.skipped};
    }
    return true;
}

bool convertAfterRun(std::string_view frameType, int channelCount, const std::string& baseName,
                     ErrorLog& log, FrameNumbers* frameNumbers) {
    return convertCapture(ConversionRequest{ConversionForm::Csv, std::string(frameType),
                                            channelCount, baseName + ".bin", baseName + ".csv",
                                            frameNumbers},
                          log);
}

} // namespace ferrow
