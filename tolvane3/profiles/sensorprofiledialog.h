#pragma once
// What the two sensor-profile windows share: the profile file, chosen once per opening and open
// while the window is up; the sensor position; the progress line; Start and Close; and the
// status polling they run for their work (the module's READY lines come with its answers).

#include "program/formdialog.h"
#include "program/forms.h"
#include "program/userprompts.h"

#include <QFile>
#include <QList>

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;

// How a window uses its profile file.
struct ProfileFileUse {
    const char* windowCaption;
    UserPrompts::FileDialogMode dialogMode;
    QIODevice::OpenMode openMode;
    const char* captionPrefix; // the caption while the file is open, before its name
    const char* errorPrefix;   // the message when it cannot be opened, before its name
};

inline constexpr QLatin1StringView ProfileFileFilter("All Files (*.spf)|*.spf");

class SensorProfileDialog : public FormDialog {
    Q_OBJECT

public:
    static constexpr int LastSensorIndex = 15;

    QLabel* Label1 = nullptr;
    QLineEdit* txtSensorPosition = nullptr;
    QLabel* labStatusText = nullptr;
    QPushButton* btnStart = nullptr;
    QPushButton* btnExit = nullptr;

    // 0 to 15, from the position 1 to 16.
    int sensorIndex() const { return sensorIndex_; }
    bool running() const { return running_; }

    // Opens the file for the window's work; false (and the file closed) when it cannot be opened.
    bool openFile(const QString& name);

public Q_SLOTS:
    void txtSensorPosition_Change();
    void btnExit_Click();
    // Escape and the close box: Close's path, while idle.
    void reject() override;

protected:
    explicit SensorProfileDialog(const ProfileFileUse& use);

    // A run stopped halfway leaves a profile half written or a sensor table cleared and never
    // filled: Escape and the close box wait for its end; Close, pressed, still closes.
    bool busy() const override { return running_; }

    // Running disables the sensor position and the controls added here, so that nothing changes
    // under a run; idle enables them.
    void setRunning(bool running);
    void addIdleControl(QWidget* control) { idleControls_.append(control); }
    // Puts a button between Start and Close.
    void addButton(QPushButton* button);

    void showStatus(const QString& text);
    // Sends the command (its CR included) and shows it.
    void sendAndShow(const QString& command);

    // Close's path: closes the file, stops running, gives status polling back to the user's
    // choice and unloads the window.
    virtual void Form_Unload();

    QFile file_;

private:
    // FormInstance<Window>::unloadLater() of the concrete window.
    virtual void unloadLater() = 0;

    const ProfileFileUse& use_;
    QHBoxLayout* buttons_ = nullptr;
    QList<QWidget*> idleControls_;
    int sensorIndex_ = 0;
    bool running_ = false;
};

// Sensor > Create or Upload: a window that is open is only brought forward; otherwise its file
// is chosen and opened first, so that the file dialog runs once per opening.
template <typename Window> void ShowSensorProfileWindow() {
    if (FormInstance<Window>::isShown()) {
        BringForward(FormInstance<Window>::instance());
        return;
    }
    const QString name =
        UserPrompts::ChooseFile(Window::FileUse.dialogMode, QString(ProfileFileFilter));
    if (name.isEmpty()) {
        return;
    }
    Window& window = FormInstance<Window>::instance();
    if (!window.openFile(name)) {
        FormInstance<Window>::unload();
        UserPrompts::MsgBox(QLatin1String(Window::FileUse.errorPrefix) + name);
        return;
    }
    window.adjustSize();
    CenterOnScreen(window);
    BringForward(window);
}
