#include "ferrow_test_support.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <regex>

namespace ferrow::test {

namespace fs = std::filesystem;

namespace {

float valueOf(std::uint32_t frame, int index) {
    return static_cast<float>(index) * 0.25f - 2.0f + static_cast<float>(frame % 100) * 10.0f;
}

} // namespace

bool retryUntil(const std::function<bool(Milliseconds left)>& attempt, Milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<Milliseconds>(deadline - std::chrono::steady_clock::now());
        if (attempt(std::max(left, 0ms))) {
            return true;
        }
        if (left <= 0ms) {
            return false;
        }
    }
}

bool readable(net::Handle handle, Milliseconds limit) {
    net::PollEntry entry{};
    entry.fd = handle;
    entry.events = POLLIN;
    return net::pollHandles(&entry, 1, static_cast<int>(limit.count())) > 0;
}

void closeAll(std::initializer_list<net::Handle*> handles) {
    for (net::Handle* handle : handles) {
        if (*handle != net::invalidHandle) {
            net::closeHandle(std::exchange(*handle, net::invalidHandle));
        }
    }
}

TemporaryCurrentDirectory::TemporaryCurrentDirectory() {
    path = fs::temp_directory_path() / ("ferrow-test-" + std::to_string(std::random_device()()));
    fs::remove_all(path);
    fs::create_directories(path);
    fs::current_path(path);
}

TemporaryCurrentDirectory::~TemporaryCurrentDirectory() {
    std::error_code ignored;
    fs::current_path(previous, ignored);
    fs::remove_all(path, ignored);
}

std::string readFile(const fs::path& file) {
    std::ifstream input(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& file, std::string_view bytes) {
    std::ofstream(file, std::ios::binary).write(bytes.data(), std::ssize(bytes));
}

std::string firstDifference(std::string_view actual, std::string_view expected) {
    const auto at = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    const std::string_view before(actual.begin(), at.first);
    const std::size_t start = before.rfind('\n') + 1; // npos + 1 = 0
    const auto lineAt = [start](std::string_view text) {
        return std::string(
            text.substr(start, std::min<std::size_t>(text.find('\n', start) - start, 200)));
    };
    return actual == expected ? ""
                              : "sizes " + std::to_string(actual.size()) + " and " +
                                    std::to_string(expected.size()) + "; line " +
                                    std::to_string(std::ranges::count(before, '\n') + 1) +
                                    " differs:\n  actual:   \"" + lineAt(actual) +
                                    "\"\n  expected: \"" + lineAt(expected) + "\"";
}

std::string errlogLines() {
    const std::string unstamped = std::regex_replace(
        readFile("ERRLOG.TXT"), std::regex(", [0-9]+/[0-9]+/[0-9]+ ,[0-9:.]+, "), ": ");
    return std::regex_replace(unstamped, std::regex("\r\n(\r\n)?"), "\n");
}

std::string records(const RecordShape& shape, const std::vector<std::uint32_t>& frames) {
    std::string bytes;
    for (const std::uint32_t frame : frames) {
        std::string record(static_cast<std::size_t>(shape.size), '\xAA');
        const auto put = [&record](int offset, std::uint32_t value) {
            for (int i = 0; i < 4; ++i) {
                record[static_cast<std::size_t>(offset + i)] = static_cast<char>(value >> (8 * i));
            }
        };
        put(shape.numberOffset, frame);
        for (int i = 0; i < shape.valueCount; ++i) {
            put(shape.valuesOffset + 4 * i, std::bit_cast<std::uint32_t>(valueOf(frame, i)));
        }
        bytes += record;
    }
    return bytes;
}

std::string printfLines(const RecordShape& shape, const std::vector<std::uint32_t>& frames,
                        const char* separator, const char* suffix) {
    std::string text;
    char value[64];
    for (const std::uint32_t frame : frames) {
        text += std::to_string(frame);
        for (int i = 0; i < shape.valueCount; ++i) {
            std::snprintf(value, sizeof value, "%s%f%s", separator,
                          static_cast<double>(valueOf(frame, i)), suffix);
            text += value;
        }
        text += "\r\n";
    }
    return text;
}

} // namespace ferrow::test
