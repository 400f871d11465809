#include "errlog.h"

#include "message.h"

#include <chrono>
#include <ctime>
#include <fstream>
#include <iostream>

namespace ferrow {

LocalTime systemLocalTime() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm parts{};
#ifdef _WIN32
    localtime_s(&parts, &seconds);
#else
    localtime_r(&seconds, &parts);
#endif
    const auto sinceEpoch = now.time_since_epoch();
    const auto milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count() % 1000;
    return LocalTime{parts.tm_year + 1900,
                     parts.tm_mon + 1,
                     parts.tm_mday,
                     parts.tm_hour,
                     parts.tm_min,
                     parts.tm_sec,
                     static_cast<int>(milliseconds)};
}

std::string formatTimeStamp(const LocalTime& time) {
    return message(", %d/%d/%d ,%d:%d:%d.%d", time.month, time.day, time.year, time.hour,
                   time.minute, time.second, time.millisecond);
}

ErrorLog::ErrorLog(std::filesystem::path file, LocalClock clock, std::ostream* console)
    : file_(std::move(file)), clock_(std::move(clock)), console_(console ? console : &std::cout) {}

void ErrorLog::error(std::string_view text) {
    append("ERROR", text);
}

void ErrorLog::event(std::string_view text) {
    append("EVENT", text);
}

void ErrorLog::append(std::string_view kind, std::string_view text) {
    std::string record(kind);
    record += formatTimeStamp(clock_());
    record += ", ";
    record += text;
    record += '\n';
    const std::string bytes = withCrLf(record);

    std::ofstream out(file_, std::ios::binary | std::ios::app);
    if (out) {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
    }
    if (out) {
        failureReported_ = false;
        return;
    }
    // Reported once, without waiting for a key: stopping here in the middle of a capture would
    // lose the frames arriving meanwhile, and a piped key would be swallowed by the wait.
    if (!failureReported_) {
        *console_ << "ERROR: Could not open to ERRLOG.TXT file\n" << std::flush;
        failureReported_ = true;
    }
}

} // namespace ferrow
