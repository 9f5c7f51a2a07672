// SPDX-License-Identifier: GPL-3.0-or-later
// Reading figure files safely: the one-open, descriptor-checked read against Qt's own
// file read of the same bytes, and the whole program's peak on hostile files the
// reader must refuse (one tag of millions of attributes) against the largest figure.

#include "benchmark.h"

#include "files/figurexml.h"
#include "files/regularfile.h"
#include "files/xmlelement.h"
#include "geometry/figure.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <vector>

namespace {

void SafeReading()
{
    CFigure figure;
    figure.Resize(100, 100);
    for (int r = 0; r < 100; ++r)
        for (int c = 0; c < RowLength(100, r); ++c)
            figure.PlaceCube(c, r, (r * 7 + c) % 64);
    QTemporaryDir dir(QDir::currentPath() + "/bench-reading-XXXXXX");
    const QString largest = dir.filePath("largest.xml");
    if (!CFigureXml::Save(figure, largest, nullptr))
        return;

    // The two reads in turns, medians of each.
    std::vector<double> checked, plain;
    for (int round = 0; round < 15; ++round) {
        checked.push_back(MedianNanoseconds(5, [&] {
            QByteArray data;
            CRegularFile::ReadFile(largest, CXmlElement::MaxFileSize, &data);
        }));
        plain.push_back(MedianNanoseconds(5, [&] {
            QFile file(largest);
            if (file.open(QIODevice::ReadOnly))
                file.readAll();
        }));
    }
    const double ours = Median(checked);
    CBenchmark::Report(
        QString("Read the largest figure file (%1 KB), checked descriptor").arg(QFileInfo(largest).size() / 1024),
        ours / 1000.0, "us", ours / Median(plain), "x QFile::readAll of the same file");

    // Whole-program peaks as a user meets them.
    const QString tarvex = QCoreApplication::applicationDirPath() + "/../src/tarvex";
    if (!QFileInfo::exists(tarvex))
        return;
    const QString out = dir.filePath("out.xml");
    double seconds = 0;
    const double baseline = ChildPeakMiB({tarvex, "--export", out, largest}, &seconds);
    struct Hostile
    {
        const char *name;
        QByteArray text;
    };
    const qint64 room = CXmlElement::MaxFileSize - 16;
    const std::vector<Hostile> files{
        {"one tag, 4.2 million one-byte attributes", "<xml" + QByteArray(" a").repeated(room / 2) + ">"},
        {"200,000 empty elements", "<xml>" + QByteArray("<c/>").repeated(CXmlElement::MaxElements - 1) + "</xml>"},
    };
    for (const Hostile &file : files) {
        const QString path = dir.filePath("hostile.xml");
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(file.text) != file.text.size())
            return;
        f.close();
        const double peak = ChildPeakMiB({tarvex, "--export", out, path}, &seconds, true);
        if (peak > 0 && baseline > 0)
            CBenchmark::Report(QString("tarvex --export, %1: whole-process peak").arg(file.name), peak, "MiB",
                               peak / baseline, "x the largest real figure");
    }
}

} // namespace

CBenchmark safeReading("files-safe-reading", SafeReading);
