// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Helpers shared by the tests of the cube pickers.

#include "geometry/cubepainter.h"

#include <QImage>
#include <QRegion>
#include <QTest>
#include <QWidget>
#include <QWindow>

// A point well inside one part of a cube: the centre of the part region's widest
// rectangle.
inline QPoint PointInPart(const CCubePainter &cube, int part)
{
    QRect best;
    for (const QRect &r : cube.GetPartRegion(part)) {
        if (r.width() * r.height() > best.width() * best.height())
            best = r;
    }
    return best.center();
}

// A double click as the platform delivers it: press, release, press, double click,
// release, going through the window so that Qt recognises the second press.
inline void RealDoubleClick(QWidget *widget, const QPoint &pos)
{
    QWidget *window = widget->window();
    QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, Qt::KeyboardModifiers(), widget->mapTo(window, pos));
}

// Number of pixels of the given colour inside rect (the whole image if rect is null).
inline int CountPixels(const QImage &image, QRgb color, QRect rect = QRect())
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    if (rect.isNull())
        rect = rgb.rect();
    rect &= rgb.rect();
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += (rgb.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF);
    return count;
}
