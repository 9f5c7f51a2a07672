// SPDX-License-Identifier: GPL-3.0-or-later
// PNG, SVG and PDF output of the largest figure (100 x 100 cells full of cubes of 200,
// a 25944 x 7627 picture), next to the bitmap export and the raw write floor of the
// same run: time, file size and, for PNG, the peak memory of `tarvex --export`.

#include "benchmark.h"

#include "document/tarvexdoc.h"
#include "files/bitmapexport.h"
#include "files/pngexport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

#include <vector>

namespace {

void FillAll(CTarvexDoc &doc)
{
    QRandomGenerator random(17);
    doc.ResizeGrid(100, 100);
    doc.CubeSize = 200;
    for (int r = 0; r < 100; ++r)
        for (int c = 0; c < RowLength(100, r); ++c)
            doc.PlaceCube(c, r, int(random.bounded(64)));
}

// Runs the program under /usr/bin/time and returns its wall time and peak resident
// size in MiB (or -1). The peak comes from time, a small process: a child spawned
// straight from this benchmark would inherit this process's own peak through exec.
double ChildPeakMiB(const QStringList &arguments, double *seconds)
{
    const QString time = QStringLiteral("/usr/bin/time");
    if (!QFileInfo::exists(time))
        return -1;
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    process.start(time, QStringList{"-f", "peak %M"} + arguments);
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        return -1;
    *seconds = timer.nsecsElapsed() / 1e9;
    const QList<QByteArray> lines = process.readAllStandardError().trimmed().split('\n');
    return lines.last().startsWith("peak ") ? lines.last().mid(5).toDouble() / 1024.0 : -1;
}

double Timed(const std::function<bool()> &f)
{
    QElapsedTimer timer;
    timer.start();
    if (!f())
        return -1;
    return timer.nsecsElapsed() / 1e9;
}

double MiB(const QString &path)
{
    return QFileInfo(path).size() / (1024.0 * 1024.0);
}

void ExportFormats()
{
    CTarvexDoc doc(false);
    FillAll(doc);
    const QSize size = CBitmapExport::BitmapSize(doc.Figure());
    const qint64 bmpBytes = 54 + qint64(size.width()) * size.height() * 3;
    QTemporaryDir dir(QDir::currentPath() + "/bench-export-XXXXXX");
    const QString name = QString("%1x%2").arg(size.width()).arg(size.height());

    const double floor = WriteFloorSeconds(dir.filePath("floor.bin"), bmpBytes);
    const QString bmp = dir.filePath("largest.bmp");
    const double bmpSeconds = Timed([&] { return doc.SaveFigureAs(bmp, false); });
    QFile::remove(bmp);
    CBenchmark::Report("BMP " + name, bmpSeconds, "s", bmpSeconds / floor,
                       QString("x raw write(2) of the same %1 MB (%2 s)")
                           .arg(bmpBytes / 1e6, 0, 'f', 0).arg(floor, 0, 'f', 2));

    for (const bool transparent : {false, true}) {
        const QString png = dir.filePath("largest.png");
        const double seconds = Timed([&] { return doc.SaveFigureAs(png, transparent); });
        CBenchmark::Report(QString("PNG %1%2 (zlib level %3, Up filter, run-length strategy), %4 MiB")
                               .arg(name, transparent ? " transparent" : "")
                               .arg(CPngExport::CompressionLevel).arg(MiB(png), 0, 'f', 2),
                           seconds, "s", seconds / bmpSeconds, "x the BMP export");
        QFile::remove(png);
    }
    for (const char *ext : {"svg", "pdf"}) {
        const QString path = dir.filePath(QString("largest.") + ext);
        const double seconds = Timed([&] { return doc.SaveFigureAs(path, false); });
        CBenchmark::Report(QString("%1 %2, %3 MiB").arg(QString(ext).toUpper(), name).arg(MiB(path), 0, 'f', 2),
                           seconds, "s", seconds / bmpSeconds, "x the BMP export");
        QFile::remove(path);
    }

    // As the user runs it: the whole program's peak memory.
    const QString xml = dir.filePath("largest.xml");
    const QString tarvex = QCoreApplication::applicationDirPath() + "/../src/tarvex";
    if (doc.SaveFigureXml(xml) && QFileInfo::exists(tarvex)) {
        for (const char *ext : {"png", "svg", "pdf"}) {
            const QString out = dir.filePath(QString("child.") + ext);
            double seconds = 0;
            const double peak = ChildPeakMiB({tarvex, "--export", out, xml}, &seconds);
            CBenchmark::Report(QString("tarvex --export largest .%1: whole-process peak (%2 s)")
                                   .arg(ext).arg(seconds, 0, 'f', 2),
                               peak, "MiB");
            QFile::remove(out);
        }
    }
}

CBenchmark exportFormats("export-formats", ExportFormats);

} // namespace
