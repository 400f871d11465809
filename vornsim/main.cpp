#include "vornsim/moduleserver.h"
#include "vornsim/quitsignals.h"
#include "vornsim/simconfig.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const vornsim::ParsedArguments parsed = vornsim::parseArguments(app.arguments());
    if (!parsed.config) {
        std::fprintf(parsed.helpRequested ? stdout : stderr, "%s\n", qPrintable(parsed.message));
        return parsed.helpRequested ? 0 : 2;
    }
    vornsim::ModuleServer server(*parsed.config);
    QString error;
    if (!server.start(&error)) {
        std::fprintf(stderr, "vornsim: %s\n", qPrintable(error));
        return 1;
    }
    vornsim::quitOnTerminationSignals();
    // Scripts and tests read this one line from a pipe: flush it now.
    std::printf("%s\n", qPrintable(vornsim::formatListenAddress(server.address(), server.port())));
    std::fflush(stdout);
    return QCoreApplication::exec();
}
