// Any bytes from the module, cut into chunks of any size, while the settings are read back: the
// line framer gives back exactly the lines it was sent, in order, and the reply dispatcher (the
// settings mirror, the list sequence it steps, the binary-host check with the save and reboot it
// may start) must neither crash, hang nor overrun on any of them, and the numbers scans are timed
// by stay finite. The first byte's lowest bit turns high-speed scans on (the host check then
// expects this computer's address), its other bits are the chunk length (0: all at once); the
// rest is what the module sent.

#include "connection/lineframer.h"
#include "mainwindow/LinkConfig.h"
#include "program/Global.h"
#include "program/forms.h"
#include "tolvane3_session.h"

#include <QCheckBox>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    FuzzSession::start(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const FuzzSession::InScratchFolder here;
    FormInstance<LinkConfig>::instance().chkHSS->setChecked((data[0] & 1) != 0);
    FuzzSession::ensureConnected();
    Global::StepListSequence(QStringLiteral("ICHS"), true);
    const QByteArrayView stream(data + 1, static_cast<qsizetype>(size - 1));
    const qsizetype chunk = data[0] > 1 ? data[0] >> 1 : std::max<qsizetype>(stream.size(), 1);
    LineFramer framer;
    QByteArray framed; // the lines taken, each with its CR LF again
    QByteArray line;
    for (qsizetype at = 0; at < stream.size(); at += chunk) {
        framer.feed(stream.sliced(at, std::min(chunk, stream.size() - at)));
        while (framer.takeLine(line)) {
            framed += line + "\r\n";
            Global::ProcessVornLine(QString::fromLatin1(line));
        }
    }
    // Below the length bound nothing is dropped: all up to the last CR LF, and nothing else.
    const qsizetype lastLineEnd = stream.lastIndexOf("\r\n");
    const qsizetype whole = lastLineEnd < 0 ? 0 : lastLineEnd + 2;
    if (stream.size() <= LineFramer::MaxLineLength && framed != stream.first(whole)) {
        __builtin_trap();
    }
    if (!std::isfinite(Global::FramesPerScan) || !std::isfinite(Global::FramePeriod) ||
        Global::FramePeriod < 0 || Global::ListPosition < 1 ||
        Global::ListPosition > Global::ListLetters.size() + 1) {
        __builtin_trap();
    }
    FuzzSession::settle();
    return 0;
}
