#pragma once
// A fresh per-user settings folder and a fresh current directory (where IpHist.cfg lives) for
// one test, and the loaded windows unloaded and the module's state forgotten afterwards so that
// the next test starts clean.

#include "bargraph/Bar.h"
#include "connection/Main.h"
#include "connection/Timeout.h"
#include "connection/addresshistory.h"
#include "mainwindow/About.h"
#include "mainwindow/Commands.h"
#include "mainwindow/LinkConfig.h"
#include "mainwindow/MDIMain.h"
#include "profiles/CreateSPF.h"
#include "profiles/Upload.h"
#include "profiles/UploadSPF.h"
#include "profiles/pointlists.h"
#include "program/Global.h"
#include "program/forms.h"
#include "program/settingsstore.h"
#include "replies/Error.h"
#include "replies/scanlog.h"
#include "scanconfig/VornConfig.h"
#include "trend/Trend.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <utility>

class SettingsSandbox {
public:
    SettingsSandbox() : previousDir_(QDir::currentPath()) {
        EXPECT_TRUE(dir_.isValid());
        const QString config = dir_.filePath(QStringLiteral("config"));
        qputenv("HOME", dir_.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config);
        QDir::setCurrent(dir_.path());
        QApplication::setQuitOnLastWindowClosed(false);
        Global::IpHistory = {};
    }
    ~SettingsSandbox() {
        if (Global::LogFileOpen) {
            Global::CloseLogFile();
        }
        unload<About, Commands, MasterList, AllList, Error, Timeout, VornConfig, CreateSPF,
               UploadSPF, Upload, LinkConfig, Main, Bar, Trend, MDIMain>();
        Global::ConnState = Global::Disconnected;
        Global::ListPosition = 1;
        Global::RebootPending = Global::AutoReconnect = Global::ScanRunning = Global::ExtTrigScan =
            Global::Model30 = Global::Model07 = false;
        Global::FramePeriod = Global::FramesPerScan = 0;
        Global::ListLetters = Global::UnitScan = Global::ConnectedAddress = QString();
        Global::ReportedScanFields.clear();
        Global::ReportedSettings.clear();
        std::fill(std::begin(Global::BarRects), std::end(Global::BarRects), Global::BarRect{});
        std::fill(std::begin(Global::FullScale), std::end(Global::FullScale), 0.0f);
        std::fill(std::begin(Global::FullScaleText), std::end(Global::FullScaleText), QString());
        std::fill(std::begin(Global::AlarmRanges), std::end(Global::AlarmRanges),
                  Global::AlarmRange{});
        std::fill(std::begin(Global::OverRangeEvents), std::end(Global::OverRangeEvents), 0);
        std::fill(std::begin(Global::AlarmEvents), std::end(Global::AlarmEvents), 0);
        QDir::setCurrent(previousDir_);
    }

    QString path(const QString& name) const { return dir_.filePath(name); }
    // A file's bytes, or "<missing>" when it cannot be read.
    static QByteArray contents(const QString& name) {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    // IpHist.cfg's bytes, and writing it.
    QByteArray history() const { return contents(path(QStringLiteral("IpHist.cfg"))); }
    void writeHistory(const QByteArray& bytes) const { write("IpHist.cfg", bytes); }
    // A file of the bytes in the folder; its path.
    QString write(const char* name, const QByteArray& bytes) const {
        QFile file(path(QLatin1String(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return file.fileName();
    }

    static void store(std::initializer_list<std::pair<const char*, const char*>> values) {
        QSettings settings = openStore();
        settings.beginGroup(QLatin1String(SettingsStore::Group));
        for (const auto& [key, text] : values) {
            settings.setValue(QLatin1String(key), QLatin1String(text));
        }
    }
    // The stored text of a key, or "<missing>".
    static QString stored(const char* key) {
        QSettings settings = openStore();
        settings.beginGroup(QLatin1String(SettingsStore::Group));
        return settings.value(QLatin1String(key), QStringLiteral("<missing>")).toString();
    }

    // Guaranteed copy elision lets the unmovable QSettings come out of a function.
    static QSettings openStore() {
        return QSettings(QSettings::NativeFormat, QSettings::UserScope,
                         QLatin1String(SettingsStore::Application));
    }

private:
    template <typename... Forms> static void unload() { (FormInstance<Forms>::unload(), ...); }

    QTemporaryDir dir_;
    QString previousDir_;
};
