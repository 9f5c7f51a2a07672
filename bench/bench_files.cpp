// SPDX-License-Identifier: GPL-3.0-or-later
// Figure files and bitmap export at the largest sizes the program allows.
//
// Peak memory of the export is measured two ways:
// - in this process: the kernel's peak resident size (VmHWM) is reset through
//   /proc/self/clear_refs just before the export, and the peak reached during it is
//   compared with the resident size (VmRSS) right before;
// - as the user meets it: `tarvex --export OUT FILE` runs as a child process under
//   /usr/bin/time, which reports the child's own peak resident size.

#include "benchmark.h"

#include "document/tarvexdoc.h"
#include "files/bitmapexport.h"
#include "files/safefilewriter.h"
#include "support/testdocument.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <cstdio>
#include <vector>

namespace {

void FillAll(CTarvexDoc &doc, int width, int height, int cubeSize)
{
    QRandomGenerator random(17);
    doc.ResizeGrid(width, height);
    EditFigure(doc, [&](CFigure &f) { f.CubeSize = cubeSize; });
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < RowLength(width, r); ++c)
            PlaceCube(doc, c, r, int(random.bounded(64)));
}

// Kilobytes from a line of /proc/self/status such as "VmHWM:  123 kB".
qint64 StatusKb(const char *key)
{
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qstrlen(key) + 1).trimmed().split(' ').first().toLongLong();
    return -1;
}

bool ResetPeak()
{
    QFile f("/proc/self/clear_refs");
    return f.open(QIODevice::WriteOnly) && f.write("5") == 1;
}

void ExportLargest()
{
    CTarvexDoc doc(false);
    FillAll(doc, 100, 100, 200);
    const QSize size = CBitmapExport::BitmapSize(doc.Figure());
    const qint64 bytes = 54 + qint64(size.width()) * size.height() * 3;
    // Beside the build, on the disk the user's files would go to.
    QTemporaryDir dir(QDir::currentPath() + "/bench-files-XXXXXX");
    const QString bmp = dir.filePath("largest.bmp");

    // Floor and export in turns, medians of the rounds: disk speed drifts, and a floor
    // taken once away from the export makes the ratio swing.
    constexpr int Rounds = 5;
    std::vector<double> floors, exports;
    qint64 rssBefore = -1;
    qint64 peak = -1;
    for (int round = 0; round < Rounds; ++round) {
        floors.push_back(WriteFloorSeconds(dir.filePath("floor.bin"), bytes));
        const qint64 rss = StatusKb("VmRSS:");
        const bool peakReset = ResetPeak();
        QElapsedTimer timer;
        timer.start();
        QString error;
        if (!doc.ExportBitmap(bmp, &error)) {
            std::printf("export failed: %s\n", qPrintable(error));
            return;
        }
        exports.push_back(timer.nsecsElapsed() / 1e9);
        if (peakReset && round == 0) {
            peak = StatusKb("VmHWM:");
            rssBefore = rss;
        }
        QFile::remove(bmp);
    }
    const double floorSeconds = Median(floors);
    const double exportSeconds = Median(exports);

    CBenchmark::Report(
        QString("Export %1x%2 px (%3 MB), 100x100 cubes of 200, median of %4")
            .arg(size.width())
            .arg(size.height())
            .arg(bytes / 1e6, 0, 'f', 0)
            .arg(Rounds),
        exportSeconds, "s", exportSeconds / floorSeconds,
        QString("x write(2) of the same bytes in 1 MiB calls (median %1 s, in turns)").arg(floorSeconds, 0, 'f', 2));
    if (peak >= 0)
        CBenchmark::Report("Export peak memory above resident before", (peak - rssBefore) / 1024.0, "MiB");

    // The same export as a user runs it: the whole program's peak, the child's alone.
    const QString xml = dir.filePath("largest.xml");
    const QString tarvex = QCoreApplication::applicationDirPath() + "/../src/tarvex";
    QString error;
    if (doc.SaveFigureXml(xml, &error) && QFileInfo::exists(tarvex)) {
        double seconds = 0;
        const double peakMiB = ChildPeakMiB({tarvex, "--export", bmp, xml}, &seconds);
        if (peakMiB > 0) {
            CBenchmark::Report("tarvex --export largest: whole-process peak", peakMiB, "MiB");
            CBenchmark::Report("tarvex --export largest: wall time", seconds, "s", seconds / floorSeconds,
                               "x the write floor");
        }
    }
}

void FigureFiles()
{
    CTarvexDoc doc(false);
    FillAll(doc, 100, 100, 200);
    QTemporaryDir dir(QDir::currentPath() + "/bench-files-XXXXXX");
    const QString path = dir.filePath("full.xml");
    const double save = MedianNanoseconds(21, [&] { doc.SaveFigureXml(path, nullptr); });
    const QByteArray bytes = [&] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    const double load = MedianNanoseconds(21, [&] {
        CTarvexDoc fresh(false);
        LoadFigure(fresh, path, nullptr);
    });
    // The plain approach for comparison: write and read the same bytes.
    const QString raw = dir.filePath("raw.xml");
    const double rawWrite = MedianNanoseconds(21, [&] {
        CSafeFileWriter writer(raw);
        writer.Write(bytes.constData(), bytes.size());
        writer.Commit();
    });
    // For loading, Qt's own XML reader going through the same file (reading every
    // element and the cubes' attributes, filling nothing).
    const double qtXml = MedianNanoseconds(21, [&] {
        QFile f(raw);
        f.open(QIODevice::ReadOnly);
        QXmlStreamReader reader(&f);
        volatile int sum = 0;
        while (!reader.atEnd())
            if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QLatin1String("Cube"))
                sum += reader.attributes().value("Index").toInt();
    });
    const QString size = QString("%1 KB, %2 cubes").arg(bytes.size() / 1024).arg(bytes.count("<Cube"));
    CBenchmark::Report("Save full 100x100 figure file", save / 1e6, "ms", save / rawWrite,
                       "x writing the same bytes (" + size + ")");
    CBenchmark::Report("Load full 100x100 figure file", load / 1e6, "ms", load / qtXml,
                       "x QXmlStreamReader just reading the file");
}

CBenchmark exportLargest("files-export-largest", ExportLargest);
CBenchmark figureFiles("files-figure-load-save", FigureFiles);

} // namespace
