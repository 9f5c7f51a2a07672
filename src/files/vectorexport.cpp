// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/vectorexport.h"

#include "files/fileexception.h"
#include "files/safefilewriter.h"
#include "geometry/figure.h"
#include "geometry/workspacerenderer.h"

#include <QCoreApplication>
#include <QFont>
#include <QIODevice>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <functional>
#include <new>

namespace {

// Hands what a Qt writer produces to a safe file writer. The first failure is kept
// and every later write refused, so the writer stops early and the file is dropped.
class WriterDevice : public QIODevice
{
public:
    explicit WriterDevice(CSafeFileWriter &writer)
        : m_writer(writer)
    {
        open(QIODevice::WriteOnly);
    }

    const QString &Failure() const { return m_failure; }
    bool Failed() const { return m_failed; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        if (m_failed)
            return -1;
        try {
            m_writer.Write(data, size);
            return size;
        } catch (const CFileException &e) {
            m_failure = e.Reason();
        } catch (const std::bad_alloc &) {
            m_failure = CVectorExport::tr("Out of memory.");
        }
        m_failed = true;
        return -1;
    }

private:
    CSafeFileWriter &m_writer;
    QString m_failure;
    bool m_failed = false;
};

// Writes path through a device handed to draw; commits only when drawing succeeded
// and nothing failed underway.
bool WriteThrough(const CFigure &figure, const QString &path, QString *error,
                  const std::function<bool(QIODevice &)> &draw)
{
    if (figure.IsEmpty()) {
        if (error)
            *error = QCoreApplication::translate("CFigure", CFigure::EmptyFigureText);
        return false;
    }
    return CFileException::Guard(error, [&] {
        CSafeFileWriter writer(path);
        WriterDevice device(writer);
        const bool drawn = draw(device);
        if (device.Failed())
            throw CFileException(device.Failure());
        if (!drawn)
            throw CFileException(CVectorExport::tr("Cannot write %1.").arg(path));
        writer.Commit();
        return true;
    });
}

} // namespace

QSize CVectorExport::PageSize(const CFigure &figure)
{
    const CFigure::Bounds b = figure.GetBounds();
    return QSize(b.Width(), b.Height());
}

void CVectorExport::Paint(const CFigure &figure, QPainter &painter, bool transparent)
{
    const CFigure::Bounds b = figure.GetBounds();
    const QRect page(QPoint(0, 0), PageSize(figure));
    PreparePainter(painter);
    if (!transparent) {
        // As in the bitmap: the background from the page's corner with the workspace's
        // size, white beyond it.
        const QRect background = page & QRect(QPoint(0, 0), figure.GetWorkspaceSize());
        if (background != page)
            painter.fillRect(page, Qt::white);
        if (!background.isEmpty())
            painter.fillRect(background, ColorFromRef(figure.BkColor));
    }
    CWorkspaceRenderer::Params params;
    params.CubeSize = figure.CubeSize;
    params.Offset = QPoint(-b.left, -b.top);
    CWorkspaceRenderer().DrawVector(painter, figure, page.translated(b.left, b.top), params);
}

bool CVectorExport::ExportSvg(const CFigure &figure, const QString &path, QString *error, bool transparent)
{
    return WriteThrough(figure, path, error, [&](QIODevice &device) {
        const QSize size = PageSize(figure);
        QSvgGenerator generator;
        generator.setOutputDevice(&device);
        // At 96 units per inch one SVG unit is one CSS pixel, so viewers show the
        // picture at the bitmap's size.
        generator.setResolution(96);
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        generator.setTitle(QStringLiteral("Tarvex figure"));
        generator.setDescription(QStringLiteral("Drawn by Tarvex"));
        QPainter painter;
        if (!painter.begin(&generator))
            return false;
        // The generator writes the painter's font on every group; without a program
        // font (the command line has none) its size would come out as -1.
        painter.setFont(QFont(QStringLiteral("sans-serif"), 9));
        Paint(figure, painter, transparent);
        return painter.end();
    });
}

bool CVectorExport::ExportPdf(const CFigure &figure, const QString &path, QString *error)
{
    return WriteThrough(figure, path, error, [&](QIODevice &device) {
        const QSize size = PageSize(figure);
        QPdfWriter writer(&device);
        writer.setCreator(QStringLiteral("Tarvex"));
        writer.setTitle(QStringLiteral("Tarvex figure"));
        // One point per workspace pixel, the page exactly the picture.
        writer.setResolution(72);
        writer.setPageSize(QPageSize(QSizeF(size), QPageSize::Point, QString(), QPageSize::ExactMatch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
        QPainter painter;
        if (!painter.begin(&writer))
            return false;
        Paint(figure, painter, false);
        return painter.end();
    });
}
