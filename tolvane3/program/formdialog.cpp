#include "formdialog.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPushButton>
#include <QShowEvent>

FormDialog::FormDialog(QWidget* parent) : QDialog(parent) {}

void FormDialog::setDefaultButton(QPushButton* button) {
    defaultButton_ = button;
}

void FormDialog::showEvent(QShowEvent* event) {
    // Here, after the children were shown (a button box makes its first OK the default then) and
    // before the dialog picks a default of its own among its auto-default buttons.
    for (QPushButton* button : findChildren<QPushButton*>()) {
        if (button->window() == this) {
            button->setAutoDefault(false);
            button->setDefault(button == defaultButton_);
        }
    }
    QDialog::showEvent(event);
}

void FormDialog::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        close();
        return;
    }
    QDialog::keyPressEvent(event);
}

void FormDialog::closeEvent(QCloseEvent* event) {
    if (busy()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
