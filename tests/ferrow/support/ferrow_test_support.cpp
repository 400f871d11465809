#include "ferrow_test_support.h"

#include "log/message.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace ferrow::test {

namespace fs = std::filesystem;

TemporaryCurrentDirectory::TemporaryCurrentDirectory() : previous_(fs::current_path()) {
    static std::atomic<int> counter = 0;
    path_ = fs::temp_directory_path() /
            ("ferrow-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(path_);
    fs::create_directories(path_);
    fs::current_path(path_);
}

TemporaryCurrentDirectory::~TemporaryCurrentDirectory() {
    std::error_code ignored;
    fs::current_path(previous_, ignored);
    fs::remove_all(path_, ignored);
}

std::string readFile(const fs::path& file) {
    std::ifstream input(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& file, std::string_view bytes) {
    std::ofstream output(file, std::ios::binary | std::ios::trunc);
    output.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

LocalTime fixedTime() {
    return LocalTime{2005, 3, 3, 14, 5, 9, 42};
}

std::string logRecord(std::string_view kind, std::string_view text) {
    return withCrLf(std::string(kind) + ", 3/3/2005 ,14:5:9.42, " + std::string(text) + "\n");
}

std::string CapturedOutputs::takeConsole() {
    std::string text = console.str();
    console.str({});
    return text;
}

std::string CapturedOutputs::errlog() const {
    return readFile("ERRLOG.TXT");
}

} // namespace ferrow::test
