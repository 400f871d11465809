#pragma once
// The program started as at start-up (sandboxed settings and current directory), a fake module
// on a free port, and every message box recorded and answered OK.

#include "connection/Main.h"
#include "fakemodule.h"
#include "program/timing.h"
#include "program/userprompts.h"
#include "settings_sandbox.h"

#include <QAction>
#include <QCheckBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <tuple>

class ProgramFixture : public ::testing::Test {
protected:
    void SetUp() override { answerMessages(QMessageBox::Ok); }
    void TearDown() override {
        UserPrompts::setMessageBoxHandler({});
        UserPrompts::setFileDialogHandler({});
        Timing::setScale(1.0);
    }

    // Every message box from now on recorded, then `meanwhile` run while it is up, then answered.
    void answerMessages(QMessageBox::StandardButton answer, std::function<void()> meanwhile = {}) {
        UserPrompts::setMessageBoxHandler([=, this](const UserPrompts::MessageBoxRequest& request) {
            messages.append(request);
            if (meanwhile) {
                meanwhile();
            }
            return answer;
        });
    }

    // The texts of the message boxes so far, in order.
    QStringList messageTexts() const {
        QStringList texts;
        for (const UserPrompts::MessageBoxRequest& request : messages) {
            texts << request.text;
        }
        return texts;
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

    // Types the address and presses Connect; true once the connection state is `until`.
    static bool connectTo(const QString& address, short until = Global::Connected) {
        window().txtIpAdd->setText(address);
        window().Command1->click();
        return QTest::qWaitFor([until] { return Global::ConnState == until; });
    }
    // The connect sequence has read all four groups of settings.
    static bool settingsRead(int waitMs) {
        return QTest::qWaitFor(
            [] {
                return Global::ListPosition > Global::ListLetters.size() &&
                       !window().tmrResponse->isActive();
            },
            waitMs);
    }

    static QByteArray contents(const QString& name) { return SettingsSandbox::contents(name); }
    // Moves the focus to the window and waits until it is there.
    static bool focusOn(QWidget& target) {
        target.windowHandle()->requestActivate();
        return QTest::qWaitFor(
            [&] { return QGuiApplication::focusWindow() == target.windowHandle(); });
    }
    // The commands received so far, less STATUS polls: a marker sent and waited for shows that
    // everything sent before it has arrived.
    QList<QByteArray> commandsSoFar() {
        const qsizetype marks = module.commandCount("SYNC") + 1;
        Global::SendVornCommand(QStringLiteral("SYNC\r"));
        EXPECT_TRUE(module.waitForCommandCount("SYNC", marks));
        QList<QByteArray> sent = module.commands();
        sent.removeAll("STATUS");
        sent.removeAll("SYNC");
        return sent;
    }

    // Started without status polling: the module receives only what the test is about.
    static MDIMain& startQuietly() {
        SettingsSandbox::store({{"StatusPollAlways", "False"}, {"StatusPollOff", "True"}});
        return startProgram();
    }
    // Started quietly, connected, the settings read back and the record cleared: from here on
    // the module receives only what the test makes the program send.
    bool startConnectedQuietly() {
        startQuietly();
        if (!connectTo(module.address()) || !module.answerLists("ICHS") ||
            !QTest::qWaitFor([] { return !window().tmrResponse->isActive(); })) {
            return false;
        }
        std::ignore = bytesSent();
        return true;
    }
    // Every byte received since the last call, exactly; a marker sent and waited for shows that
    // all of them have arrived.
    QByteArray bytesSent() {
        Global::SendVornCommand(QStringLiteral("SYNC\r"));
        constexpr QByteArrayView marker("SYNC\r");
        EXPECT_TRUE(QTest::qWaitFor([&] { return module.received().endsWith(marker); }));
        QByteArray sent = module.received();
        module.clearReceived();
        sent.chop(marker.size());
        return sent;
    }

    // One key or press on a window: the bytes it makes the program send, and whether the window
    // is still open after it.
    struct Press {
        const char* name;
        std::function<void()> act;
        QByteArray sent;
        bool open;
    };
    // A key on a window already gone does nothing, so that a wrong close fails the checks that
    // follow instead of crashing them.
    static std::function<void()> key(QWidget* target, Qt::Key pressed) {
        return [target = QPointer(target), pressed] {
            if (target) {
                QTest::keyClick(target, pressed);
            }
        };
    }
    // The presses in order on the window Window.
    template <typename Window> void checkPresses(std::initializer_list<Press> presses) {
        for (const Press& press : presses) {
            press.act();
            EXPECT_EQ(bytesSent(), press.sent) << press.name;
            EXPECT_EQ(FormInstance<Window>::isShown(), press.open) << press.name;
        }
    }

    SettingsSandbox sandbox;
    FakeModule module;
    QList<UserPrompts::MessageBoxRequest> messages;
};
