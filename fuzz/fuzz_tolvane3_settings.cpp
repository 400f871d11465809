// Any settings the module could report while they are read back: each line of the input (ended
// by LF) goes to the reply dispatcher as "SET " + line, inside a fresh ICHS list sequence. The
// settings mirror, the list sequence it steps and the binary-host check (with the save and reboot
// it may start) must neither crash nor hang, and the numbers scans are timed by stay finite. The
// first byte's lowest bit turns high-speed scans on, which makes the host check expect this
// computer's address.

#include "connection/Main.h"
#include "mainwindow/LinkConfig.h"
#include "program/Global.h"
#include "program/forms.h"
#include "tolvane3_session.h"

#include <QCheckBox>
#include <QString>
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
    const QByteArrayView lines(data + 1, static_cast<qsizetype>(size - 1));
    for (const QByteArrayView line :
         QByteArray::fromRawData(lines.data(), lines.size()).split('\n')) {
        Global::ProcessVornLine(QStringLiteral("SET ") + QString::fromLatin1(line));
    }
    if (!std::isfinite(Global::FramesPerScan) || !std::isfinite(Global::FramePeriod) ||
        Global::FramePeriod < 0 || Global::ListPosition < 1 ||
        Global::ListPosition > Global::ListLetters.size() + 1) {
        __builtin_trap();
    }
    FuzzSession::settle();
    return 0;
}
