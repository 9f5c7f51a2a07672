#include "files/bitmapexport.h"

#include "files/fileexception.h"
#include "files/safefilewriter.h"
#include "geometry/figure.h"
#include "geometry/workspacerenderer.h"

#include <QImage>
#include <QPainter>
#include <QSize>
#include <QtEndian>

#include <algorithm>
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

} // namespace

QSize CBitmapExport::BitmapSize(const CFigure &figure)
{
    const CFigure::Bounds b = figure.GetBounds();
    return QSize((b.Width() / 4) * 4 + 4, b.Height());
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

int CBitmapExport::StripRows(int width, int height)
{
    const int rows = int(qBound<qint64>(8, StripBudget / (qint64(qMax(1, width)) * 4), qint64(1) << 20));
    return qMin((rows + 7) / 8 * 8, (height + 7) / 8 * 8);
}

void CBitmapExport::RenderRows(CWorkspaceRenderer &renderer, const CFigure &figure,
                               const QVector<QPoint> *selected, QImage &image, int from,
                               bool transparent)
{
    const CFigure::Bounds b = figure.GetBounds();
    const QSize workspace = figure.GetWorkspaceSize();
    // The background covers the picture from its (0, 0) with the workspace's size;
    // only what lies beyond that stays white.
    const quint32 background = transparent ? 0u : ColorFromRef(figure.BkColor).rgb();
    const quint32 white = transparent ? 0u : 0xFFFFFFFFu;
    const int width = image.width();
    const int filled = qBound(0, workspace.width(), width);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
        const bool inside = from + y < workspace.height();
        std::fill(line, line + (inside ? filled : 0), background);
        std::fill(line + (inside ? filled : 0), line + width, white);
    }
    CWorkspaceRenderer::Params params;
    params.CubeSize = figure.CubeSize;
    params.Offset = QPoint(-b.left, -b.top - from);
    params.Selected = selected;
    renderer.DrawImage(image, figure, params);
}

bool CBitmapExport::Export(const CFigure &figure, const QVector<QPoint> *selected, const QString &path,
                           QString *error, int stripRows)
{
    if (figure.IsEmpty()) {
        if (error)
            *error = QString::fromLatin1(CFigure::EmptyFigureText);
        return false;
    }
    const QSize size = BitmapSize(figure);
    const int width = size.width();
    const int height = size.height();
    stripRows = stripRows <= 0 ? StripRows(width, height)
                               : qMin((stripRows + 7) / 8 * 8, (height + 7) / 8 * 8);
    return CFileException::Guard(error, [&] {
        CSafeFileWriter writer(path);
        const QByteArray header = Header(width, height);
        writer.Write(header.constData(), header.size());
        // One image serves every strip: fresh memory for each would cost a page fault
        // per 4 KiB again and again.
        QImage device(width, qMin(height, stripRows), QImage::Format_RGB32);
        if (device.isNull())
            throw std::bad_alloc();
        CWorkspaceRenderer renderer;
        // The file holds the bottom row first: render the strips from the bottom up.
        const int strips = (height + stripRows - 1) / stripRows;
        for (int s = strips - 1; s >= 0; --s) {
            const int top = s * stripRows;
            const int rows = qMin(stripRows, height - top);
            QImage view(device.bits(), width, rows, device.bytesPerLine(), QImage::Format_RGB32);
            RenderRows(renderer, figure, selected, view, top);
            for (int y = rows - 1; y >= 0; --y)
                writer.Write(RowToBgr(view.scanLine(y), width), qint64(width) * 3);
        }
        writer.Commit();
        return true;
    });
}

void CBitmapExport::Print(const CFigure &figure, QPainter &painter, const QSize &printable)
{
    const CFigure::Bounds b = figure.GetBounds();
    const QSize workspace = figure.GetWorkspaceSize();
    PreparePainter(painter);
    // The background starts at the page's (0, 0) with the workspace's size.
    painter.fillRect(QRect(QPoint(0, 0), workspace), ColorFromRef(figure.BkColor));
    CWorkspaceRenderer::Params params;
    params.CubeSize = figure.CubeSize;
    params.Offset = QPoint((printable.width() - b.Width()) / 2 - b.left,
                           (printable.height() - b.Height()) / 2 - b.top);
    CWorkspaceRenderer().DrawVector(painter, figure, QRect(QPoint(-8, -8), workspace + QSize(16, 16)), params);
}
