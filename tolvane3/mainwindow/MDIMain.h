#pragma once
// The program's frame window: menu bar, toolbar, status bar and the MDI area that holds the
// connection window, the bar graph and the trend window. Every user command starts in one of its
// handlers.
//
// Start-up: FormInstance<MDIMain>::instance() builds the controls only; then call MDIForm_Load()
// once (it reaches this window again through FormInstance, so it cannot run in the constructor)
// and show() the window. Closing the window runs MDIForm_Unload(), the shut-down sequence.

#include <QMainWindow>
#include <QString>
#include <array>

class QAction;
class QCloseEvent;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QResizeEvent;
class QStatusBar;
class QToolBar;

class MDIMain : public QMainWindow {
    Q_OBJECT

public:
    MDIMain();

    static constexpr int ToolbarButtonCount = 14;
    static constexpr int StatusPanelCount = 3;

    // Menu entries, each with the objectName of its own member name. Top-level menus are their
    // QMenu's menuAction(), so that enabling works the same for every entry; separators are
    // QActions too.
    QAction* mnuFile = nullptr;
    QAction* mnuOpenLogFile = nullptr;
    QAction* mnuCloseLogFile = nullptr;
    QAction* mnuBar0 = nullptr;
    QAction* mnuUploadFileToVorn = nullptr;
    QAction* mnuBar1 = nullptr;
    QAction* mnuTolvaneSettings = nullptr;
    QAction* mnuBar2 = nullptr;
    QAction* mnuExit = nullptr;
    QAction* mnuConnect = nullptr;
    QAction* mnuBarGraph = nullptr;
    QAction* mnuBarGraphOpen = nullptr;
    QAction* mnuTrend = nullptr;
    QAction* mnuLine10 = nullptr;
    QAction* mnuBarGraphPress = nullptr;
    QAction* mnuBarGraphTemp = nullptr;
    QAction* mnuLine11 = nullptr;
    QAction* mnuBarGraph0Places = nullptr;
    QAction* mnuBarGraph1Places = nullptr;
    QAction* mnuBarGraph2Places = nullptr;
    QAction* mnuBarGraph3Places = nullptr;
    QAction* mnuBarGraph4Places = nullptr;
    QAction* mnuBarGraph5Places = nullptr;
    QAction* mnuLin14 = nullptr;
    QAction* mnuTag1to16 = nullptr;
    QAction* mnuTag1to8 = nullptr;
    QAction* mnuTag9to16 = nullptr;
    QAction* mnuAlarmLimits = nullptr;
    QAction* mnuVorn = nullptr;
    QAction* mnuStartScan = nullptr;
    QAction* mnuStop = nullptr;
    QAction* mnuCalZero = nullptr;
    QAction* mnuBar4 = nullptr;
    QAction* mnuConfigure = nullptr;
    QAction* mnuCommands = nullptr;
    QAction* mnuSaveSettings = nullptr;
    QAction* mnuBar6 = nullptr;
    QAction* mnuErrors = nullptr;
    QAction* mnuSensor = nullptr;
    QAction* mnuUploadSensorProfileFile = nullptr;
    QAction* mnuCreateSensorProfileFile = nullptr;
    QAction* mnuHelp = nullptr;
    QAction* mnuAbout = nullptr;

    QToolBar* Toolbar1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QMdiArea* mdiArea = nullptr;

    // The six decimal-places check marks, index = number of places.
    std::array<QAction*, 6> decimalPlacesEntries() const;

    // Toolbar button by 1-based position; separators count, so positions 3, 6, 9 and 11 are
    // separators. Returns nullptr outside 1..14. A button's key is its objectName and data().
    QAction* toolbarButton(int index) const;

    // Status bar panels, 1-based: 1 connection, 2 module status, 3 log file. The panel shows what
    // it was last set to, except that panel 2 shows a warning instead while there is one.
    void setStatusPanel(int panel, const QString& text);
    QString statusPanel(int panel) const;
    // "" ends the warning.
    void setStatusWarning(const QString& text);

    // Runs a console program with no arguments in the current directory and waits, without time
    // limit and without handling events, until it ends; returns its exit code (0 when it could
    // not be started, after saying so). See execcmd.cpp for the console it gets.
    int ExecCmd(const QString& cmdline);

    // Adds the child to the MDI area, hidden, unless it is there already.
    QMdiSubWindow* addMdiChild(QWidget* child);
    // Adds the child to the MDI area on first use, shows it and brings it to the front.
    void showMdiChild(QWidget* child);
    // Hides the child's MDI window; it stays loaded.
    void hideMdiChild(QWidget* child);

public Q_SLOTS:
    void MDIForm_Load();

    void mnuOpenLogFile_Click();
    void mnuCloseLogFile_Click();
    void mnuUploadFileToVorn_Click();
    void mnuTolvaneSettings_Click();
    void mnuExit_Click();
    void mnuConnect_Click();
    void mnuBarGraphOpen_Click();
    void mnuTrend_Click();
    void mnuBarGraphPress_Click();
    void mnuBarGraphTemp_Click();
    void mnuBarGraph0Places_Click();
    void mnuBarGraph1Places_Click();
    void mnuBarGraph2Places_Click();
    void mnuBarGraph3Places_Click();
    void mnuBarGraph4Places_Click();
    void mnuBarGraph5Places_Click();
    void mnuTag1to16_Click();
    void mnuTag1to8_Click();
    void mnuTag9to16_Click();
    void mnuAlarmLimits_Click();
    void mnuStartScan_Click();
    void mnuStop_Click();
    void mnuCalZero_Click();
    void mnuConfigure_Click();
    void mnuCommands_Click();
    void mnuSaveSettings_Click();
    void mnuErrors_Click();
    void mnuUploadSensorProfileFile_Click();
    void mnuCreateSensorProfileFile_Click();
    void mnuAbout_Click();
    void Toolbar1_ButtonClick(QAction* button);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void MDIForm_Unload();
    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    void chooseDecimalPlaces(int places);
    void sizeStatusPanels();
    void showStatusPanel(int panel);

    std::array<QAction*, ToolbarButtonCount> toolbarButtons_{};
    std::array<QLabel*, StatusPanelCount> statusPanels_{};
    std::array<QString, StatusPanelCount> statusTexts_{};
    QString statusWarning_;
    bool unloaded_ = false;
};
