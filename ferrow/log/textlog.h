#pragma once

#include <fstream>
#include <iosfwd>
#include <string>

namespace ferrow {

// The optional text log of everything the module sends over the command connection. Bytes
// are kept exactly as received (no line-end translation), so the file is a faithful record.
class TextLog {
public:
    explicit TextLog(std::ostream& console);

    // Opens the log on name, replacing an old file; a log already open is closed first.
    void open(const std::string& name);
    void close();
    void logByte(char byte);
    bool isOpen() const { return file_.is_open(); }

private:
    // A full disk or a removed file is said once; the log then stops instead of failing per byte.
    void reportWriteFailure();

    std::ostream& console_;
    std::ofstream file_;
    std::string name_;
};

} // namespace ferrow
