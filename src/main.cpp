#include "files/commandlineexport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    // Batch export needs no display: it runs on a core application.
    if (CCommandLineExport::IsRequested(argc, argv)) {
        QCoreApplication app(argc, argv);
        return CCommandLineExport::Run(app);
    }
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    CCommandLineExport::Configure(app, parser);
    parser.process(app);
    std::puts("Tarvex: the editor window is not built yet.");
    return 0;
}
