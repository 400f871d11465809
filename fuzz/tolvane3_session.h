#pragma once
// tolvane3 as at start-up, once per fuzzing process: Qt's offscreen platform, a scratch folder
// for the per-user settings and, while an input runs, as current directory (IpHist.cfg), and a
// connection to a module stand-in on loopback that takes every command and answers nothing.
// Message boxes are answered OK, file dialogs cancelled, and time runs 10,000 times faster.

#include <QString>

namespace FuzzSession {

// Call from LLVMFuzzerInitialize with its arguments.
void start(int* argc, char*** argv);
// Connects again when the last input's reboot (or anything else) ended the connection; the
// connection starts the program's own list sequence, as for an operator.
void ensureConnected();
// The scratch folder is the current directory while one lives; libFuzzer's own folders (corpus,
// artifacts) stay relative to the one it was started in.
class InScratchFolder {
public:
    InScratchFolder();
    ~InScratchFolder();
    InScratchFolder(const InScratchFolder&) = delete;
    InScratchFolder& operator=(const InScratchFolder&) = delete;

private:
    QString previous_;
};

// Lets queued events and due timers run, and deletes the windows unloaded meanwhile.
void settle();

} // namespace FuzzSession
