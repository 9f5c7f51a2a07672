// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/cubepainter.h"

#include <QtTest>
#include <QImage>
#include <QPainter>

namespace {

QImage Canvas(int w = 40, int h = 40, QColor fill = Qt::white)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

CCubePainter Cube(int index, int left = 0, int top = 0, int size = 32)
{
    CCubePainter cube;
    cube.Left = left;
    cube.Top = top;
    cube.Size = size;
    cube.Index = index;
    return cube;
}

QImage Drawn(const CCubePainter &cube, int w = 40, int h = 40)
{
    QImage image = Canvas(w, h);
    QPainter painter(&image);
    cube.Draw(painter);
    return image;
}

QPoint MiddleOf(const QPolygon &polygon)
{
    QPoint sum;
    for (const QPoint &p : polygon)
        sum += p;
    return sum / polygon.size();
}

} // namespace

class TestCubePainter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void facesHaveTheirColours();
    void drawnPixelsFollowRegion_data();
    void drawnPixelsFollowRegion();
    void emptyCubeDrawsOutlineOnly();
    void otherIndexesDrawNothing();
    void hitPart_data();
    void hitPart();
    void fillSelected();
    void frameXor();
    void insideRegion();
    void grayPattern();
};

void TestCubePainter::facesHaveTheirColours()
{
    const QImage image = Drawn(Cube(0));
    QCOMPARE(image.pixelColor(16, 8), QColor(255, 0, 0));  // top face: Color1 red
    QCOMPARE(image.pixelColor(24, 20), QColor(0, 238, 0)); // right face: green
    QCOMPARE(image.pixelColor(8, 20), QColor(0, 0, 255));  // left face: blue
    QCOMPARE(image.pixelColor(0, 0), QColor(Qt::white));
    // Faces are edged in their own colours: no black anywhere.
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            QVERIFY(image.pixelColor(x, y) != QColor(Qt::black));
    // The polygon vertices themselves are painted.
    QCOMPARE(image.pixelColor(16, 0), QColor(255, 0, 0));
    QCOMPARE(image.pixelColor(30, 16), QColor(0, 238, 0));
    QCOMPARE(image.pixelColor(2, 16), QColor(0, 0, 255));
}

void TestCubePainter::drawnPixelsFollowRegion_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("size");
    for (int index : {0, 1, 9, 18, 36, 45, 63})
        for (int size : {16, 32, 41})
            QTest::addRow("kind %d size %d", index, size) << index << size;
}

void TestCubePainter::drawnPixelsFollowRegion()
{
    QFETCH(int, index);
    QFETCH(int, size);
    const CCubePainter cube = Cube(index, 3, 2, size);
    const QImage image = Drawn(cube, 60, 60);
    const QRegion region = cube.GetCubeRegion();
    // The one-pixel face pens trace the edges, reaching at most one pixel beyond.
    QRegion grown = region;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            grown = grown.united(region.translated(dx, dy));
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool painted = image.pixelColor(x, y) != QColor(Qt::white);
            if (region.contains(QPoint(x, y)))
                QVERIFY2(painted, qPrintable(QString("(%1,%2) inside not painted").arg(x).arg(y)));
            else if (painted)
                QVERIFY2(grown.contains(QPoint(x, y)), qPrintable(QString("(%1,%2) outside painted").arg(x).arg(y)));
        }
    }
}

void TestCubePainter::emptyCubeDrawsOutlineOnly()
{
    for (bool borders : {false, true}) {
        CCubePainter cube = Cube(EmptyCubeIndex);
        cube.DrawPartBorders = borders;
        const QImage image = Drawn(cube);
        int black = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                QVERIFY(c == QColor(Qt::white) || c == QColor(Qt::black));
                black += c == QColor(Qt::black);
            }
        QCOMPARE(image.pixelColor(30, 12), QColor(Qt::black)); // right edge of the hexagon
        QCOMPARE(image.pixelColor(16, 24), QColor(Qt::black)); // inner vertical edge
        QCOMPARE(image.pixelColor(24, 20), QColor(Qt::white)); // inside the right face
        // The Centre border runs through (9, 4)-(16, 8); only drawn with part borders.
        QCOMPARE(image.pixelColor(9, 6) == QColor(Qt::black), borders);
        QVERIFY(black > 60);
    }
}

void TestCubePainter::otherIndexesDrawNothing()
{
    for (int index : {-1, -7, 65, 1000}) {
        const QImage image = Drawn(Cube(index));
        QCOMPARE(image, Canvas());
        CCubePainter outlined = Cube(index);
        outlined.DrawOutline = true;
        QCOMPARE(Drawn(outlined), Drawn(Cube(EmptyCubeIndex)));
    }
}

void TestCubePainter::hitPart_data()
{
    QTest::addColumn<int>("index");
    for (int index : {0, 1, 2, 4, 8, 16, 32, 63, 64})
        QTest::addRow("%d", index) << index;
}

void TestCubePainter::hitPart()
{
    QFETCH(int, index);
    const CCubePainter cube = Cube(index, 10, 20);
    const CubePoints points = cube.ComputeCubePoints();
    QCOMPARE(cube.HitPart(points.X[2], points.Y[4], false), int(Centre));
    QCOMPARE(cube.HitPart(points.X[2], points.Y[4], true), int(Centre));
    for (int part = 0; part < 6; ++part) {
        const QPoint middle = MiddleOf(PartPolygon(points, part));
        const bool cut = index <= 63 && (index & (1 << part));
        QCOMPARE(cube.HitPart(middle.x(), middle.y(), false), cut ? -1 : part);
        QCOMPARE(cube.HitPart(middle.x(), middle.y(), true), part);
    }
    QCOMPARE(cube.HitPart(10, 20, true), -1); // corner of the square: outside the hexagon
    QCOMPARE(cube.HitPart(200, 200, true), -1);
    // Every pixel agrees with testing the part regions one by one.
    for (int y = 18; y < 56; ++y)
        for (int x = 8; x < 46; ++x) {
            int expected = -1;
            for (int part = 0; part < CubePartCount && expected < 0; ++part)
                if ((part == Centre || !(index & (1 << part))) && cube.GetPartRegion(part).contains(QPoint(x, y)))
                    expected = part;
            QCOMPARE(cube.HitPart(x, y, false), expected);
        }
}

void TestCubePainter::fillSelected()
{
    const CCubePainter cube = Cube(5, 3, 4);
    const QImage drawn = Drawn(cube);
    QImage once = drawn;
    {
        QPainter painter(&once);
        cube.FillSelected(painter);
    }
    QImage twice = once;
    {
        QPainter painter(&twice);
        cube.FillSelected(painter);
    }
    QCOMPARE(twice, once);
    const QRegion region = cube.GetCubeRegion();
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x) {
            const bool whiten = region.contains(QPoint(x, y)) && ((x + y) & 1);
            QCOMPARE(once.pixelColor(x, y), whiten ? QColor(Qt::white) : drawn.pixelColor(x, y));
        }
}

void TestCubePainter::frameXor()
{
    const CCubePainter cube = Cube(18, 2, 2);
    const QImage drawn = Drawn(cube, 60, 60);
    QImage framed = drawn;
    {
        QPainter painter(&framed);
        cube.DrawFrameXor(painter, 5, 3);
    }
    const QRegion border = RegionBorder(GetCubeRegion(7, 5, 32, 18));
    int changed = 0;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x) {
            const QRgb before = drawn.pixel(x, y) & 0xFFFFFF;
            const QRgb after = framed.pixel(x, y) & 0xFFFFFF;
            if (border.contains(QPoint(x, y))) {
                QCOMPARE(after, before ^ 0xFFFFFF);
                ++changed;
            } else {
                QCOMPARE(after, before);
            }
        }
    QVERIFY(changed > 60);
    {
        QPainter painter(&framed);
        cube.DrawFrameXor(painter, 5, 3);
    }
    QCOMPARE(framed, drawn);
    // The painter's own position is untouched.
    QCOMPARE(cube.Left, 2);
}

void TestCubePainter::insideRegion()
{
    const CCubePainter whole = Cube(0, 10, 10);
    const QRect bounds = whole.GetCubeRegion().boundingRect();
    QVERIFY(whole.IsInsideRegion(QRegion(bounds)));
    QVERIFY(!whole.IsInsideRegion(QRegion(bounds.adjusted(0, 0, -1, 0))));
    // With its top corner cut, the cube fits a rectangle its full hexagon would not.
    const CCubePainter cut = Cube(1, 10, 10);
    const QRect cutBounds = cut.GetCubeRegion().boundingRect();
    QVERIFY(cutBounds.top() > bounds.top());
    QVERIFY(cut.IsInsideRegion(QRegion(cutBounds)));
    QVERIFY(!whole.IsInsideRegion(QRegion(cutBounds)));
    QVERIFY(!cut.IsInsideRegion(QRegion(cutBounds.adjusted(0, 1, 0, 0))));
}

void TestCubePainter::grayPattern()
{
    const QImage pattern = CreateGrayPatternBrush().textureImage();
    QCOMPARE(pattern.size(), QSize(8, 8));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            QCOMPARE(pattern.pixelColor(x, y), ((x + y) & 1) ? QColor(Qt::white) : QColor(Qt::black));
}

QTEST_MAIN(TestCubePainter)
#include "tst_cubepainter.moc"
