#include "program/programrun.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tolvane3"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Operator program for the Vorn module."));
    parser.addHelpOption();
    const QCommandLineOption connectOption(
        QStringLiteral("connect"),
        QStringLiteral("Put ADDRESS (host, host:port or [v6]:port) in the address box and "
                       "connect at start-up."),
        QStringLiteral("ADDRESS"));
    const QCommandLineOption addressOption(QStringLiteral("address"),
                                           QStringLiteral("Put ADDRESS in the address box only."),
                                           QStringLiteral("ADDRESS"));
    parser.addOption(connectOption);
    parser.addOption(addressOption);
    parser.process(app);

    LaunchOptions options;
    if (parser.isSet(connectOption)) {
        options.address = parser.value(connectOption);
        options.connectAtStart = true;
    } else if (parser.isSet(addressOption)) {
        options.address = parser.value(addressOption);
    }
    return RunTolvane3(app, options);
}
