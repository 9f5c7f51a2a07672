// SPDX-License-Identifier: GPL-3.0-or-later
// Painting the cubes library: copying the cached cube pictures against drawing every
// cube with the cube painter on each paint.

#include "benchmark.h"

#include "geometry/cubepainter.h"
#include "ui/selection/cubeslibrary.h"

#include <QImage>
#include <QPainter>
#include <QRegion>

namespace {

// The straightforward paint: every cell's background and cube drawn afresh.
void PaintByDrawingCubes(QImage &image, const CCubesLibrary &library, const QPalette &palette)
{
    QPainter painter(&image);
    PreparePainter(painter);
    painter.fillRect(image.rect(), palette.color(QPalette::Button));
    const int s = library.GetImageSize();
    CCubePainter cube;
    cube.Size = s;
    for (int i = 0; i < CCubesLibrary::CellCount; ++i) {
        const QRect r = library.CellRect(i);
        painter.fillRect(QRect(r.left(), r.top() + 1, s + 1, s + 1), palette.color(QPalette::Button));
        cube.Left = r.left();
        cube.Top = r.top() + 1;
        cube.Index = i;
        cube.Draw(painter);
    }
}

void LibraryPaint()
{
    CCubesLibrary library;
    QImage image(library.size(), QImage::Format_RGB32);
    volatile int sink = 0;

    const double cached = MedianNanoseconds(201, [&] {
        library.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
        sink += image.pixel(3, 3) & 1;
    });
    const double drawn = MedianNanoseconds(51, [&] {
        PaintByDrawingCubes(image, library, library.palette());
        sink += image.pixel(3, 3) & 1;
    });
    // A hover change repaints the two cells concerned.
    const QRegion twoCells = QRegion(library.CellRect(12)) + QRegion(library.CellRect(13));
    const double hover = MedianNanoseconds(2001, [&] {
        library.render(&image, library.CellRect(12).topLeft(), twoCells, QWidget::RenderFlags());
        sink += image.pixel(3, 3) & 1;
    });
    const double rebuild = MedianNanoseconds(21, [&] { library.SetCubeColors(0x0000FF, 0x00EE00, 0xFF0000); });

    CBenchmark::Report("Cubes library full paint (65 cells)", cached / 1000.0, "us", drawn / cached,
                       "x faster than drawing every cube each paint");
    CBenchmark::Report("Cubes library hover repaint (2 cells)", hover / 1000.0, "us", cached / hover,
                       "x cheaper than a full paint");
    CBenchmark::Report("Cubes library picture rebuild (130 pictures)", rebuild / 1000.0, "us");
}

CBenchmark libraryPaint("cubes-library-paint", LibraryPaint);

} // namespace
