#pragma once
// The windows (forms): each exists at most once. Touching a window that is not loaded creates it
// hidden (running its load handler in the constructor); unloading destroys it. Below, the few
// helpers every window uses to name its controls and to show itself.

#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

template <typename Form> class FormInstance {
public:
    static Form& instance() {
        if (!form_) {
            form_ = new Form();
        }
        return *form_;
    }
    static bool isLoaded() { return !form_.isNull(); }
    // The window when loaded, else nullptr: for callers that must not load it.
    static Form* loaded() { return form_.data(); }
    static bool isShown() { return form_ && form_->isVisible(); }
    static void unload() { delete form_.data(); }
    // Unloads from inside one of the window's own handlers, which must not delete it under
    // themselves: the window is forgotten and hidden now (the next touch creates a new one) and
    // destroyed once control is back in the event loop.
    static void unloadLater() {
        if (Form* const form = form_.data()) {
            form_.clear();
            form->hide();
            form->deleteLater();
        }
    }

private:
    static inline QPointer<Form> form_;
};

// Controls carry their member name as objectName, so that tests and automation find them by it.
template <typename Control> Control* Named(Control* control, const char* objectName) {
    control->setObjectName(QLatin1String(objectName));
    return control;
}

// A field's label names it, to people and to screen readers alike.
inline QLabel* LabelFor(QWidget* field, const char* labelName, const QString& text) {
    auto* label = Named(new QLabel(text), labelName);
    label->setBuddy(field);
    field->setAccessibleName(text);
    return label;
}

// A label whose text the program changes: its current text is its accessible name, so that
// screen readers and automation read it; setting the name announces each change, which setText()
// alone does not. The same text again (a status poll's answer) is not announced again.
inline void SetLabelText(QLabel& label, const QString& text) {
    if (label.text() == text) {
        return;
    }
    label.setText(text);
    label.setAccessibleName(text);
}

// Every window but the MDI children: a title and a close box, no minimize or maximize.
inline constexpr Qt::WindowFlags DialogWindowFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

inline void CenterOnScreen(QWidget& window) {
    if (const QScreen* screen = window.screen()) {
        window.move(screen->availableGeometry().center() - window.rect().center());
    }
}

// Shows a top-level window, or brings it to the front when it is open, with the focus. A dialog
// shares its frame's activation, so activateWindow() would do nothing while the frame is active;
// the focus is asked for directly instead.
inline void BringForward(QWidget& window) {
    window.show();
    window.raise();
    if (QWindow* handle = window.windowHandle()) {
        handle->requestActivate();
    }
}
