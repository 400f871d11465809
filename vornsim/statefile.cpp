#include "vornsim/statefile.h"

#include "vornsim/modulestate.h"
#include "vornsim/simconstants.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace vornsim {

QList<QByteArray> stateFileLines(const ModuleState& state) {
    return state.settings.savedLines() + state.points.savedLines();
}

QString writeStateFile(const QString& path, const ModuleState& state) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        for (const QByteArray& line : stateFileLines(state)) {
            file.write(line + "\r\n");
        }
        if (file.commit()) {
            return {};
        }
    }
    return QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
}

QString readStateFile(const QString& path, ModuleState& state) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return {};
    }
    // A FIFO or device would block or never end; a huge file is not one we wrote.
    if (!info.isFile() || info.size() > kMaxStateFileBytes) {
        return QStringLiteral("%1 is not a state file").arg(path);
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
    }
    const QByteArray text = file.read(kMaxStateFileBytes);
    const QList<QByteArray> lines = text.split('\n');
    for (qsizetype index = 0; index < lines.size(); ++index) {
        QList<QByteArray> words = lines[index].simplified().split(' ');
        if (words.first().isEmpty()) {
            continue;
        }
        const QByteArray word = words.takeFirst().toUpper();
        QByteArray refusal = kInvalidCommandReply;
        if (word == "SET" && words.size() >= 2) {
            refusal = state.settings.set(words[0], words.mid(1).join(' '));
        } else if (word == kInsertWord) {
            refusal = state.points.insert(words, state.settings.pointRows());
        }
        if (!refusal.isEmpty()) {
            return QStringLiteral("Bad state file %1, line %2: %3")
                .arg(path)
                .arg(index + 1)
                .arg(QString::fromLatin1(refusal));
        }
    }
    return {};
}

} // namespace vornsim
