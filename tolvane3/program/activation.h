#pragma once
// When a top-level window counts as activated: it is shown or brought forward, or the focus comes
// to it from another window of this program. Coming back from another program, or from the
// window's own message box or file dialog (whose transient parent it is), is no activation.

#include "formdialog.h"

#include <QObject>
#include <QPointer>
#include <functional>

class QShowEvent;
class QWidget;
class QWindow;

class WindowActivation : public QObject {
public:
    // A member of the window it watches, so that it never outlives it.
    WindowActivation(QWidget& window, std::function<void()> activate);

    // The window is being shown or brought forward: activates now. The focus that follows is
    // part of this same activation, not a second one.
    void activateNow();

private:
    void focusWindowChanged(QWindow* focusWindow);

    QWidget& window_;
    std::function<void()> activate_;
    QPointer<QWindow> lastFocusWindow_;
    bool focusPending_ = false;
};

// A dialog that does its work on each activation (Form_Activate): when shown, when chosen again
// while open, and when the focus comes back to it from another window of the program.
class ActivatedDialog : public FormDialog {
public:
    explicit ActivatedDialog(QWidget* parent);

    // Shows the dialog, or brings it forward when it is open; either way it is activated.
    void bringForward();

protected:
    void showEvent(QShowEvent* event) override;
    virtual void Form_Activate() = 0;

private:
    WindowActivation activation_;
};
