#include "record_files.h"

#include <algorithm>
#include <cstring>

namespace ferrow {

namespace {

// Large enough that reading and writing cost little next to formatting.
constexpr std::size_t blockSize = 1 << 18;

} // namespace

RecordReader::RecordReader(std::FILE* file, int recordSize)
    : file_(file), recordSize_(static_cast<std::size_t>(recordSize)),
      buffer_(std::max(blockSize / recordSize_, std::size_t{1}) * recordSize_) {}

const unsigned char* RecordReader::next() {
    if (end_ - begin_ < recordSize_ && !refill()) {
        return nullptr;
    }
    const unsigned char* record = buffer_.data() + begin_;
    begin_ += recordSize_;
    return record;
}

bool RecordReader::refill() {
    // Keep the start of a record split across two reads.
    const std::size_t kept = end_ - begin_;
    std::memmove(buffer_.data(), buffer_.data() + begin_, kept);
    begin_ = 0;
    end_ = kept;
    while (end_ < recordSize_ && !atEnd_) {
        const std::size_t got = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_);
        end_ += got;
        if (got == 0) {
            atEnd_ = true;
            failed_ = std::ferror(file_) != 0;
        }
    }
    return end_ >= recordSize_;
}

TextWriter::TextWriter(std::FILE* file, std::size_t maxLineLength)
    : file_(file), maxLineLength_(maxLineLength), buffer_(blockSize + maxLineLength) {}

char* TextWriter::lineStart() {
    if (buffer_.size() - used_ < maxLineLength_) {
        flush();
    }
    return buffer_.data() + used_;
}

bool TextWriter::flush() {
    if (used_ > 0 && !failed_) {
        failed_ = std::fwrite(buffer_.data(), 1, used_, file_) != used_;
    }
    used_ = 0;
    return !failed_;
}

} // namespace ferrow
