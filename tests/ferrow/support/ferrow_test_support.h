#pragma once

#include "console/outputs.h"
#include "log/errlog.h"

#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>

namespace ferrow::test {

// A fresh directory made current for the test's life: ferrow names its files relative to it.
class TemporaryCurrentDirectory {
public:
    TemporaryCurrentDirectory();
    ~TemporaryCurrentDirectory();
    TemporaryCurrentDirectory(const TemporaryCurrentDirectory&) = delete;
    TemporaryCurrentDirectory& operator=(const TemporaryCurrentDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& file);
void writeFile(const std::filesystem::path& file, std::string_view bytes);

// 14:05:09.042 on 3 March 2005.
LocalTime fixedTime();

// The bytes ErrorLog writes for one record at fixedTime().
std::string logRecord(std::string_view kind, std::string_view text);

// Console captured in memory, ERRLOG.TXT in the current directory stamped with fixedTime().
struct CapturedOutputs {
    std::ostringstream console;
    ErrorLog log{"ERRLOG.TXT", fixedTime, &console};
    Outputs out{console, log};

    // Console text since the last call.
    std::string takeConsole();
    // ERRLOG.TXT's bytes ("" when it does not exist).
    std::string errlog() const;
};

} // namespace ferrow::test
