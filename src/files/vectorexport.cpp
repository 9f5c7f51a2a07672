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

#include <cmath>
#include <functional>
#include <new>

namespace {

// Hands what a Qt writer produces to a safe file writer. The first failure is kept
// and every later write refused, so the writer stops early and the file is dropped.
//
// With a root size set, the start of the output is held back until the root element's
// start tag is complete, and its width and height attributes are written as that size
// in pixels: QSvgGenerator writes them in millimetres, which viewers round to a pixel
// more or less than the picture has.
class WriterDevice : public QIODevice
{
public:
    explicit WriterDevice(CSafeFileWriter &writer, const QSize &rootSize = QSize())
        : m_writer(writer)
        , m_rootSize(rootSize)
        , m_holding(rootSize.isValid())
    {
        open(QIODevice::WriteOnly);
    }

    const QString &Failure() const { return m_failure; }
    bool Failed() const { return m_failed; }

    // Writes out whatever is still held back.
    void Finish()
    {
        if (m_holding) {
            m_holding = false;
            Pass(m_head.constData(), m_head.size());
            m_head.clear();
        }
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        if (m_failed)
            return -1;
        if (!m_holding)
            return Pass(data, size) ? size : -1;
        m_head.append(data, size);
        const qsizetype root = m_head.indexOf("<svg");
        const qsizetype end = root < 0 ? -1 : m_head.indexOf('>', root);
        if (end >= 0) {
            m_head = m_head.left(root) + SizedRoot(m_head.mid(root, end - root)) + m_head.mid(end);
            Finish();
        } else if (m_head.size() > 65536) {
            Finish(); // no root tag where one is expected: passed on as it is
        }
        return m_failed ? -1 : size;
    }

private:
    // The root's start tag (without its '>') with width and height in pixels.
    QByteArray SizedRoot(QByteArray tag) const
    {
        for (const char *name : {"width", "height"}) {
            const QByteArray value = QByteArray::number(qstrcmp(name, "width") == 0 ? m_rootSize.width()
                                                                                    : m_rootSize.height())
                                     + "px";
            const QByteArray key = QByteArray(" ") + name + "=\"";
            const qsizetype at = tag.indexOf(key);
            const qsizetype close = at < 0 ? -1 : tag.indexOf('"', at + key.size());
            if (close >= 0)
                tag.replace(at + key.size(), close - at - key.size(), value);
            else
                tag.append(key + value + "\"");
        }
        return tag;
    }

    bool Pass(const char *data, qint64 size)
    {
        try {
            m_writer.Write(data, size);
            return true;
        } catch (const CFileException &e) {
            m_failure = e.Reason();
        } catch (const std::bad_alloc &) {
            m_failure = CVectorExport::tr("Out of memory.");
        }
        m_failed = true;
        return false;
    }

    CSafeFileWriter &m_writer;
    const QSize m_rootSize;
    bool m_holding = false;
    QByteArray m_head;
    QString m_failure;
    bool m_failed = false;
};

// Writes path through a device handed to draw; commits only when drawing succeeded
// and nothing failed underway.
bool WriteThrough(const CFigure &figure, const QString &path, QString *error, const QSize &rootSize,
                  const std::function<bool(QIODevice &)> &draw)
{
    if (figure.IsEmpty()) {
        if (error)
            *error = QCoreApplication::translate("CFigure", CFigure::EmptyFigureText);
        return false;
    }
    return CFileException::Guard(error, [&] {
        CSafeFileWriter writer(path);
        WriterDevice device(writer, rootSize);
        const bool drawn = draw(device);
        device.Finish();
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

double CVectorExport::PdfScale(const CFigure &figure)
{
    const QSize size = PageSize(figure);
    const int longer = qMax(size.width(), size.height());
    return longer > MaxPdfPageSide ? double(MaxPdfPageSide) / longer : 1.0;
}

QSize CVectorExport::PdfPageSize(const CFigure &figure)
{
    const QSize size = PageSize(figure);
    const double scale = PdfScale(figure);
    if (scale == 1.0)
        return size;
    return QSize(qBound(1, int(std::lround(size.width() * scale)), MaxPdfPageSide),
                 qBound(1, int(std::lround(size.height() * scale)), MaxPdfPageSide));
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
    return WriteThrough(figure, path, error, PageSize(figure), [&](QIODevice &device) {
        const QSize size = PageSize(figure);
        QSvgGenerator generator;
        generator.setOutputDevice(&device);
        // At 96 units per inch one SVG unit is one CSS pixel; the root's width and
        // height are rewritten in pixels on the way out (see WriterDevice).
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
    return WriteThrough(figure, path, error, QSize(), [&](QIODevice &device) {
        QPdfWriter writer(&device);
        writer.setCreator(QStringLiteral("Tarvex"));
        writer.setTitle(QStringLiteral("Tarvex figure"));
        // One point per workspace pixel, the page exactly the picture; a page larger
        // than readers take is scaled down as a whole (the drawing stays vector).
        const double scale = PdfScale(figure);
        writer.setResolution(72);
        writer.setPageSize(QPageSize(QSizeF(PdfPageSize(figure)), QPageSize::Point, QString(), QPageSize::ExactMatch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
        QPainter painter;
        if (!painter.begin(&writer))
            return false;
        painter.scale(scale, scale);
        Paint(figure, painter, false);
        return painter.end();
    });
}
