#include "textlog.h"

#include "message.h"

#include <ostream>

namespace ferrow {

TextLog::TextLog(std::ostream& console) : console_(console) {}

void TextLog::open(const std::string& name) {
    console_ << message("Opening log file %s\n", name.c_str()) << std::flush;
    // A second LOG would otherwise leave the first file open and its buffered bytes unwritten.
    if (file_.is_open()) {
        file_.close();
    }
    file_.clear();
    name_ = name;
    file_.open(name, std::ios::binary | std::ios::trunc);
    if (!file_.is_open()) {
        console_ << message("Cannot open log file %s\n", name.c_str()) << std::flush;
    }
}

void TextLog::close() {
    if (!file_.is_open()) {
        return;
    }
    console_ << "Closing log file\n" << std::flush;
    file_.close();
    if (file_.fail()) {
        reportWriteFailure();
    }
}

void TextLog::logByte(char byte) {
    if (file_.is_open() && !file_.put(byte)) {
        reportWriteFailure();
        file_.close();
    }
}

void TextLog::reportWriteFailure() {
    console_ << message("ERROR: Could not write to file %s\n", name_.c_str()) << std::flush;
}

} // namespace ferrow
