#include "vornsim/session.h"

#include "vornsim/commands.h"
#include "vornsim/frames.h"
#include "vornsim/modulesettings.h"
#include "vornsim/scanrun.h"
#include "vornsim/transcript.h"

#include <QScopedValueRollback>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace vornsim {

namespace {

// Longest frame interval honoured; a larger PERIOD x AVG is slowed to this.
constexpr double kMaxIntervalNs = 3600e9;
// About a second of retries (one per millisecond) before a frame the socket refuses is lost.
constexpr int kMaxSendRetries = 1000;

} // namespace

Session::Session(QTcpSocket* socket, ModuleState& state, const SimConfig& config,
                 Transcript& transcript, QObject* parent)
    : QObject(parent), socket_(socket), state_(state), config_(config), transcript_(transcript),
      writer_(*socket, config.faults, transcript) {
    socket_->setParent(this);
    socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    // A client that sends commands but never reads the replies is throttled: no more commands
    // are read while its replies back up, and Qt buffers at most this much of its input.
    socket_->setReadBufferSize(kMaxCommandBytes * 16);
    connect(socket_, &QTcpSocket::readyRead, this, &Session::readCommands);
    connect(socket_, &QTcpSocket::bytesWritten, this, &Session::readCommands);
    connect(socket_, &QTcpSocket::disconnected, this, [this] {
        stopScan();
        transcript_.note("disconnected");
        Q_EMIT finished();
    });
    transcript_.note("connected " +
                     formatListenAddress(socket_->peerAddress(), socket_->peerPort()).toLatin1());
    // Queued: the greeting can already close the connection (--close-after), and whoever
    // created the session must be listening for finished() by then.
    QMetaObject::invokeMethod(this, &Session::greet, Qt::QueuedConnection);
}

void Session::greet() {
    if (settings().model30()) {
        reply({"Module " + settings().value("MODEL") + " SN " + settings().value("SN"),
               "Module firmware " + settings().value("VER")});
    }
    // A client that waited for its turn may have sent commands already; readyRead will not
    // announce those again.
    readCommands();
}

Session::~Session() = default;

void Session::readCommands() {
    // A reply's flush emits bytesWritten at once; reading the next chunk inside it would run
    // later commands before the rest of the current chunk.
    if (readingCommands_) {
        return;
    }
    const QScopedValueRollback guard(readingCommands_, true);
    while (!closing_ && writer_.canTakeMore() && socket_->bytesAvailable() > 0) {
        const QByteArray chunk = socket_->read(kMaxCommandBytes);
        transcript_.received(chunk);
        for (const QByteArray& command : framer_.feed(chunk)) {
            if (closing_) {
                break;
            }
            runCommand(*this, command);
        }
    }
}

QByteArray Session::startScan() {
    if (scan_ != nullptr) {
        return kScanInProgressReply;
    }
    const double intervalNs = settings().number("PERIOD") * settings().number("AVG") * 16.0 * 1e3;
    if (!(intervalNs >= 1.0)) {
        return kInvalidScanRateReply;
    }
    const bool binary = settings().value("BIN").trimmed() == "1";
    const HighSpeedConfig& highSpeed = config_.highSpeed;
    if (binary) {
        // HOST is "address port protocol"; frames go by UDP only.
        const QList<QByteArray> host = settings().value("HOST").split(' ');
        bool portOk = false;
        const uint port = host.size() == 3 ? host[1].toUInt(&portOk) : 0;
        if (host.size() != 3 || !binaryHost_.setAddress(QString::fromLatin1(host[0])) || !portOk ||
            port == 0 || port > 65535 || host[2].toUpper() != "U") {
            return kNoBinaryHostReply;
        }
        binaryPort_ = static_cast<quint16>(port);
    }
    const int channels = binary ? highSpeed.channels : kLowSpeedChannels;
    model_ = std::make_unique<PressureModel>(
        moduleReadings(settings(), config_.seed, channels, state_.zeroed));
    textFormat_ = textFrameFormat(settings(), config_);

    ScanPlan plan;
    plan.interval = std::chrono::nanoseconds(std::llround(std::min(intervalNs, kMaxIntervalNs)));
    const double frames = settings().number("FPS");
    plan.frameCount = frames >= 1.0 ? static_cast<quint64>(std::min(frames, 4294967295.0)) : 0;
    plan.firstFrameNumber = binary ? firstFrameNumber(highSpeed.frameType) : 0;
    plan.burst = binary && highSpeed.burst;
    plan.dropFrames = highSpeed.dropFrames;
    plan.repeatFrames = highSpeed.repeatFrames;
    ScanRun::Deliver deliver;
    if (binary) {
        deliver = [this](quint32 number) { return sendDatagram(number); };
    } else {
        deliver = [this](quint32 number) { return sendTextFrame(number); };
    }
    // Frames themselves stay out of the transcript (a high-speed scan is megabytes); where
    // they went is noted.
    transcript_.note(binary ? QByteArray(frameTypeName(highSpeed.frameType)) + " frames to " +
                                  formatListenAddress(binaryHost_, binaryPort_).toLatin1()
                            : QByteArray("text frames"));
    scan_ = new ScanRun(std::move(plan), std::move(deliver), this);
    connect(scan_, &ScanRun::finished, this, &Session::stopScan);
    scan_->start();
    return {};
}

void Session::stopScan() {
    if (scan_ != nullptr) {
        // Deleted later: this may run inside the run's own finished signal.
        scan_->stop();
        scan_->deleteLater();
        scan_ = nullptr;
        transcript_.note("scan ended");
    }
}

void Session::reboot() {
    if (closing_) {
        return;
    }
    closing_ = true;
    stopScan();
    transcript_.note("reboot");
    Q_EMIT rebootRequested();
    // Replies already written go out first; a client that reads nothing cannot hold the
    // connection open past this.
    constexpr int kCloseGraceMs = 1000;
    socket_->disconnectFromHost();
    QTimer::singleShot(kCloseGraceMs, socket_, [socket = socket_] { socket->abort(); });
}

void Session::zero() {
    state_.zeroed = true;
    if (scan_ != nullptr) {
        model_->removeOffsets();
    }
}

bool Session::sendTextFrame(quint32 frameNumber) {
    if (!writer_.canTakeMore()) {
        return false;
    }
    writer_.send(textFrameLines(textFormat_, *model_, frameNumber));
    return true;
}

bool Session::sendDatagram(quint32 frameNumber) {
    const QByteArray frame =
        buildFrame(config_.highSpeed.frameType, config_.highSpeed.channels, frameNumber, *model_);
    if (udp_.writeDatagram(frame, binaryHost_, binaryPort_) == frame.size() ||
        ++sendFailures_ > kMaxSendRetries) {
        sendFailures_ = 0;
        return true;
    }
    return false;
}

} // namespace vornsim
