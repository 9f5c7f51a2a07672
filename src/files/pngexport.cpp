// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/pngexport.h"

#include "files/bitmapexport.h"
#include "files/deflatescanner.h"
#include "files/fileexception.h"
#include "files/safefilewriter.h"
#include "geometry/figure.h"
#include "geometry/workspacerenderer.h"

#include <QCoreApplication>
#include <QImage>
#include <QSize>
#include <QtEndian>

#include <array>
#include <cstring>
#include <deque>
#include <future>
#include <memory>
#include <csetjmp>
#include <libdeflate.h>
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
    bool WriterFailed = false; // Failure is the writer's own message, naming the file
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
        context->WriterFailed = true;
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

template <typename Fn> bool Call(png_structp png, Fn fn)
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
// on their own (raw deflate; all but the last piece end in an empty stored block on a
// byte boundary, as a sync flush does, the last in the final block), with the Adler-32
// sum and length of what went in. Pieces join into one valid stream because each
// starts with an empty history and so never refers back into another.
struct Piece
{
    std::vector<uchar> Data;
    uLong Adler = 1;
    uLong Length = 0;
};

// Subtracts prior from row byte by byte (modulo 256) into out, eight bytes at a time:
// the high bit of each byte is set apart so that no borrow crosses into the next
// byte. Without prior the row goes out as it is.
void FilterRow(uchar *out, const uchar *row, const uchar *prior, size_t bytes)
{
    if (!prior) {
        std::memcpy(out, row, bytes);
        return;
    }
    constexpr quint64 High = 0x8080808080808080ull;
    size_t x = 0;
    for (; x + 8 <= bytes; x += 8) {
        quint64 d;
        quint64 b;
        std::memcpy(&d, row + x, 8);
        std::memcpy(&b, prior + x, 8);
        d = ((d | High) - (b & ~High)) ^ ((d ^ ~b) & High);
        std::memcpy(out + x, &d, 8);
    }
    for (; x < bytes; ++x)
        out[x] = uchar(row[x] - prior[x]);
}

// How the picture's pixels are stored: palette indices of Bits bits (1, 2, 4 or 8),
// or 8-bit RGB / RGBA when the picture has more colours than a palette holds.
struct Layout
{
    int Width = 0;
    bool Transparent = false;
    bool Indexed = false;
    int Bits = 8;
    QVector<QRgb> Table; // the palette, when indexed

    size_t RowBytes() const
    {
        if (Indexed)
            return (size_t(Width) * size_t(Bits) + 7) / 8;
        return size_t(Width) * (Transparent ? 4 : 3);
    }
    QImage::Format Format() const
    {
        return Indexed ? QImage::Format_Indexed8 : Transparent ? QImage::Format_RGBA8888 : QImage::Format_RGB888;
    }
};

// Packs a row of one-byte indices into Bits bits each, leftmost pixel in the high bits,
// the last byte filled up with zeros. Whole bytes are gathered by one multiplication:
// each index lands in its place of the top byte and no two products overlap there.
template <int Bits> void PackRow(uchar *out, const uchar *in, int width)
{
    constexpr int PerByte = 8 / Bits;
    int x = 0;
    for (; x + PerByte <= width; x += PerByte) {
        if constexpr (Bits == 1)
            *out++ = uchar((qFromLittleEndian<quint64>(in + x) * 0x8040201008040201ull) >> 56);
        else if constexpr (Bits == 2)
            *out++ = uchar((qFromLittleEndian<quint32>(in + x) * 0x40100401u) >> 24);
        else
            *out++ = uchar((in[x] << 4) | in[x + 1]);
    }
    if (x < width) {
        uint byte = 0;
        int k = 0;
        for (; x < width; ++x, ++k)
            byte = (byte << Bits) | in[x];
        *out = uchar(byte << (Bits * (PerByte - k)));
    }
}

void PackRow(uchar *out, const uchar *in, int width, int bits)
{
    switch (bits) {
    case 1:
        PackRow<1>(out, in, width);
        break;
    case 2:
        PackRow<2>(out, in, width);
        break;
    default:
        PackRow<4>(out, in, width);
        break;
    }
}

// What one thread needs to make pieces, kept from piece to piece: a renderer (its
// pictures are drawn once), the strip image, the packed and the filtered rows, the
// compressor and its output buffer.
class CPieceMaker
{
public:
    CPieceMaker() = default;
    ~CPieceMaker()
    {
        for (libdeflate_compressor *compressor : m_compressors)
            libdeflate_free_compressor(compressor);
    }
    CPieceMaker(const CPieceMaker &) = delete;
    CPieceMaker &operator=(const CPieceMaker &) = delete;

    // Renders rows [top, top + rows) of the picture (and the row above, which the Up
    // filter subtracts), filters each row with Up and deflates them.
    Piece Make(const CFigure &figure, const Layout &layout, int top, int rows, bool last, int level)
    {
        const int above = top > 0 ? 1 : 0;
        const int width = layout.Width;
        const QImage::Format format = layout.Format();
        if (m_image.format() != format || m_image.width() != width || m_image.height() < rows + above) {
            m_image = QImage(width, rows + above, format);
            if (m_image.isNull())
                throw std::bad_alloc();
        }
        QImage image(m_image.bits(), width, rows + above, m_image.bytesPerLine(), format);
        if (layout.Indexed)
            image.setColorTable(layout.Table);
        CBitmapExport::RenderRows(m_renderer, figure, nullptr, image, top - above, false, layout.Transparent);
        const size_t rowBytes = layout.RowBytes();
        // Rows of fewer than 8 bits a pixel are packed first; the filter works on bytes.
        const bool packed = layout.Indexed && layout.Bits < 8;
        if (packed) {
            const size_t packedLength = rowBytes * size_t(rows + above);
            if (m_packedSize < packedLength) {
                m_packed.reset(new uchar[packedLength]);
                m_packedSize = packedLength;
            }
            for (int y = 0; y < rows + above; ++y)
                PackRow(m_packed.get() + rowBytes * size_t(y), image.constScanLine(y), width, layout.Bits);
        }
        auto rowAt = [&](int y) -> const uchar * {
            return packed ? m_packed.get() + rowBytes * size_t(y) : image.constScanLine(y);
        };
        const size_t length = (rowBytes + 1) * size_t(rows);
        if (m_filteredSize < length) {
            m_filtered.reset(new uchar[length]);
            m_filteredSize = length;
        }

        for (int y = 0; y < rows; ++y) {
            uchar *out = m_filtered.get() + (rowBytes + 1) * size_t(y);
            out[0] = PNG_FILTER_VALUE_UP;
            // The picture's first row has zeros above it.
            FilterRow(out + 1, rowAt(y + above), (y + above > 0) ? rowAt(y + above - 1) : nullptr, rowBytes);
        }
        Piece piece;
        piece.Length = uLong(length);
        // libdeflate's sum runs many bytes at a time, far faster than one kept per byte.
        piece.Adler = libdeflate_adler32(1, m_filtered.get(), length);
        // Room for the empty stored block a piece that is not the last ends in.
        libdeflate_compressor *compressor = Compressor(level);
        const size_t bound = libdeflate_deflate_compress_bound(compressor, length) + 8;
        if (m_outSize < bound) {
            m_out.reset(new uchar[bound]);
            m_outSize = bound;
        }
        size_t size = libdeflate_deflate_compress(compressor, m_filtered.get(), length, m_out.get(), bound);
        if (size == 0)
            throw std::bad_alloc();
        if (!last)
            size = ContinueAfter(m_out.get(), size);
        piece.Data.assign(m_out.get(), m_out.get() + size);
        return piece;
    }

private:
    libdeflate_compressor *Compressor(int level)
    {
        const size_t index = size_t(qBound(1, level, 12));
        if (!m_compressors[index]) {
            m_compressors[index] = libdeflate_alloc_compressor(int(index));
            if (!m_compressors[index])
                throw std::bad_alloc();
        }
        return m_compressors[index];
    }

    // Turns the whole deflate stream in data into the first part of a longer one, as
    // zlib's gzappend does: the stream's blocks are read to find where its final
    // block starts, whose final-block bit is cleared, and where it ends; an empty
    // stored block follows, ending it on a byte boundary. Returns the new size (at
    // most 5 bytes more).
    static size_t ContinueAfter(uchar *data, size_t size)
    {
        CDeflateScanner::Ends ends;
        if (!CDeflateScanner::Scan(data, size, &ends))
            throw std::bad_alloc(); // libdeflate's own output: cannot happen
        const size_t lastBlock = ends.FinalBlock;
        const size_t end = ends.End;
        data[lastBlock / 8] &= uchar(~(1u << (lastBlock % 8)));
        // The stored block's three header bits are zero, then the byte boundary, then
        // its length 0 and the length's complement.
        if (end % 8)
            data[end / 8] &= uchar((1u << (end % 8)) - 1);
        size_t at = (end + 7) / 8;
        if (end % 8 == 0 || end % 8 > 5)
            data[at++] = 0;
        const uchar stored[4] = {0x00, 0x00, 0xFF, 0xFF};
        std::memcpy(data + at, stored, sizeof stored);
        return at + sizeof stored;
    }

private:
    CWorkspaceRenderer m_renderer;
    QImage m_image;
    std::unique_ptr<uchar[]> m_packed;
    size_t m_packedSize = 0;
    std::unique_ptr<uchar[]> m_filtered;
    size_t m_filteredSize = 0;
    std::unique_ptr<uchar[]> m_out;
    size_t m_outSize = 0;
    std::array<libdeflate_compressor *, 13> m_compressors{}; // by level, made when first used
};

// The layout of the figure's picture: a palette of every colour it shows (fully
// transparent first when asked, else the background and, where the picture reaches
// beyond the workspace, white; then the cubes' colours) in the fewest bits that hold
// it; RGB only when more than 256 colours would be needed.
Layout ChooseLayout(const CFigure &figure, const QSize &size, bool transparent)
{
    Layout layout;
    layout.Width = size.width();
    layout.Transparent = transparent;
    QVector<QRgb> table;
    auto add = [&](QRgb color) {
        if (!table.contains(color))
            table.push_back(color);
    };
    if (transparent) {
        add(0u);
    } else {
        const QSize workspace = figure.GetWorkspaceSize();
        add(ColorFromRef(figure.BkColor).rgb());
        if (size.width() > workspace.width() || size.height() > workspace.height())
            add(0xFFFFFFFFu);
    }
    CWorkspaceRenderer::Params params;
    params.CubeSize = figure.CubeSize;
    for (QRgb color : CWorkspaceRenderer().Colors(figure, params))
        add(color);
    if (table.size() > 256)
        return layout;
    layout.Indexed = true;
    layout.Table = table;
    layout.Bits = table.size() <= 2 ? 1 : table.size() <= 4 ? 2 : table.size() <= 16 ? 4 : 8;
    return layout;
}

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

QSize CPngExport::PictureSize(const CFigure &figure)
{
    const CFigure::Bounds b = figure.GetBounds();
    return QSize(b.Width(), b.Height());
}

bool CPngExport::Export(const CFigure &figure, const QString &path, QString *error, bool transparent, int stripRows)
{
    if (figure.IsEmpty()) {
        if (error)
            *error = QCoreApplication::translate("CFigure", CFigure::EmptyFigureText);
        return false;
    }
    const QSize size = PictureSize(figure);
    const int width = size.width();
    const int height = size.height();
    stripRows = stripRows <= 0 ? CBitmapExport::StripRows(width, height)
                               : qMin((stripRows + 7) / 8 * 8, (height + 7) / 8 * 8);
    const Layout layout = ChooseLayout(figure, size, transparent);
    return CFileException::Guard(error, [&] {
        CSafeFileWriter writer(path);
        Context context;
        context.Writer = &writer;
        PngStruct png(&context);
        png_structp p = png.Png();
        png_infop info = png.Info();
        auto check = [&](bool ok) {
            if (!ok && context.WriterFailed)
                throw CFileException(context.Failure);
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
            png_set_IHDR(p, info, png_uint_32(width), png_uint_32(height), layout.Bits,
                         layout.Indexed ? PNG_COLOR_TYPE_PALETTE
                         : transparent  ? PNG_COLOR_TYPE_RGB_ALPHA
                                        : PNG_COLOR_TYPE_RGB,
                         PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
            if (layout.Indexed) {
                png_color palette[256];
                png_byte alpha[256];
                int opaqueFrom = 0; // entries from here on are opaque; tRNS lists those before
                for (int i = 0; i < layout.Table.size(); ++i) {
                    const QRgb color = layout.Table.at(i);
                    palette[i] = png_color{png_byte(qRed(color)), png_byte(qGreen(color)), png_byte(qBlue(color))};
                    alpha[i] = png_byte(qAlpha(color));
                    if (alpha[i] != 255)
                        opaqueFrom = i + 1;
                }
                png_set_PLTE(p, info, palette, int(layout.Table.size()));
                if (opaqueFrom > 0)
                    png_set_tRNS(p, info, alpha, opaqueFrom, nullptr);
            }
            png_set_text(p, info, &text, 1);
            png_write_info(p, info);
        }));

        // The image data: strips are rendered, filtered and deflated on as many threads
        // as there are cores, a few strips ahead of this thread, which writes the
        // pieces in order as IDAT chunks of one zlib stream.
        const int strips = (height + stripRows - 1) / stripRows;
        const int threads = int(qBound(1u, std::thread::hardware_concurrency(), 8u));
        CPieceMakerPool makers;
        const int bits = layout.Indexed ? layout.Bits : 8;
        auto launch = [&](int strip) {
            return std::async(std::launch::async, [&, strip] {
                std::unique_ptr<CPieceMaker> maker = makers.Take();
                const int top = strip * stripRows;
                Piece piece = maker->Make(figure, layout, top, qMin(stripRows, height - top), strip == strips - 1,
                                          CPngExport::CompressionLevel(bits, strip));
                makers.Give(std::move(maker));
                return piece;
            });
        };
        std::deque<std::future<Piece>> pending;
        int next = 0;
        uLong adler = 1;
        // The zlib header: deflate with a 32 KiB window, a slow level.
        const uchar header[2] = {0x78, 0xDA};
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
