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
// filtered and compressed strip by strip on every core, a few strips at a time, so
// memory stays bounded for any figure; libpng writes the file's chunks.
class CPngExport
{
    Q_DECLARE_TR_FUNCTIONS(CPngExport)

public:
    // zlib settings chosen for speed on figure pictures. The Up filter turns the
    // rows that repeat the row above (most of every cube) into runs of zeros; what is
    // left are the faces' slanted edges, which move by the same step from row to row,
    // so the filtered bytes of an edge repeat one row later. A fast level (no lazy
    // matching) with a short hash chain but matches up to the longest finds those
    // repeats. On the largest figure (2 bits a pixel) this gives 1.8 MiB in the CPU
    // time of the run-length strategy's 3.9 MiB; the plain level 3 gives 2.0 MiB,
    // level 6 1.6 MiB at twice the time.
    static constexpr int CompressionLevel = 3;
    static constexpr int GoodLength = 4;
    static constexpr int MaxInsert = 8;
    static constexpr int NiceLength = 258;
    static constexpr int MaxChain = 24;

    // Size of the picture: the figure's bounds, exactly.
    static QSize PictureSize(const CFigure &figure);

    // Writes the picture; the previous file is replaced only when everything was
    // written. stripRows as for the bitmap export (0 picks a size by its budget).
    static bool Export(const CFigure &figure, const QString &path, QString *error, bool transparent = false,
                       int stripRows = 0);
};
