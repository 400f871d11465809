#include "sidecar.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <cmath>

namespace ReviewData {
namespace {

// A sidecar is a few hundred bytes; anything far larger is not one.
constexpr qint64 LargestSidecar = 1024 * 1024;

std::optional<QByteArray> ContentsOf(const QString& name) {
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly) || file.size() > LargestSidecar) {
        return std::nullopt;
    }
    return file.read(LargestSidecar);
}

// A pair of numbers inside a list is a range of frames.
QString TextOf(const QJsonValue& value, bool inList = false) {
    if (value.isString()) {
        return value.toString();
    }
    if (value.isDouble()) {
        return QString::number(value.toDouble(), 'g', 15);
    }
    if (value.isBool()) {
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    }
    QStringList parts;
    if (value.isObject()) {
        const QJsonObject object = value.toObject();
        for (auto member = object.begin(); member != object.end(); ++member) {
            parts.append(member.key() + QLatin1Char(' ') + TextOf(member.value()));
        }
        return parts.join(QStringLiteral(", "));
    }
    const QJsonArray array = value.toArray();
    if (inList && array.size() == 2 && array.at(0).isDouble() && array.at(1).isDouble()) {
        return TextOf(array.at(0)) + QLatin1Char('-') + TextOf(array.at(1));
    }
    for (const QJsonValue& item : array) {
        parts.append(TextOf(item, true));
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace

std::optional<Sidecar> SidecarFrom(const QByteArray& json) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        return std::nullopt;
    }
    const QJsonObject object = document.object();
    Sidecar sidecar;
    const QJsonValue unit = object.value(QStringLiteral("unit"));
    const QJsonValue period = object.value(QStringLiteral("framePeriodSeconds"));
    if ((!unit.isUndefined() && !unit.isString()) ||
        (!period.isUndefined() && !period.isDouble())) {
        return std::nullopt;
    }
    sidecar.unit = unit.toString();
    const double seconds = period.toDouble();
    sidecar.framePeriodSeconds = std::isfinite(seconds) && seconds > 0 ? seconds : 0;
    QStringList lines;
    for (auto member = object.begin(); member != object.end(); ++member) {
        lines.append(member.key() + QStringLiteral(": ") + TextOf(member.value()));
    }
    sidecar.description = lines.join(QLatin1Char('\n'));
    return sidecar;
}

std::optional<Sidecar> SidecarOf(const QString& recordingFile) {
    std::optional<QByteArray> json = ContentsOf(recordingFile + QStringLiteral(".json"));
    const QLatin1StringView conversion(".csv");
    if (!json && recordingFile.endsWith(conversion, Qt::CaseInsensitive)) {
        json = ContentsOf(recordingFile.chopped(conversion.size()) + QStringLiteral(".bin.json"));
    }
    return json ? SidecarFrom(*json) : std::nullopt;
}

} // namespace ReviewData
