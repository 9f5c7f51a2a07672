// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/figurefragment.h"

#include "files/bitmapexport.h"
#include "files/fragmentmimedata.h"
#include "files/vectorexport.h"
#include "geometry/workspacerenderer.h"

#include <QBuffer>
#include <QFont>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMimeData>
#include <QPainter>
#include <QSvgGenerator>

namespace {

bool ReadColor(const QJsonValue &value, ColorRef &out)
{
    if (!value.isDouble())
        return false;
    const double v = value.toDouble();
    if (v < 0 || v > 0xFFFFFF || v != double(qint64(v)))
        return false;
    out = ColorRef(v);
    return true;
}

bool ReadInt(const QJsonValue &value, int low, int high, int &out)
{
    if (!value.isDouble())
        return false;
    const double v = value.toDouble();
    if (v < low || v > high || v != double(qint64(v)))
        return false;
    out = int(v);
    return true;
}

} // namespace

CFigureFragment CFigureFragment::FromFigure(const CFigure &figure, const QVector<QPoint> *cells)
{
    CFigureFragment fragment;
    fragment.BkColor = figure.BkColor;
    fragment.Color1 = figure.Color1;
    fragment.Color2 = figure.Color2;
    fragment.Color3 = figure.Color3;
    fragment.Palette = figure.Palette;
    fragment.CubeSize = figure.CubeSize;
    auto take = [&](int column, int row) {
        if (figure.HasCell(column, row) && figure.Cell(column, row) >= 0) {
            fragment.Cells.append(QPoint(column, row));
            fragment.Values.append(figure.Cell(column, row));
        }
    };
    if (cells) {
        for (const QPoint &cell : *cells)
            take(cell.x(), cell.y());
    } else {
        for (int row = 0; row < figure.Grid.size(); ++row) {
            for (int column = 0; column < figure.Grid[row].size(); ++column)
                take(column, row);
        }
    }
    return fragment;
}

QByteArray CFigureFragment::Encode() const
{
    // Compact JSON written straight out: a copy of the largest figure is encoded while
    // the user waits, and a JSON tree of every cell costs several times the text.
    QByteArray text;
    text.reserve(96 + Palette.size() * 30 + Cells.size() * 12);
    auto list = [&text](std::initializer_list<qint64> values) {
        text += '[';
        for (auto v = values.begin(); v != values.end(); ++v) {
            if (v != values.begin())
                text += ',';
            text += QByteArray::number(*v);
        }
        text += ']';
    };
    text += R"({"cells":[)";
    for (int i = 0; i < Cells.size(); ++i) {
        if (i > 0)
            text += ',';
        list({Cells[i].x(), Cells[i].y(), Values[i]});
    }
    text += R"(],"colors":)";
    list({BkColor, Color1, Color2, Color3});
    if (!Palette.isEmpty()) {
        text += R"(,"palette":[)";
        for (int i = 0; i < Palette.size(); ++i) {
            if (i > 0)
                text += ',';
            list({Palette[i].Top, Palette[i].Right, Palette[i].Left});
        }
        text += ']';
    }
    text += R"(,"cubeSize":)";
    text += QByteArray::number(CubeSize);
    text += R"(,"version":)";
    text += QByteArray::number(FormatVersion);
    text += '}';
    return text;
}

bool CFigureFragment::Decode(const QByteArray &data, CFigureFragment &out)
{
    if (data.size() > MaxBytes)
        return false;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    const QJsonObject root = document.object();
    int version = 0;
    if (!ReadInt(root.value(QStringLiteral("version")), FormatVersion, FormatVersion, version))
        return false;
    CFigureFragment fragment;
    if (!ReadInt(root.value(QStringLiteral("cubeSize")), CFigure::MinCubeSize, CFigure::MaxCubeSize, fragment.CubeSize))
        return false;
    const QJsonArray colors = root.value(QStringLiteral("colors")).toArray();
    if (colors.size() != 4 || !ReadColor(colors[0], fragment.BkColor) || !ReadColor(colors[1], fragment.Color1)
        || !ReadColor(colors[2], fragment.Color2) || !ReadColor(colors[3], fragment.Color3))
        return false;
    const QJsonValue palette = root.value(QStringLiteral("palette"));
    if (!palette.isUndefined()) {
        const QJsonArray entries = palette.toArray();
        if (!palette.isArray() || entries.size() > MaxColourings - 1)
            return false;
        for (const QJsonValue &entry : entries) {
            const QJsonArray faces = entry.toArray();
            CColouring c;
            if (faces.size() != 3 || !ReadColor(faces[0], c.Top) || !ReadColor(faces[1], c.Right)
                || !ReadColor(faces[2], c.Left))
                return false;
            fragment.Palette.append(c);
        }
    }
    const int colourings = 1 + int(fragment.Palette.size());
    const QJsonArray cells = root.value(QStringLiteral("cells")).toArray();
    if (cells.size() > MaxCells)
        return false;
    for (const QJsonValue &entry : cells) {
        const QJsonArray cell = entry.toArray();
        int column = 0;
        int row = 0;
        int value = 0;
        if (cell.size() != 3 || !ReadInt(cell[1], 0, CFigure::MaxGridHeight - 1, row)
            || !ReadInt(cell[0], 0, RowLength(CFigure::MaxGridWidth, row) - 1, column)
            || !ReadInt(cell[2], 0, CellValue(CubeKindCount - 1, MaxColourings - 1), value) || !IsCubeValue(value)
            || PaintOfCell(value) >= colourings)
            return false;
        fragment.Cells.append(QPoint(column, row));
        fragment.Values.append(value);
    }
    out = fragment;
    return true;
}

CFigure CFigureFragment::ToFigure() const
{
    CFigure figure;
    figure.BkColor = BkColor;
    figure.Color1 = Color1;
    figure.Color2 = Color2;
    figure.Color3 = Color3;
    figure.Palette = Palette;
    figure.CubeSize = CubeSize;
    // Wide enough that every cell exists: an odd row holds one cell fewer.
    int width = 0;
    int rows = 0;
    for (const QPoint &cell : Cells) {
        width = qMax(width, cell.x() + 1 + (cell.y() & 1));
        rows = qMax(rows, cell.y() + 1);
    }
    figure.Resize(width, rows);
    for (int i = 0; i < Cells.size(); ++i)
        figure.Grid[Cells[i].y()][Cells[i].x()] = Values[i];
    return figure;
}

double CFigureFragment::PictureZoom(const QSize &size)
{
    const int longer = qMax(size.width(), size.height());
    return longer > MaxPictureSize ? double(MaxPictureSize) / longer : 1.0;
}

QImage CFigureFragment::Picture() const
{
    if (IsEmpty())
        return QImage();
    const CFigure figure = ToFigure();
    const CFigure::Bounds b = figure.GetBounds();
    const QRect bounds(b.left, b.top, b.Width(), b.Height());
    const double zoom = PictureZoom(bounds.size());
    CWorkspaceRenderer renderer;
    if (zoom == 1.0) {
        QImage image(bounds.size(), QImage::Format_RGBA8888);
        if (!image.isNull())
            CBitmapExport::RenderRows(renderer, figure, nullptr, image, 0, false, true);
        return image;
    }
    // Every cube at its true position times the zoom, so the picture keeps the
    // figure's proportions; rounding may give a pixel too many.
    CWorkspaceRenderer::Params params;
    params.CubeSize = figure.CubeSize;
    params.Zoom = zoom;
    const QRect target = CWorkspaceRenderer::ZoomedRect(bounds, zoom);
    QImage image(qMin(target.width(), int(MaxPictureSize)), qMin(target.height(), int(MaxPictureSize)),
                 QImage::Format_RGBA8888);
    if (image.isNull())
        return image;
    image.fill(Qt::transparent);
    params.Offset = -target.topLeft();
    renderer.DrawImage(image, figure, params);
    return image;
}

QByteArray CFigureFragment::Png() const
{
    QByteArray bytes;
    const QImage picture = Picture();
    if (picture.isNull())
        return bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG"))
        bytes.clear();
    return bytes;
}

QByteArray CFigureFragment::Svg() const
{
    QByteArray bytes;
    if (IsEmpty())
        return bytes;
    const CFigure figure = ToFigure();
    const QSize size = CVectorExport::PageSize(figure);
    const double zoom = PictureZoom(size);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    // One SVG unit per workspace pixel, as the exported drawings; a large drawing is
    // shown at the picture's smaller size.
    generator.setResolution(96);
    generator.setSize(zoom == 1.0 ? size
                                  : QSize(qMin(MaxPictureSize, qRound(size.width() * zoom)),
                                          qMin(MaxPictureSize, qRound(size.height() * zoom))));
    generator.setViewBox(QRect(QPoint(0, 0), size));
    QPainter painter;
    if (!painter.begin(&generator))
        return QByteArray();
    painter.setFont(QFont(QStringLiteral("sans-serif"), 9));
    CVectorExport::Paint(figure, painter, true);
    painter.end();
    return bytes;
}

QMimeData *CFigureFragment::ToMimeData() const
{
    return new CFragmentMimeData(*this);
}

bool CFigureFragment::FromMimeData(const QMimeData *data, CFigureFragment &out)
{
    const QString type = QString::fromLatin1(MimeType);
    return data && data->hasFormat(type) && Decode(data->data(type), out);
}
