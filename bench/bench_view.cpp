// SPDX-License-Identifier: GPL-3.0-or-later
// Repainting the workspace view and clicking in it at the largest workspace.

#include "benchmark.h"
#include "support/referencescan.h"

#include "document/tarvexdoc.h"
#include "view/tarvexview.h"
#include "support/testdocument.h"

#include <QApplication>
#include <QEvent>
#include <cstdio>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QScrollBar>

namespace {

// Counts the paint events of a widget, to make sure every measured repaint painted.
class CPaintCounter : public QObject
{
public:
    int Count = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++Count;
        return false;
    }
};

void FillAll(CTarvexDoc &doc)
{
    QRandomGenerator random(23);
    const QSize size = doc.Figure().GridSize();
    for (int r = 0; r < size.height(); ++r)
        for (int c = 0; c < RowLength(size.width(), r); ++c)
            PlaceCube(doc, c, r, int(random.bounded(64)));
}

void ViewRepaint()
{
    CTarvexDoc doc(false);
    doc.ResizeGrid(100, 100);
    EditFigure(doc, [&](CFigure &f) { f.CubeSize = 32; });
    FillAll(doc);
    CTarvexView view(doc);
    view.SetCurrentCubeSource([] { return 0; });
    view.setFrameShape(QFrame::NoFrame);
    view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.resize(1280, 800);
    view.show();
    QCoreApplication::processEvents();
    // Somewhere in the middle of the workspace.
    view.horizontalScrollBar()->setValue(1500);
    view.verticalScrollBar()->setValue(400);
    QCoreApplication::processEvents();
    QWidget *viewport = view.viewport();
    CPaintCounter counter;
    viewport->installEventFilter(&counter);

    // The view's own paint: the whole viewport, synchronously, every row drawn.
    auto again = [&] {
        ChangeBackground(doc);
    };
    const double cached = MedianNanoseconds(41, again, [&] { viewport->repaint(); });
    if (counter.Count != 41)
        std::fprintf(stderr, "view-repaint: %d paints instead of 41\n", counter.Count);

    // The straightforward paint of the same viewport: every cell of the workspace
    // drawn with the cube painter in row order.
    QImage target(viewport->size(), QImage::Format_RGB32);
    const QPoint scroll = view.ScrollPosition();
    const double direct = MedianNanoseconds(5, [&] {
        QPainter painter(&target);
        painter.fillRect(target.rect(), ColorFromRef(doc.Figure().BkColor));
        painter.translate(-scroll);
        DrawFigureByPainter(painter, doc.Figure(), doc.Figure().CubeSize, QPoint(0, 0), true, nullptr);
    });
    CBenchmark::Report("View repaint 1280x800, 100x100 cells all cubes, size 32", cached / 1e6, "ms", direct / cached,
                       "x faster than the cube painter on every cell");

    // The same with every cube selected (greyed pictures).
    doc.ToggleSelectMode();
    doc.SelectAll();
    const double selected = MedianNanoseconds(41, again, [&] { viewport->repaint(); });
    CBenchmark::Report("View repaint 1280x800, all cubes selected", selected / 1e6, "ms");
    doc.ToggleSelectMode();

    // A click: snapshot, place, repaint.
    QRandomGenerator random(5);
    const double click = MedianNanoseconds(41, [&] {
        const QPoint p(int(random.bounded(1280)), int(random.bounded(800)));
        view.PlaceCubeAt(view.ToWorkspace(p));
        viewport->repaint();
    });
    CBenchmark::Report("Click (snapshot, place, repaint) 100x100, size 32", click / 1e6, "ms");
}

CBenchmark viewRepaint("view-repaint", ViewRepaint);

} // namespace
