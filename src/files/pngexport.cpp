#include "files/pngexport.h"

#include "files/bitmapexport.h"
#include "files/fileexception.h"
#include "files/safefilewriter.h"
#include "geometry/figure.h"
#include "geometry/workspacerenderer.h"

#include <QCoreApplication>
#include <QImage>
#include <QSize>

#include <condition_variable>
#include <csetjmp>
#include <mutex>
#include <new>
#include <png.h>
#include <zlib.h>
#include <thread>
#include <vector>

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("CPngExport", text);
}

// libpng reports failures by a long jump back to the caller. Each call runs through
// Call, whose frame holds no object with a destructor; whatever went wrong (a write
// error of the file, an error inside libpng) is recorded in the context first and
// thrown as an exception once back in C++.
struct Context
{
    CSafeFileWriter *Writer = nullptr;
    QString Failure;
};

void OnError(png_structp png, png_const_charp message)
{
    auto *context = static_cast<Context *>(png_get_error_ptr(png));
    if (context->Failure.isEmpty())
        context->Failure = QString::fromLatin1(message);
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp)
{
}

void OnWrite(png_structp png, png_bytep data, png_size_t size)
{
    auto *context = static_cast<Context *>(png_get_io_ptr(png));
    bool failed = false;
    try {
        context->Writer->Write(reinterpret_cast<const char *>(data), qint64(size));
    } catch (const CFileException &e) {
        context->Failure = e.Reason();
        failed = true;
    } catch (const std::bad_alloc &) {
        failed = true;
    }
    if (failed)
        png_error(png, "write failed");
}

void OnFlush(png_structp)
{
}

template <typename Fn>
bool Call(png_structp png, Fn fn)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    fn();
    return true;
}

// The write structures, freed however the export ends.
class PngStruct
{
public:
    explicit PngStruct(Context *context)
    {
        m_png = png_create_write_struct(PNG_LIBPNG_VER_STRING, context, OnError, OnWarning);
        if (m_png)
            m_info = png_create_info_struct(m_png);
        if (!m_png || !m_info)
            throw std::bad_alloc();
    }
    ~PngStruct() { png_destroy_write_struct(&m_png, &m_info); }
    PngStruct(const PngStruct &) = delete;
    PngStruct &operator=(const PngStruct &) = delete;

    png_structp Png() const { return m_png; }
    png_infop Info() const { return m_info; }

private:
    png_structp m_png = nullptr;
    png_infop m_info = nullptr;
};

// One row of 32-bit pixels (0xAARRGGBB) as red-green-blue bytes, or red-green-blue-
// alpha bytes with alpha 0 or 255 (the cube pictures have no partial alpha).
void PackRow(const quint32 *in, uchar *out, int width, bool alpha)
{
    if (alpha) {
        for (int x = 0; x < width; ++x, out += 4) {
            const quint32 p = in[x];
            out[0] = uchar(p >> 16);
            out[1] = uchar(p >> 8);
            out[2] = uchar(p);
            out[3] = uchar(p >> 24);
        }
    } else {
        for (int x = 0; x < width; ++x, out += 3) {
            const quint32 p = in[x];
            out[0] = uchar(p >> 16);
            out[1] = uchar(p >> 8);
            out[2] = uchar(p);
        }
    }
}

// Renders and packs strips on a thread of its own, one strip ahead of the consumer.
class CStripProducer
{
public:
    struct Strip
    {
        png_bytep Data = nullptr;
        size_t RowBytes = 0;
        int Rows = 0;
    };

    CStripProducer(const CFigure &figure, const QVector<QPoint> *selected, int width, int height,
                   int stripRows, bool transparent)
        : m_figure(figure)
        , m_selected(selected)
        , m_width(width)
        , m_height(height)
        , m_stripRows(stripRows)
        , m_transparent(transparent)
        , m_rowBytes(size_t(width) * (transparent ? 4 : 3))
    {
        for (auto &buffer : m_buffers)
            buffer.resize(m_rowBytes * size_t(qMin(height, stripRows)));
        m_thread = std::thread([this] { Run(); });
    }

    ~CStripProducer()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_stop = true;
        }
        m_changed.notify_all();
        m_thread.join();
    }

    CStripProducer(const CStripProducer &) = delete;
    CStripProducer &operator=(const CStripProducer &) = delete;

    // Waits for the next strip; it stays valid until Release.
    Strip Next()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return m_filled > m_taken || m_failed; });
        if (m_failed)
            throw std::bad_alloc();
        const int index = m_taken % 2;
        const int top = m_taken * m_stripRows;
        return Strip{m_buffers[index].data(), m_rowBytes, qMin(m_stripRows, m_height - top)};
    }

    void Release()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            ++m_taken;
        }
        m_changed.notify_all();
    }

private:
    void Run()
    {
        try {
            QImage device(m_width, qMin(m_height, m_stripRows),
                          m_transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32);
            if (device.isNull())
                throw std::bad_alloc();
            CWorkspaceRenderer renderer;
            for (int strip = 0; strip * m_stripRows < m_height; ++strip) {
                {
                    // Wait until the buffer this strip goes to is free again.
                    std::unique_lock<std::mutex> lock(m_mutex);
                    m_changed.wait(lock, [&] { return m_stop || strip - m_taken < 2; });
                    if (m_stop)
                        return;
                }
                const int top = strip * m_stripRows;
                const int rows = qMin(m_stripRows, m_height - top);
                QImage view(device.bits(), m_width, rows, device.bytesPerLine(), device.format());
                CBitmapExport::RenderRows(renderer, m_figure, m_selected, view, top, false, m_transparent);
                uchar *out = m_buffers[strip % 2].data();
                for (int y = 0; y < rows; ++y)
                    PackRow(reinterpret_cast<const quint32 *>(view.constScanLine(y)),
                            out + size_t(y) * m_rowBytes, m_width, m_transparent);
                {
                    std::lock_guard<std::mutex> lock(m_mutex);
                    ++m_filled;
                }
                m_changed.notify_all();
            }
        } catch (...) {
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_failed = true;
            }
            m_changed.notify_all();
        }
    }

    const CFigure &m_figure;
    const QVector<QPoint> *m_selected;
    const int m_width;
    const int m_height;
    const int m_stripRows;
    const bool m_transparent;
    const size_t m_rowBytes;
    std::vector<uchar> m_buffers[2];
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_filled = 0;   // strips packed so far
    int m_taken = 0;    // strips the consumer has finished with
    bool m_stop = false;
    bool m_failed = false;
    std::thread m_thread;
};

} // namespace

bool CPngExport::Export(const CFigure &figure, const QVector<QPoint> *selected, const QString &path,
                        QString *error, bool transparent, int stripRows)
{
    if (figure.IsEmpty()) {
        if (error)
            *error = QString::fromLatin1(CFigure::EmptyFigureText);
        return false;
    }
    const QSize size = CBitmapExport::BitmapSize(figure);
    const int width = size.width();
    const int height = size.height();
    stripRows = stripRows <= 0 ? CBitmapExport::StripRows(width, height)
                               : qMin((stripRows + 7) / 8 * 8, (height + 7) / 8 * 8);
    return CFileException::Guard(error, [&] {
        CSafeFileWriter writer(path);
        Context context;
        context.Writer = &writer;
        PngStruct png(&context);
        png_structp p = png.Png();
        png_infop info = png.Info();
        auto check = [&](bool ok) {
            if (!ok)
                throw CFileException(Tr("Cannot write %1: %2").arg(path, context.Failure));
        };

        static char key[] = "Software";
        static char program[] = "Tarvex";
        png_text text{};
        text.compression = PNG_TEXT_COMPRESSION_NONE;
        text.key = key;
        text.text = program;
        check(Call(p, [&] {
            png_set_write_fn(p, &context, OnWrite, OnFlush);
            png_set_IHDR(p, info, png_uint_32(width), png_uint_32(height), 8,
                         transparent ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                         PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
            png_set_text(p, info, &text, 1);
            png_set_filter(p, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
            png_set_compression_level(p, CompressionLevel);
            png_set_compression_strategy(p, Z_RLE);
            // Large data chunks: fewer, larger writes to the file.
            png_set_compression_buffer_size(p, 1 << 20);
            png_write_info(p, info);
        }));

        // Two threads: this one filters, compresses and writes while a helper renders
        // and packs the next strip; two packed strips take turns between them.
        CStripProducer producer(figure, selected, width, height, stripRows, transparent);
        for (int top = 0; top < height; top += stripRows) {
            const CStripProducer::Strip strip = producer.Next();
            for (int y = 0; y < strip.Rows; ++y) {
                png_bytep data = strip.Data + size_t(y) * strip.RowBytes;
                check(Call(p, [&] { png_write_row(p, data); }));
            }
            producer.Release();
        }
        check(Call(p, [&] { png_write_end(p, info); }));
        writer.Commit();
        return true;
    });
}
