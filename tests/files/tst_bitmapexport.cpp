// SPDX-License-Identifier: GPL-3.0-or-later
// Bitmap export: header, size rules, pixels against a whole-picture render, strips,
// safe replacement; and the placement of a printed figure.

#include "document/cubeselection.h"
#include "document/tarvexdoc.h"
#include "files/bitmapexport.h"
#include "support/failingtarget.h"

#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include "support/testfiles.h"
#include "support/testdocument.h"

#include <QtTest>

Q_DECLARE_METATYPE(CFailingTarget::Kind)

namespace {

quint32 U32(const QByteArray &data, int offset)
{
    return qFromLittleEndian<quint32>(data.constData() + offset);
}

quint16 U16(const QByteArray &data, int offset)
{
    return qFromLittleEndian<quint16>(data.constData() + offset);
}

// The picture painted in one piece, the plain way: white, then the workspace with its
// background, shifted so the figure's bounding corner lands on (0, 0).
QImage WholePicture(const CTarvexDoc &doc)
{
    const CFigure::Bounds b = doc.Figure().GetBounds();
    const int width = ((b.right - b.left) / 4) * 4 + 4;
    QImage image(width, b.bottom - b.top, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    doc.DrawWorkspace(painter, false, 1, -b.left, -b.top, true);
    return image;
}

// The pixels of a 24-bit bottom-up bitmap file as an image (top row first).
QImage PixelsOf(const QByteArray &file)
{
    const int width = int(U32(file, 18));
    const int height = int(U32(file, 22));
    QImage image(width, height, QImage::Format_RGB32);
    const uchar *p = reinterpret_cast<const uchar *>(file.constData()) + U32(file, 10);
    for (int row = height - 1; row >= 0; --row) {
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(row));
        for (int x = 0; x < width; ++x, p += 3)
            line[x] = qRgb(p[2], p[1], p[0]);
    }
    return image;
}

// A figure that fills a grid at random, with a coloured background so white shows
// only beyond the workspace.
void FillRandomly(CTarvexDoc &doc, int width, int height, int cubeSize, quint32 seed, int percent)
{
    QRandomGenerator random(seed);
    doc.ResizeGrid(width, height);
    EditFigure(doc, [&](CFigure &f) { f.CubeSize = cubeSize; });
    EditFigure(doc, [&](CFigure &f) { f.BkColor = MakeColorRef(200, 210, 220); });
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < RowLength(width, r); ++c)
            if (int(random.bounded(100)) < percent)
                PlaceCube(doc, c, r, int(random.bounded(64)));
}

} // namespace

class TestBitmapExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void header_data();
    void header();
    void pixelsMatchWholePicture_data();
    void pixelsMatchWholePicture();
    void backgroundBehindWholeFigure();
    void readableByImageTools();
    void replacesPreviousFile();
    void emptyFigureRefused();
    void exportFailures_data();
    void exportFailures();
    void printCentresWithoutScaling_data();
    void printCentresWithoutScaling();

private:
    QTemporaryDir m_dir;
};

void TestBitmapExport::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void TestBitmapExport::header_data()
{
    QTest::addColumn<int>("cubeSize");
    QTest::addColumn<bool>("secondRow");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    // Bounding spans: 37 x 37, 59 x 50, 36 x 36 (a multiple of 4 still gains 4), 18 x 18.
    QTest::newRow("span 37") << 35 << false << 40 << 37;
    QTest::newRow("span 59 x 50") << 35 << true << 60 << 50;
    QTest::newRow("span 36") << 34 << false << 40 << 36;
    QTest::newRow("span 18") << 16 << false << 20 << 18;
}

void TestBitmapExport::header()
{
    QFETCH(int, cubeSize);
    QFETCH(bool, secondRow);
    QFETCH(int, width);
    QFETCH(int, height);
    CTestDocument doc;
    EditFigure(doc, [&](CFigure &f) { f.CubeSize = cubeSize; });
    PlaceCube(doc, 0, 0, 0);
    if (secondRow)
        PlaceCube(doc, 0, 1, 0);
    const QString path = m_dir.filePath("header.bmp");
    QString error;
    QVERIFY2(doc.ExportBitmap(path, &error), qPrintable(error));
    const QByteArray file = ReadFile(path);
    const quint32 pixels = quint32(width * height * 3);
    QCOMPARE(file.size(), qsizetype(54 + pixels));
    QCOMPARE(U16(file, 0), quint16(19778));
    QCOMPARE(U32(file, 2), 54 + pixels);
    QCOMPARE(U32(file, 6), 0u);
    QCOMPARE(U32(file, 10), 54u);
    QCOMPARE(U32(file, 14), 40u);
    QCOMPARE(U32(file, 18), quint32(width));
    QCOMPARE(U32(file, 22), quint32(height));
    QCOMPARE(U16(file, 26), quint16(1));
    QCOMPARE(U16(file, 28), quint16(24));
    QCOMPARE(U32(file, 30), 0u);
    QCOMPARE(U32(file, 34), pixels);
    for (int offset = 38; offset < 54; offset += 4)
        QCOMPARE(U32(file, offset), 0u);
}

void TestBitmapExport::pixelsMatchWholePicture_data()
{
    QTest::addColumn<int>("stripRows");
    QTest::addColumn<bool>("selectMode");
    QTest::addColumn<int>("cubeSize");
    // Strips far smaller than a cube, so every cube crosses strip borders.
    QTest::newRow("strips of 8") << 8 << false << 40;
    QTest::newRow("strips of 8, selected cubes greyed") << 8 << true << 40;
    QTest::newRow("strips of 5 (rounded up)") << 5 << true << 37;
    QTest::newRow("strips of 24") << 24 << true << 53;
    QTest::newRow("default strips") << 0 << true << 40;
    QTest::newRow("one strip") << 100000 << false << 16;
}

void TestBitmapExport::pixelsMatchWholePicture()
{
    QFETCH(int, stripRows);
    QFETCH(bool, selectMode);
    QFETCH(int, cubeSize);
    CTestDocument doc;
    FillRandomly(doc, 12, 11, cubeSize, 42, 60);
    if (selectMode) {
        doc.ToggleSelectMode();
        doc.SelectCells(doc.Figure().CubesInRect(QPoint(0, 0), QPoint(200, 150)), true);
        QVERIFY(doc.Selection()->Count() > 0);
    }
    const QString path = m_dir.filePath("strips.bmp");
    QString error;
    QVERIFY2(CBitmapExport::Export(doc.Figure(), doc.SelectedCells(), path, &error, stripRows), qPrintable(error));
    const QImage expected = WholePicture(doc);
    const QImage actual = PixelsOf(ReadFile(path));
    QCOMPARE(actual.size(), expected.size());
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            if (actual.pixel(x, y) != expected.pixel(x, y))
                QFAIL(qPrintable(QString("first difference at (%1, %2): %3 instead of %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(actual.pixel(x, y), 0, 16)
                                     .arg(expected.pixel(x, y), 0, 16)));
}

void TestBitmapExport::backgroundBehindWholeFigure()
{
    // The background is filled from the bitmap's own corner with the workspace's size,
    // which always covers the cropped picture: besides the three faces only the
    // background colour appears, even where the figure starts far from the corner.
    CTestDocument doc(10, 10, {}, 0, 16);
    EditFigure(doc, [&](CFigure &f) { f.BkColor = MakeColorRef(10, 20, 30); });
    EditFigure(doc, [&](CFigure &f) { f.Color1 = MakeColorRef(1, 2, 3); });
    EditFigure(doc, [&](CFigure &f) { f.Color2 = MakeColorRef(4, 5, 6); });
    EditFigure(doc, [&](CFigure &f) { f.Color3 = MakeColorRef(7, 8, 9); });
    PlaceCube(doc, 9, 2, 0);
    PlaceCube(doc, 3, 9, 0);
    PlaceCube(doc, 4, 7, 0);
    const QString path = m_dir.filePath("edges.bmp");
    QVERIFY(CBitmapExport::Export(doc.Figure(), doc.SelectedCells(), path, nullptr, 8));
    const QImage image = PixelsOf(ReadFile(path));
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    QCOMPARE(colours, (QSet<QRgb>{qRgb(10, 20, 30), qRgb(1, 2, 3), qRgb(4, 5, 6), qRgb(7, 8, 9)}));
    QCOMPARE(image.pixel(0, 0), qRgb(10, 20, 30));
}

void TestBitmapExport::readableByImageTools()
{
    CTestDocument doc;
    FillRandomly(doc, 10, 10, 20, 3, 50);
    const QString path = m_dir.filePath("tools.bmp");
    QVERIFY(doc.ExportBitmap(path, nullptr));
    QImage read(path);
    QVERIFY(!read.isNull());
    QCOMPARE(read.convertToFormat(QImage::Format_RGB32), WholePicture(doc));
}

void TestBitmapExport::replacesPreviousFile()
{
    const QString path = m_dir.filePath("twice.bmp");
    CTestDocument big;
    FillRandomly(big, 10, 10, 30, 5, 100);
    QVERIFY(big.ExportBitmap(path, nullptr));
    CTestDocument small({{2, 2}});
    QVERIFY(small.ExportBitmap(path, nullptr));
    const QByteArray file = ReadFile(path);
    QCOMPARE(file.size(), qsizetype(U32(file, 2)));
    QCOMPARE(PixelsOf(file), WholePicture(small));
    QCOMPARE(QDir(m_dir.path()).entryList({"twice*"}, QDir::Files | QDir::Hidden), QStringList{"twice.bmp"});
}

void TestBitmapExport::emptyFigureRefused()
{
    CTestDocument doc;
    const QString path = m_dir.filePath("empty.bmp");
    QString error;
    QVERIFY(!doc.ExportBitmap(path, &error));
    QCOMPARE(error, QString("There's no blocks at the workspace so it is impossible to save empty image."));
    QVERIFY(!QFile::exists(path));
}

void TestBitmapExport::exportFailures_data()
{
    QTest::addColumn<CFailingTarget::Kind>("kind");
    const QByteArray previous("BM previous picture");
    QTest::newRow("missing folder") << CFailingTarget::Kind::MissingFolder;
    QTest::newRow("unwritable folder") << CFailingTarget::Kind::UnwritableFolder;
    QTest::newRow("read-only file system") << CFailingTarget::Kind::ReadOnlyFileSystem;
    QTest::newRow("disk full") << CFailingTarget::Kind::DiskFull;
    QTest::newRow("file size limit") << CFailingTarget::Kind::FileSizeLimit;
}

void TestBitmapExport::exportFailures()
{
    QFETCH(CFailingTarget::Kind, kind);
    CTestDocument doc;
    FillRandomly(doc, 12, 12, 40, 9, 100);
    const QSize size = CBitmapExport::BitmapSize(doc.Figure());
    CFailingTarget target(kind, "picture.bmp", "BM previous picture", 54 + qint64(size.width()) * size.height() * 3);
    if (!target.SkipReason().isEmpty())
        QSKIP(qPrintable(target.SkipReason()));
    QString error;
    target.Arm();
    const bool written = CBitmapExport::Export(doc.Figure(), doc.SelectedCells(), target.Path(), &error, 8);
    target.Disarm();
    QVERIFY(!written);
    QVERIFY2(error.contains(target.Path()), qPrintable(error));
    QString why;
    QVERIFY2(target.Untouched(&why), qPrintable(why));
}

void TestBitmapExport::printCentresWithoutScaling_data()
{
    QTest::addColumn<QSize>("page");
    QTest::newRow("high resolution page") << QSize(4000, 3000);
    QTest::newRow("odd page") << QSize(1001, 777);
}

void TestBitmapExport::printCentresWithoutScaling()
{
    QFETCH(QSize, page);
    CTestDocument doc;
    EditFigure(doc, [&](CFigure &f) { f.CubeSize = 40; });
    PlaceCube(doc, 6, 9, 0);
    PlaceCube(doc, 8, 12, 0);
    const CFigure::Bounds b = doc.Figure().GetBounds();
    QImage image(page, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        doc.PrintFigure(painter, page);
    }
    // The cubes appear at one device pixel per workspace pixel, their bounding
    // rectangle centred on the page.
    const int x = (page.width() - (b.right - b.left)) / 2;
    const int y = (page.height() - (b.bottom - b.top)) / 2;
    const QImage figure = WholePicture(doc);
    const QImage printed = image.copy(x, y, figure.width(), figure.height());
    int cubePixels = 0;
    for (int j = 0; j < figure.height(); ++j)
        for (int i = 0; i < b.right - b.left; ++i) {
            const QRgb want = figure.pixel(i, j);
            if (want == qRgb(255, 255, 255))
                continue; // background or beyond it: differs between page and bitmap
            ++cubePixels;
            QCOMPARE(printed.pixel(i, j), want);
        }
    QVERIFY(cubePixels > 1000);
}

QTEST_GUILESS_MAIN(TestBitmapExport)
#include "tst_bitmapexport.moc"
