// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QSize>
#include <QString>

class CFigure;

// The figure as a PNG picture of its exact span (the size of its SVG and PDF pages):
// the pixels of the bitmap export (the background, white beyond the workspace; the
// selection is not greyed, a marker of the editor only), or with everything but the
// cubes fully transparent. A figure shows a handful of colours, so the pixels are
// palette indices of 1, 2, 4 or 8 bits (the fewest that hold the colours; transparency
// through tRNS), 8-bit RGB or RGBA only beyond 256 colours. Rendered, packed,
// filtered and compressed (libdeflate) strip by strip on every core, a few strips at a
// time, so memory stays bounded for any figure; libpng writes the file's chunks.
class CPngExport
{
    Q_DECLARE_TR_FUNCTIONS(CPngExport)

public:
    // The deflate level (libdeflate's scale, 1 to 12) of a piece (a strip's rows,
    // compressed on their own) of pixels of the given bits. The Up filter turns the
    // rows that repeat the row above (most of every cube) into runs of zeros; what is
    // left are single bytes where the faces' slanted edges cross a row, whose best
    // match (the same edge a row or two up) lies far back among the many edges like
    // it: level 8 searches deeper than level 7, at twice the time. On the largest figure
    // in one colouring (2 bits a pixel) level 7 gives 1.54 MB, level 8 1.49 MB (and
    // optipng's -o2 1.40 MB, in thirty times the time of level 8); pieces alternating
    // between the two give 1.51 MB in three quarters of level 8's time, well within
    // that of the bitmap export. Pictures of 8 bits (a palette of many colourings)
    // hold four times the bytes and take level 6 throughout (on sixteen colourings
    // 4.6 MB against level 7's 4.3 MB in three quarters of its time), which keeps
    // their time within that of the few-colour pictures. No other PNG filter helps these
    // pictures: choosing one per row by the usual sum of differences picks Up for all
    // but a few rows and gains nothing.
    static constexpr int CompressionLevel(int bits, int piece) { return bits < 8 ? (piece % 2 == 0 ? 8 : 7) : 6; }

    // Size of the picture: the figure's bounds, exactly.
    static QSize PictureSize(const CFigure &figure);

    // Writes the picture; the previous file is replaced only when everything was
    // written. stripRows as for the bitmap export (0 picks a size by its budget).
    static bool Export(const CFigure &figure, const QString &path, QString *error, bool transparent = false,
                       int stripRows = 0);
};
