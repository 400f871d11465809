#include "textlog.h"

#include "message.h"

#include <ostream>

namespace ferrow {

TextLog::TextLog(std::ostream& console) : console_(console) {}

void TextLog::open(const std::string& name) {
    console_ << message("Opening log file %s\n", name.c_str()) << std::flush;
    // A second LOG would otherwise leave the first file open and its buffered bytes unwritten.
    if (open_) {
        file_.close();
    }
    open_ = false;
    file_.clear();
    file_.open(name, std::ios::binary | std::ios::trunc);
    if (file_) {
        open_ = true;
    } else {
        console_ << message("Cannot open log file %s\n", name.c_str()) << std::flush;
    }
}

void TextLog::close() {
    if (!open_) {
        return;
    }
    console_ << "Closing log file\n" << std::flush;
    file_.close();
    open_ = false;
}

void TextLog::logByte(char byte) {
    if (open_) {
        file_.put(byte);
    }
}

} // namespace ferrow
