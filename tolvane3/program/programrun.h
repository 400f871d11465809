#pragma once
// Runs the program: the main window's start-up, the address given on the command line, the
// event loop until the main window closes.

#include <QString>

class QApplication;

struct LaunchOptions {
    QString address;             // put into the connection window's address box when not empty
    bool connectAtStart = false; // and Connect pressed
};

int RunTolvane3(QApplication& app, const LaunchOptions& options);
