// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QPoint>
#include <QString>
#include <QVector>

class CFigure;

// The figure as a PNG picture: the same pixels as the bitmap export (the same size,
// the background, white beyond the workspace, selected cubes greyed), 24-bit RGB, or
// RGBA with everything but the cubes fully transparent. Rendered, filtered and
// compressed strip by strip on every core, a few strips at a time, so memory stays
// bounded for any figure; libpng writes the file's chunks.
class CPngExport
{
    Q_DECLARE_TR_FUNCTIONS(CPngExport)

public:
    // zlib settings chosen for speed on figure pictures, which are long runs of a few
    // colours: the Up filter turns rows that repeat the row above (most of every
    // cube) into runs of zeros, and the run-length strategy (Z_RLE, which level 1
    // stands beside) packs exactly those runs without searching for longer matches.
    // On the largest figure this gives 6.5 MiB in the time of level 1's 7.4 MiB;
    // no filter is faster but 12.8 MiB, Sub 11.4 MiB.
    static constexpr int CompressionLevel = 1;

    // Writes the picture; the previous file is replaced only when everything was
    // written. stripRows as for the bitmap export (0 picks a size by its budget).
    static bool Export(const CFigure &figure, const QVector<QPoint> *selected, const QString &path,
                       QString *error, bool transparent = false, int stripRows = 0);
};
