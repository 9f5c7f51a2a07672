// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing at device pixels and zooming the workspace view.

#include "benchmark.h"

#include "document/tarvexdoc.h"
#include "geometry/cubepainter.h"
#include "view/tarvexview.h"
#include "support/testdocument.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QScrollBar>
#include <cstdio>
#include <sys/resource.h>

namespace {

void FillAll(CTarvexDoc &doc)
{
    QRandomGenerator random(23);
    const QSize size = doc.Figure().GridSize();
    for (int r = 0; r < size.height(); ++r)
        for (int c = 0; c < RowLength(size.width(), r); ++c)
            PlaceCube(doc, c, r, int(random.bounded(64)));
}

struct CBenchView
{
    CTarvexDoc doc{false};
    CTarvexView view{doc};

    CBenchView(int cubeSize, const QSize &logical)
    {
        doc.ResizeGrid(100, 100);
        EditFigure(doc, [&](CFigure &f) { f.CubeSize = cubeSize; });
        FillAll(doc);
        view.setFrameShape(QFrame::NoFrame);
        view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.resize(logical);
        view.show();
        doc.UpdateAllViews();
        QCoreApplication::processEvents();
    }
    void Centre()
    {
        view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum() / 2);
        view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum() / 2);
        QCoreApplication::processEvents();
    }
    double Repaint(int repeats)
    {
        // Every row drawn, not left as the last repaint drew it.
        return MedianNanoseconds(
                   repeats, [&] { ChangeBackground(doc); }, [&] { view.viewport()->repaint(); })
               / 1e6;
    }
};

// The straightforward drawing: every cell of the grid with the cube painter into an
// image of the view's device size.
double PaintEveryCell(const CTarvexDoc &doc, int size, const QSize &device, const QPoint &scroll)
{
    QImage target(device, QImage::Format_RGB32);
    const CellPitch pitch = ComputeCellPitch(size);
    return MedianNanoseconds(3,
                             [&] {
                                 QPainter painter(&target);
                                 PreparePainter(painter);
                                 painter.fillRect(target.rect(), ColorFromRef(doc.Figure().BkColor));
                                 painter.translate(-scroll);
                                 CCubePainter cube;
                                 cube.Size = size;
                                 const QSize grid = doc.Figure().GridSize();
                                 for (int r = 0; r < grid.height(); ++r)
                                     for (int c = 0; c < RowLength(grid.width(), r); ++c) {
                                         if (doc.Figure().Cell(c, r) < 0)
                                             continue;
                                         const QPoint o = CellOrigin(c, r, pitch);
                                         cube.Left = o.x();
                                         cube.Top = o.y();
                                         cube.Index = doc.Figure().Cell(c, r);
                                         cube.Draw(painter);
                                     }
                             })
           / 1e6;
}

double PeakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// At device pixel ratio 2 (the run starts itself again with QT_SCALE_FACTOR=2).
void HighDensity()
{
    {
        CBenchView b(32, QSize(1920, 1080));
        b.Centre();
        const double ms = b.Repaint(41);
        const QSize device = b.view.viewport()->size() * 2;
        const double direct = PaintEveryCell(b.doc, b.view.DisplaySize(), device, b.view.DeviceScroll());
        CBenchmark::Report(QStringLiteral("View repaint %1x%2 device px, d=%3, size 32 (drawn %4)")
                               .arg(device.width())
                               .arg(device.height())
                               .arg(b.view.DevicePixelRatio())
                               .arg(b.view.DisplaySize()),
                           ms, "ms", direct / ms, "x faster than the painter on every cell");
        b.doc.ToggleSelectMode();
        b.doc.SelectAll();
        CBenchmark::Report("  the same, all cubes selected", b.Repaint(41), "ms");
    }
    {
        // The largest figure at 400 %: cubes of 1600 device pixels, no pictures kept.
        CBenchView b(200, QSize(1920, 1080));
        while (b.view.ZoomPercent() < 400)
            b.view.ZoomIn();
        b.Centre();
        const double ms = b.Repaint(11);
        CBenchmark::Report(
            QStringLiteral("View repaint 3840x2160, size 200 at 400 %, d=2 (drawn %1)").arg(b.view.DisplaySize()), ms,
            "ms");
    }
    CBenchmark::Report("Peak memory of this run (100x100 at 200, 400 %, d=2)", PeakMegabytes(), "MB");
}

void Zoom()
{
    if (qApp->devicePixelRatio() == 2.0) {
        HighDensity();
        return;
    }
    {
        CBenchView b(32, QSize(1920, 1080));
        b.Centre();
        // Up and down through the levels from 50 % to 400 %: every step a new display
        // size, so the pictures are drawn again, then the whole view.
        int up = 1;
        const int low = int(CTarvexView::ZoomLevels().indexOf(50));
        b.view.SetZoomIndex(low, QPointF(960, 540));
        b.view.viewport()->repaint();
        const double ms = MedianNanoseconds(41, [&] {
            const int next = b.view.ZoomIndex() + up;
            if (next >= CTarvexView::ZoomLevels().size() || next < low)
                up = -up;
            b.view.SetZoomIndex(b.view.ZoomIndex() + up, QPointF(960, 540));
            b.view.viewport()->repaint();
        });
        CBenchmark::Report("Zoom step 50..400 % (pictures again, repaint 1920x1080)", ms / 1e6, "ms");
    }
    {
        // Zoomed views between the integer scales (cube points placed per row and
        // column), against 100 % in the same run, interleaved.
        CBenchView b(32, QSize(1920, 1080));
        // 135 %: where "fit" puts the default workspace in a full-HD window.
        for (const int percent : {125, 135, 200, 400}) {
            std::vector<double> zoomed, plain, ratios;
            for (int i = 0; i < 15; ++i) {
                b.view.SetZoomPercent(100, QPointF(960, 540));
                b.view.viewport()->repaint();
                plain.push_back(b.Repaint(3));
                b.view.SetZoomPercent(percent, QPointF(960, 540));
                b.view.viewport()->repaint();
                zoomed.push_back(b.Repaint(3));
                ratios.push_back(zoomed.back() / plain.back());
            }
            CBenchmark::Report(QStringLiteral("View repaint 1920x1080, size 32 at %1 %").arg(percent), Median(zoomed),
                               "ms", Median(ratios), "x the repaint at 100 %");
        }
    }
    // Selected cubes come from pictures as unselected ones do: after a paste every
    // pasted cube is selected.
    for (const int size : {32, 200}) {
        CBenchView b(size, QSize(1904, 1064));
        while (b.view.ZoomPercent() < 400)
            b.view.ZoomIn();
        b.Centre();
        b.doc.ToggleSelectMode();
        std::vector<double> plain, selected, ratios;
        for (int i = 0; i < 31; ++i) {
            b.doc.SelectCells({}, false);
            b.view.viewport()->repaint();
            plain.push_back(b.Repaint(3));
            b.doc.SelectAll();
            b.view.viewport()->repaint();
            selected.push_back(b.Repaint(3));
            ratios.push_back(selected.back() / plain.back());
        }
        CBenchmark::Report(QStringLiteral("View repaint 1904x1064, size %1 at 400 %").arg(size), Median(plain), "ms");
        CBenchmark::Report("  the same, all cubes selected", Median(selected), "ms", Median(ratios),
                           "x the unselected repaint");
    }
    {
        CBenchView b(200, QSize(1920, 1080));
        b.view.SetZoomIndex(0, QPointF(0, 0));
        QCoreApplication::processEvents();
        const QSize all = b.view.Mapping().WorkspaceSize(b.doc.Figure());
        const double ms = b.Repaint(41);
        const double direct = PaintEveryCell(b.doc, b.view.DisplaySize(), QSize(1920, 1080), QPoint());
        CBenchmark::Report(QStringLiteral("Whole 100x100 figure at size 200, %1 % (%2x%3) in 1920x1080")
                               .arg(b.view.ZoomPercent())
                               .arg(all.width())
                               .arg(all.height()),
                           ms, "ms", direct / ms, "x faster than the painter on every cell");
    }
    if (qEnvironmentVariableIsSet("TARVEX_BENCH_CHILD"))
        return;
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_SCALE_FACTOR", "2");
    env.insert("TARVEX_BENCH_CHILD", "1");
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("view-zoom")});
    child.waitForFinished(-1);
}

CBenchmark zoom("view-zoom", Zoom);

} // namespace
