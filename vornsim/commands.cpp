#include "vornsim/commands.h"

#include "vornsim/modulesettings.h"
#include "vornsim/session.h"

#include <QByteArrayView>
#include <QList>

namespace vornsim {

namespace {

using Arguments = QList<QByteArray>;

void status(Session& session, const Arguments&) {
    const QByteArray state = session.scanning() ? kStateScanning : kStateReady;
    session.reply({(session.settings().model30() ? kStatusPrefix30 : kStatusPrefix) + state});
}

void set(Session& session, const Arguments& args) {
    const QByteArray refusal = args.size() < 2
                                   ? QByteArray(kInvalidSettingReply)
                                   : session.settings().set(args.first(), args.mid(1).join(' '));
    if (!refusal.isEmpty()) {
        session.reply({refusal});
    }
}

void list(Session& session, const Arguments& args) {
    if (args.size() != 1 || args.first().size() != 1) {
        session.reply({kInvalidCommandReply});
        return;
    }
    const char letter = args.first().toUpper().at(0);
    if (session.config().faults.silentGroups.contains(letter)) {
        return;
    }
    const auto lines = session.settings().listGroup(letter);
    session.reply(lines ? *lines : QList<QByteArray>{kInvalidCommandReply});
}

void scan(Session& session, const Arguments&) {
    const QByteArray refusal = session.startScan();
    if (!refusal.isEmpty()) {
        session.reply({refusal});
    }
}

void stop(Session& session, const Arguments&) {
    session.stopScan();
}

void save(Session& session, const Arguments&) {
    Q_EMIT session.saveRequested();
}

void reboot(Session& session, const Arguments&) {
    session.reboot();
}

// Answered, like SET, with nothing.
void calz(Session& session, const Arguments&) {
    session.zero();
}

struct CommandRow {
    QByteArrayView word;
    void (*run)(Session&, const Arguments&);
};

// One row per command word (upper case); new features add rows here.
constexpr CommandRow kCommands[] = {
    {"STATUS", status}, {"SET", set},   {"LIST", list},     {"SCAN", scan},
    {"STOP", stop},     {"SAVE", save}, {"REBOOT", reboot}, {"CALZ", calz},
};

} // namespace

void runCommand(Session& session, const QByteArray& line) {
    Arguments words = line.simplified().split(' ');
    if (words.first().isEmpty()) {
        return;
    }
    const QByteArray word = words.takeFirst().toUpper();
    for (const CommandRow& row : kCommands) {
        if (row.word == word) {
            row.run(session, words);
            return;
        }
    }
    session.reply({kInvalidCommandReply});
}

} // namespace vornsim
