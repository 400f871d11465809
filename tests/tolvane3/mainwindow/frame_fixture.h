#pragma once
// A started main window in a fresh settings folder and current directory, with message boxes
// and file dialogs answered by the test and time shrunk.

#include "settings_sandbox.h"

#include "connection/timing.h"
#include "connection/userprompts.h"
#include "fakemodule.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        UserPrompts::setMessageBoxHandler([this](const UserPrompts::MessageBoxRequest& request) {
            messages_ << request.text;
            return QMessageBox::Ok;
        });
    }
    void TearDown() override {
        UserPrompts::setMessageBoxHandler({});
        UserPrompts::setFileDialogHandler({});
        Timing::setScale(1.0);
    }

    static MDIMain& frame() { return FormInstance<MDIMain>::instance(); }
    static Main& connection() { return FormInstance<Main>::instance(); }
    static LinkConfig& linkConfig() { return FormInstance<LinkConfig>::instance(); }

    static MDIMain& startProgram() {
        MDIMain& started = frame();
        started.MDIForm_Load();
        started.show();
        return started;
    }

    static bool connectTo(FakeModule& module) {
        connection().txtIpAdd->setText(module.address());
        connection().Command1->click();
        return module.waitForConnection() &&
               QTest::qWaitFor([] { return Global::ConnState == Global::Connected; });
    }

    SettingsSandbox sandbox_;
    QStringList messages_;
};
