#include "vornsim/commands.h"

#include "vornsim/session.h"
#include "vornsim/textframe.h"

#include <QByteArrayView>
#include <QList>

namespace vornsim {

namespace {

using Arguments = QList<QByteArray>;
// Each command answers for itself; what it returns is its refusal ("ERROR: ..."), empty when
// it was carried out.
using Refusal = QByteArray;

QList<QByteArray> readyLines(int count) {
    return QList<QByteArray>(count, kReadyLine);
}

Refusal status(Session& session, const Arguments&) {
    const QByteArray state = session.scanning() ? kStateScanning : kStateReady;
    session.reply({(session.settings().model30() ? kStatusPrefix30 : kStatusPrefix) + state});
    return {};
}

Refusal set(Session& session, const Arguments& args) {
    return args.size() < 2 ? Refusal(kInvalidSettingReply)
                           : session.settings().set(args.first(), args.mid(1).join(' '));
}

// "ZERO n v": the zero a CALZ took from channel n (0 before one); "DELTA n v": how far the
// channel's readings sit from the zero in effect (0 right after a CALZ).
QList<QByteArray> zeroLines(Session& session, bool zeros) {
    const PressureModel readings =
        moduleReadings(session.settings(), session.config().seed, kLowSpeedChannels, false);
    const bool zeroed = session.state().zeroed;
    QList<QByteArray> lines;
    for (int channel = 0; channel < kLowSpeedChannels; ++channel) {
        const double value = zeros == zeroed ? readings.offset(channel) : 0.0;
        lines.append(QByteArray(zeros ? kZeroWord : kDeltaWord) + ' ' +
                     QByteArray::number(channel) + ' ' + QByteArray::number(value, 'f', 4));
    }
    return lines;
}

// LIST letter: a setting group or sensor table; LIST M or LIST A first last [sensor]: points;
// LIST Z, LIST D: zeros.
Refusal list(Session& session, const Arguments& args) {
    if (args.isEmpty() || args.first().size() != 1) {
        return kInvalidCommandReply;
    }
    const char letter = args.first().toUpper().at(0);
    if (session.config().faults.silentGroups.contains(letter)) {
        return {};
    }
    const Arguments rest = args.mid(1);
    if (letter == 'M' || letter == 'A') {
        QList<QByteArray> lines;
        const Refusal refusal = session.state().points.list(letter == 'A', rest,
                                                            session.settings().pointRows(), &lines);
        if (refusal.isEmpty()) {
            session.reply(lines + readyLines(kListingReadyLines));
        }
        return refusal;
    }
    if (!rest.isEmpty()) {
        return kInvalidCommandReply;
    }
    if (letter == 'Z' || letter == 'D') {
        session.reply(zeroLines(session, letter == 'Z'));
        return {};
    }
    const auto lines = session.settings().listGroup(letter);
    if (!lines) {
        return kInvalidCommandReply;
    }
    session.reply(*lines);
    return {};
}

Refusal insert(Session& session, const Arguments& args) {
    return session.state().points.insert(args, session.settings().pointRows());
}

Refusal remove(Session& session, const Arguments& args) {
    const Refusal refusal = session.state().points.remove(args, session.settings().pointRows());
    if (refusal.isEmpty()) {
        session.reply(readyLines(kChangeReadyLines));
    }
    return refusal;
}

Refusal fill(Session& session, const Arguments&) {
    session.state().points.fill(session.settings().pointRows());
    session.reply(readyLines(kChangeReadyLines));
    return {};
}

Refusal errors(Session& session, const Arguments&) {
    session.reply(session.state().errors.lines());
    return {};
}

Refusal clear(Session& session, const Arguments&) {
    session.state().errors.clear();
    return {};
}

Refusal scan(Session& session, const Arguments&) {
    return session.startScan();
}

Refusal stop(Session& session, const Arguments&) {
    session.stopScan();
    return {};
}

Refusal save(Session& session, const Arguments&) {
    Q_EMIT session.saveRequested();
    return {};
}

Refusal reboot(Session& session, const Arguments&) {
    session.reboot();
    return {};
}

// Answered, like SET, with nothing.
Refusal calz(Session& session, const Arguments&) {
    session.zero();
    return {};
}

struct CommandRow {
    QByteArrayView word;
    Refusal (*run)(Session&, const Arguments&);
    // Arguments are cut at every single blank, so that an empty field ("List A 0  5") is seen
    // and refused; other commands take any run of blanks as one.
    bool everyBlank = false;
};

// One row per command word (upper case); new features add rows here.
constexpr CommandRow kCommands[] = {
    {"STATUS", status},       {"SET", set},   {"LIST", list, true}, {"INSERT", insert, true},
    {"DELETE", remove, true}, {"FILL", fill}, {"ERROR", errors},    {"CLEAR", clear},
    {"SCAN", scan},           {"STOP", stop}, {"SAVE", save},       {"REBOOT", reboot},
    {"CALZ", calz},
};

} // namespace

void runCommand(Session& session, const QByteArray& line) {
    const QByteArray trimmed = line.trimmed();
    if (trimmed.isEmpty()) {
        return;
    }
    const Arguments words = trimmed.simplified().split(' ');
    const QByteArray word = words.first().toUpper();
    Refusal refusal = kInvalidCommandReply;
    for (const CommandRow& row : kCommands) {
        if (row.word == word) {
            refusal = row.run(session, row.everyBlank ? trimmed.split(' ').mid(1) : words.mid(1));
            break;
        }
    }
    if (!refusal.isEmpty()) {
        session.reply({refusal});
        session.state().errors.record(refusal, line);
    }
}

} // namespace vornsim
