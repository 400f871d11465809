#include "CreateSPF.h"

#include "profilelines.h"
#include "program/Global.h"

#include <QLabel>
#include <QPushButton>
#include <iterator>

namespace {

// The listings in file order: the key of the lines kept, and the command that asks for the next
// listing once the last sensor's line of this one has come.
struct Listing {
    QLatin1StringView key;
    const char* next; // nullptr: the point list follows
};
constexpr Listing Listings[] = {
    {QLatin1StringView("SET TEMP"), "LIST G\r"}, {QLatin1StringView("SET TEMP"), "LIST B\r"},
    {QLatin1StringView("SET ABS"), "LIST L\r"},  {QLatin1StringView("SET MIN"), "LIST H\r"},
    {QLatin1StringView("SET MAX"), "LIST N\r"},  {QLatin1StringView("SET NEGPTS"), nullptr},
};
constexpr int PointListStep = static_cast<int>(std::size(Listings)) + 1;
// The point list ends with the third READY line after it was asked for.
constexpr int PointListReadyLines = 3;

} // namespace

CreateSPF::CreateSPF() : SensorProfileDialog(FileUse) {
    setObjectName(QStringLiteral("CreateSPF"));
    connect(btnStart, &QPushButton::clicked, this, &CreateSPF::btnStart_Click);
}

void CreateSPF::unloadLater() {
    FormInstance<CreateSPF>::unloadLater();
}

void CreateSPF::btnStart_Click() {
    setRunning(true);
    step_ = 1;
    sendAndShow(QStringLiteral("LIST O\r"));
}

void CreateSPF::HandleLineFromVorn(const QString& sData) {
    if (!running()) {
        return;
    }
    if (step_ < PointListStep) {
        handleListingLine(sData);
    } else {
        handlePointLine(sData);
    }
}

void CreateSPF::handleListingLine(const QString& line) {
    const Listing& listing = Listings[step_ - 1];
    if (!line.startsWith(listing.key)) {
        return;
    }
    const std::optional<SensorField> field = FindSensorField(line, Qt::CaseSensitive);
    if (!field) {
        return;
    }
    if (field->sensor == sensorIndex() && !keepLine(line)) {
        return;
    }
    if (field->sensor != LastSensorIndex) {
        return;
    }
    ++step_;
    if (listing.next != nullptr) {
        sendAndShow(QLatin1String(listing.next));
        return;
    }
    readyCount_ = PointListReadyLines;
    const QString range =
        Global::Model30 ? QStringLiteral("LIST M 0 59 ") : QStringLiteral("LIST M 0 69 ");
    sendAndShow(range + QString::number(sensorIndex()) + QLatin1Char('\r'));
}

void CreateSPF::handlePointLine(const QString& line) {
    if (line.startsWith(QLatin1String("INSERT")) && !keepLine(line)) {
        return;
    }
    if (line.contains(QLatin1String("READY")) && --readyCount_ == 0) {
        step_ = 0;
        setRunning(false);
        showStatus(QStringLiteral("Done creating file"));
    }
}

bool CreateSPF::keepLine(const QString& line) {
    const QByteArray bytes = line.toLatin1() + "\r\n";
    // Flushed line by line, so that a full disk shows at the line that did not fit.
    if (file_.write(bytes) == bytes.size() && file_.flush()) {
        showStatus(QStringLiteral("Rcvd: ") + line);
        return true;
    }
    const QString message = QStringLiteral("Error writing ") + file_.fileName();
    abandonRun(message);
    UserPrompts::MsgBox(message);
    return false;
}

void CreateSPF::connectionLost() {
    if (running()) {
        abandonRun(QStringLiteral("Connection lost, profile not complete"));
    }
}

void CreateSPF::abandonRun(const QString& reason) {
    // Another listing appended to part of one would make a wrong profile: Start stays off until
    // the window is opened with a new file.
    step_ = 0;
    setRunning(false);
    btnStart->setEnabled(false);
    showStatus(reason);
}
