// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/figure.h"

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QVector>

class QMimeData;

// The number of decimal digits of a value that is not negative.
constexpr int DecimalDigits(qint64 value)
{
    return value < 10 ? 1 : 1 + DecimalDigits(value / 10);
}

// A piece of a figure on its way through the clipboard: cells with the cube values they
// hold, in the order they are placed again, and the colours and cube size they were
// drawn with. It travels as our own MIME type beside PNG and SVG pictures of just
// these cubes on a transparent background, so other programs paste the picture.
class CFigureFragment
{
public:
    static constexpr const char *MimeType = "application/x-tarvex-fragment";
    static constexpr const char *PngType = "image/png";
    static constexpr const char *SvgType = "image/svg+xml";
    static constexpr int FormatVersion = 1;
    // Refused beyond these: more cells than the largest grid holds, or more bytes than
    // Encode writes for such a grid with the longest numbers in every place and every
    // colouring. A paste refuses a larger offer before reading it.
    static constexpr int MaxCells = CFigure::MaxGridWidth * CFigure::MaxGridHeight;
    static constexpr int MaxCellBytes = int(sizeof("[,,],")) - 1 + DecimalDigits(CFigure::MaxGridWidth - 1)
                                        + DecimalDigits(CFigure::MaxGridHeight - 1)
                                        + DecimalDigits(CellValue(CubeKindCount - 1, MaxColourings - 1));
    static constexpr int MaxColouringBytes = int(sizeof("[,,],")) - 1 + 3 * DecimalDigits(0xFFFFFF);
    static constexpr int MaxBytes = int(sizeof(R"({"cells":[],"colors":[,,,],"palette":[],"cubeSize":,"version":})"))
                                    - 1 + MaxCells * MaxCellBytes + 4 * DecimalDigits(0xFFFFFF)
                                    + (MaxColourings - 1) * MaxColouringBytes + DecimalDigits(CFigure::MaxCubeSize)
                                    + DecimalDigits(FormatVersion);
    // Longest side of a picture on the clipboard: larger figures are drawn scaled down,
    // keeping their proportions.
    static constexpr int MaxPictureSize = 4096;

    ColorRef BkColor = CFigure::DefaultBkColor;
    ColorRef Color1 = CFigure::DefaultColor1;
    ColorRef Color2 = CFigure::DefaultColor2;
    ColorRef Color3 = CFigure::DefaultColor3;
    QVector<CColouring> Palette; // colourings 1.. the values name, as in CFigure
    int CubeSize = CFigure::DefaultCubeSize;
    QVector<QPoint> Cells;  // (column, row), in placing order
    QVector<qint32> Values; // cell values (kind and colouring), one per cell

    // The given cells of a figure with their values (cells that hold no cube are left
    // out), or with no list every cube in row order.
    static CFigureFragment FromFigure(const CFigure &figure, const QVector<QPoint> *cells = nullptr);

    bool IsEmpty() const { return Cells.isEmpty(); }
    QByteArray Encode() const;
    // The fragment in data, or false when data is no fragment this program wrote (a
    // value out of range, too many cells, damaged text): out is then left alone.
    static bool Decode(const QByteArray &data, CFigureFragment &out);

    // A figure just large enough for the cells, holding exactly their values.
    CFigure ToFigure() const;
    // The cubes as the renderer draws them, cut to their bounding box, on a transparent
    // background (RGBA, not premultiplied), scaled down to fit MaxPictureSize. Null when
    // empty.
    QImage Picture() const;
    QByteArray Png() const;
    // The drawing at full size, its width and height those of Picture.
    QByteArray Svg() const;
    // The offer for the clipboard: the fragment itself now, the pictures when asked.
    QMimeData *ToMimeData() const;
    // The zoom that fits a drawing of size within MaxPictureSize (1 when it fits).
    static double PictureZoom(const QSize &size);
    // The fragment a clipboard holds, if any.
    static bool FromMimeData(const QMimeData *data, CFigureFragment &out);
};
