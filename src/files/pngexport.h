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
    // The deflate level (libdeflate's scale, 1 to 12). The Up filter turns the rows
    // that repeat the row above (most of every cube) into runs of zeros; what is left
    // are single bytes where the faces' slanted edges cross a row, and a match finder
    // has to search far to find the same pattern of edges again, in this row or the
    // ones above. On the largest figure (2 bits a pixel) level 7 gives 1.54 MB in about
    // twice the CPU time of zlib's level 3 (1.88 MB) and a twentieth of zlib's level 9
    // (1.40 MB); level 8 gives 1.49 MB but takes 2.5 times as long as level 7, longer
    // than the BMP export of the same picture. No other PNG filter helps these
    // pictures: choosing one per row by the usual sum of differences picks Up for all
    // but a few rows and gains nothing.
    static constexpr int CompressionLevel = 7;

    // Size of the picture: the figure's bounds, exactly.
    static QSize PictureSize(const CFigure &figure);

    // Writes the picture; the previous file is replaced only when everything was
    // written. stripRows as for the bitmap export (0 picks a size by its budget).
    static bool Export(const CFigure &figure, const QString &path, QString *error, bool transparent = false,
                       int stripRows = 0);
};
