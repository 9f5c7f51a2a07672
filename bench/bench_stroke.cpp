// SPDX-License-Identifier: GPL-3.0-or-later
// A Shift+drag stroke across the whole largest figure: the time per crossed cell, the
// cubes placed and the view repainted around them, against repainting the whole view
// for every pointer move as every other edit does.

#include "benchmark.h"

#include "document/tarvexdoc.h"
#include "geometry/gridpath.h"
#include "support/testdocument.h"
#include "view/tarvexview.h"

#include <QApplication>
#include <QMouseEvent>
#include <QRandomGenerator>
#include <QSet>
#include <QScrollBar>
#include <QElapsedTimer>

#include <algorithm>
#include <vector>

namespace {

void Send(QWidget *viewport, QEvent::Type type, const QPoint &at, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, at, viewport->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      buttons, Qt::ShiftModifier);
    QCoreApplication::sendEvent(viewport, &event);
}

void Stroke()
{
    CTarvexDoc doc(false);
    EditFigure(doc, [](CFigure &figure) {
        figure.Resize(100, 100);
        figure.CubeSize = 32;
        QRandomGenerator random(29);
        for (int r = 0; r < 100; ++r)
            for (int c = 0; c < RowLength(100, r); ++c)
                figure.PlaceCube(c, r, int(random.bounded(64)));
    });
    CTarvexView view(doc);
    view.SetCurrentCubeSource([] { return 0; });
    view.setFrameShape(QFrame::NoFrame);
    view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The whole workspace on screen, so the stroke crosses the whole grid.
    view.resize(doc.Figure().GetWorkspaceSize());
    view.show();
    QCoreApplication::processEvents();
    QWidget *viewport = view.viewport();

    // Corner to corner in steps of 6 pixels, as a quick hand moves the pointer.
    const QSize workspace = doc.Figure().GetWorkspaceSize();
    const QPoint from(16, 16);
    const QPoint to(workspace.width() - 20, workspace.height() - 20);
    const int steps = qMax(to.x() - from.x(), to.y() - from.y()) / 6;
    QSet<quint32> cells;
    for (const QPoint &cell : CGridPath::SegmentCells(from, to, doc.Figure().GridSize(), 32))
        cells.insert(quint32(cell.y() * 65536 + cell.x()));

    auto run = [&](bool wholeView) {
        QElapsedTimer timer;
        timer.start();
        Send(viewport, QEvent::MouseButtonPress, from, Qt::LeftButton);
        for (int i = 1; i <= steps; ++i) {
            Send(viewport, QEvent::MouseMove, from + (to - from) * i / steps, Qt::LeftButton);
            if (wholeView)
                viewport->update();
            // Paints what the move asked to repaint, as the event loop would.
            QCoreApplication::processEvents();
        }
        Send(viewport, QEvent::MouseButtonRelease, to, Qt::NoButton);
        const double ns = double(timer.nsecsElapsed());
        doc.OnEditUndo();
        QCoreApplication::processEvents();
        return ns / cells.size();
    };
    std::vector<double> partial;
    std::vector<double> whole;
    for (int round = 0; round < 5; ++round) {
        partial.push_back(run(false));
        whole.push_back(run(true));
    }
    std::sort(partial.begin(), partial.end());
    std::sort(whole.begin(), whole.end());
    const double p = partial[partial.size() / 2];
    const double w = whole[whole.size() / 2];
    CBenchmark::Report(
        QStringLiteral("Shift+drag stroke across 100x100 cells, full figure, per crossed cell (%1 cells)")
            .arg(cells.size()),
        p / 1e6, "ms", w / p, "x faster than repainting the whole view each move");
}

CBenchmark stroke("stroke", Stroke);

} // namespace
