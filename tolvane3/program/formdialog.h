#pragma once
// Every dialog of the program: keys never act on their own. No push button is an implicit
// default, so Enter in a box presses nothing (Qt would make one button of a dialog the default,
// and Enter anywhere would press it); only a dialog whose meaning is plainly "OK" names a default
// button. Escape takes the close box's path, and while the window is busy with a run neither
// closes it: its own buttons are the way out.

#include <QDialog>
#include <QPointer>

class QCloseEvent;
class QKeyEvent;
class QPushButton;
class QShowEvent;

class FormDialog : public QDialog {
public:
    explicit FormDialog(QWidget* parent);

protected:
    // The one button Enter presses, for a dialog whose meaning is plainly "OK".
    void setDefaultButton(QPushButton* button);
    // True while a run is in progress that closing unasked would cut off.
    virtual bool busy() const { return false; }

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QPointer<QPushButton> defaultButton_;
};
