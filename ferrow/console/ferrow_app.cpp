#include "ferrow_app.h"

#include "config_file.h"
#include "convert/converter.h"
#include "frame_silence.h"
#include "input_wait.h"
#include "interpreter.h"
#include "key_input.h"
#include "line_editor.h"
#include "link/capture.h"
#include "link/module_link.h"
#include "log/capture_sidecar.h"
#include "log/errlog.h"
#include "log/message.h"
#include "log/textlog.h"
#include "stop_signal.h"

#include <algorithm>
#include <iostream>
#include <optional>

namespace ferrow {

namespace {

constexpr std::string_view versionBanner = "FERROW Version 0.90a";
constexpr unsigned char binaryPacketMarker = 0x01;
// Datagrams taken per wake-up before keys and the connection get their turn again, so a flood
// cannot lock the operator out.
constexpr int maxBatchesPerWake = 16;

class Session {
public:
    Session()
        : out_{std::cout, log_}, textLog_(std::cout), link_(out_, settings_),
          capture_(out_, settings_),
          interpreter_(settings_, out_, link_, capture_, textLog_, mode_) {}

    void run() {
        startUp();
        mainLoop();
        endOfRun();
    }

private:
    void startUp() {
        out_.print(std::string(versionBanner) + "\n");
        log_.event(versionBanner);
        if (!consoleOutputValid()) {
            out_.print("ERROR: CONSOLE-Invalid handle");
        }
        log_.event("Reading FERROW\n");
        loadConfigFile("FERROW.CFG", settings_, out_);
        if (const int error = net::startup(); error != 0) {
            out_.print(message("ERROR: WSAStartup failed with error %d\n", error));
            net::cleanup();
        }
        link_.connect(settings_.moduleAddress);
        if (link_.connected()) {
            log_.event("Connected\n");
        }
        out_.print("Press <ESC> to stop scan\n");
        capture_.arm(settings_.binaryBaseName + ".bin");
        mode_ = Mode::PassThrough;
        link_.sendText("SCAN\r");
        silence_ = FrameSilence(FrameSilence::Clock::now());
    }

    void mainLoop() {
        while (!stop_.requested() && mode_ != Mode::Quit) {
            if (nothingCanHappen() || (unattended() && silentTooLong())) {
                return;
            }
            const bool passThrough = mode_ == Mode::PassThrough;
            const ReadyInputs ready =
                waitForInputs(keys_, stop_, passThrough ? link_.tcpHandle() : net::invalidHandle,
                              passThrough ? link_.udpHandle() : net::invalidHandle, waitLimit());
            if (ready.keys) {
                keys_.readWaiting();
            }
            if (!passThrough) {
                localStep();
            } else if (!passThroughStep(ready)) {
                return;
            }
        }
    }

    // No key will ever come: nobody can end the scan with ESC or QUIT.
    bool unattended() const { return keys_.ended() && !keys_.pending(); }

    // No key will come and no link is left: waiting on would never end, and whoever started
    // ferrow without a console would wait for it forever.
    bool nothingCanHappen() const { return unattended() && !link_.connected() && !link_.udpOpen(); }

    // The frames have stopped coming: a lost datagram must not keep the scan open for ever.
    bool silentTooLong() {
        if (FrameSilence::Clock::now() < silence_.deadline()) {
            return false;
        }
        const std::string ended =
            message("ERROR: No frame for %lld ms and no key can come: scan ended after %lld of %d "
                    "frames\n",
                    static_cast<long long>(silence_.limit().count()),
                    static_cast<long long>(silence_.frames()), settings_.frameCount);
        out_.print(ended);
        log_.error(ended);
        return true;
    }

    std::optional<std::chrono::milliseconds> waitLimit() const {
        if (keys_.pending()) {
            return std::chrono::milliseconds(0);
        }
        if (!unattended()) {
            return std::nullopt;
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(silence_.deadline() -
                                                                       FrameSilence::Clock::now());
        return std::max(left, std::chrono::milliseconds(0));
    }

    void localStep() {
        const auto key = keys_.next();
        if (!key) {
            return;
        }
        if (const auto line = editor_.key(*key, out_)) {
            interpreter_.run(*line);
            if (mode_ == Mode::Local) {
                out_.print("\nLOCAL>");
            }
        }
    }

    // Returns false when the loop is to be left.
    bool passThroughStep(const ReadyInputs& ready) {
        if (const auto key = keys_.next()) {
            // An ESC echoed to a terminal would start a control sequence there and swallow
            // what is printed next.
            if (settings_.echo != 0 && !(*key == escapeKey && keys_.isTerminal())) {
                out_.print(std::string(1, static_cast<char>(*key)));
            }
            if (*key == toLocalModeKey) {
                mode_ = Mode::Local;
                out_.print("\nLOCAL>");
                return true;
            }
            link_.sendByte(*key);
            if (*key == escapeKey) {
                log_.event("Scan cancelled\n");
                return false;
            }
        }
        if (ready.connection) {
            showModuleBytes(link_.receiveBytes());
        }
        return !ready.datagrams || storeDatagrams();
    }

    void showModuleBytes(std::string_view bytes) {
        std::size_t start = 0;
        for (std::size_t i = 0; i <= bytes.size(); ++i) {
            if (i == bytes.size() || static_cast<unsigned char>(bytes[i]) == binaryPacketMarker) {
                const std::string_view text = bytes.substr(start, i - start);
                out_.print(text);
                for (const char byte : text) {
                    textLog_.logByte(byte);
                }
                if (i < bytes.size()) {
                    out_.print("Found binary packet\n");
                }
                start = i + 1;
            }
        }
    }

    // Returns false when the capture is complete or its buffer full.
    bool storeDatagrams() {
        for (int batch = 0; batch < maxBatchesPerWake; ++batch) {
            const std::span<const Datagram> datagrams = link_.receiveDatagrams();
            if (datagrams.empty()) {
                return true;
            }
            silence_.arrived(static_cast<std::int64_t>(datagrams.size()),
                             FrameSilence::Clock::now());
            for (const Datagram& datagram : datagrams) {
                if (capture_.store({datagram.data, datagram.length}) != StoreResult::GoOn) {
                    return false;
                }
            }
        }
        return true;
    }

    void endOfRun() {
        capture_.endRecording();
        FrameNumbers numbers;
        const bool converted = convertAfterRun(settings_.frameType, settings_.channelCount,
                                               settings_.binaryBaseName, log_, &numbers);
        describeLastRecording(converted ? std::optional(numbers) : std::nullopt);
        net::cleanup();
    }

    // The conversion's frame numbers belong to the run's own capture file, not to one the
    // operator recorded under another name.
    void describeLastRecording(std::optional<FrameNumbers> numbers) {
        const std::optional<Recording>& recording = capture_.lastRecording();
        if (!recording) {
            return;
        }
        if (recording->fileName != settings_.binaryBaseName + ".bin") {
            numbers.reset();
        }
        const CaptureFacts facts{recording->fileName,    settings_.frameType,
                                 settings_.channelCount, recording->frameSize,
                                 recording->framesAsked, recording->framesStored,
                                 settings_.udpPort,      link_.receiveBufferGranted(),
                                 std::move(numbers),     recording->start,
                                 recording->end};
        writeCaptureSidecar(facts, std::string("ferrow ") + FERROW_VERSION, out_);
    }

    StopSignal stop_;
    ErrorLog log_;
    Outputs out_;
    Settings settings_;
    TextLog textLog_;
    ModuleLink link_;
    Capture capture_;
    Mode mode_ = Mode::Startup;
    Interpreter interpreter_;
    KeyInput keys_;
    LineEditor editor_;
    FrameSilence silence_{FrameSilence::Clock::now()}; // restarted when SCAN is sent
};

} // namespace

int runFerrow() {
    try {
        Session session;
        session.run();
    } catch (const std::exception& failure) {
        // Nothing may end ferrow with a non-zero code; what went wrong is still reported.
        std::cout << "ERROR: " << failure.what() << "\n" << std::flush;
    }
    return 0;
}

} // namespace ferrow
