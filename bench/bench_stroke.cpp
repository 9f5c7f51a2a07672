// SPDX-License-Identifier: GPL-3.0-or-later
// A Shift+drag stroke across the whole largest figure: the time per crossed cell, the
// cubes placed and the view repainted around them, against repainting the whole view
// for every pointer move as every other edit does. And Shift+click beams across it
// (straight up, and a diagonal three cubes thick): the time per beam cell, repaint
// included, against the same repaint of the whole view.

#include "benchmark.h"

#include "document/tarvexdoc.h"
#include "geometry/gridpath.h"
#include "support/testdocument.h"
#include "view/placecubehandler.h"
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

void Send(QWidget *viewport, QEvent::Type type, const QPoint &at, Qt::MouseButtons buttons,
          Qt::KeyboardModifiers modifiers = Qt::ShiftModifier)
{
    QMouseEvent event(type, at, viewport->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      buttons, modifiers);
    QCoreApplication::sendEvent(viewport, &event);
}

QPoint Centre(const CTarvexDoc &doc, const QPoint &cell)
{
    return doc.Figure().GetCellOrigin(cell.x(), cell.y()) + QPoint(16, 16);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The full 100 x 100 figure at cube size 32, every cell filled, the whole workspace on
// screen.
void FillFigure(CTarvexDoc &doc)
{
    EditFigure(doc, [](CFigure &figure) {
        figure.Resize(100, 100);
        figure.CubeSize = 32;
        QRandomGenerator random(29);
        for (int r = 0; r < 100; ++r)
            for (int c = 0; c < RowLength(100, r); ++c)
                figure.PlaceCube(c, r, int(random.bounded(64)));
    });
}

void ShowWhole(CTarvexView &view, const CTarvexDoc &doc)
{
    view.SetCurrentCubeSource([] { return 0; });
    view.setFrameShape(QFrame::NoFrame);
    view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.resize(doc.Figure().GetWorkspaceSize());
    view.show();
    QCoreApplication::processEvents();
}

void Beams()
{
    CTarvexDoc doc(false);
    FillFigure(doc);
    CTarvexView view(doc);
    ShowWhole(view, doc);
    QWidget *viewport = view.viewport();
    struct Case
    {
        const char *Name;
        QPoint From, To;
        int Thickness;
    };
    const Case cases[] = {{"straight up, 1 thick", {50, 99}, {50, 1}, 1},
                          {"down a diagonal, 3 thick", {2, 2}, {50, 98}, 3}};
    for (const Case &c : cases) {
        view.PlaceCube()->SetBeamThickness(c.Thickness);
        const int cells = int(CGridPath::Beam(c.From, c.To, doc.Figure().GridSize(), 32, c.Thickness).size());
        auto run = [&](bool wholeView) {
            // The start cube by a plain click, then the beam by a Shift+click.
            Send(viewport, QEvent::MouseButtonPress, Centre(doc, c.From), Qt::LeftButton, Qt::NoModifier);
            Send(viewport, QEvent::MouseButtonRelease, Centre(doc, c.From), Qt::NoButton, Qt::NoModifier);
            QCoreApplication::processEvents();
            QElapsedTimer timer;
            timer.start();
            Send(viewport, QEvent::MouseButtonPress, Centre(doc, c.To), Qt::LeftButton);
            Send(viewport, QEvent::MouseButtonRelease, Centre(doc, c.To), Qt::NoButton);
            if (wholeView)
                viewport->update();
            QCoreApplication::processEvents();
            const double ns = double(timer.nsecsElapsed());
            doc.OnEditUndo();
            doc.OnEditUndo();
            QCoreApplication::processEvents();
            return ns / cells;
        };
        std::vector<double> partial;
        std::vector<double> whole;
        for (int round = 0; round < 7; ++round) {
            partial.push_back(run(false));
            whole.push_back(run(true));
        }
        const double p = Median(partial);
        CBenchmark::Report(QStringLiteral("Shift+click beam %1 on the full 100x100 figure, per beam cell (%2 cells)")
                               .arg(QLatin1String(c.Name))
                               .arg(cells),
                           p / 1e6, "ms", Median(whole) / p, "x faster than repainting the whole view");
    }
}

CBenchmark beams("beams", Beams);

void Stroke()
{
    CTarvexDoc doc(false);
    FillFigure(doc);
    CTarvexView view(doc);
    // The whole workspace on screen, so the stroke crosses the whole grid.
    ShowWhole(view, doc);
    QWidget *viewport = view.viewport();

    // Corner to corner in steps of 6 pixels, as a quick hand moves the pointer.
    const QSize workspace = doc.Figure().GetWorkspaceSize();
    const QPoint from(16, 16);
    const QPoint to(workspace.width() - 20, workspace.height() - 20);
    const int steps = qMax(to.x() - from.x(), to.y() - from.y()) / 6;
    // The cells the stroke enters, as the tool follows the same moves.
    QSet<quint32> cells;
    QPoint current(-1, -1);
    QPoint last = from;
    for (int i = 0; i <= steps; ++i) {
        const QPoint next = from + (to - from) * i / steps;
        for (const QPoint &cell : CGridPath::StrokeCells(current, last, next, doc.Figure().GridSize(), 32))
            cells.insert(quint32(cell.y() * 65536 + cell.x()));
        last = next;
    }

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
