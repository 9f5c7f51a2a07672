// SPDX-License-Identifier: GPL-3.0-or-later
// The largest figure (100 x 100 cells full of cubes of 200) in one colouring and in
// sixteen, exported as PNG and BMP in turns, round after round (medians); and the
// view's repaint at 4K with sixteen colourings in view.

#include "benchmark.h"

#include "document/tarvexdoc.h"
#include "support/testdocument.h"
#include "view/tarvexview.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTemporaryDir>

#include <vector>

namespace {

constexpr int Rounds = 3;

// Every cell a random kind; with colourings above 1 the palette holds that many and the
// cubes take them at random.
void Fill(CTarvexDoc &doc, int cubeSize, int colourings)
{
    QRandomGenerator random(29);
    doc.ResizeGrid(100, 100);
    EditFigure(doc, [&](CFigure &f) {
        f.CubeSize = cubeSize;
        for (int i = 1; i < colourings; ++i)
            f.Palette.append(CColouring::Shaded(MakeColorRef(16 * i, 255 - 12 * i, 90 + 9 * i)));
        for (int r = 0; r < 100; ++r)
            for (int c = 0; c < RowLength(100, r); ++c)
                f.PlaceCube(c, r, CellValue(int(random.bounded(64)), int(random.bounded(colourings))));
    });
}

double Seconds(CTarvexDoc &doc, const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    const bool ok = doc.SaveFigureAs(path, false);
    const double seconds = timer.nsecsElapsed() / 1e9;
    QFile::remove(path);
    return ok ? seconds : -1;
}

void Colourings()
{
    CTarvexDoc one(false);
    CTarvexDoc sixteen(false);
    Fill(one, 200, 1);
    Fill(sixteen, 200, 16);
    QTemporaryDir dir(QDir::currentPath() + "/bench-colourings-XXXXXX");
    for (const char *ext : {"png", "bmp"}) {
        const QString path = dir.filePath(QString("largest.") + ext);
        std::vector<double> ones, sixteens;
        for (int round = 0; round < Rounds; ++round) {
            ones.push_back(Seconds(one, path));
            sixteens.push_back(Seconds(sixteen, path));
        }
        const double base = Median(ones);
        const double many = Median(sixteens);
        CBenchmark::Report(
            QString("%1 largest figure, 16 colourings, median of %2").arg(QString(ext).toUpper()).arg(Rounds), many,
            "s", many / base, QString("x one colouring (median %1 s, in turns; target <= 1.2)").arg(base, 0, 'f', 2));
    }

    // The view at 4K over cubes of 32, in one colouring and in sixteen, in turns:
    // repainted as it is (the view draws again only what changed on screen), with a
    // cube placed before each repaint, and with the background changed before each
    // repaint, so that every row is drawn.
    enum { Same, OneCube, EveryRow, Ways };
    std::vector<double> views[2][Ways];
    for (int round = 0; round < Rounds; ++round) {
        for (int colourings : {1, 16}) {
            CTarvexDoc doc(false);
            Fill(doc, 32, colourings);
            CTarvexView view(doc);
            view.SetCurrentCubeSource([] { return 0; });
            view.setFrameShape(QFrame::NoFrame);
            view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            view.resize(3840, 2160);
            view.show();
            QCoreApplication::processEvents();
            QWidget *viewport = view.viewport();
            std::vector<double> *times = views[colourings == 16 ? 1 : 0];
            times[Same].push_back(MedianNanoseconds(21, [&] { viewport->repaint(); }));
            for (int way : {OneCube, EveryRow}) {
                std::vector<double> each;
                for (int i = 0; i < 21; ++i) {
                    if (way == EveryRow)
                        ChangeBackground(doc);
                    else
                        EditFigure(doc, [i](CFigure &f) { f.PlaceCube(50, 50, CellValue(i % 64, 0)); });
                    QElapsedTimer timer;
                    timer.start();
                    viewport->repaint();
                    each.push_back(double(timer.nsecsElapsed()));
                    QCoreApplication::processEvents(); // the update the change asked for
                }
                times[way].push_back(Median(each));
            }
        }
    }
    auto ms = [&](int colourings, int way) {
        return Median(views[colourings == 16 ? 1 : 0][way]) / 1e6;
    };
    CBenchmark::Report("View repaint 3840x2160, 100x100 cells, 16 colourings, size 32", ms(16, Same), "ms",
                       ms(16, Same) / ms(1, Same),
                       QString("x one colouring (median %1 ms, in turns; target < 4 ms)").arg(ms(1, Same), 0, 'f', 2));
    CBenchmark::Report("  the same, a cube placed before each repaint", ms(16, OneCube), "ms",
                       ms(16, OneCube) / ms(16, EveryRow), "x the repaint with every row drawn");
    CBenchmark::Report("  the same, every row drawn (the background changed before each repaint)", ms(16, EveryRow),
                       "ms", ms(16, EveryRow) / ms(1, EveryRow),
                       QString("x one colouring (median %1 ms, in turns)").arg(ms(1, EveryRow), 0, 'f', 2));
}

CBenchmark colourings("colourings", Colourings);

} // namespace
