#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

namespace ferrow {

// Local wall-clock time with milliseconds, as ERRLOG.TXT records show it.
struct LocalTime {
    int year = 0;
    int month = 0; // 1..12
    int day = 0;   // 1..31
    int hour = 0;  // 0..23
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

using LocalClock = std::function<LocalTime()>;

LocalTime systemLocalTime();

// ", month/day/year ,hour:minute:second.milliseconds", every number without leading zeros.
std::string formatTimeStamp(const LocalTime& time);

// The error/event log: one time-stamped record per call, appended and closed at once so that
// every record is on disk before the program goes on. Files grow across runs, never truncated.
class ErrorLog {
public:
    explicit ErrorLog(std::filesystem::path file = "ERRLOG.TXT", LocalClock clock = systemLocalTime,
                      std::ostream* console = nullptr);

    void error(std::string_view text);
    void event(std::string_view text);

private:
    void append(std::string_view kind, std::string_view text);

    std::filesystem::path file_;
    LocalClock clock_;
    std::ostream* console_;
    bool failureReported_ = false;
};

} // namespace ferrow
