// SPDX-License-Identifier: GPL-3.0-or-later
// PNG, SVG and PDF output of the largest figure (100 x 100 cells full of cubes of 200,
// a 25944 x 7627 picture), next to the bitmap export and the raw write floor of the
// same run: time, file size and the peak memory of `tarvex --export` for each format;
// the PNG's size also against optipng -o2 of the same pixels.
// The floor, the bitmap and the PNG exports run in turns, round after round, and
// medians are reported: the disk's speed drifts, and a floor taken once, away from
// the export, swings the ratio.

#include "benchmark.h"

#include "document/tarvexdoc.h"
#include "files/bitmapexport.h"
#include "files/pngexport.h"
#include "support/testdocument.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

namespace {

constexpr int Rounds = 5;

void FillAll(CTarvexDoc &doc)
{
    QRandomGenerator random(17);
    doc.ResizeGrid(100, 100);
    EditFigure(doc, [&](CFigure &f) { f.CubeSize = 200; });
    for (int r = 0; r < 100; ++r)
        for (int c = 0; c < RowLength(100, r); ++c)
            PlaceCube(doc, c, r, int(random.bounded(64)));
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

// The same pixels recompressed by `optipng -o2` (trying zlib levels, strategies and
// per-row filters for the smallest file), when it is installed: its size against
// ours. It runs once, after the timed rounds; it takes about a minute.
void CompareWithOptipng(const QString &png)
{
    const QString optipng = QStandardPaths::findExecutable("optipng");
    if (optipng.isEmpty()) {
        std::printf("optipng -o2 of the PNG export: optipng is not installed, no comparison\n");
        return;
    }
    const QString smaller = png + ".optipng.png";
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    process.start(optipng, {"-quiet", "-o2", "-out", smaller, png});
    const bool ran = process.waitForFinished(600000) && process.exitCode() == 0;
    const double seconds = timer.nsecsElapsed() / 1e9;
    const qint64 theirs = QFileInfo(smaller).size();
    QFile::remove(smaller);
    if (!ran || theirs <= 0) {
        std::printf("optipng -o2 of the PNG export: optipng failed, no comparison\n");
        return;
    }
    CBenchmark::Report(QString("optipng -o2 of the same pixels (%1 s)").arg(seconds, 0, 'f', 0), theirs / 1e6, "MB",
                       double(QFileInfo(png).size()) / theirs, "x: our PNG against it (target <= 1.10)");
}

void ExportFormats()
{
    CTarvexDoc doc(false);
    FillAll(doc);
    const QSize size = CBitmapExport::BitmapSize(doc.Figure());
    const qint64 bmpBytes = 54 + qint64(size.width()) * size.height() * 3;
    const QSize pictureSize = CPngExport::PictureSize(doc.Figure());
    QTemporaryDir dir(QDir::currentPath() + "/bench-export-XXXXXX");
    const QString name = QString("%1x%2").arg(pictureSize.width()).arg(pictureSize.height());

    const QString bmp = dir.filePath("largest.bmp");
    const QString png = dir.filePath("largest.png");
    const QString clear = dir.filePath("clear.png");
    std::vector<double> floors, bmps, pngs, clears;
    for (int round = 0; round < Rounds; ++round) {
        floors.push_back(WriteFloorSeconds(dir.filePath("floor.bin"), bmpBytes));
        bmps.push_back(Timed([&] { return doc.SaveFigureAs(bmp, false); }));
        QFile::remove(bmp);
        pngs.push_back(Timed([&] { return doc.SaveFigureAs(png, false); }));
        clears.push_back(Timed([&] { return doc.SaveFigureAs(clear, true); }));
    }
    const double floor = Median(floors);
    const double bmpSeconds = Median(bmps);
    CBenchmark::Report(QString("BMP %1x%2, median of %3").arg(size.width()).arg(size.height()).arg(Rounds), bmpSeconds,
                       "s", bmpSeconds / floor,
                       QString("x raw write(2) of the same %1 MB (median %2 s, in turns)")
                           .arg(bmpBytes / 1e6, 0, 'f', 0)
                           .arg(floor, 0, 'f', 2));
    for (const bool transparent : {false, true}) {
        const QString path = transparent ? clear : png;
        const double seconds = Median(transparent ? clears : pngs);
        CBenchmark::Report(QString("PNG %1%2 (palette, libdeflate levels %3 and %4), %5 MB, median of %6")
                               .arg(name, transparent ? " transparent" : "")
                               .arg(CPngExport::CompressionLevel(2, 0))
                               .arg(CPngExport::CompressionLevel(2, 1))
                               .arg(QFileInfo(path).size() / 1e6, 0, 'f', 3)
                               .arg(Rounds),
                           seconds, "s", seconds / bmpSeconds, "x the BMP export (target <= 1)");
        if (!transparent)
            CompareWithOptipng(png);
        QFile::remove(path);
    }
    for (const char *ext : {"svg", "pdf"}) {
        const QString path = dir.filePath(QString("largest.") + ext);
        const double seconds = Timed([&] { return doc.SaveFigureAs(path, false); });
        CBenchmark::Report(QString("%1 %2, %3 MiB").arg(QString(ext).toUpper(), name).arg(MiB(path), 0, 'f', 2),
                           seconds, "s", seconds / bmpSeconds, "x the BMP export");
        QFile::remove(path);
    }

    // As the user runs it: the whole program's peak memory, the child's alone.
    const QString xml = dir.filePath("largest.xml");
    const QString tarvex = QCoreApplication::applicationDirPath() + "/../src/tarvex";
    if (doc.SaveFigureXml(xml) && QFileInfo::exists(tarvex)) {
        for (const char *ext : {"bmp", "png", "svg", "pdf"}) {
            const QString out = dir.filePath(QString("child.") + ext);
            double seconds = 0;
            const double peak = ChildPeakMiB({tarvex, "--export", out, xml}, &seconds);
            CBenchmark::Report(
                QString("tarvex --export largest .%1: whole-process peak (%2 s)").arg(ext).arg(seconds, 0, 'f', 2),
                peak, "MiB");
            QFile::remove(out);
        }
    }
}

CBenchmark exportFormats("export-formats", ExportFormats);

} // namespace
