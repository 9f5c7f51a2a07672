#include "files/bitmapexport.h"

#include "document/tarvexdoc.h"
#include "files/fileexception.h"
#include "files/safefilewriter.h"

#include <QImage>
#include <QPainter>
#include <QSize>
#include <QtEndian>

#include <new>

namespace {

constexpr int HeaderSize = 54;

// Turns a row of 32-bit pixels into blue-green-red triples in place (each triple
// lands at or before the pixel it comes from) and returns the row's first byte.
const char *RowToBgr(uchar *row, int width)
{
    const quint32 *in = reinterpret_cast<const quint32 *>(row);
    uchar *out = row;
    for (int x = 0; x < width; ++x) {
        const quint32 p = in[x];
        out[0] = uchar(p & 0xFF);
        out[1] = uchar((p >> 8) & 0xFF);
        out[2] = uchar((p >> 16) & 0xFF);
        out += 3;
    }
    return reinterpret_cast<const char *>(row);
}

// Rows rendered above and below a strip: one cube and its outline, rounded to a
// multiple of 8 so every strip's device origin lies on the grey pattern's period.
int StripMargin(const CTarvexDoc &doc)
{
    return (doc.CubeSize + 2 + 7) / 8 * 8;
}

} // namespace

QSize CBitmapExport::BitmapSize(const CTarvexDoc &doc)
{
    const CTarvexDoc::Bounds b = doc.GetFigureBounds();
    return QSize(((b.right - b.left) / 4) * 4 + 4, b.bottom - b.top);
}

QByteArray CBitmapExport::Header(int width, int height)
{
    QByteArray header(HeaderSize, '\0');
    char *h = header.data();
    const quint32 pixelBytes = quint32(width) * quint32(height) * 3u;
    qToLittleEndian<quint16>(0x4D42, h + 0);   // "BM"
    qToLittleEndian<quint32>(HeaderSize + pixelBytes, h + 2);
    qToLittleEndian<quint32>(HeaderSize, h + 10);
    qToLittleEndian<quint32>(40, h + 14);
    qToLittleEndian<qint32>(width, h + 18);
    qToLittleEndian<qint32>(height, h + 22);   // positive: bottom row first
    qToLittleEndian<quint16>(1, h + 26);
    qToLittleEndian<quint16>(24, h + 28);
    qToLittleEndian<quint32>(0, h + 30);       // no compression
    qToLittleEndian<quint32>(pixelBytes, h + 34);
    return header;
}

void CBitmapExport::RenderRows(const CTarvexDoc &doc, QImage &image, int from)
{
    const CTarvexDoc::Bounds b = doc.GetFigureBounds();
    const QSize size = BitmapSize(doc);
    const QSize workspace = doc.GetWorkspaceSize();
    QPainter painter(&image);
    // Drawn in the image's own device coordinates (no painter transform), shifted up
    // by from. The workspace background covers the picture from its (0, 0) with the
    // workspace's size; only what lies beyond that stays white.
    const QColor white(Qt::white);
    painter.fillRect(QRect(0, -from, workspace.width(), workspace.height()), ColorFromRef(doc.BkColor));
    painter.fillRect(QRect(workspace.width(), -from, size.width() - workspace.width(), size.height()), white);
    painter.fillRect(QRect(0, workspace.height() - from, size.width(), size.height() - workspace.height()), white);
    doc.DrawWorkspace(painter, false, 1, -b.left, -b.top - from, false);
}

bool CBitmapExport::Export(const CTarvexDoc &doc, const QString &path, QString *error)
{
    return Export(doc, path, error, 0);
}

bool CBitmapExport::Export(const CTarvexDoc &doc, const QString &path, QString *error, int stripRows)
{
    if (doc.IsFigureEmpty()) {
        if (error)
            *error = QString::fromLatin1(CTarvexDoc::EmptyFigureText);
        return false;
    }
    const QSize size = BitmapSize(doc);
    const int width = size.width();
    const int height = size.height();
    if (stripRows <= 0)
        stripRows = int(qMax<qint64>(64, StripBudget / (qint64(width) * 4) - 2 * StripMargin(doc)));
    stripRows = qMin((stripRows + 7) / 8 * 8, ((height + 7) / 8) * 8);
    // QPainter does not draw a polygon cut by the edge of its device exactly as it
    // draws it whole. So each strip is rendered with a margin above and below: every
    // cube that reaches the strip's rows lies wholly inside the rendered rows, and the
    // strip comes out exactly as in a whole-picture render.
    const int margin = StripMargin(doc);
    return CFileException::Guard(error, [&] {
        CSafeFileWriter writer(path);
        const QByteArray header = Header(width, height);
        writer.Write(header.constData(), header.size());
        // One image serves every strip: fresh memory for each would cost a page fault
        // per 4 KiB again and again.
        QImage device(width, qMin(height, stripRows + 2 * margin), QImage::Format_RGB32);
        if (device.isNull())
            throw std::bad_alloc();
        // The file holds the bottom row first: render the strips from the bottom up.
        const int strips = (height + stripRows - 1) / stripRows;
        for (int s = strips - 1; s >= 0; --s) {
            const int top = s * stripRows;
            const int rows = qMin(stripRows, height - top);
            const int from = qMax(0, top - margin);
            const int to = qMin(height, top + rows + margin);
            QImage view(device.bits(), width, to - from, device.bytesPerLine(), QImage::Format_RGB32);
            RenderRows(doc, view, from);
            for (int y = top + rows - 1; y >= top; --y)
                writer.Write(RowToBgr(view.scanLine(y - from), width), qint64(width) * 3);
        }
        writer.Commit();
        return true;
    });
}

void CBitmapExport::Print(const CTarvexDoc &doc, QPainter &painter, const QSize &printable)
{
    const CTarvexDoc::Bounds b = doc.GetFigureBounds();
    const int x = (printable.width() - (b.right - b.left)) / 2 - b.left;
    const int y = (printable.height() - (b.bottom - b.top)) / 2 - b.top;
    doc.DrawWorkspace(painter, false, 1, x, y, true);
}
