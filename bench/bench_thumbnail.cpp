// SPDX-License-Identifier: GPL-3.0-or-later
// File-manager previews: `tarvex --thumbnail SIZE IN OUT` as the file manager runs
// it, a whole process each time (start-up included), for the largest figure the
// program allows (100 x 100 cells, all full, cube size 200) and a small one.

#include "benchmark.h"

#include "document/tarvexdoc.h"
#include "support/testdocument.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

void Thumbnails()
{
    const QString tarvex = QCoreApplication::applicationDirPath() + "/../src/tarvex";
    QTemporaryDir dir;
    if (!QFileInfo::exists(tarvex) || !dir.isValid())
        return;
    struct Case
    {
        const char *name;
        int width;
        int height;
        int cubeSize;
    };
    for (const Case &c : {Case{"largest (100x100 full, cube 200)", 100, 100, 200},
                          Case{"small (20x40, 30 cubes, cube 32)", 20, 40, 32}}) {
        CTarvexDoc doc(false);
        doc.ResizeGrid(c.width, c.height);
        EditFigure(doc, [&](CFigure &f) { f.CubeSize = c.cubeSize; });
        int placed = 0;
        for (int r = 0; r < c.height; ++r)
            for (int col = 0; col < RowLength(c.width, r); ++col)
                if (c.width == 100 || placed++ < 30)
                    PlaceCube(doc, col, r, 0);
        const QString xml = dir.filePath("figure.xml");
        const QString png = dir.filePath("figure.png");
        if (!doc.SaveFigureXml(xml))
            return;
        for (int size : {64, 256, 1024}) {
            const QStringList args = {"--thumbnail", QString::number(size), xml, png};
            bool ok = true;
            const double ns = MedianNanoseconds(9, [&] { ok = ok && QProcess::execute(tarvex, args) == 0; });
            if (!ok) {
                std::printf("thumbnail failed\n");
                return;
            }
            CBenchmark::Report(QString("tarvex --thumbnail %1, %2: wall time (target < 150 ms)").arg(size).arg(c.name),
                               ns / 1e6, "ms");
        }
    }
}

} // namespace

CBenchmark thumbnails("thumbnail", Thumbnails);
