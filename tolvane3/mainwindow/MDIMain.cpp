#include "MDIMain.h"

#include "About.h"
#include "Commands.h"
#include "LinkConfig.h"
#include "bargraph/AlarmLimits.h"
#include "bargraph/Bar.h"
#include "connection/Main.h"
#include "connection/Timeout.h"
#include "profiles/CreateSPF.h"
#include "profiles/Upload.h"
#include "profiles/UploadSPF.h"
#include "profiles/pointlists.h"
#include "program/Global.h"
#include "program/forms.h"
#include "program/settingsstore.h"
#include "program/userprompts.h"
#include "programinfo.h"
#include "replies/Error.h"
#include "replies/scanlog.h"
#include "scanconfig/VornConfig.h"
#include "trend/Trend.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <algorithm>
#include <memory>

namespace {

QMdiSubWindow* subWindowOf(const QMdiArea* area, const QWidget* child) {
    for (QMdiSubWindow* window : area->subWindowList()) {
        if (window->widget() == child) {
            return window;
        }
    }
    return nullptr;
}

} // namespace

MDIMain::MDIMain() {
    setObjectName(QStringLiteral("MDIMain"));
    setWindowTitle(QLatin1String(ProgramInfo::Name));
    setWindowIcon(style()->standardIcon(QStyle::SP_DriveNetIcon));
    mdiArea = Named(new QMdiArea(this), "mdiArea");
    setCentralWidget(mdiArea);
    buildMenus();
    buildToolbar();
    buildStatusBar();
    resize(900, 650);
}

void MDIMain::buildMenus() {
    using Handler = void (MDIMain::*)();
    QMenu* menu = nullptr;
    const auto topLevel = [&](const char* name, const char* caption) {
        menu = menuBar()->addMenu(QLatin1String(caption));
        return Named(menu->menuAction(), name);
    };
    const auto item = [&](const char* name, const char* caption, Handler handler) {
        QAction* action = Named(menu->addAction(QLatin1String(caption)), name);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    const auto checkItem = [&](const char* name, const char* caption, Handler handler) {
        QAction* action = item(name, caption, handler);
        action->setCheckable(true);
        return action;
    };
    const auto separator = [&](const char* name) { return Named(menu->addSeparator(), name); };

    mnuFile = topLevel("mnuFile", "File");
    mnuOpenLogFile = item("mnuOpenLogFile", "Open Log File", &MDIMain::mnuOpenLogFile_Click);
    mnuCloseLogFile = item("mnuCloseLogFile", "Close Log File", &MDIMain::mnuCloseLogFile_Click);
    mnuBar0 = separator("mnuBar0");
    mnuUploadFileToVorn =
        item("mnuUploadFileToVorn", "Upload File To VORN", &MDIMain::mnuUploadFileToVorn_Click);
    mnuBar1 = separator("mnuBar1");
    mnuTolvaneSettings =
        item("mnuTolvaneSettings", "Tolvane Settings", &MDIMain::mnuTolvaneSettings_Click);
    mnuBar2 = separator("mnuBar2");
    mnuExit = item("mnuExit", "Exit", &MDIMain::mnuExit_Click);

    // Connect sits on the menu bar without items and acts when clicked.
    mnuConnect = Named(menuBar()->addAction(QStringLiteral("Connect")), "mnuConnect");
    connect(mnuConnect, &QAction::triggered, this, &MDIMain::mnuConnect_Click);

    mnuBarGraph = topLevel("mnuBarGraph", "BarGraph");
    mnuBarGraphOpen = item("mnuBarGraphOpen", "Open", &MDIMain::mnuBarGraphOpen_Click);
    mnuTrend = item("mnuTrend", "Trend", &MDIMain::mnuTrend_Click);
    mnuLine10 = separator("mnuLine10");
    mnuBarGraphPress =
        checkItem("mnuBarGraphPress", "Display Pressures", &MDIMain::mnuBarGraphPress_Click);
    mnuBarGraphTemp =
        checkItem("mnuBarGraphTemp", "Display Temperatures", &MDIMain::mnuBarGraphTemp_Click);
    mnuLine11 = separator("mnuLine11");
    mnuBarGraph0Places = checkItem("mnuBarGraph0Places", "Display 0 Decimal Places",
                                   &MDIMain::mnuBarGraph0Places_Click);
    mnuBarGraph1Places = checkItem("mnuBarGraph1Places", "Display 1 Decimal Place",
                                   &MDIMain::mnuBarGraph1Places_Click);
    mnuBarGraph2Places = checkItem("mnuBarGraph2Places", "Display 2 Decimal Places",
                                   &MDIMain::mnuBarGraph2Places_Click);
    mnuBarGraph3Places = checkItem("mnuBarGraph3Places", "Display 3 Decimal Places",
                                   &MDIMain::mnuBarGraph3Places_Click);
    mnuBarGraph4Places = checkItem("mnuBarGraph4Places", "Display 4 Decimal Places",
                                   &MDIMain::mnuBarGraph4Places_Click);
    mnuBarGraph5Places = checkItem("mnuBarGraph5Places", "Display 5 Decimal Places",
                                   &MDIMain::mnuBarGraph5Places_Click);
    mnuLin14 = separator("mnuLin14");
    mnuTag1to16 =
        item("mnuTag1to16", "Tag High and Low Over Channels 1 to 16", &MDIMain::mnuTag1to16_Click);
    mnuTag1to8 =
        item("mnuTag1to8", "Tag High and Low Over Channels 1 to 8", &MDIMain::mnuTag1to8_Click);
    mnuTag9to16 =
        item("mnuTag9to16", "Tag High and Low Over Channles 9 to 16", &MDIMain::mnuTag9to16_Click);
    mnuAlarmLimits = item("mnuAlarmLimits", "Alarm Limits...", &MDIMain::mnuAlarmLimits_Click);

    mnuVorn = topLevel("mnuVorn", "Vorn");
    mnuStartScan = item("mnuStartScan", "StartScan", &MDIMain::mnuStartScan_Click);
    mnuStop = item("mnuStop", "Stop", &MDIMain::mnuStop_Click);
    mnuCalZero = item("mnuCalZero", "Cal Zero", &MDIMain::mnuCalZero_Click);
    mnuBar4 = separator("mnuBar4");
    mnuConfigure = item("mnuConfigure", "Configure", &MDIMain::mnuConfigure_Click);
    mnuCommands = item("mnuCommands", "Commands", &MDIMain::mnuCommands_Click);
    mnuSaveSettings = item("mnuSaveSettings", "Save Settings", &MDIMain::mnuSaveSettings_Click);
    mnuBar6 = separator("mnuBar6");
    mnuErrors = item("mnuErrors", "Errors", &MDIMain::mnuErrors_Click);

    mnuSensor = topLevel("mnuSensor", "Sensor");
    mnuUploadSensorProfileFile = item("mnuUploadSensorProfileFile", "UploadSensorProfileFile",
                                      &MDIMain::mnuUploadSensorProfileFile_Click);
    mnuCreateSensorProfileFile = item("mnuCreateSensorProfileFile", "Create Sensor Profile File",
                                      &MDIMain::mnuCreateSensorProfileFile_Click);

    mnuHelp = topLevel("mnuHelp", "Help");
    mnuAbout = item("mnuAbout", "About", &MDIMain::mnuAbout_Click);
}

namespace {

// The toolbar's buttons by position; a button runs the handler of its menu entry, so that a button
// and its entry always behave alike.
struct ToolbarButtonDesign {
    const char* key; // nullptr for a separator
    const char* toolTip;
    QStyle::StandardPixmap icon;
    void (MDIMain::*click)();
};
constexpr QStyle::StandardPixmap NoIcon = QStyle::SP_CustomBase;
constexpr std::array<ToolbarButtonDesign, MDIMain::ToolbarButtonCount> ToolbarDesign{{
    {"OpenLogFile", "Open New or Existing Log File", QStyle::SP_DialogOpenButton,
     &MDIMain::mnuOpenLogFile_Click},
    {"CloseLogFile", "Close Log File", QStyle::SP_DialogCloseButton,
     &MDIMain::mnuCloseLogFile_Click},
    {nullptr, nullptr, NoIcon, nullptr},
    {"ConfigureVorn", "Configure Vorn", QStyle::SP_ComputerIcon, &MDIMain::mnuConfigure_Click},
    {"ConfigureTolvane", "Configure Tolvane", QStyle::SP_FileDialogDetailedView,
     &MDIMain::mnuTolvaneSettings_Click},
    {nullptr, nullptr, NoIcon, nullptr},
    {"StartScan", "Start Scan", QStyle::SP_MediaPlay, &MDIMain::mnuStartScan_Click},
    {"StopScan", "Stop", QStyle::SP_MediaStop, &MDIMain::mnuStop_Click},
    {nullptr, nullptr, NoIcon, nullptr},
    {"CalZ", "Start Zero Calibration", QStyle::SP_BrowserReload, &MDIMain::mnuCalZero_Click},
    {nullptr, nullptr, NoIcon, nullptr},
    {"Commands", "Send Commands to Vorn", QStyle::SP_FileDialogContentsView,
     &MDIMain::mnuCommands_Click},
    {"Errors", "View or Clear Vorn Errors", QStyle::SP_MessageBoxWarning,
     &MDIMain::mnuErrors_Click},
    {"Help", "Help", QStyle::SP_DialogHelpButton, &MDIMain::mnuAbout_Click},
}};

} // namespace

void MDIMain::buildToolbar() {
    Toolbar1 = Named(addToolBar(QStringLiteral("Toolbar1")), "Toolbar1");
    Toolbar1->setMovable(false);
    Toolbar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (std::size_t i = 0; i < ToolbarDesign.size(); ++i) {
        const ToolbarButtonDesign& button = ToolbarDesign[i];
        if (button.key == nullptr) {
            toolbarButtons_[i] = Toolbar1->addSeparator();
            continue;
        }
        // The tool tip doubles as the text, which icon-only buttons give as accessible name.
        const QString toolTip = QLatin1String(button.toolTip);
        QAction* action = Toolbar1->addAction(style()->standardIcon(button.icon), toolTip);
        action->setToolTip(toolTip);
        Named(action, button.key);
        action->setData(QLatin1String(button.key));
        connect(action, &QAction::triggered, this,
                [this, action] { Toolbar1_ButtonClick(action); });
        toolbarButtons_[i] = action;
    }
}

void MDIMain::buildStatusBar() {
    static constexpr std::array<const char*, StatusPanelCount> panelPurposes{
        "Connection", "Module Status", "Log File"};
    StatusBar1 = Named(statusBar(), "StatusBar1");
    for (std::size_t i = 0; i < statusPanels_.size(); ++i) {
        auto* panel = new QLabel(StatusBar1);
        panel->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(i + 1));
        // The module's status words and typed addresses show as they are, never as markup.
        panel->setTextFormat(Qt::PlainText);
        // Named by its current text (setStatusPanel); its purpose is the description.
        panel->setAccessibleDescription(QLatin1String(panelPurposes[i]));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        StatusBar1->addWidget(panel);
        statusPanels_[i] = panel;
    }
}

std::array<QAction*, 6> MDIMain::decimalPlacesEntries() const {
    return {mnuBarGraph0Places, mnuBarGraph1Places, mnuBarGraph2Places,
            mnuBarGraph3Places, mnuBarGraph4Places, mnuBarGraph5Places};
}

QAction* MDIMain::toolbarButton(int index) const {
    if (index < 1 || index > ToolbarButtonCount) {
        return nullptr;
    }
    return toolbarButtons_[static_cast<std::size_t>(index - 1)];
}

void MDIMain::setStatusPanel(int panel, const QString& text) {
    if (panel >= 1 && panel <= StatusPanelCount) {
        statusTexts_[static_cast<std::size_t>(panel - 1)] = text;
        showStatusPanel(panel);
    }
}

void MDIMain::setStatusWarning(const QString& text) {
    statusWarning_ = text;
    showStatusPanel(2);
}

void MDIMain::showStatusPanel(int panel) {
    const auto index = static_cast<std::size_t>(panel - 1);
    const bool warning = panel == 2 && !statusWarning_.isEmpty();
    SetLabelText(*statusPanels_[index], warning ? statusWarning_ : statusTexts_[index]);
}

QString MDIMain::statusPanel(int panel) const {
    if (panel < 1 || panel > StatusPanelCount) {
        return {};
    }
    return statusPanels_[static_cast<std::size_t>(panel - 1)]->text();
}

QMdiSubWindow* MDIMain::addMdiChild(QWidget* child) {
    QMdiSubWindow* window = subWindowOf(mdiArea, child);
    if (window == nullptr) {
        window = mdiArea->addSubWindow(child);
        // Hidden until shown, also when the frame itself is shown later.
        window->hide();
        // Closing a child's window only hides it: the child stays loaded, like BarGraph > Open
        // hiding the connection window. The window goes when its child is unloaded.
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        connect(child, &QObject::destroyed, window, &QObject::deleteLater);
    }
    return window;
}

void MDIMain::showMdiChild(QWidget* child) {
    QMdiSubWindow* window = addMdiChild(child);
    child->show();
    window->show();
    // The area places a new window where there is room, which can leave part of it beyond the
    // area's edge: it is moved (and if need be shrunk) to lie inside. Before the frame is first
    // shown the area has no size of its own yet, and the window keeps the size it asks for.
    if (!isVisible()) {
        mdiArea->setActiveSubWindow(window);
        return;
    }
    const QRect area = mdiArea->viewport()->rect();
    QRect placed = window->geometry();
    placed.setSize(placed.size().boundedTo(area.size()));
    placed.moveLeft(std::clamp(placed.left(), 0, area.width() - placed.width()));
    placed.moveTop(std::clamp(placed.top(), 0, area.height() - placed.height()));
    window->setGeometry(placed);
    window->raise();
    mdiArea->setActiveSubWindow(window);
}

void MDIMain::hideMdiChild(QWidget* child) {
    if (QMdiSubWindow* window = subWindowOf(mdiArea, child)) {
        window->hide();
    }
}

void MDIMain::sizeStatusPanels() {
    const int quarter = StatusBar1->width() / 4;
    for (QLabel* panel : statusPanels_) {
        panel->setMinimumWidth(quarter);
    }
}

void MDIMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    sizeStatusPanels();
}

void MDIMain::MDIForm_Load() {
    setWindowTitle(QLatin1String(ProgramInfo::Name) + QStringLiteral(" Version ") +
                   QLatin1String(ProgramInfo::Version));
    CenterOnScreen(*this);

    sizeStatusPanels();
    setStatusPanel(1, QStringLiteral("No Connection"));
    setStatusPanel(2, QString());
    setStatusPanel(3, QStringLiteral("No Log File"));

    mnuOpenLogFile->setEnabled(true);
    mnuCloseLogFile->setEnabled(false);
    toolbarButton(1)->setEnabled(true);
    toolbarButton(2)->setEnabled(false);

    Global::SetDisconnected();
    FormInstance<LinkConfig>::instance();
    Global::LoadSettings();
    Global::LoadIpHistory();
    showMdiChild(&FormInstance<Main>::instance());
    addMdiChild(&FormInstance<Bar>::instance());
}

void MDIMain::MDIForm_Unload() {
    unloaded_ = true;
    Global::SaveSettings();
    Global::SaveIpHistory();
    if (Global::LogFileOpen) {
        Global::CloseLogFile();
    }
    FormInstance<LinkConfig>::unload();
    FormInstance<VornConfig>::unload();
    FormInstance<Commands>::unload();
    FormInstance<MasterList>::unload();
    FormInstance<AllList>::unload();
    FormInstance<About>::unload();
    FormInstance<AlarmLimits>::unload();
    FormInstance<Timeout>::unload();
    FormInstance<Error>::unload();
    FormInstance<CreateSPF>::unload();
    FormInstance<UploadSPF>::unload();
    FormInstance<Upload>::unload();
    // The frame's children go with it; the connection window closes its socket as it goes.
    FormInstance<Main>::unload();
    FormInstance<Bar>::unload();
    FormInstance<Trend>::unload();
}

void MDIMain::closeEvent(QCloseEvent* event) {
    if (!unloaded_) {
        MDIForm_Unload();
    }
    event->accept();
}

void MDIMain::chooseDecimalPlaces(int places) {
    Global::DisplayFormat = SettingsStore::DecimalFormat(places);
    const auto entries = decimalPlacesEntries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i]->setChecked(static_cast<int>(i) == places);
    }
    FormInstance<Bar>::instance().SetXScale();
}

void MDIMain::mnuOpenLogFile_Click() {
    Global::OpenLogFile();
}

void MDIMain::mnuCloseLogFile_Click() {
    Global::CloseLogFile();
}

void MDIMain::mnuUploadFileToVorn_Click() {
    // One upload at a time: an open upload window is only brought forward.
    if (FormInstance<Upload>::isShown()) {
        FormInstance<Upload>::instance().bringForward();
        return;
    }
    const QString name = UserPrompts::ChooseFile(UserPrompts::FileDialogMode::Open,
                                                 QStringLiteral("All Files (*.*)|*.*"));
    if (name.isEmpty()) {
        return;
    }
    auto file = std::make_unique<QFile>(name);
    if (!file->open(QIODevice::ReadOnly)) {
        UserPrompts::MsgBox(QStringLiteral("Error opening upload file ") + name);
        return;
    }
    FormInstance<Upload>::instance().start(std::move(file));
}

void MDIMain::mnuTolvaneSettings_Click() {
    FormInstance<LinkConfig>::instance().bringForward();
}

void MDIMain::mnuExit_Click() {
    close();
}

void MDIMain::mnuConnect_Click() {
    showMdiChild(&FormInstance<Main>::instance());
}

void MDIMain::mnuBarGraphOpen_Click() {
    showMdiChild(&FormInstance<Bar>::instance());
    hideMdiChild(&FormInstance<Main>::instance());
}

// The trend window is made on opening and destroyed on closing, so that it costs a scan nothing
// while closed.
void MDIMain::mnuTrend_Click() {
    showMdiChild(&FormInstance<Trend>::instance());
}

void MDIMain::mnuBarGraphPress_Click() {
    mnuBarGraphPress->setChecked(true);
    mnuBarGraphTemp->setChecked(false);
    FormInstance<Bar>::instance().SetXScale();
}

void MDIMain::mnuBarGraphTemp_Click() {
    mnuBarGraphTemp->setChecked(true);
    mnuBarGraphPress->setChecked(false);
    FormInstance<Bar>::instance().SetXScale();
}

void MDIMain::mnuBarGraph0Places_Click() {
    chooseDecimalPlaces(0);
}
void MDIMain::mnuBarGraph1Places_Click() {
    chooseDecimalPlaces(1);
}
void MDIMain::mnuBarGraph2Places_Click() {
    chooseDecimalPlaces(2);
}
void MDIMain::mnuBarGraph3Places_Click() {
    chooseDecimalPlaces(3);
}
void MDIMain::mnuBarGraph4Places_Click() {
    chooseDecimalPlaces(4);
}
void MDIMain::mnuBarGraph5Places_Click() {
    chooseDecimalPlaces(5);
}

void MDIMain::mnuTag1to16_Click() {
    FormInstance<Bar>::instance().TagHighAndLow(0, 15);
}

void MDIMain::mnuTag1to8_Click() {
    FormInstance<Bar>::instance().TagHighAndLow(0, 7);
}

void MDIMain::mnuTag9to16_Click() {
    FormInstance<Bar>::instance().TagHighAndLow(8, 15);
}

void MDIMain::mnuAlarmLimits_Click() {
    BringForward(FormInstance<AlarmLimits>::instance());
}

void MDIMain::mnuConfigure_Click() {
    FormInstance<VornConfig>::instance().bringForward();
}

void MDIMain::mnuCommands_Click() {
    FormInstance<Commands>::instance().bringForward();
}

void MDIMain::mnuErrors_Click() {
    FormInstance<Error>::instance().bringForward();
}

void MDIMain::mnuUploadSensorProfileFile_Click() {
    ShowSensorProfileWindow<UploadSPF>();
}

void MDIMain::mnuCreateSensorProfileFile_Click() {
    ShowSensorProfileWindow<CreateSPF>();
}

void MDIMain::mnuAbout_Click() {
    About& about = FormInstance<About>::instance();
    if (!about.isVisible()) {
        about.adjustSize();
        about.move(frameGeometry().center() - about.rect().center());
    }
    BringForward(about);
}

void MDIMain::Toolbar1_ButtonClick(QAction* button) {
    // Keys are compared case-sensitively; a key that matches none does nothing.
    const QString key = button->data().toString();
    for (const ToolbarButtonDesign& design : ToolbarDesign) {
        if (design.key != nullptr && key == QLatin1String(design.key)) {
            (this->*design.click)();
            return;
        }
    }
}
