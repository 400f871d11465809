#pragma once
// When a top-level window counts as activated: it is shown or brought forward, or the focus comes
// to it from another window of this program. Coming back from another program, or from the
// window's own message box or file dialog (whose transient parent it is), is no activation.

#include <QObject>
#include <QPointer>
#include <functional>

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
