#pragma once
// Each window exists at most once. Touching a window that is not loaded creates it hidden
// (running its load handler in the constructor); unloading destroys it.

#include <QPointer>
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
