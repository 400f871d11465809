// Converts a 1,000,000-frame VORN capture to CSV with ferrow's converter and with a plain
// fprintf reference, checks that both outputs are the same bytes, and prints their speeds.
//
//   convert_bench [frames]   (run in a scratch folder: it writes about 300 MB there)

#include "convert/converter.h"
#include "log/errlog.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int vornFrameSize = 104;
constexpr int vornChannels = 16;
constexpr int rounds = 3;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePointer = std::unique_ptr<std::FILE, FileCloser>;

void putLittleEndian(unsigned char* bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
    }
}

std::uint32_t getLittleEndian(const unsigned char* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// Pressures that drift from frame to frame around a per-channel level, as a scan gives them.
void writeCapture(const char* name, long frames) {
    FilePointer file(std::fopen(name, "wb"));
    std::mt19937 generator(7);
    std::uniform_real_distribution<float> noise(-0.05f, 0.05f);
    std::vector<float> level(vornChannels);
    for (int channel = 0; channel < vornChannels; ++channel) {
        level[static_cast<std::size_t>(channel)] = 14.7f + 6.5f * static_cast<float>(channel);
    }
    unsigned char frame[vornFrameSize] = {};
    for (long number = 0; number < frames; ++number) {
        putLittleEndian(frame + 4, static_cast<std::uint32_t>(number));
        for (int channel = 0; channel < vornChannels; ++channel) {
            float& value = level[static_cast<std::size_t>(channel)];
            value += noise(generator);
            std::uint32_t bits = 0;
            std::memcpy(&bits, &value, sizeof bits);
            putLittleEndian(frame + 8 + 4 * channel, bits);
        }
        std::fwrite(frame, 1, sizeof frame, file.get());
    }
}

// The straightforward way: one fread per frame, one fprintf per number.
void referenceConvert(const char* input, const char* output) {
    FilePointer in(std::fopen(input, "rb"));
    FilePointer out(std::fopen(output, "wb"));
    unsigned char frame[vornFrameSize];
    std::uint32_t expected = 0;
    while (std::fread(frame, 1, sizeof frame, in.get()) == sizeof frame) {
        const std::uint32_t number = getLittleEndian(frame + 4);
        if (number != expected) {
            expected = number + 1;
            continue;
        }
        std::fprintf(out.get(), "%ld", static_cast<long>(number));
        for (int channel = 0; channel < vornChannels; ++channel) {
            float value = 0;
            const std::uint32_t bits = getLittleEndian(frame + 8 + 4 * channel);
            std::memcpy(&value, &bits, sizeof value);
            std::fprintf(out.get(), ",%f,", static_cast<double>(value));
        }
        std::fprintf(out.get(), "\r\n");
        ++expected;
    }
}

bool sameBytes(const char* first, const char* second) {
    FilePointer a(std::fopen(first, "rb"));
    FilePointer b(std::fopen(second, "rb"));
    std::vector<char> blockA(1 << 20);
    std::vector<char> blockB(1 << 20);
    for (;;) {
        const std::size_t gotA = std::fread(blockA.data(), 1, blockA.size(), a.get());
        const std::size_t gotB = std::fread(blockB.data(), 1, blockB.size(), b.get());
        if (gotA != gotB || std::memcmp(blockA.data(), blockB.data(), gotA) != 0) {
            return false;
        }
        if (gotA == 0) {
            return true;
        }
    }
}

template <typename Work> double secondsFor(Work work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv) {
    const long frames = argc > 1 ? std::atol(argv[1]) : 1000000;
    const char* capture = "convert_bench.bin";
    const char* ferrowCsv = "convert_bench_ferrow.csv";
    const char* referenceCsv = "convert_bench_reference.csv";

    writeCapture(capture, frames);
    ferrow::ErrorLog log("convert_bench_ERRLOG.TXT");

    // Best of a few alternating rounds: other work on the machine only ever adds time.
    double referenceSeconds = 1e9;
    double ferrowSeconds = 1e9;
    bool converted = true;
    for (int round = 0; round < rounds; ++round) {
        referenceSeconds = std::min(referenceSeconds,
                                    secondsFor([&] { referenceConvert(capture, referenceCsv); }));
        ferrowSeconds =
            std::min(ferrowSeconds, secondsFor([&] {
                         converted = ferrow::convertCapture({ferrow::ConversionForm::Csv, "VORN",
                                                             vornChannels, capture, ferrowCsv},
                                                            log) &&
                                     converted;
                     }));
    }

    const double megabytes = static_cast<double>(std::filesystem::file_size(referenceCsv)) / 1e6;
    const bool identical = converted && sameBytes(ferrowCsv, referenceCsv);
    std::printf("VORN frames:        %ld (%.1f MB of CSV), best of %d rounds\n", frames, megabytes,
                rounds);
    std::printf("fprintf reference:  %.2f s, %.1f MB/s\n", referenceSeconds,
                megabytes / referenceSeconds);
    std::printf("ferrow converter:   %.2f s, %.1f MB/s\n", ferrowSeconds,
                megabytes / ferrowSeconds);
    std::printf("speed ratio:        %.2fx\n", referenceSeconds / ferrowSeconds);
    std::printf("outputs:            %s\n", identical ? "byte-identical" : "DIFFERENT");

    for (const char* name : {capture, ferrowCsv, referenceCsv, "convert_bench_ERRLOG.TXT"}) {
        std::filesystem::remove(name);
    }
    return identical ? 0 : 1;
}
