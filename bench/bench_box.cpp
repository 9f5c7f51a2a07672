// SPDX-License-Identifier: GPL-3.0-or-later
// The box tool's outline on the largest grid: the cells of a box filling it (what each
// pointer move of the drag recomputes), from the box's three front faces against every
// point of the box, in turns (medians). And a drag of the tool in a view of that grid:
// each pointer move with the outline repainted, against a move of the drawing tool.

#include "benchmark.h"

#include "document/tarvexdoc.h"
#include "geometry/isospace.h"
#include "view/boxtool.h"
#include "view/tarvexview.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QSize>

#include <vector>

namespace {

void Box()
{
    const QSize grid(100, 100);
    const QPoint corner(50, 0);
    const CIsoSpace::Point far{60, 60, -45};
    std::vector<double> front, whole;
    qsizetype cells = 0;
    for (int round = 0; round < 5; ++round) {
        front.push_back(MedianNanoseconds(
            5, [&] { cells = CIsoSpace::PlacingOrder(corner, CIsoSpace::BoxFront({}, far), grid).size(); }));
        whole.push_back(MedianNanoseconds(
            5, [&] { cells = CIsoSpace::PlacingOrder(corner, CIsoSpace::BoxBetween({}, far), grid).size(); }));
    }
    const double f = Median(front);
    const double w = Median(whole);
    CBenchmark::Report(
        QString("Box outline 61x61x46 on 100x100 cells (%1 cells), per pointer move").arg(cells), f / 1e6, "ms", f / w,
        QString("x every point of the box (median %1 ms, in turns; target < 10 ms)").arg(w / 1e6, 0, 'f', 1));
}

void Send(QWidget *viewport, QEvent::Type type, const QPoint &at)
{
    QMouseEvent event(type, at, viewport->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &event);
}

// Median time of a pointer move between two points, repaint included, while dragging.
double Drag(CTarvexView &view, const QPoint &a, const QPoint &b, qsizetype *outlined = nullptr)
{
    QWidget *viewport = view.viewport();
    Send(viewport, QEvent::MouseButtonPress, QPoint(20, 20));
    bool there = false;
    const double ns = MedianNanoseconds(21, [&] {
        Send(viewport, QEvent::MouseMove, there ? a : b);
        there = !there;
        viewport->repaint();
    });
    if (outlined)
        *outlined = static_cast<CBoxTool *>(view.ActiveTool())->Outline().size();
    Send(viewport, QEvent::MouseButtonRelease, b);
    return ns;
}

void BoxDrag()
{
    CTarvexDoc doc(false);
    doc.ResizeGrid(100, 100);
    CTarvexView view(doc);
    view.SetCurrentCubeSource([] { return 0; });
    view.resize(1600, 1000);
    view.show();
    QCoreApplication::processEvents();
    CBoxTool tool(doc, view);
    std::vector<double> boxes, plain;
    qsizetype outlined = 0;
    for (int round = 0; round < 3; ++round) {
        view.SetDrawingTool(&tool);
        boxes.push_back(Drag(view, QPoint(1200, 900), QPoint(1180, 880), &outlined));
        doc.OnEditUndo();
        view.SetDrawingTool(nullptr);
        plain.push_back(Drag(view, QPoint(1200, 900), QPoint(1180, 880)));
        doc.OnEditUndo();
    }
    const double b = Median(boxes);
    const double p = Median(plain);
    CBenchmark::Report(
        QString("Box drag in a 1600x1000 view, box of %1 cells, per move with repaint").arg(outlined), b / 1e6, "ms",
        b / p, QString("x a drawing tool move (median %1 ms, in turns; target < 40 ms)").arg(p / 1e6, 0, 'f', 1));
}

CBenchmark box("box", Box);
CBenchmark boxDrag("box-drag", BoxDrag);

} // namespace
