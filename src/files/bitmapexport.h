// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QPoint>
#include <QString>
#include <QVector>

class CFigure;
class CWorkspaceRenderer;
class QImage;
class QPainter;
class QSize;

// The figure as a 24-bit Windows bitmap cropped to its cubes, and its placement on a
// printed page.
class CBitmapExport
{
public:
    // Memory a strip of pixels may take while the picture is rendered.
    static constexpr qint64 StripBudget = 8 * 1024 * 1024;

    // Writes the figure as an uncompressed bottom-up 24-bit bitmap; the selected cells
    // (may be null) come out greyed. The picture is rendered and written in horizontal
    // strips of at least stripRows rows (rounded up to a multiple of 8; 0 picks a size
    // by StripBudget; the grey pattern stays anchored at the picture's corner), so memory stays
    // bounded for any figure; the previous file is replaced only when everything was
    // written.
    static bool Export(const CFigure &figure, const QVector<QPoint> *selected, const QString &path, QString *error,
                       int stripRows = 0);

    // Size of the bitmap for the figure: the bounding width rounded to the next
    // multiple of 4 above it (so rows need no padding), and the bounding height.
    static QSize BitmapSize(const CFigure &figure);
    // The 54 bytes of file and information header for a width x height picture.
    static QByteArray Header(int width, int height);
    // Strip height for a picture of the given width under StripBudget (a multiple of 8).
    static int StripRows(int width, int height);
    // Renders picture rows [from, from + image.height()) into an image of the bitmap's
    // width (any format the renderer's DrawImage takes): the background colour over the
    // workspace's size from the picture's corner, white beyond it, then the cubes.
    // With bottomUp the image's last row holds picture row from, as bitmap files keep them.
    // With transparent (32-bit images), background and white are both left fully
    // transparent (pixel value 0): only cubes are opaque. An Indexed8 image takes the
    // colours' indices in its table (transparent is the entry 0x00000000).
    static void RenderRows(CWorkspaceRenderer &renderer, const CFigure &figure, const QVector<QPoint> *selected,
                           QImage &image, int from, bool bottomUp = false, bool transparent = false);

    // Paints the figure centred on a page whose printable area is printable device pixels,
    // through the renderer's vector path on any painter, so paper shows what a PDF
    // export shows: selected cubes are not greyed.
    static void Print(const CFigure &figure, QPainter &painter, const QSize &printable);
};
