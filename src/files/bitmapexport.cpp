#include "files/bitmapexport.h"

#include "document/tarvexdoc.h"
#include "files/fileexception.h"
#include "files/safefilewriter.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QSize>
#include <QtEndian>

#include <new>

namespace {

constexpr int HeaderSize = 54;
const char *const EmptyFigureText =
    "There's no blocks at the workspace so it is impossible to save empty image.";

QString Tr(const char *text)
{
    return QCoreApplication::translate("CBitmapExport", text);
}

// Appends rows first .. first + rows - 1 of a 32-bit strip, bottom row first, as blue-green-red triples.
void AppendBottomUpBgr(const QImage &strip, int first, int rows, int width, char *out)
{
    for (int y = first + rows - 1; y >= first; --y) {
        const quint32 *in = reinterpret_cast<const quint32 *>(strip.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const quint32 p = in[x];
            out[0] = char(p & 0xFF);
            out[1] = char((p >> 8) & 0xFF);
            out[2] = char((p >> 16) & 0xFF);
            out += 3;
        }
    }
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

QImage CBitmapExport::RenderStrip(const CTarvexDoc &doc, int top, int rows, int *firstRow)
{
    const CTarvexDoc::Bounds b = doc.GetFigureBounds();
    const QSize size = BitmapSize(doc);
    const QSize workspace = doc.GetWorkspaceSize();
    // QPainter does not draw a polygon cut by the edge of its device exactly as it
    // draws it whole. So the strip is rendered with a margin of one cube above and
    // below: every cube that reaches the wanted rows lies wholly inside, and the
    // wanted rows come out exactly as in a whole-picture render.
    const int margin = StripMargin(doc);
    const int from = qMax(0, top - margin);
    const int to = qMin(size.height(), top + rows + margin);
    QImage strip(size.width(), to - from, QImage::Format_RGB32);
    if (strip.isNull())
        return strip;
    if (firstRow)
        *firstRow = top - from;
    QPainter painter(&strip);
    // Drawn in the strip's own device coordinates (no painter transform), shifted up
    // by from. The workspace background covers the picture from its (0, 0) with the
    // workspace's size; only what lies beyond that stays white.
    const QColor white(Qt::white);
    painter.fillRect(QRect(0, -from, workspace.width(), workspace.height()), ColorFromRef(doc.BkColor));
    painter.fillRect(QRect(workspace.width(), -from, size.width() - workspace.width(), size.height()), white);
    painter.fillRect(QRect(0, workspace.height() - from, size.width(), size.height() - workspace.height()), white);
    doc.DrawWorkspace(painter, false, 1, -b.left, -b.top - from, false);
    painter.end();
    return strip;
}

bool CBitmapExport::Export(const CTarvexDoc &doc, const QString &path, QString *error)
{
    return Export(doc, path, error, 0);
}

bool CBitmapExport::Export(const CTarvexDoc &doc, const QString &path, QString *error, int stripRows)
{
    if (doc.IsFigureEmpty()) {
        if (error)
            *error = QString::fromLatin1(EmptyFigureText);
        return false;
    }
    const QSize size = BitmapSize(doc);
    const int width = size.width();
    const int height = size.height();
    if (stripRows <= 0)
        stripRows = int(qMax<qint64>(64, StripBudget / (qint64(width) * 4) - 2 * StripMargin(doc)));
    stripRows = qMin((stripRows + 7) / 8 * 8, ((height + 7) / 8) * 8);
    try {
        CSafeFileWriter writer(path);
        const QByteArray header = Header(width, height);
        writer.Write(header.constData(), header.size());
        QByteArray buffer(qint64(width) * 3 * stripRows, Qt::Uninitialized);
        // The file holds the bottom row first: render the strips from the bottom up.
        // Strips are aligned to multiples of stripRows from the picture's top.
        const int strips = (height + stripRows - 1) / stripRows;
        for (int s = strips - 1; s >= 0; --s) {
            const int top = s * stripRows;
            const int rows = qMin(stripRows, height - top);
            int first = 0;
            const QImage strip = RenderStrip(doc, top, rows, &first);
            if (strip.isNull())
                throw std::bad_alloc();
            AppendBottomUpBgr(strip, first, rows, width, buffer.data());
            writer.Write(buffer.constData(), qint64(width) * 3 * rows);
        }
        writer.Commit();
        return true;
    } catch (const CFileException &e) {
        if (error)
            *error = e.Reason();
    } catch (const std::bad_alloc &) {
        if (error)
            *error = Tr("Out of memory.");
    }
    return false;
}

void CBitmapExport::Print(const CTarvexDoc &doc, QPainter &painter, const QSize &printable)
{
    const CTarvexDoc::Bounds b = doc.GetFigureBounds();
    const int x = (printable.width() - (b.right - b.left)) / 2 - b.left;
    const int y = (printable.height() - (b.bottom - b.top)) / 2 - b.top;
    doc.DrawWorkspace(painter, false, 1, x, y, true);
}
