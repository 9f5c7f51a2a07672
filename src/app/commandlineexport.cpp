// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commandlineexport.h"

#include "document/tarvexdoc.h"
#include "files/figurewriter.h"
#include "files/figurexml.h"
#include "geometry/figure.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char *const ExportOptionName = "export";
const char *const TransparentOptionName = "transparent";
const char *const VersionOptionName = "version";

// ".xml Tarvex figure, .png PNG picture, ..." from the writer's table of types.
QString FormatList()
{
    QStringList types;
    for (const CFigureWriter::FileType &type : CFigureWriter::Types())
        types << QStringLiteral(".%1 %2").arg(QLatin1String(type.Suffix),
                                              QCoreApplication::translate("CFigureWriter", type.Name));
    return types.join(QStringLiteral(", "));
}

void PrintError(const QString &message)
{
    std::fprintf(stderr, "tarvex: %s\n", message.toLocal8Bit().constData());
    std::fflush(stderr);
}

} // namespace

bool CCommandLineExport::IsRequested(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            return false;
        if (std::strcmp(argv[i], "--export") == 0 || std::strncmp(argv[i], "--export=", 9) == 0)
            return true;
    }
    return false;
}

void CCommandLineExport::Configure(QCoreApplication &app, QCommandLineParser &parser)
{
    app.setApplicationName(QStringLiteral("Tarvex"));
    app.setApplicationVersion(QStringLiteral(TARVEX_VERSION));
    parser.setApplicationDescription(
        CCommandLineExport::tr("Draws impossible figures out of cubes in isometric projection."));
    parser.addHelpOption();
    // Our own --version, so that it names the licence too.
    parser.addOption(QCommandLineOption({QStringLiteral("v"), QString::fromLatin1(VersionOptionName)},
                                        CCommandLineExport::tr("Displays version and licence information.")));
    parser.addOption(QCommandLineOption(
        QString::fromLatin1(ExportOptionName),
        CCommandLineExport::tr("Loads FILE and writes it to OUT without opening a window, in the format OUT's "
                               "extension names (any case): %1.")
            .arg(FormatList()),
        CCommandLineExport::tr("OUT")));
    parser.addOption(QCommandLineOption(
        QString::fromLatin1(TransparentOptionName),
        CCommandLineExport::tr("With --export to %1: leaves the background transparent, so only the cubes are drawn.")
            .arg(CFigureWriter::SuffixList(true))));
    // Handled before this parser runs (it takes three values); listed for --help.
    parser.addOption(QCommandLineOption(
        QStringLiteral("thumbnail"),
        CCommandLineExport::tr("Writes a PNG preview of the figure file IN, at most SIZE pixels wide and high, to "
                               "OUT without opening a window: tarvex --thumbnail SIZE IN OUT (as file managers do)."),
        CCommandLineExport::tr("SIZE")));
    parser.addPositionalArgument(CCommandLineExport::tr("FILE"),
                                 CCommandLineExport::tr("The figure file (.xml) to open."),
                                 CCommandLineExport::tr("[FILE]"));
}

QString CCommandLineExport::VersionText()
{
    return QStringLiteral("Tarvex %1\n").arg(QStringLiteral(TARVEX_VERSION))
           + CCommandLineExport::tr("License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
                                    "This is free software: you are free to change and redistribute it.\n"
                                    "There is NO WARRANTY, to the extent permitted by law.\n");
}

void CCommandLineExport::Process(QCoreApplication &app, QCommandLineParser &parser)
{
    parser.process(app);
    if (parser.isSet(QString::fromLatin1(VersionOptionName))) {
        std::fputs(VersionText().toLocal8Bit().constData(), stdout);
        std::fflush(stdout);
        std::exit(0);
    }
}

int CCommandLineExport::Run(QCoreApplication &app)
{
    QCommandLineParser parser;
    Configure(app, parser);
    Process(app, parser);
    const QStringList files = parser.positionalArguments();
    if (!parser.isSet(QString::fromLatin1(ExportOptionName)) || files.size() != 1) {
        PrintError(CCommandLineExport::tr("--export needs the output file and exactly one figure file: "
                                          "tarvex --export OUT FILE"));
        return 2;
    }
    QString message;
    const int code = Export(files.first(), parser.value(QString::fromLatin1(ExportOptionName)), &message,
                            parser.isSet(QString::fromLatin1(TransparentOptionName)));
    if (code != 0)
        PrintError(message);
    return code;
}

int CCommandLineExport::Export(const QString &figurePath, const QString &outputPath, QString *message, bool transparent)
{
    if (CFigureWriter::FormatOf(outputPath) == CFigureWriter::Format::Unknown) {
        if (message)
            *message = CFigureWriter::UnknownTypeText(outputPath);
        return 2;
    }

    CFigure figure;
    if (!ReadFigure(figurePath, figure, message))
        return 1;
    QString reason;
    if (!CFigureWriter::Write(CFigureWriter::FormatOf(outputPath), figure, nullptr, outputPath, transparent, &reason)) {
        if (message)
            *message = CCommandLineExport::tr("The figure could not be saved to %1.\n%2").arg(outputPath, reason);
        return 1;
    }
    return 0;
}

bool CCommandLineExport::ReadFigure(const QString &figurePath, CFigure &figure, QString *message)
{
    auto fail = [message](const QString &text) {
        if (message)
            *message = text;
        return false;
    };
    // Figures are read only from regular files, so that a file's size is known and
    // limited before it is read; "-" would mean standard input.
    if (figurePath == QLatin1String("-"))
        return fail(CTarvexDoc::tr(CTarvexDoc::LoadErrorText) + QLatin1Char('\n')
                    + CCommandLineExport::tr("Figures are not read from standard input, only from regular files: "
                                             "save the figure to a file and name that file."));
    // Straight from the file layer: no document, so the user's settings store is never
    // read or written.
    QString reason;
    if (!CFigureXml::Load(figurePath, figure, &reason))
        return fail(CTarvexDoc::tr(CTarvexDoc::LoadErrorText) + QLatin1Char('\n') + reason);
    if (figure.IsEmpty())
        return fail(QCoreApplication::translate("CFigure", CFigure::EmptyFigureText));
    return true;
}
