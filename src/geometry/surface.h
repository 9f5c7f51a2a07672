// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The few drawing operations that cubes, the workspace and the pickers share, on top
// of QPainter with antialiasing off. Colours travel as 0x00BBGGRR values (red in the
// lowest byte), the form they have in figure files and the settings store.

#include <QtGlobal>
#include <QColor>
#include <QPainter>

class QPen;
class QRegion;
class QBrush;
class QImage;

using ColorRef = quint32;

constexpr ColorRef MakeColorRef(int red, int green, int blue)
{
    return ColorRef(red & 0xFF) | (ColorRef(green & 0xFF) << 8) | (ColorRef(blue & 0xFF) << 16);
}

// A colour as a file or the settings store holds it (any number): its low 24 bits,
// red, green and blue, which is all the drawing uses.
constexpr ColorRef StoredColorRef(qint64 value)
{
    return ColorRef(quint64(value) & 0xFFFFFFu);
}

QColor ColorFromRef(ColorRef color);
ColorRef RefFromColor(const QColor &color);

// A one-pixel pen with a flat cap: a line leaves out one of its end pixels (for
// horizontal and vertical lines the one with the higher coordinate, whichever way the
// line is drawn), so joined segments do not paint their shared corner twice.
QPen SolidPen(const QColor &color);

// Prepares a painter for pixel-exact drawing: no antialiasing.
void PreparePainter(QPainter &painter);

// Fills a region with a brush under a raster operation (OR for greying, XOR for
// feedback frames); the painter's state is left as it was.
void FillRegionWithOp(QPainter &painter, const QRegion &region, const QBrush &brush, QPainter::CompositionMode op);

// The one-pixel inner border of a region: the region's pixels that touch a pixel
// outside it horizontally or vertically.
QRegion RegionBorder(const QRegion &region);

// An 8 x 8 picture whose pixel (x, y) is `even` where x + y is even and `odd` elsewhere.
QImage CreateCheckerImage(const QColor &even, const QColor &odd);
