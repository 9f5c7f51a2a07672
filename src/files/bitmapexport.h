#pragma once

#include <QByteArray>
#include <QString>

class CTarvexDoc;
class QImage;
class QPainter;
class QSize;

// The figure as a 24-bit Windows bitmap cropped to its cubes, and its placement on a
// printed page.
class CBitmapExport
{
public:
    // Memory the export renders into (32-bit pixels of one strip with its margins;
    // rows are turned into 24-bit pixels in place).
    static constexpr qint64 StripBudget = 128 * 1024 * 1024;

    // Writes the figure as an uncompressed bottom-up 24-bit bitmap. The picture is
    // rendered and written in horizontal strips, so memory stays bounded for any
    // figure; the previous file is replaced only when everything was written.
    static bool Export(const CTarvexDoc &doc, const QString &path, QString *error);
    // The same with strips of at least stripRows rows (rounded up to a multiple of 8,
    // so the grey pattern of selected cubes lines up across strips).
    static bool Export(const CTarvexDoc &doc, const QString &path, QString *error, int stripRows);

    // Size of the bitmap for the figure: the bounding width rounded to the next
    // multiple of 4 above it (so rows need no padding), and the bounding height.
    static QSize BitmapSize(const CTarvexDoc &doc);
    // The 54 bytes of file and information header for a width x height picture.
    static QByteArray Header(int width, int height);
    // Renders picture rows [from, from + image.height()) into a 32-bit image of the
    // bitmap's width.
    static void RenderRows(const CTarvexDoc &doc, QImage &image, int from);

    static void Print(const CTarvexDoc &doc, QPainter &painter, const QSize &printable);
};
