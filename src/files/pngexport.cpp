// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/pngexport.h"

#include "files/bitmapexport.h"
#include "files/fileexception.h"
#include "files/safefilewriter.h"
#include "geometry/figure.h"
#include "geometry/workspacerenderer.h"

#include <QCoreApplication>
#include <QImage>
#include <QSize>

#include <cstring>
#include <deque>
#include <future>
#include <memory>
#include <csetjmp>
#include <mutex>
#include <new>
#include <png.h>
#include <zlib.h>
#include <thread>
#include <vector>

namespace {

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

// A piece of the picture's one zlib stream: the filtered rows of one strip, deflated
// on their own (raw deflate, ending in a sync flush, the last piece in the final block),
// with the Adler-32 sum and length of what went in. Pieces join into one valid stream
// because the run-length strategy only refers back to the byte before, never across
// pieces.
struct Piece
{
    std::vector<uchar> Data;
    uLong Adler = 1;
    uLong Length = 0;
};

// The Adler-32 sum of the zlib stream, kept while the filtered rows are made. Sums
// are held in 64 bits and reduced once per row at most, and a run of zero bytes (most
// of a filtered figure) costs one multiplication: it adds nothing to a and a to b for
// each byte.
class CAdler32
{
public:
    void AddByte(uchar byte)
    {
        m_a += byte;
        m_b += m_a;
    }
    void AddZeros(quint64 count) { m_b += count * m_a; }
    void Reduce()
    {
        m_a %= Base;
        m_b %= Base;
    }
    uLong Value()
    {
        Reduce();
        return uLong((m_b << 16) | m_a);
    }

private:
    static constexpr quint64 Base = 65521;
    quint64 m_a = 1;
    quint64 m_b = 0;
};

// Subtracts prior from row byte by byte (modulo 256) into out and adds the result to
// the sum, eight bytes at a time: the high bit of each byte is set apart so that no
// borrow crosses into the next byte. Without prior the row goes out as it is.
void FilterRow(uchar *out, const uchar *row, const uchar *prior, size_t bytes, CAdler32 &adler)
{
    constexpr quint64 High = 0x8080808080808080ull;
    size_t x = 0;
    for (; x + 8 <= bytes; x += 8) {
        quint64 d;
        std::memcpy(&d, row + x, 8);
        if (prior) {
            quint64 b;
            std::memcpy(&b, prior + x, 8);
            d = ((d | High) - (b & ~High)) ^ ((d ^ ~b) & High);
        }
        std::memcpy(out + x, &d, 8);
        if (d == 0) {
            adler.AddZeros(8);
        } else {
            for (int k = 0; k < 8; ++k)
                adler.AddByte(out[x + size_t(k)]);
        }
    }
    for (; x < bytes; ++x) {
        out[x] = uchar(row[x] - (prior ? prior[x] : 0));
        adler.AddByte(out[x]);
    }
    adler.Reduce();
}

// What one thread needs to make pieces, kept from piece to piece: a renderer (its
// pictures are drawn once), the strip image, the filtered rows, the deflate state and
// its output buffer.
class CPieceMaker
{
public:
    CPieceMaker()
    {
        if (deflateInit2(&m_z, CPngExport::CompressionLevel, Z_DEFLATED, -15, 8, Z_RLE) != Z_OK)
            throw std::bad_alloc();
    }
    ~CPieceMaker() { deflateEnd(&m_z); }
    CPieceMaker(const CPieceMaker &) = delete;
    CPieceMaker &operator=(const CPieceMaker &) = delete;

    // Renders rows [top, top + rows) of the picture (and the row above, which the Up
    // filter subtracts), filters each row with Up and deflates them.
    Piece Make(const CFigure &figure, const QVector<QPoint> *selected, int width, int top, int rows,
               bool transparent, bool last)
    {
        const int above = top > 0 ? 1 : 0;
        const QImage::Format format = transparent ? QImage::Format_RGBA8888 : QImage::Format_RGB888;
        if (m_image.format() != format || m_image.width() != width || m_image.height() < rows + above) {
            m_image = QImage(width, rows + above, format);
            if (m_image.isNull())
                throw std::bad_alloc();
        }
        QImage image(m_image.bits(), width, rows + above, m_image.bytesPerLine(), format);
        CBitmapExport::RenderRows(m_renderer, figure, selected, image, top - above, false, transparent);
        const size_t rowBytes = size_t(width) * (transparent ? 4 : 3);
        const size_t length = (rowBytes + 1) * size_t(rows);
        if (m_filteredSize < length) {
            m_filtered.reset(new uchar[length]);
            m_filteredSize = length;
        }
        CAdler32 adler;
        for (int y = 0; y < rows; ++y) {
            uchar *out = m_filtered.get() + (rowBytes + 1) * size_t(y);
            out[0] = PNG_FILTER_VALUE_UP;
            adler.AddByte(out[0]);
            // The picture's first row has zeros above it.
            FilterRow(out + 1, image.constScanLine(y + above),
                      y + above > 0 ? image.constScanLine(y + above - 1) : nullptr, rowBytes, adler);
        }
        Piece piece;
        piece.Length = uLong(length);
        piece.Adler = adler.Value();
        const size_t bound = deflateBound(&m_z, uLong(length)) + 16;
        if (m_outSize < bound) {
            m_out.reset(new uchar[bound]);
            m_outSize = bound;
        }
        deflateReset(&m_z);
        m_z.next_in = m_filtered.get();
        m_z.avail_in = uInt(length);
        m_z.next_out = m_out.get();
        m_z.avail_out = uInt(bound);
        const int result = deflate(&m_z, last ? Z_FINISH : Z_SYNC_FLUSH);
        if (last ? result != Z_STREAM_END : (result != Z_OK || m_z.avail_in != 0))
            throw std::bad_alloc();
        piece.Data.assign(m_out.get(), m_out.get() + (bound - m_z.avail_out));
        return piece;
    }

private:
    CWorkspaceRenderer m_renderer;
    QImage m_image;
    std::unique_ptr<uchar[]> m_filtered;
    size_t m_filteredSize = 0;
    std::unique_ptr<uchar[]> m_out;
    size_t m_outSize = 0;
    z_stream m_z{};
};

// Piece makers for the threads: each piece borrows one, so no maker is used by two
// threads at once.
class CPieceMakerPool
{
public:
    std::unique_ptr<CPieceMaker> Take()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_free.empty())
            return std::make_unique<CPieceMaker>();
        std::unique_ptr<CPieceMaker> maker = std::move(m_free.back());
        m_free.pop_back();
        return maker;
    }
    void Give(std::unique_ptr<CPieceMaker> maker)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_free.push_back(std::move(maker));
    }

private:
    std::mutex m_mutex;
    std::vector<std::unique_ptr<CPieceMaker>> m_free;
};

} // namespace

bool CPngExport::Export(const CFigure &figure, const QVector<QPoint> *selected, const QString &path,
                        QString *error, bool transparent, int stripRows)
{
    if (figure.IsEmpty()) {
        if (error)
            *error = QCoreApplication::translate("CFigure", CFigure::EmptyFigureText);
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
                throw CFileException(CPngExport::tr("Cannot write %1: %2").arg(path, context.Failure));
        };
        auto chunk = [&](const char *name, const uchar *data, size_t length) {
            check(Call(p, [&] { png_write_chunk(p, reinterpret_cast<png_const_bytep>(name), data, length); }));
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
            png_write_info(p, info);
        }));

        // The image data: strips are rendered, filtered and deflated on as many threads
        // as there are cores, a few strips ahead of this thread, which writes the
        // pieces in order as IDAT chunks of one zlib stream.
        const int strips = (height + stripRows - 1) / stripRows;
        const int threads = int(qBound(1u, std::thread::hardware_concurrency(), 8u));
        CPieceMakerPool makers;
        auto launch = [&](int strip) {
            return std::async(std::launch::async, [&, strip] {
                std::unique_ptr<CPieceMaker> maker = makers.Take();
                const int top = strip * stripRows;
                Piece piece = maker->Make(figure, selected, width, top, qMin(stripRows, height - top), transparent,
                                          strip == strips - 1);
                makers.Give(std::move(maker));
                return piece;
            });
        };
        std::deque<std::future<Piece>> pending;
        int next = 0;
        uLong adler = 1;
        // The zlib header: deflate with a 32 KiB window, the fastest level.
        const uchar header[2] = {0x78, 0x01};
        chunk("IDAT", header, sizeof header);
        for (int written = 0; written < strips; ++written) {
            while (next < strips && int(pending.size()) <= threads)
                pending.push_back(launch(next++));
            const Piece piece = pending.front().get();
            pending.pop_front();
            adler = adler32_combine(adler, piece.Adler, z_off_t(piece.Length));
            chunk("IDAT", piece.Data.data(), piece.Data.size());
        }
        const uchar trailer[4] = {uchar(adler >> 24), uchar(adler >> 16), uchar(adler >> 8), uchar(adler)};
        chunk("IDAT", trailer, sizeof trailer);
        chunk("IEND", nullptr, 0);
        writer.Commit();
        return true;
    });
}
