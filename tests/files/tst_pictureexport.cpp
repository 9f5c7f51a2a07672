// SPDX-License-Identifier: GPL-3.0-or-later
// PNG, SVG and PDF output against the bitmap export of the same figure, all of the
// figure's exact span: PNG pixel for pixel, decoded by Qt and by libpng (strips
// crossing cubes, odd widths, palettes of 1 to 4 bits, transparency, selection never
// greyed), SVG and PDF rasterised at one unit per pixel (equal but along polygon
// edges), and failed writes leaving nothing behind.

#include "document/cubeselection.h"
#include "document/tarvexdoc.h"
#include "files/deflatescanner.h"
#include "files/figurewriter.h"
#include "files/pngexport.h"
#include "files/vectorexport.h"
#include "support/failingtarget.h"
#include "support/imagecompare.h"
#include "support/testdocument.h"

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <QtTest>

#include <png.h>
#include <zlib.h>

Q_DECLARE_METATYPE(CFailingTarget::Kind)

namespace {

// A figure filling its grid at random, coloured so that the faces, the background and
// white all differ; the first few cubes in row order end up selected when asked.
// With colourings above 1 the palette gets more colourings and the cubes take them in turn.
void Fill(CTarvexDoc &doc, int width, int height, int cubeSize, int percent, bool select, int colourings = 1)
{
    QRandomGenerator random(quint32(width * 1000 + height * 10 + cubeSize));
    doc.ResizeGrid(width, height);
    EditFigure(doc, [&](CFigure &f) { f.CubeSize = cubeSize; });
    EditFigure(doc, [&](CFigure &f) { f.BkColor = MakeColorRef(200, 210, 220); });
    EditFigure(doc, [&](CFigure &f) { f.Color1 = MakeColorRef(250, 20, 30); });
    EditFigure(doc, [&](CFigure &f) { f.Color2 = MakeColorRef(20, 160, 40); });
    EditFigure(doc, [&](CFigure &f) { f.Color3 = MakeColorRef(30, 40, 240); });
    for (int i = 1; i < colourings; ++i)
        doc.AddColouring(CColouring::Shaded(MakeColorRef(40 * i, 200 - 30 * i, 120)));
    int placed = 0;
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < RowLength(width, r); ++c)
            if (int(random.bounded(100)) < percent)
                PlaceCube(doc, c, r, CellValue(int(random.bounded(64)), placed++ % colourings));
    if (select) {
        SelectEveryCube(doc);
        const QVector<QPoint> all = doc.Selection()->Cells();
        doc.SelectCells(all.mid(0, all.size() / 2), false);
    }
}

QImage Bitmap(const CTarvexDoc &doc, const QString &path)
{
    QString error;
    if (!doc.ExportBitmap(path, &error))
        qWarning("%s", qPrintable(error));
    return QImage(path, "BMP");
}

// The PNG as libpng's own reader decodes it (RGBA), with the header's bit depth and
// colour type.
QImage DecodeWithLibpng(const QString &path, int *bits, int *colorType)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QImage();
    const QByteArray data = file.readAll();
    if (data.size() < 26)
        return QImage();
    *bits = uchar(data[24]);
    *colorType = uchar(data[25]);
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, data.constData(), size_t(data.size())))
        return QImage();
    png.format = PNG_FORMAT_RGBA;
    QImage image(int(png.width), int(png.height), QImage::Format_RGBA8888);
    if (!png_image_finish_read(&png, nullptr, image.bits(), png_int_32(image.bytesPerLine()), nullptr))
        return QImage();
    return image;
}

// Pixels of the colour changes in image: the most a polygon rasterised one pixel off
// along its edges can change.
int EdgePixels(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((x + 1 < image.width() && image.pixel(x + 1, y) != image.pixel(x, y))
                || (y + 1 < image.height() && image.pixel(x, y + 1) != image.pixel(x, y)))
                ++count;
    return 2 * count;
}

} // namespace

class TestPictureExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void pngMatchesBitmap_data();
    void pngMatchesBitmap();
    void deflateScannerFindsFinalBlock_data();
    void deflateScannerFindsFinalBlock();
    void vectorMatchesBitmap_data();
    void vectorMatchesBitmap();
    void largestPdfPageFitsReaders();
    void failedWritesLeaveNothing_data();
    void failedWritesLeaveNothing();

private:
    QTemporaryDir m_dir;
};

void TestPictureExport::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void TestPictureExport::pngMatchesBitmap_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("cubeSize");
    QTest::addColumn<int>("stripRows");
    QTest::addColumn<bool>("select");
    QTest::addColumn<bool>("transparent");
    QTest::addColumn<bool>("oneFaceColor");
    QTest::addColumn<int>("colourings");
    QTest::newRow("small figure, one strip") << 10 << 10 << 16 << 0 << false << false << false << 1;
    QTest::newRow("strips of 8 rows crossing cubes") << 12 << 12 << 40 << 8 << false << false << false << 1;
    QTest::newRow("odd sizes, selection not greyed") << 11 << 13 << 35 << 24 << true << false << false << 1;
    QTest::newRow("one face colour") << 10 << 11 << 21 << 16 << false << false << true << 1;
    QTest::newRow("transparent") << 10 << 12 << 30 << 0 << false << true << false << 1;
    QTest::newRow("transparent, one face colour") << 13 << 10 << 17 << 8 << false << true << true << 1;
    QTest::newRow("two colourings") << 12 << 12 << 30 << 8 << false << false << false << 2;
    QTest::newRow("two colourings, transparent") << 11 << 12 << 27 << 0 << false << true << false << 2;
    QTest::newRow("sixteen colourings, 8 bits") << 14 << 14 << 24 << 16 << true << false << false << 16;
}

void TestPictureExport::pngMatchesBitmap()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, cubeSize);
    QFETCH(int, stripRows);
    QFETCH(bool, select);
    QFETCH(bool, transparent);
    QFETCH(bool, oneFaceColor);
    QFETCH(int, colourings);
    CTestDocument doc;
    Fill(doc, width, height, cubeSize, 70, false, colourings);
    if (oneFaceColor)
        EditFigure(doc, [](CFigure &f) { f.Color2 = f.Color3 = f.Color1; });
    // The bitmap without selection, cut to the figure's exact span; transparent, all
    // but the faces clear.
    const QSize size = CPngExport::PictureSize(doc.Figure());
    QImage expected = Bitmap(doc, m_dir.filePath("same.bmp")).copy(QRect(QPoint(0, 0), size));
    expected = expected.convertToFormat(QImage::Format_ARGB32);
    QSet<QRgb> faces;
    for (const CColouring &c : doc.Figure().Colourings())
        faces += {ColorFromRef(c.Top).rgb(), ColorFromRef(c.Right).rgb(), ColorFromRef(c.Left).rgb()};
    QSet<QRgb> colors;
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x) {
            if (transparent && !faces.contains(expected.pixel(x, y)))
                expected.setPixel(x, y, 0u);
            colors.insert(expected.pixel(x, y));
        }
    // Every colouring is seen in the bitmap.
    for (const CColouring &c : doc.Figure().Colourings())
        QVERIFY(oneFaceColor || colors.contains(ColorFromRef(c.Top).rgb()));
    if (select)
        SelectEveryCube(doc);
    const QString png = m_dir.filePath("same.png");
    QVERIFY(doc.SaveFigureAs(png, transparent));
    if (stripRows > 0) {
        QString error;
        QVERIFY2(CPngExport::Export(doc.Figure(), png, &error, transparent, stripRows), qPrintable(error));
    }

    const QImage byQt(png, "PNG");
    QCOMPARE(byQt.text(QStringLiteral("Software")), QStringLiteral("Tarvex"));
    QCOMPARE(byQt.hasAlphaChannel(), transparent);
    QCOMPARE(ImageDifference(byQt.convertToFormat(QImage::Format_ARGB32), expected), QString());
    int bits = 0;
    int colorType = -1;
    const QImage byLibpng = DecodeWithLibpng(png, &bits, &colorType);
    QCOMPARE(ImageDifference(byLibpng.convertToFormat(QImage::Format_ARGB32), expected), QString());
    // A palette in the fewest bits that hold the picture's colours.
    QCOMPARE(colorType, PNG_COLOR_TYPE_PALETTE);
    const int count = int(colors.size());
    QCOMPARE(bits, count <= 2 ? 1 : count <= 4 ? 2 : count <= 16 ? 4 : 8);
}

void TestPictureExport::deflateScannerFindsFinalBlock_data()
{
    // A raw deflate stream of two parts: the first ends in a full flush (its byte
    // length is where the second begins), the second, small, is the final block.
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("strategy");
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("last");
    QByteArray noise(200000, 0);
    QRandomGenerator random(5);
    for (char &c : noise)
        c = char(random.bounded(256));
    const QByteArray text = QByteArray("edges of faces, two rows up ").repeated(3000);
    QTest::newRow("stored blocks") << 0 << Z_DEFAULT_STRATEGY << noise << QByteArray("tail");
    QTest::newRow("fixed codes") << 6 << Z_FIXED << text << QByteArray("the end");
    QTest::newRow("dynamic codes") << 9 << Z_DEFAULT_STRATEGY << text << text.left(5000);
    QTest::newRow("noise, then codes") << 6 << Z_DEFAULT_STRATEGY << noise << text.left(3000);
    QTest::newRow("one empty final block") << 6 << Z_DEFAULT_STRATEGY << QByteArray() << QByteArray();
}

void TestPictureExport::deflateScannerFindsFinalBlock()
{
    QFETCH(int, level);
    QFETCH(int, strategy);
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, last);
    z_stream z{};
    QCOMPARE(deflateInit2(&z, level, Z_DEFLATED, -15, 9, strategy), Z_OK);
    std::vector<unsigned char> out(first.size() + last.size() + 4096);
    z.next_out = out.data();
    z.avail_out = uInt(out.size());
    auto feed = [&](QByteArray &data, int flush) {
        z.next_in = reinterpret_cast<Bytef *>(data.data());
        z.avail_in = uInt(data.size());
        return deflate(&z, flush);
    };
    if (!first.isEmpty())
        QCOMPARE(feed(first, Z_FULL_FLUSH), Z_OK);
    const size_t boundary = z.total_out;
    QCOMPARE(feed(last, Z_FINISH), Z_STREAM_END);
    const size_t size = z.total_out;
    deflateEnd(&z);

    CDeflateScanner::Ends ends;
    QVERIFY(CDeflateScanner::Scan(out.data(), size, &ends));
    QCOMPARE(ends.FinalBlock, boundary * 8);
    QCOMPARE((ends.End + 7) / 8, size);
    // What follows the stream is not read; a cut stream is refused.
    QVERIFY(CDeflateScanner::Scan(out.data(), size + 100, &ends));
    QCOMPARE((ends.End + 7) / 8, size);
    QVERIFY(!CDeflateScanner::Scan(out.data(), size - 1, &ends));
}

void TestPictureExport::vectorMatchesBitmap_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("transparent");
    QTest::addColumn<int>("colourings");
    QTest::newRow("svg") << "svg" << false << 1;
    QTest::newRow("svg transparent") << "svg" << true << 1;
    QTest::newRow("pdf") << "pdf" << false << 1;
    QTest::newRow("svg, two colourings") << "svg" << false << 2;
    QTest::newRow("pdf, two colourings") << "pdf" << false << 2;
}

void TestPictureExport::vectorMatchesBitmap()
{
    QFETCH(QString, type);
    QFETCH(bool, transparent);
    QFETCH(int, colourings);
    CTestDocument doc;
    Fill(doc, 12, 14, 36, 75, false, colourings);
    // The expected picture: the bitmap without selection, cut to the figure's bounds.
    const QSize page = CVectorExport::PageSize(doc.Figure());
    const QImage expected = Bitmap(doc, m_dir.filePath("vector.bmp")).copy(QRect(QPoint(0, 0), page));
    // Vector output never greys the selection.
    SelectEveryCube(doc);
    const QString path = m_dir.filePath("vector." + type);
    QString error;
    QVERIFY2(doc.SaveFigureAs(path, transparent, &error), qPrintable(error));

    // One size for every picture of the figure: the PNG's, the page's, and in the
    // SVG's root in pixels (renderers otherwise round millimetres a pixel off).
    QCOMPARE(page, CPngExport::PictureSize(doc.Figure()));
    QImage actual;
    if (type == "svg") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray root = file.read(4096);
        QVERIFY2(root.contains(QString(R"(width="%1px")").arg(page.width()).toLatin1())
                     && root.contains(QString(R"(height="%1px")").arg(page.height()).toLatin1()),
                 root.constData());
        QSvgRenderer renderer(path);
        QVERIFY(renderer.isValid());
        QCOMPARE(renderer.viewBox(), QRect(QPoint(0, 0), page));
        // Qt's renderer turns antialiasing on itself, so polygon edges come out blended;
        // that stays within the edge tolerance below. A transparent drawing is laid on
        // the background colour, so it must give the same picture; on nothing, its
        // corner (never a cube) stays clear.
        actual = QImage(page, QImage::Format_ARGB32_Premultiplied);
        actual.fill(Qt::transparent);
        {
            QPainter painter(&actual);
            painter.setRenderHint(QPainter::Antialiasing, false);
            renderer.render(&painter, QRectF(QPoint(0, 0), page));
        }
        QCOMPARE(qAlpha(actual.pixel(0, 0)), transparent ? 0 : 255);
        QImage under(page, QImage::Format_RGB32);
        under.fill(ColorFromRef(doc.Figure().BkColor));
        QPainter(&under).drawImage(0, 0, actual);
        actual = under;
    } else {
        const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
        if (pdftoppm.isEmpty())
            QSKIP("pdftoppm (poppler-utils) is needed to render the PDF; scripts/deps.sh installs it.");
        const QString prefix = m_dir.filePath("vector-pdf");
        QProcess process;
        process.start(pdftoppm, {"-r", "72", "-aa", "no", "-aaVector", "no", "-png", "-singlefile", path, prefix});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 0);
        actual = QImage(prefix + ".png");
    }
    const CImageDifference diff = CompareImages(actual, expected);
    QVERIFY2(!diff.sizeDiffers, qPrintable(QString("%1x%2").arg(actual.width()).arg(actual.height())));
    // Equal but along the polygons' edges, and there only where a pixel is one off.
    QCOMPARE(diff.awayFromEdges, 0);
    const int bound = EdgePixels(expected);
    QVERIFY2(diff.differing <= bound,
             qPrintable(QString("%1 pixels differ, at most %2 expected").arg(diff.differing).arg(bound)));
    qInfo("%s: %d of %d pixels differ along edges", qPrintable(type), diff.differing, page.width() * page.height());
}

void TestPictureExport::largestPdfPageFitsReaders()
{
    // The largest figure's page (25,942 pt at one point per pixel) is scaled to what
    // readers take; poppler renders it with the drawing's proportions.
    CTestDocument doc;
    Fill(doc, 100, 100, 200, 100, false);
    const QString path = m_dir.filePath("largest.pdf");
    QString error;
    QVERIFY2(doc.SaveFigureAs(path, false, &error), qPrintable(error));
    const QSize page = CVectorExport::PageSize(doc.Figure());
    const QSize pdfPage = CVectorExport::PdfPageSize(doc.Figure());
    QVERIFY(page.width() > CVectorExport::MaxPdfPageSide);
    QCOMPARE(qMax(pdfPage.width(), pdfPage.height()), CVectorExport::MaxPdfPageSide);
    QVERIFY(qAbs(double(pdfPage.height()) / pdfPage.width() - double(page.height()) / page.width()) < 1e-3);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    const QRegularExpressionMatch box = QRegularExpression(R"(/MediaBox\s*\[\s*0\s+0\s+([0-9.]+)\s+([0-9.]+)\s*\])")
                                            .match(QString::fromLatin1(pdf));
    QVERIFY2(box.hasMatch(), "no page size");
    QCOMPARE(qRound(box.captured(1).toDouble()), pdfPage.width());
    QCOMPARE(qRound(box.captured(2).toDouble()), pdfPage.height());
    QVERIFY2(!pdf.contains("/Subtype /Image"), "the drawing stays vector");
    const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
    if (pdftoppm.isEmpty())
        QSKIP("pdftoppm (poppler-utils) is needed to render the PDF; scripts/deps.sh installs it.");
    const QString prefix = m_dir.filePath("largest-pdf");
    QProcess process;
    process.start(pdftoppm, {"-scale-to", "400", "-png", "-singlefile", path, prefix});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 0);
    const QImage shown(prefix + ".png");
    QCOMPARE(shown.width(), 400);
    QCOMPARE(shown.pixel(200, shown.height() / 2) == shown.pixel(0, 0), false); // cubes, not a blank page
}

void TestPictureExport::failedWritesLeaveNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<CFailingTarget::Kind>("kind");
    for (const char *name : {"picture.png", "drawing.svg", "document.pdf"}) {
        QTest::addRow("%s, missing folder", name) << name << CFailingTarget::Kind::MissingFolder;
        QTest::addRow("%s, file size limit", name) << name << CFailingTarget::Kind::FileSizeLimit;
    }
}

void TestPictureExport::failedWritesLeaveNothing()
{
    QFETCH(QString, name);
    QFETCH(CFailingTarget::Kind, kind);
    CTestDocument doc;
    Fill(doc, 20, 20, 60, 100, false);
    CFailingTarget target(kind, name, "previous", 20000);
    if (!target.SkipReason().isEmpty())
        QSKIP(qPrintable(target.SkipReason()));
    QString error;
    target.Arm();
    const bool written = doc.SaveFigureAs(target.Path(), false, &error);
    target.Disarm();
    QVERIFY(!written);
    QVERIFY2(error.contains(target.Path()), qPrintable(error));
    // Said once: the file's name appears in the message once.
    QVERIFY2(error.count(target.Path()) == 1, qPrintable(error));
    QString why;
    QVERIFY2(target.Untouched(&why), qPrintable(why));
}

QTEST_GUILESS_MAIN(TestPictureExport)
#include "tst_pictureexport.moc"
