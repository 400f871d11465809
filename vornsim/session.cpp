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

std::vector<double> fullScales(const ModuleSettings& settings, int channels) {
    std::vector<double> scales;
    for (int channel = 0; channel < channels; ++channel) {
        scales.push_back(settings.fullScale(channel % kLowSpeedChannels));
    }
    return scales;
}

} // namespace

Session::Session(QTcpSocket* socket, ModuleSettings& settings, const SimConfig& config,
                 Transcript& transcript, QObject* parent)
    : QObject(parent), socket_(socket), settings_(settings), config_(config),
      transcript_(transcript), writer_(*socket, config.faults, transcript) {
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
    if (settings_.model30()) {
        reply({"Module " + settings_.value("MODEL") + " SN " + settings_.value("SN"),
               "Module firmware " + settings_.value("VER")});
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
    const double intervalNs = settings_.number("PERIOD") * settings_.number("AVG") * 16.0 * 1e3;
    if (!(intervalNs >= 1.0)) {
        return kInvalidScanRateReply;
    }
    const bool binary = settings_.value("BIN").trimmed() == "1";
    const HighSpeedConfig& highSpeed = config_.highSpeed;
    if (binary) {
        // HOST is "address port protocol"; frames go by UDP only.
        const QList<QByteArray> host = settings_.value("HOST").split(' ');
        bool portOk = false;
        const uint port = host.size() == 3 ? host[1].toUInt(&portOk) : 0;
        if (host.size() != 3 || !binaryHost_.setAddress(QString::fromLatin1(host[0])) || !portOk ||
            port == 0 || port > 65535 || host[2].toUpper() != "U") {
            return kNoBinaryHostReply;
        }
        binaryPort_ = static_cast<quint16>(port);
    }
    const int channels = binary ? highSpeed.channels : kLowSpeedChannels;
    model_ = std::make_unique<PressureModel>(config_.seed, fullScales(settings_, channels));

    ScanPlan plan;
    plan.interval = std::chrono::nanoseconds(std::llround(std::min(intervalNs, kMaxIntervalNs)));
    const double frames = settings_.number("FPS");
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

bool Session::sendTextFrame(quint32 frameNumber) {
    if (!writer_.canTakeMore()) {
        return false;
    }
    QList<QByteArray> lines{"FRAME = " + QByteArray::number(frameNumber)};
    for (int channel = 0; channel < kLowSpeedChannels; ++channel) {
        lines.append(QByteArray::number(channel) + ' ' +
                     QByteArray::number(model_->pressure(channel, frameNumber), 'f', 4) + ' ' +
                     QByteArray::number(model_->temperature(channel, frameNumber), 'f', 2));
    }
    writer_.send(lines);
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
