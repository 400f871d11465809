#pragma once
// Each window exists at most once. Touching a window that is not loaded creates it hidden
// (running its load handler in the constructor); unloading destroys it.

#include <QPointer>
#include <QScreen>
#include <QWidget>

template <typename Form> class FormInstance {
public:
    static Form& instance() {
        if (!form_) {
            form_ = new Form();
        }
        return *form_;
    }
    static bool isLoaded() { return !form_.isNull(); }
    static bool isShown() { return form_ && form_->isVisible(); }
    static void unload() { delete form_.data(); }

private:
    static inline QPointer<Form> form_;
};

// Controls carry their member name as objectName, so that tests and automation find them by it.
template <typename Control> Control* Named(Control* control, const char* objectName) {
    control->setObjectName(QLatin1String(objectName));
    return control;
}

inline void CenterOnScreen(QWidget& window) {
    if (const QScreen* screen = window.screen()) {
        window.move(screen->availableGeometry().center() - window.rect().center());
    }
}
