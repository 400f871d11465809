#include "vornsim/transcript.h"

namespace vornsim {

bool Transcript::open(const QString& path, QString* error) {
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = QStringLiteral("Cannot write transcript %1: %2").arg(path, file_.errorString());
        return false;
    }
    return true;
}

void Transcript::note(QByteArrayView text) {
    if (!file_.isOpen()) {
        return;
    }
    file_.write("# " + text.toByteArray() + '\n');
    file_.flush();
}

void Transcript::record(const char* direction, QByteArrayView bytes) {
    if (!file_.isOpen() || bytes.isEmpty()) {
        return;
    }
    file_.write(QByteArray(direction) + ' ' + QByteArray::number(bytes.size()) + '\n');
    file_.write(bytes.data(), bytes.size());
    file_.write("\n");
    file_.flush();
}

} // namespace vornsim
