#pragma once
// The program started as at start-up (sandboxed settings and current directory), a fake module
// on a free port, and every message box recorded and answered OK.

#include "connection/Main.h"
#include "fakemodule.h"
#include "program/timing.h"
#include "program/userprompts.h"
#include "settings_sandbox.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class ProgramFixture : public ::testing::Test {
protected:
    void SetUp() override {
        UserPrompts::setMessageBoxHandler([this](const UserPrompts::MessageBoxRequest& request) {
            messages.append(request);
            return QMessageBox::Ok;
        });
    }
    void TearDown() override {
        UserPrompts::setMessageBoxHandler({});
        UserPrompts::setFileDialogHandler({});
        Timing::setScale(1.0);
        Global::Model30 = false;
        Global::Model07 = false;
    }

    static MDIMain& startProgram() {
        MDIMain& started = FormInstance<MDIMain>::instance();
        started.MDIForm_Load();
        started.show();
        return started;
    }
    static Main& window() { return FormInstance<Main>::instance(); }
    static MDIMain& frame() { return FormInstance<MDIMain>::instance(); }
    static LinkConfig& linkConfig() { return FormInstance<LinkConfig>::instance(); }

    // Types the address and presses Connect; true once the socket is connected.
    static bool connectTo(const QString& address) {
        window().txtIpAdd->setText(address);
        window().Command1->click();
        return QTest::qWaitFor([] { return Global::ConnState == Global::Connected; });
    }
    // Presses Connect with the address and waits until the attempt has failed.
    static bool failToConnect(const QString& address) {
        window().txtIpAdd->setText(address);
        window().Command1->click();
        return QTest::qWaitFor([] { return Global::ConnState == Global::Disconnected; });
    }

    SettingsSandbox sandbox;
    FakeModule module;
    QList<UserPrompts::MessageBoxRequest> messages;
};
