#pragma once
// Module-wide values and the procedures every window calls, read and written directly.
// Each procedure is defined in the file of its concern (named beside it).

#include <QHash>
#include <QString>

class QObject;

namespace Global {

// Connection (connection.cpp, connectionstates.cpp)
enum ConnStateValue : short { Disconnected = 0, Connecting = 1, Connected = 2 };
inline short ConnState = Disconnected;
inline QString ConnectedAddress;
inline bool PauseDone = false;
// From SetScanning to RestoreAfterScan or a lost connection (connectionstates.cpp).
inline bool ScanRunning = false;

// Applied settings (settingsstore.cpp)
inline bool StatusPollAlways = true;
inline bool StatusPollOff = false;
inline QString StatusPollInterval = QStringLiteral("2");
inline bool LogScanData = true;
inline bool LogListData = false;
inline bool LogErrors = false;
inline bool LogStatusData = false;
inline bool LogOutgoing = false;
inline QString UploadDwell = QStringLiteral("300");
inline QString DisplayFormat = QStringLiteral("0.00");
inline bool AutoReconnect = false;

// Scan log (replies/scanlog.cpp): the open file's full path ("" when none); a name ending in
// CSV makes it comma-separated.
inline bool LogFileOpen = false;
inline QString LogFileName;
inline bool LogAsCsv = false;

// Module model (replies/settingsmirror.cpp): 30xx status lines, xx07 full scales.
inline bool Model30 = false;
inline bool Model07 = false;

// Engineering units (units.cpp)
inline constexpr int UnitSlots = 51;
inline QString UnitNames[UnitSlots];
inline short UnitCount = 0;

// List sequence (listsequence.cpp): the group letters in progress and the 1-based position of
// the next one to ask for; past the end means no sequence runs.
inline QString ListLetters;
inline short ListPosition = 1;
// A corrected binary host was sent (replies/hostcheck.cpp): save and reboot when the sequence
// ends (connection/reboot.cpp), which clears it. RebootTick counts the progress window's seconds;
// RebootRunning holds while the reboot's steps and pauses run.
inline bool RebootPending = false;
inline short RebootTick = 0;
inline bool RebootRunning = false;

// The module's settings as last reported (replies/settingsmirror.cpp).
inline float FramesPerScan = 0;
inline float FramePeriod = 0; // seconds per frame, set only by the module's AVG line
inline bool ExtTrigScan = false;
inline QString CvtUnit;
inline QString UnitScan;
inline QString PMaxLow;
inline QString PMaxHigh;
inline constexpr int ChannelSlots = 17; // 0 to 15 used
inline QString MaxSetting[ChannelSlots];
inline QString ChannelMax[ChannelSlots]; // per-channel full scale the bar graph reads
// The scan configuration's fields as the module last reported them, by field name (a check box
// as "1" or "0"). They outlive the dialog: one loaded afresh, after Cancel for instance, starts
// from them, so FERROW.CFG and the bar graph never read an emptied field.
inline QHash<QString, QString> ReportedScanFields;
// The value of every SET key the mirror takes, as the module last reported it, by the module's
// name (MODEL, SN, VER, PERIOD, ...): what a recording's sidecar describes.
inline QHash<QString, QString> ReportedSettings;

// The bar graph (bargraph/Bar.cpp). Each channel's bar as fractions of the drawing area: top and
// height of its height, left and width of its width; all zero until the channel's first value.
struct BarRect {
    float top = 0;
    float left = 0;
    float width = 0;
    float height = 0;
};
inline BarRect BarRects[ChannelSlots];
// The operator's alarm limits per channel in the unit shown (bargraph/AlarmLimits.cpp), off until
// set; stored with the settings.
struct AlarmRange {
    bool enabled = false;
    float low = 0;
    float high = 0;
    bool operator==(const AlarmRange&) const = default;
};
inline AlarmRange AlarmRanges[ChannelSlots];
// Each channel's full scale in the unit shown, as number and as text; kept while the window is
// closed.
inline float FullScale[ChannelSlots];
inline QString FullScaleText[ChannelSlots];
// Over range and alarm limits (bargraph/overrange.cpp): how often each channel went beyond its
// full scale, and beyond the operator's alarm limits, since the scan log opened.
inline int OverRangeEvents[ChannelSlots];
inline int AlarmEvents[ChannelSlots];

// --- procedures ---
// connection.cpp
void SendVornCommand(const QString& text);
void Pause(int milliseconds);
// The Connect button stays disabled while any window holds it: each window disables it for
// itself (again on every activation, harmlessly) and releases it when it closes, or by being
// destroyed. A release from a window that holds nothing changes nothing.
void DisableConnectButton(QObject* holder);
void EnableConnectButton(QObject* holder);
// connectionstates.cpp
void SetConnecting();
void OnConnected();
void SetDisconnected();
// Panel 1 "No connection", panel 2 empty.
void ShowNoConnection();
void SetScanning();
void RestoreAfterScan();
// The user's polling choice again, after a window ran the polls for its own work: off stops them
// ("Status Off"); on while connected starts them ("Getting Status").
void ApplyStatusPollChoice();
// settingsstore.cpp
void LoadSettings();
void SaveSettings();
void DialogToSettings();
void SettingsToDialog();
void UpdateDisplayFormat();
// iphistory.cpp
void AddToIpHistory(const QString& address);
void LoadIpHistory();
void SaveIpHistory();
// units.cpp
void InitUnits();
// The code of a unit name as the module reports it (spaces around it ignored), or -1.
int FindUnitCode(const QString& reportedName);
// textnumber.cpp: the leading decimal number of a text ("." as decimal point, spaces and a sign
// before it allowed), 0 when there is none; "12abc" gives 12.
double LeadingNumber(QStringView text);
// The same in single precision, infinite beyond its range.
float LeadingSingle(QStringView text);
// listsequence.cpp
void StepListSequence(const QString& letters, bool start);
void EndListSequence();
// captureconfig.cpp: writes the capture console's FERROW.CFG from the address box, the frames
// per scan field and the data file name; false, after saying so, when it could not be written.
bool WriteCaptureConfig();
// reboot.cpp: save, warn, reboot and wait out the module's 35 s, with its progress window.
void RebootModule();
// scanconfig/scanrate.cpp: scan timing in single precision, without side effects. Period in
// microseconds per channel, average a whole number of samples, rate in frames per second.
// Seconds per frame of 16 channels; 0 when average < 1, period < 50 or the result is not finite.
float FramePeriodOf(int average, float period);
// 1 / FramePeriodOf, 0 where that is 0.
float CalcScanRate(int average, float period);
float CalcPeriodFromRate(int average, float rate);
// A 16-bit whole number (halves to even); 0 when the rate gives none.
int CalcAverageFromRate(float period, float rate);
// An Average text's leading number as a 16-bit whole number (halves to even); 0 beyond 16 bits.
int AverageOf(QStringView text);
// At most 7 significant digits, "." as decimal point whatever the locale: 12.5, 29.76191, 0.
QString NumberText(float value);
// replies/replydispatcher.cpp
void ProcessVornLine(const QString& line);
// replies/scanlog.cpp
void LogLine(int mode, const QString& text);

} // namespace Global
