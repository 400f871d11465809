#include "activation.h"

#include "forms.h"

#include <QGuiApplication>
#include <QShowEvent>
#include <QWidget>
#include <QWindow>
#include <utility>

WindowActivation::WindowActivation(QWidget& window, std::function<void()> activate)
    : window_(window), activate_(std::move(activate)),
      lastFocusWindow_(QGuiApplication::focusWindow()) {
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this,
            &WindowActivation::focusWindowChanged);
}

void WindowActivation::activateNow() {
    focusPending_ = true;
    activate_();
}

void WindowActivation::focusWindowChanged(QWindow* focusWindow) {
    const QPointer<QWindow> previous = lastFocusWindow_;
    lastFocusWindow_ = focusWindow;
    QWindow* const own = window_.windowHandle();
    if (focusWindow == nullptr || own == nullptr) {
        return;
    }
    if (focusWindow != own) {
        // Another window of ours has the focus now: coming back from it is a new activation.
        if (focusWindow->transientParent() != own) {
            focusPending_ = false;
        }
        return;
    }
    if (focusPending_) {
        focusPending_ = false;
        return;
    }
    if (previous && previous->transientParent() != own) {
        activate_();
    }
}

ActivatedDialog::ActivatedDialog(QWidget* parent)
    : FormDialog(parent), activation_(*this, [this] { Form_Activate(); }) {}

void ActivatedDialog::bringForward() {
    const bool alreadyOpen = isVisible();
    BringForward(*this);
    // Opening activates through showEvent; an open dialog is activated here, since the focus
    // may not move (a window manager can refuse it).
    if (alreadyOpen) {
        activation_.activateNow();
    }
}

void ActivatedDialog::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        CenterOnScreen(*this);
        activation_.activateNow();
    }
    FormDialog::showEvent(event);
}
