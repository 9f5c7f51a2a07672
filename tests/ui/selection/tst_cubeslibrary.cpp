// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/shownwidget.h"
#include "ui/selection/cubeslibrary.h"

#include "support/pickertesting.h"

#include <QApplication>
#include <QCursor>
#include <QSignalSpy>
#include <QtTest>

namespace {

// Colours far enough apart to tell every frame edge and background pixel apart.
const QColor Face(0xC0, 0xC0, 0xC0);
const QColor Highlight(0xFF, 0xFF, 0xF0);
const QColor Shadow(0x80, 0x80, 0x70);

QPalette ButtonPalette(const QColor &face, const QColor &highlight, const QColor &shadow)
{
    QPalette palette = QApplication::palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Button, face);
        palette.setColor(group, QPalette::Light, highlight);
        palette.setColor(group, QPalette::Dark, shadow);
    }
    return palette;
}

QRgb Pixel(const QImage &image, int x, int y)
{
    return image.pixel(x, y) | 0xFF000000;
}

} // namespace

class TestCubesLibrary : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void size();
    void cellRect_data();
    void cellRect();
    void press_data();
    void press();
    void visualStates_data();
    void visualStates();
    void emptyCubeCell();
    void setSelectedCubeSendsNothing();
    void hoverFollowsPointer();
    void hoverClearedAfterLeaving();
    void doubleClickPicksOnce();
    void cubeColorsRebuildPictures();
    void paletteChangeRebuildsPictures();

private:
    QPalette m_palette;
};

void TestCubesLibrary::initTestCase()
{
    m_palette = ButtonPalette(Face, Highlight, Shadow);
    QApplication::setPalette(m_palette);
}

void TestCubesLibrary::cleanup()
{
    QApplication::setPalette(m_palette);
    QCursor::setPos(QPoint(-1000, -1000));
}

void TestCubesLibrary::size()
{
    CCubesLibrary library;
    QCOMPARE(library.size(), QSize(134, 342));

    // The border is a one-pixel shadow-coloured rectangle along the client edges.
    const QImage image = library.grab().toImage();
    for (const QPoint &p : {QPoint(0, 0), QPoint(70, 0), QPoint(133, 0), QPoint(133, 200), QPoint(133, 341),
                            QPoint(70, 341), QPoint(0, 341), QPoint(0, 200)})
        QCOMPARE(Pixel(image, p.x(), p.y()), Shadow.rgb());
    QCOMPARE(Pixel(image, 132, 100), Face.rgb());

    library.move(10, 20);
    library.SetCubeSize(30);
    QCOMPARE(library.geometry(), QRect(10, 20, 5 * 30 + 14, 13 * 30 + 30));
    QCOMPARE(library.CellRect(64), QRect(4 * 32 + 2, 12 * 32 + 2, 32, 32));

    library.SetCubeSize(0);
    QCOMPARE(library.GetImageSize(), 30);
}

void TestCubesLibrary::cellRect_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QRect>("rect"); // left, top, right, bottom edges

    QTest::newRow("first") << 0 << QRect(QPoint(2, 2), QPoint(27, 27));
    QTest::newRow("second column") << 1 << QRect(QPoint(28, 2), QPoint(53, 27));
    QTest::newRow("second row") << 5 << QRect(QPoint(2, 28), QPoint(27, 53));
    QTest::newRow("empty cube") << 64 << QRect(QPoint(106, 314), QPoint(131, 339));
}

void TestCubesLibrary::cellRect()
{
    QFETCH(int, index);
    QFETCH(QRect, rect);
    CCubesLibrary library;
    QCOMPARE(library.CellRect(index), rect);
}

void TestCubesLibrary::press_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("cell");

    QTest::newRow("cell 0 top-left edge") << QPoint(2, 2) << 0;
    QTest::newRow("cell 0 last inner pixel") << QPoint(26, 26) << 0;
    QTest::newRow("cell 0 right-bottom edge") << QPoint(27, 27) << -1;
    QTest::newRow("gap right of cell 0") << QPoint(27, 10) << -1;
    QTest::newRow("gap below cell 0") << QPoint(10, 27) << -1;
    QTest::newRow("cell 1 top-left edge") << QPoint(28, 2) << 1;
    QTest::newRow("cell 6 top-left edge") << QPoint(28, 28) << 6;
    QTest::newRow("margin") << QPoint(1, 1) << -1;
    QTest::newRow("right margin") << QPoint(132, 10) << -1;
    QTest::newRow("below the last row") << QPoint(3, 340) << -1;
    QTest::newRow("empty cube") << QPoint(118, 326) << 64;
    QTest::newRow("empty cube right-bottom edge") << QPoint(131, 339) << -1;
}

void TestCubesLibrary::press()
{
    QFETCH(QPoint, point);
    QFETCH(int, cell);

    CCubesLibrary library;
    library.SetSelectedCube(3);
    QSignalSpy picks(&library, &CCubesLibrary::CubeSelected);
    QCOMPARE(library.HitCell(point), cell);

    QTest::mouseClick(&library, Qt::LeftButton, {}, point);
    if (cell < 0) {
        QCOMPARE(picks.count(), 0);
        QCOMPARE(library.GetSelectedIndex(), 3);
    } else {
        QCOMPARE(picks.count(), 1);
        QCOMPARE(picks.at(0).at(0).toInt(), cell);
        QCOMPARE(library.GetSelectedIndex(), cell);
    }
}

void TestCubesLibrary::visualStates_data()
{
    QTest::addColumn<bool>("selected");
    QTest::addColumn<bool>("hovered");
    QTest::addColumn<QColor>("upperLeft");  // left and top frame edges
    QTest::addColumn<QColor>("lowerRight"); // right and bottom frame edges
    QTest::addColumn<bool>("checkered");

    QTest::newRow("normal") << false << false << Face << Face << false;
    QTest::newRow("selected") << true << false << Shadow << Highlight << true;
    QTest::newRow("hovered") << false << true << Highlight << Shadow << false;
    QTest::newRow("hovered and selected") << true << true << Shadow << Highlight << false;
}

void TestCubesLibrary::visualStates()
{
    QFETCH(bool, selected);
    QFETCH(bool, hovered);
    QFETCH(QColor, upperLeft);
    QFETCH(QColor, lowerRight);
    QFETCH(bool, checkered);

    const int cell = 12;
    CCubesLibrary library;
    QVERIFY(Shown(library));
    library.SetSelectedCube(selected ? cell : 0);
    if (hovered)
        QTest::mouseMove(&library, library.CellRect(cell).center());
    QCOMPARE(library.GetHoverIndex(), hovered ? cell : -1);

    const QImage image = library.grab().toImage();
    const QRect r = library.CellRect(cell);
    const int l = r.left(), t = r.top(), rt = r.right(), b = r.bottom();
    // Left and top edges, the top-left and bottom-left corners included.
    for (const QPoint &p : {QPoint(l, t), QPoint(l, t + 9), QPoint(l, b), QPoint(l + 9, t), QPoint(rt - 1, t)})
        QCOMPARE(Pixel(image, p.x(), p.y()), upperLeft.rgb());
    // Right and bottom edges, the top-right and bottom-right corners included.
    for (const QPoint &p : {QPoint(rt, t), QPoint(rt, t + 9), QPoint(rt, b), QPoint(l + 9, b), QPoint(l + 1, b)})
        QCOMPARE(Pixel(image, p.x(), p.y()), lowerRight.rgb());

    // The picture lies one pixel below the frame's top edge, so its top-left pixel is
    // under the frame; the checker starts with the highlight colour there.
    QCOMPARE(Pixel(image, l + 1, t + 2), (checkered ? Highlight : Face).rgb());
    QCOMPARE(Pixel(image, l + 2, t + 2), Face.rgb());
    QCOMPARE(Pixel(image, l + 2, t + 3), (checkered ? Highlight : Face).rgb());

    // The neighbour keeps its plain look.
    const QRect n = library.CellRect(cell + 1);
    QCOMPARE(Pixel(image, n.left(), n.top() + 9), Face.rgb());
    QCOMPARE(Pixel(image, n.left() + 1, n.top() + 2), Face.rgb());
}

void TestCubesLibrary::emptyCubeCell()
{
    CCubesLibrary library;
    const QImage image = library.grab().toImage();
    const QRect inner = library.CellRect(64).adjusted(1, 1, -1, -1);
    // Only the black wire frame, no face colour.
    QVERIFY(CountPixels(image, qRgb(0, 0, 0), inner) > 40);
    for (QRgb face : {qRgb(255, 0, 0), qRgb(0, 238, 0), qRgb(0, 0, 255)}) {
        QCOMPARE(CountPixels(image, face, inner), 0);
        QVERIFY(CountPixels(image, face, library.CellRect(0)) > 20);
    }
}

void TestCubesLibrary::setSelectedCubeSendsNothing()
{
    CCubesLibrary library;
    QSignalSpy picks(&library, &CCubesLibrary::CubeSelected);
    library.SetSelectedCube(5);
    QCOMPARE(library.GetSelectedIndex(), 5);

    const QImage image = library.grab().toImage();
    const QRect five = library.CellRect(5);
    const QRect zero = library.CellRect(0);
    QCOMPARE(Pixel(image, five.left() + 1, five.top() + 2), Highlight.rgb());
    QCOMPARE(Pixel(image, five.left(), five.top() + 9), Shadow.rgb());
    QCOMPARE(Pixel(image, zero.left() + 1, zero.top() + 2), Face.rgb());
    QCOMPARE(Pixel(image, zero.left(), zero.top() + 9), Face.rgb());

    // Values that name no cell leave the selection alone.
    library.SetSelectedCube(65);
    library.SetSelectedCube(-1);
    QCOMPARE(library.GetSelectedIndex(), 5);
    QCOMPARE(picks.count(), 0);
}

void TestCubesLibrary::hoverFollowsPointer()
{
    CCubesLibrary library;
    QVERIFY(Shown(library));
    QVERIFY(!library.IsHoverTimerRunning());

    const QRect three = library.CellRect(3);
    QTest::mouseMove(&library, three.center());

    QCOMPARE(library.GetHoverIndex(), 3);
    QVERIFY(library.IsHoverTimerRunning());

    // Into the gap right of the cell: the raised frame goes at once.
    QTest::mouseMove(&library, QPoint(three.right(), three.center().y()));
    QCOMPARE(library.GetHoverIndex(), -1);
    const QImage image = library.grab().toImage();
    QCOMPARE(Pixel(image, three.left(), three.top() + 9), Face.rgb());

    QTest::mouseMove(&library, library.CellRect(4).center());
    QCOMPARE(library.GetHoverIndex(), 4);
    // The pointer stays inside: timer ticks leave the hover alone.
    QTest::qWait(250);
    QCOMPARE(library.GetHoverIndex(), 4);
    QVERIFY(library.IsHoverTimerRunning());
}

void TestCubesLibrary::hoverClearedAfterLeaving()
{
    CCubesLibrary library;
    QVERIFY(Shown(library));
    const QRect cell = library.CellRect(7);
    QTest::mouseMove(&library, cell.center());
    QCOMPARE(library.GetHoverIndex(), 7);

    // The control learns that the pointer left only from its timer.
    QCursor::setPos(library.mapToGlobal(QPoint(library.width() + 50, 10)));
    QTRY_COMPARE(library.GetHoverIndex(), -1);
    QVERIFY(!library.IsHoverTimerRunning());
    const QImage image = library.grab().toImage();
    QCOMPARE(Pixel(image, cell.left(), cell.top() + 9), Face.rgb());
    QCOMPARE(Pixel(image, cell.right(), cell.top() + 9), Face.rgb());
}

void TestCubesLibrary::doubleClickPicksOnce()
{
    CCubesLibrary library;
    QVERIFY(Shown(library));
    QSignalSpy picks(&library, &CCubesLibrary::CubeSelected);
    RealDoubleClick(&library, library.CellRect(9).center());
    QCOMPARE(picks.count(), 1);
    QCOMPARE(picks.at(0).at(0).toInt(), 9);
}

void TestCubesLibrary::cubeColorsRebuildPictures()
{
    CCubesLibrary library;
    const QRgb top = qRgb(10, 20, 30), right = qRgb(40, 50, 60), left = qRgb(70, 80, 90);
    library.SetCubeColors(RefFromColor(top), RefFromColor(right), RefFromColor(left));
    const QImage image = library.grab().toImage();
    // Cell 0 is selected and so shows the checkered picture; cell 1 the plain one.
    for (int cell : {0, 1}) {
        const QRect r = library.CellRect(cell);
        for (QRgb c : {top, right, left})
            QVERIFY(CountPixels(image, c, r) > 20);
        for (QRgb old : {qRgb(255, 0, 0), qRgb(0, 238, 0), qRgb(0, 0, 255)})
            QCOMPARE(CountPixels(image, old, r), 0);
    }
}

void TestCubesLibrary::paletteChangeRebuildsPictures()
{
    CCubesLibrary library;
    QVERIFY(Shown(library));
    const QColor face(0x30, 0x60, 0x90), highlight(0xA0, 0xB0, 0xC0), shadow(0x10, 0x10, 0x10);
    QApplication::setPalette(ButtonPalette(face, highlight, shadow));
    QCoreApplication::processEvents();

    const QImage image = library.grab().toImage();
    const QRect zero = library.CellRect(0); // selected
    const QRect one = library.CellRect(1);
    QCOMPARE(Pixel(image, zero.left() + 1, zero.top() + 2), highlight.rgb());
    QCOMPARE(Pixel(image, zero.left() + 2, zero.top() + 2), face.rgb());
    QCOMPARE(Pixel(image, zero.left(), zero.top() + 9), shadow.rgb());
    QCOMPARE(Pixel(image, one.left() + 1, one.top() + 2), face.rgb());
    QCOMPARE(CountPixels(image, Face.rgb()), 0);
    QCOMPARE(CountPixels(image, Highlight.rgb()), 0);
}

QTEST_MAIN(TestCubesLibrary)
#include "tst_cubeslibrary.moc"
