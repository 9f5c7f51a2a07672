// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QString>

class CFigure;
class QCommandLineParser;
class QCoreApplication;

// `tarvex --export OUT FILE`: loads the figure FILE as the Open command does and
// writes OUT by its extension as the Save command does (.xml, .png, .svg, .pdf or
// .bmp, any case), without any window and without touching the user's settings store.
// --transparent leaves the background out of a PNG or SVG.
class CCommandLineExport
{
    Q_DECLARE_TR_FUNCTIONS(CCommandLineExport)

public:
    // Whether the command line asks for an export; looked at before any application
    // object exists, so that the export can run without a display.
    static bool IsRequested(int argc, char **argv);

    // Sets the program's name and version and declares the command line: --help,
    // --version, --export OUT, --transparent and an optional figure FILE.
    static void Configure(QCoreApplication &app, QCommandLineParser &parser);
    // Parses the command line declared by Configure; ends the program on --help,
    // --version and unknown options, as QCommandLineParser::process does.
    static void Process(QCoreApplication &app, QCommandLineParser &parser);
    // What --version prints: the name, the version and the licence.
    static QString VersionText();

    // Parses the command line of a core application (exits on --help, --version and
    // unknown options) and runs the export. Returns the process exit code.
    static int Run(QCoreApplication &app);

    // The export itself: 0 on success; otherwise non-zero and message holds what the
    // editor would tell the user.
    static int Export(const QString &figurePath, const QString &outputPath, QString *message, bool transparent = false);

    // Reads the figure file at figurePath for a front end without a window: only from
    // a regular file, never through the document (so never the settings store), and
    // never an empty figure. False with message set to what the editor would say.
    static bool ReadFigure(const QString &figurePath, CFigure &figure, QString *message);
};
