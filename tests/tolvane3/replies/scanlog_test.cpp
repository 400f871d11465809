// The scan log, and the sidecars of scan logs and captures.

#include "program_fixture.h"
#include "replies/recordingsidecar.h"
#include "replies/replytokens.h"
#include "replies/scanlog.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace {

QJsonObject json(const QByteArray& text) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return document.object();
}

class ScanLog : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        startProgram();
    }
    // Opens the log through the menu with the name the file dialog answers.
    void openLog(const QString& name) {
        UserPrompts::setFileDialogHandler([name](const UserPrompts::FileDialogRequest& request) {
            EXPECT_EQ(request.mode, UserPrompts::FileDialogMode::Save);
            return name;
        });
        frame().mnuOpenLogFile->trigger();
    }
    // Panel 3, then whether Open and Close are usable in the menu and on the toolbar.
    static QString indicators() {
        return frame().statusPanel(3) + QStringLiteral(" %1%2%3%4")
                                            .arg(frame().mnuOpenLogFile->isEnabled())
                                            .arg(frame().mnuCloseLogFile->isEnabled())
                                            .arg(frame().toolbarButton(1)->isEnabled())
                                            .arg(frame().toolbarButton(2)->isEnabled());
    }
    static QByteArray closedLog(const QString& name) {
        frame().mnuCloseLogFile->trigger();
        return contents(name);
    }
    // A frame line and the channel lines from..to, each "n <pressure> 24.1".
    static void sendFrame(const char* number, const char* pressure, int from = 0, int to = 15) {
        Global::ProcessVornLine(QStringLiteral("FRAME = ") + QLatin1String(number));
        for (int channel = from; channel <= to; ++channel) {
            Global::ProcessVornLine(QStringLiteral("%1 %2 24.1").arg(channel).arg(pressure));
        }
    }
    // A log's sidecar, each time in it checked for its form and replaced by "T".
    static QJsonObject sidecar(const QString& log) {
        QJsonObject object = json(contents(log + ".json"));
        static const QRegularExpression utc(
            QStringLiteral(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z$)"));
        for (const char* key : {"start", "end"}) {
            if (object.contains(QLatin1String(key))) {
                const QString time = object[QLatin1String(key)].toString();
                EXPECT_TRUE(utc.match(time).hasMatch()) << time.toStdString();
                object[QLatin1String(key)] = QStringLiteral("T");
            }
        }
        return object;
    }
    static QByteArray row(const char* head, const char* pressure) {
        QByteArray text = head;
        for (int channel = 0; channel < 16; ++channel) {
            text += QByteArray(",") + pressure;
        }
        return text + "\r\n";
    }
};

TEST_F(ScanLog, RecordsOfEachModeInPlainAndCommaSeparatedLogs) {
    EXPECT_EQ(indicators(), "No Log File 1010");
    openLog("run.txt");
    EXPECT_EQ(indicators(), "Logging to run.txt 0101");
    Global::LogLine(0, "SET PERIOD 500");
    Global::LogLine(1, "  12.5  ");
    Global::LogLine(2, "12.5");
    Global::LogLine(3, "nothing");
    Global::LogOutgoing = true;
    Global::SendVornCommand("SCAN\r");
    frame().mnuCloseLogFile->trigger();
    EXPECT_EQ(indicators(), "No Log File 1010");
    EXPECT_EQ(contents("run.txt"), "SET PERIOD 500\r\n12.5,12.5\r\nSCAN\r\r\n");

    openLog("run.CSV");
    Global::LogLine(0, "SET PERIOD 500");
    EXPECT_EQ(closedLog("run.CSV"), "SET,PERIOD,500\r\n");

    openLog("runcsv");
    EXPECT_TRUE(Global::LogAsCsv);
    frame().mnuCloseLogFile->trigger();
    openLog("run.csv.bak"); // plain, and stays open
    // After a scan the toolbar offers Open while a log is open: the open one is closed first,
    // and the indicators name the new one.
    Global::LogLine(0, "last line");
    Global::RestoreAfterScan();
    UserPrompts::setFileDialogHandler([](const auto&) { return QStringLiteral("run.txt"); });
    frame().toolbarButton(1)->trigger();
    EXPECT_EQ(indicators(), "Logging to run.txt 0101");
    EXPECT_EQ(contents("run.csv.bak"), "last line\r\n");
    EXPECT_EQ(contents("run.txt"), ""); // replaced, not appended to

    // A cancelled choice keeps the open log.
    UserPrompts::setFileDialogHandler([](const auto&) { return QString(); });
    frame().toolbarButton(1)->trigger();
    EXPECT_EQ(indicators(), "Logging to run.txt 0101");
    EXPECT_TRUE(messages.isEmpty());
}

// Records that arrive while a row is open wait for its end; a row that never got its last field
// is ended when the next one starts, and at close.
TEST_F(ScanLog, RowsStayWhole) {
    openLog("rows.csv");
    Global::LogLine(1, "0.016");
    Global::LogLine(1, "1");
    Global::LogLine(0, "STATUS: READY");
    Global::LogLine(2, "0.5");
    Global::LogLine(1, "0.032");
    Global::LogLine(1, "2");
    Global::EndOpenLogRow();
    Global::LogLine(1, "0.048");
    Global::LogLine(0, "STOP\r");
    EXPECT_EQ(closedLog("rows.csv"),
              "0.016,1,0.5\r\nSTATUS:,READY\r\n0.032,2\r\n0.048\r\nSTOP\r\r\n");
}

// Once no more channel lines can come (Stop, the scan's last frame followed by another line, a
// lost connection), an unfinished row is ended and later records reach the file at once. Error
// lines are logged under their own setting.
TEST_F(ScanLog, AnUnfinishedRowEndsWhenTheScanDoesAndErrorsAreLoggedUnderTheirSetting) {
    // The row reaches the file at the end itself, or with the next line of the module.
    const struct {
        const char* name;
        const char* frameLine;
        void (*end)();
        bool endedAtOnce;
    } cases[] = {
        {"Stop", "FRAME = 1", [] { frame().mnuStop->trigger(); }, true},
        {"last frame", "FRAME = 99", [] {}, false},
        {"disconnect", "FRAME = 1", [] { Global::SetDisconnected(); }, true},
    };
    Global::LogStatusData = true;
    Global::FramesPerScan = 100;
    // Each kind of record under its own setting: error lines only under LogErrors.
    openLog("errors.csv");
    Global::ProcessVornLine("ERROR: not logged");
    Global::LogErrors = true;
    Global::ProcessVornLine("ERROR: 12 bad");
    Global::LogErrors = false;
    EXPECT_EQ(closedLog("errors.csv"), "ERROR:,12,bad\r\n");

    for (const auto& scan : cases) {
        SCOPED_TRACE(scan.name);
        openLog("rows.csv");
        Global::SetScanning();
        Global::ProcessVornLine(scan.frameLine);
        Global::ProcessVornLine("0 1.5 20.0");
        // Frame FramesPerScan - 1 has ended the scan by itself; frame 1 has not.
        EXPECT_EQ(frame().mnuStartScan->isEnabled(), !scan.endedAtOnce);
        scan.end();
        const QByteArray row = "0," + ReplyTokens(scan.frameLine)[2].toLatin1() + ",1.5\r\n";
        EXPECT_EQ(contents("rows.csv"), scan.endedAtOnce ? row : "");
        Global::ProcessVornLine("STATUS: READY");
        EXPECT_EQ(contents("rows.csv"), row + "STATUS:,READY\r\n");
        frame().mnuCloseLogFile->trigger();
    }
}

// A failing log write ends the log; a failing sidecar write only says so; each once.
TEST_F(ScanLog, AFailingWriteIsReportedOnceAndEndsTheLog) {
    if (!QFile::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full here";
    }
    openLog("/dev/full");
    Global::SetScanning();
    Global::LogLine(0, "first");
    Global::LogLine(0, "second");
    EXPECT_EQ(indicators(), "No Log File 0100"); // a scan keeps Open and Close off
    Global::RestoreAfterScan();
    frame().mnuCloseLogFile->trigger();
    EXPECT_EQ(indicators(), "No Log File 1010");
    EXPECT_FALSE(Global::LogFileOpen);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].text, "Error writing log file /dev/full");
    EXPECT_FALSE(QFile::exists("/dev/full.json")); // no sidecar beside a device

    openLog(sandbox.path("missing/run.txt"));
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[1].text, "Error opening log file " + sandbox.path("missing/run.txt"));
    EXPECT_EQ(indicators(), "No Log File 1010");

    // A sidecar that cannot be written is said once; the log itself goes on.
    QDir().mkdir("blocked.txt.json");
    openLog("blocked.txt");
    Global::LogLine(0, "kept");
    EXPECT_EQ(closedLog("blocked.txt"), "kept\r\n");
    ASSERT_EQ(messages.size(), 3);
    EXPECT_EQ(messages[2].text, "Error writing blocked.txt.json");
}

TEST_F(ScanLog, ScanLinesBecomeRowsInACsvLogAndStayLinesInAPlainOne) {
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

    openLog("scan.txt");
    Global::ProcessVornLine("frame = 12");
    Global::ProcessVornLine("0 1.5 24.1");
    Global::ProcessVornLine("16 1.5 24.1"); // not a channel
    Global::LogScanData = false;
    sendFrame("13", "2");
    EXPECT_EQ(closedLog("scan.txt"), "frame = 12\r\n0 1.5 24.1\r\n");
}

// The sidecar keeps the module's state of the log's first frame and lists every setting taken
// while logging with the frame that came before it; it has an end once the log is closed.
TEST_F(ScanLog, ItsSidecarTellsTheModuleTheSettingsOfTheFirstFrameAndEachChangeByFrame) {
    Global::ConnectedAddress = QStringLiteral("127.0.0.1:2323");
    for (const char* line :
         {"SET MODEL 3016", "SET SN 0417", "SET VER 3.03", "SET PERIOD 500", "SET AVG 2",
          "SET FPS 100", "SET EU 1", "SET ZC 1", "SET QPKTS 0", "SET XSCANTRIG 0",
          "SET UNITSCAN PSI", "SET CVTUNIT 1.0", "SET PMAXL 15", "SET PMAXH 50"}) {
        Global::ProcessVornLine(QLatin1String(line));
    }
    Global::OverRangeEvents[2] = 7; // an earlier log's
    openLog("scan.csv");
    Global::ProcessVornLine("SET FPS 200");
    sendFrame("3", "0.5");
    Global::ProcessVornLine("SET AVG 4");
    Global::ProcessVornLine("SET HOST 0 0 T");
    Global::OverRangeEvents[15] = 2;
    Global::AlarmEvents[0] = 1;
    sendFrame("4", "0.5");
    Global::SetDisconnected();
    QJsonObject expected = json(R"({
        "program": "tolvane3 3.03", "kind": "CSV", "start": "T", "rowsWritten": 2,
        "module": {"address": "127.0.0.1:2323", "model": "3016", "serialNumber": "0417",
                   "firmware": "3.03"},
        "settings": {"PERIOD": "500", "AVG": "2", "FPS": "200", "EU": "1", "ZC": "1",
                     "QPKTS": "0", "XSCANTRIG": "0", "UNITSCAN": "PSI", "CVTUNIT": "1.0"},
        "fullScales": ["15", "15", "15", "15", "15", "15", "15", "15",
                       "50", "50", "50", "50", "50", "50", "50", "50"],
        "unit": "PSI", "framePeriodSeconds": 0.016,
        "settingChanges": [{"key": "FPS", "value": "200"},
                           {"frame": 3, "key": "AVG", "value": "4"},
                           {"frame": 3, "key": "HOST", "value": "0 0 T"}],
        "overRangeEvents": [0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2],
        "alarmEvents": [1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0]})");
    EXPECT_EQ(sidecar("scan.csv"), expected); // a lost connection updates it
    frame().mnuCloseLogFile->trigger();
    expected["end"] = QStringLiteral("T");
    EXPECT_EQ(sidecar("scan.csv"), expected);
    EXPECT_TRUE(contents("scan.csv.json").contains("\r\n"));
}

// The capture console's measured keys stay its own; the hand-off adds the module's state.
TEST(CaptureSidecar, TheHandOffIsAddedToWhatTheConsoleMeasured) {
    const QJsonObject console = json(R"({"program": "ferrow 3.03",
        "start": "a", "end": "b", "capture": {"framesStored": 19}, "missingFrames": [[7, 7]]})");
    const QJsonObject handOff = json(R"({"program": "other",
        "module": {"model": "3016"}, "unit": "PSI", "handedOffBy": "tolvane3 3.03"})");
    EXPECT_EQ(RecordingSidecar::MergedCapture(console, handOff),
              json(R"({"program": "ferrow 3.03", "start": "a", "end": "b",
        "capture": {"framesStored": 19}, "missingFrames": [[7, 7]], "module": {"model": "3016"},
        "unit": "PSI", "handedOffBy": "tolvane3 3.03"})"));
}

} // namespace
