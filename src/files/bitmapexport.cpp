// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/bitmapexport.h"

#include "files/fileexception.h"
#include "files/safefilewriter.h"
#include "geometry/figure.h"
#include "geometry/workspacerenderer.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QSize>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <vector>
#include <new>

namespace {

constexpr int HeaderSize = 54;

// Fills a row of pixels of the image's format with one colour.
void FillRow(uchar *row, int width, const QImage &image, QRgb color)
{
    if (width <= 0)
        return;
    if (image.format() == QImage::Format_Indexed8) {
        std::memset(row, qMax(0, int(image.colorTable().indexOf(color))), size_t(width));
        return;
    }
    if (image.depth() == 32) {
        std::fill(reinterpret_cast<quint32 *>(row), reinterpret_cast<quint32 *>(row) + width, quint32(color));
        return;
    }
    const uchar r = uchar(qRed(color));
    const uchar g = uchar(qGreen(color));
    const uchar b = uchar(qBlue(color));
    const bool bgr = image.format() == QImage::Format_BGR888;
    const uchar first = bgr ? b : r;
    const uchar last = bgr ? r : b;
    for (int x = 0; x < width; ++x) {
        row[3 * x] = first;
        row[3 * x + 1] = g;
        row[3 * x + 2] = last;
    }
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
    qToLittleEndian<quint16>(0x4D42, h + 0); // "BM"
    qToLittleEndian<quint32>(HeaderSize + pixelBytes, h + 2);
    qToLittleEndian<quint32>(HeaderSize, h + 10);
    qToLittleEndian<quint32>(40, h + 14);
    qToLittleEndian<qint32>(width, h + 18);
    qToLittleEndian<qint32>(height, h + 22); // positive: bottom row first
    qToLittleEndian<quint16>(1, h + 26);
    qToLittleEndian<quint16>(24, h + 28);
    qToLittleEndian<quint32>(0, h + 30); // no compression
    qToLittleEndian<quint32>(pixelBytes, h + 34);
    return header;
}

int CBitmapExport::StripRows(int width, int height)
{
    const int rows = int(qBound<qint64>(8, StripBudget / (qint64(qMax(1, width)) * 4), qint64(1) << 20));
    return qMin((rows + 7) / 8 * 8, (height + 7) / 8 * 8);
}

void CBitmapExport::RenderRows(CWorkspaceRenderer &renderer, const CFigure &figure, const QVector<QPoint> *selected,
                               QImage &image, int from, bool bottomUp, bool transparent)
{
    const CFigure::Bounds b = figure.GetBounds();
    const QSize workspace = figure.GetWorkspaceSize();
    // The background covers the picture from its (0, 0) with the workspace's size;
    // only what lies beyond that stays white (both fully transparent when asked). One
    // row is made as it looks inside the workspace and one beyond it; every row is a
    // copy of one of them.
    const QRgb background = transparent ? 0u : ColorFromRef(figure.BkColor).rgb();
    const QRgb white = transparent ? 0u : 0xFFFFFFFFu;
    const int width = image.width();
    const int bytes = image.depth() / 8;
    const int filled = qBound(0, workspace.width(), width);
    std::vector<uchar> inside(size_t(width) * size_t(bytes));
    std::vector<uchar> beyond(inside.size());
    FillRow(inside.data(), filled, image, background);
    FillRow(inside.data() + size_t(filled) * size_t(bytes), width - filled, image, white);
    FillRow(beyond.data(), width, image, white);
    const int rows = image.height();
    for (int y = 0; y < rows; ++y) {
        std::memcpy(image.scanLine(bottomUp ? rows - 1 - y : y),
                    (from + y < workspace.height() ? inside : beyond).data(), inside.size());
    }
    CWorkspaceRenderer::Params params;
    params.CubeSize = figure.CubeSize;
    params.Offset = QPoint(-b.left, -b.top - from);
    params.Selected = selected;
    params.BottomUp = bottomUp;
    // The grey of selected cubes is anchored at the picture's corner, whichever rows
    // this image holds.
    params.PatternOrigin = QPoint(0, -from);
    renderer.DrawImage(image, figure, params);
}

bool CBitmapExport::Export(const CFigure &figure, const QVector<QPoint> *selected, const QString &path, QString *error,
                           int stripRows)
{
    if (figure.IsEmpty()) {
        if (error)
            *error = QCoreApplication::translate("CFigure", CFigure::EmptyFigureText);
        return false;
    }
    const QSize size = BitmapSize(figure);
    const int width = size.width();
    const int height = size.height();
    stripRows = stripRows <= 0 ? StripRows(width, height) : qMin((stripRows + 7) / 8 * 8, (height + 7) / 8 * 8);
    return CFileException::Guard(error, [&] {
        CSafeFileWriter writer(path);
        const QByteArray header = Header(width, height);
        writer.Write(header.constData(), header.size());
        // One image serves every strip: fresh memory for each would cost a page fault
        // per 4 KiB again and again. Its rows are the file's rows in the file's order
        // (blue, green, red; bottom row first; the width is a multiple of 4, so no
        // padding), and each strip goes out in one write.
        QImage device(width, qMin(height, stripRows), QImage::Format_BGR888);
        if (device.isNull())
            throw std::bad_alloc();
        CWorkspaceRenderer renderer;
        // The file holds the bottom row first: render the strips from the bottom up.
        const int strips = (height + stripRows - 1) / stripRows;
        for (int s = strips - 1; s >= 0; --s) {
            const int top = s * stripRows;
            const int rows = qMin(stripRows, height - top);
            QImage view(device.bits(), width, rows, device.bytesPerLine(), QImage::Format_BGR888);
            RenderRows(renderer, figure, selected, view, top, true);
            writer.Write(reinterpret_cast<const char *>(view.constBits()), qint64(rows) * view.bytesPerLine());
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
    params.Offset = QPoint((printable.width() - b.Width()) / 2 - b.left, (printable.height() - b.Height()) / 2 - b.top);
    CWorkspaceRenderer().DrawVector(painter, figure, CWorkspaceRenderer::WholeArea(figure, params), params);
}
