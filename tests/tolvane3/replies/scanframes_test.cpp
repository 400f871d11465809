// Frame and channel lines of a low-speed scan: the comma-separated rows with their time field,
// the plain log, the end of a scan, and a frame that lost a channel line.

#include "program_fixture.h"
#include "replies/scanlog.h"

namespace {

class ScanFrames : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        startProgram();
    }
    void openLog(const QString& name) {
        UserPrompts::setFileDialogHandler([name](const auto&) { return name; });
        Global::OpenLogFile();
    }
    static QByteArray closedLog(const QString& name) {
        Global::CloseLogFile();
        return contents(name);
    }
    // A frame line and the channel lines from..to, each "n <pressure> 24.1".
    static void sendFrame(const char* number, const char* pressure, int from = 0, int to = 15) {
        Global::ProcessVornLine(QStringLiteral("FRAME = ") + QLatin1String(number));
        for (int channel = from; channel <= to; ++channel) {
            Global::ProcessVornLine(QStringLiteral("%1 %2 24.1").arg(channel).arg(pressure));
        }
    }
    static QByteArray row(const char* head, const char* pressure) {
        QByteArray text = head;
        for (int channel = 0; channel < 16; ++channel) {
            text += QByteArray(",") + pressure;
        }
        return text + "\r\n";
    }
};

TEST_F(ScanFrames, CommaSeparatedRowsCarryTimeOrTriggerThenFrameAndPressures) {
    Global::FramePeriod = 0.016f;
    FormInstance<MDIMain>::instance().mnuBarGraphTemp_Click(); // the log still takes pressures
    openLog("scan.csv");
    sendFrame("3", "0.5");
    Global::LogStatusData = true;
    // Channel 15 lost: the row ends before the next one, and a status line that came meanwhile
    // follows it.
    sendFrame("4", "-1.25", 0, 14);
    Global::ProcessVornLine("STATUS: READY");
    Global::ExtTrigScan = true;
    sendFrame("5", "7");
    EXPECT_EQ(closedLog("scan.csv"), row("0.048,3", "0.5") +
                                         row("0.064,4", "-1.25").replace(",-1.25\r\n", "\r\n") +
                                         "STATUS:,READY\r\n" + row("XTRIG,5", "7"));
}

TEST_F(ScanFrames, APlainLogTakesTheLinesAsReceived) {
    openLog("scan.txt");
    Global::ProcessVornLine("frame = 12");
    Global::ProcessVornLine("0 1.5 24.1");
    Global::ProcessVornLine("16 1.5 24.1"); // not a channel
    Global::LogScanData = false;
    sendFrame("13", "2");
    EXPECT_EQ(closedLog("scan.txt"), "frame = 12\r\n0 1.5 24.1\r\n");
}

TEST_F(ScanFrames, TheFrameNumberedFramesPerScanMinusOneEndsTheScan) {
    Global::FramesPerScan = 10;
    Global::SetScanning();
    Global::ProcessVornLine("FRAME = 8");
    EXPECT_FALSE(frame().mnuStartScan->isEnabled());
    Global::ProcessVornLine("FRAME = 9");
    EXPECT_TRUE(frame().mnuStartScan->isEnabled());
}

} // namespace
