#pragma once

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
public:
    // zlib settings chosen for speed on figure pictures, which are long runs of a few
    // colours: the Up filter turns rows that repeat the row above (most of every
    // cube) into runs of zeros, and the run-length strategy (Z_RLE, which level 1
    // stands beside) packs exactly those runs without searching for longer matches.
    static constexpr int CompressionLevel = 1;

    // Size of the picture: the figure's bounds, exactly.
    static QSize PictureSize(const CFigure &figure);

    // Writes the picture; the previous file is replaced only when everything was
    // written. stripRows as for the bitmap export (0 picks a size by its budget).
    static bool Export(const CFigure &figure, const QString &path, QString *error, bool transparent = false,
                       int stripRows = 0);
};
