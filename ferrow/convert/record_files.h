#pragma once

#include <cstddef>
#include <cstdio>
#include <vector>

namespace ferrow {

// Reads a binary capture file as whole records of a fixed size, many at a time; a short last
// record is never handed out.
class RecordReader {
public:
    RecordReader(std::FILE* file, int recordSize);

    // The next whole record, or nullptr at the end of the file or on a read error.
    const unsigned char* next();
    bool failed() const { return failed_; }

private:
    bool refill();

    std::FILE* file_;
    std::size_t recordSize_;
    std::vector<unsigned char> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool atEnd_ = false;
    bool failed_ = false;
};

// Collects text lines in a large buffer and writes them in big blocks.
class TextWriter {
public:
    TextWriter(std::FILE* file, std::size_t maxLineLength);

    // Room for one line of at most maxLineLength bytes; finish it with commit(end).
    char* lineStart();
    void commit(char* lineEnd) { used_ = static_cast<std::size_t>(lineEnd - buffer_.data()); }

    // Writes what is buffered; false once any write has failed.
    bool flush();

private:
    std::FILE* file_;
    std::size_t maxLineLength_;
    std::vector<char> buffer_;
    std::size_t used_ = 0;
    bool failed_ = false;
};

// Closes the file when it goes out of scope.
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace ferrow
