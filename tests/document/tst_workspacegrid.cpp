// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/tarvexdoc.h"
#include "geometry/cubepainter.h"
#include "support/referencescan.h"

#include <QtTest>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

class TestWorkspaceGrid : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaultGrid();
    void resizeKeepsWhatFits();
    void workspaceSize_data();
    void workspaceSize();
    void placeJoinsNeighbours_data();
    void placeJoinsNeighbours();
    void placeAtGridEdges_data();
    void placeAtGridEdges();
    void replacingKeepsNeighbourBits();
    void cellFromPointBox();
    void hitTestsMatchRowOrderScan_data();
    void hitTestsMatchRowOrderScan();
    void cubeFromPointSeesThroughCutCorners();
    void figureBounds();
    void emptiness();
    void drawWorkspaceDotsAndCubes();
    void drawWorkspaceBackgroundFromSurfaceOrigin();
};

void TestWorkspaceGrid::defaultGrid()
{
    CTarvexDoc doc(false);
    QCOMPARE(doc.GetGridSize(), QSize(20, 40));
    for (int r = 0; r < 40; ++r)
        QCOMPARE(doc.Grid()[r].size(), r % 2 ? 19 : 20);
    QVERIFY(doc.IsFigureEmpty());
}

void TestWorkspaceGrid::resizeKeepsWhatFits()
{
    CTarvexDoc doc(false);
    QSignalSpy updates(&doc, &CTarvexDoc::UpdateAllViews);
    doc.PlaceCube(2, 3, 63);
    doc.PlaceCube(15, 30, 63);
    doc.ResizeGrid(12, 20);
    QCOMPARE(updates.count(), 1);
    QCOMPARE(doc.GetGridSize(), QSize(12, 20));
    QCOMPARE(doc.Grid()[1].size(), 11);
    QCOMPARE(doc.GetCell(2, 3), 63);
    doc.ResizeGrid(20, 40);
    QCOMPARE(doc.GetCell(2, 3), 63);
    QCOMPARE(doc.GetCell(15, 30), -1);   // dropped cells come back empty
    doc.ResizeGrid(20, 0);
    QCOMPARE(doc.GetGridSize(), QSize(0, 0));
    QVERIFY(doc.IsFigureEmpty());
    QCOMPARE(doc.GetWorkspaceSize(), QSize(0, 32));
}

void TestWorkspaceGrid::workspaceSize_data()
{
    QTest::addColumn<int>("cubeSize");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("16") << 16 << QSize(400, 256);
    QTest::newRow("20") << 20 << QSize(520, 300);
    QTest::newRow("32") << 32 << QSize(840, 512);
    QTest::newRow("33") << 33 << QSize(840, 513);
    QTest::newRow("40") << 40 << QSize(1040, 640);
    QTest::newRow("64") << 64 << QSize(1680, 1024);
    QTest::newRow("200") << 200 << QSize(5200, 3200);
}

void TestWorkspaceGrid::workspaceSize()
{
    QFETCH(int, cubeSize);
    QFETCH(QSize, expected);
    CTarvexDoc doc(false);
    doc.CubeSize = cubeSize;
    QCOMPARE(doc.GetWorkspaceSize(), expected);
}

void TestWorkspaceGrid::placeJoinsNeighbours_data()
{
    // A cube at the centre cell (5, 10) or (5, 11) and all six neighbours present.
    QTest::addColumn<QPoint>("cell");
    QTest::addColumn<int>("kind");
    for (int row : {10, 11})
        for (int kind : {0, 1, 2, 4, 8, 16, 32, 63, 21, -1})
            QTest::addRow("row %d kind %d", row, kind) << QPoint(5, row) << kind;
}

void TestWorkspaceGrid::placeJoinsNeighbours()
{
    QFETCH(QPoint, cell);
    QFETCH(int, kind);
    CTarvexDoc doc(false);
    for (int d = 0; d < 6; ++d) {
        const QPoint n = NeighbourCell(cell.x(), cell.y(), d);
        doc.PlaceCube(n.x(), n.y(), 63 & ~(1 << OppositeCorner(d)));
    }
    // An empty cell among the neighbours' neighbours stays empty.
    doc.PlaceCube(cell.x(), cell.y(), kind);
    QCOMPARE(doc.GetCell(cell.x(), cell.y()), kind);
    for (int d = 0; d < 6; ++d) {
        const QPoint n = NeighbourCell(cell.x(), cell.y(), d);
        const bool cornerShown = !(kind & (1 << d));
        QCOMPARE(doc.GetCell(n.x(), n.y()) == 63, cornerShown);
    }
    QCOMPARE(doc.m_bSaved, 0);
}

void TestWorkspaceGrid::placeAtGridEdges_data()
{
    QTest::addColumn<QPoint>("cell");
    QTest::addColumn<QList<int>>("existing");   // directions whose neighbour exists
    QTest::newRow("even row 0 col 0") << QPoint(0, 0) << QList<int>{LowerRight, Bottom};
    QTest::newRow("even last column") << QPoint(19, 4) << QList<int>{Top, Bottom, LowerLeft, UpperLeft};
    QTest::newRow("odd first column") << QPoint(0, 5) << QList<int>{Top, UpperRight, LowerRight, Bottom, LowerLeft, UpperLeft};
    QTest::newRow("odd last column") << QPoint(18, 5) << QList<int>{Top, UpperRight, LowerRight, Bottom, LowerLeft, UpperLeft};
    QTest::newRow("row n-2") << QPoint(4, 38) << QList<int>{Top, UpperRight, LowerRight, LowerLeft, UpperLeft};
    QTest::newRow("row n-1") << QPoint(4, 39) << QList<int>{Top, UpperRight, UpperLeft};
    QTest::newRow("row 1") << QPoint(4, 1) << QList<int>{UpperRight, LowerRight, Bottom, LowerLeft, UpperLeft};
}

void TestWorkspaceGrid::placeAtGridEdges()
{
    QFETCH(QPoint, cell);
    QFETCH(QList<int>, existing);
    CTarvexDoc doc(false);
    // Fill everything with whole cubes, then place one more in the middle of them.
    const QSize size = doc.GetGridSize();
    for (int r = 0; r < size.height(); ++r)
        for (int c = 0; c < RowLength(size.width(), r); ++c)
            doc.PlaceCube(c, r, 63);
    const CubeGrid before = doc.Grid();
    doc.PlaceCube(cell.x(), cell.y(), 0);
    int changed = 0;
    for (int r = 0; r < size.height(); ++r)
        for (int c = 0; c < before[r].size(); ++c)
            changed += before[r][c] != doc.GetCell(c, r);
    // Only the cell itself changes (63 neighbours already have every bit).
    QCOMPARE(changed, 1);
    // With neighbours that show every corner, exactly the existing ones are cut.
    CTarvexDoc fresh(false);
    for (int r = 0; r < size.height(); ++r)
        for (int c = 0; c < RowLength(size.width(), r); ++c)
            fresh.PlaceCube(c, r, 0);
    CTarvexDoc blank(false);
    for (int d = 0; d < 6; ++d) {
        const QPoint n = NeighbourCell(cell.x(), cell.y(), d);
        if (CellExists(n.x(), n.y(), size.width(), size.height()))
            blank.PlaceCube(n.x(), n.y(), 0);
    }
    blank.PlaceCube(cell.x(), cell.y(), 0);
    QList<int> cut;
    for (int d = 0; d < 6; ++d) {
        const QPoint n = NeighbourCell(cell.x(), cell.y(), d);
        if (CellExists(n.x(), n.y(), size.width(), size.height())
            && blank.GetCell(n.x(), n.y()) & (1 << OppositeCorner(d)))
            cut << d;
    }
    QCOMPARE(cut, existing);
}

void TestWorkspaceGrid::replacingKeepsNeighbourBits()
{
    CTarvexDoc doc(false);
    doc.PlaceCube(3, 2, 0);
    doc.PlaceCube(3, 4, 0);      // cuts the bottom of the upper cube, is cut by nothing
    QCOMPARE(doc.GetCell(3, 2), 8);
    doc.PlaceCube(3, 2, 0);      // placed again: own bits reset, neighbour cut
    QCOMPARE(doc.GetCell(3, 2), 0);
    QCOMPARE(doc.GetCell(3, 4), 1);
    doc.PlaceCube(3, 6, 1);      // top corner cut: the cube above is unchanged
    QCOMPARE(doc.GetCell(3, 4), 1);
    doc.PlaceCube(3, 4, -1);     // erasing changes no neighbour
    QCOMPARE(doc.GetCell(3, 2), 0);
    QCOMPARE(doc.GetCell(3, 6), 1);
    // Placing kind 0 between two cubes two rows apart cuts both facing corners.
    CTarvexDoc between(false);
    between.PlaceCube(6, 6, 0);
    between.PlaceCube(6, 10, 0);
    between.PlaceCube(6, 8, 0);
    QCOMPARE(between.GetCell(6, 6), 8);
    QCOMPARE(between.GetCell(6, 10), 1);
}

void TestWorkspaceGrid::cellFromPointBox()
{
    CTarvexDoc doc(false);
    // Cell (2, 3) has its centre at (2 * 42 + 21 + 16, 3 * 12 + 16) = (121, 52).
    QCOMPARE(doc.CellFromPoint(121, 52), QPoint(2, 3));
    QCOMPARE(doc.CellFromPoint(126, 57), QPoint(2, 3));
    QCOMPARE(doc.CellFromPoint(116, 47), QPoint(2, 3));
    QCOMPARE(doc.CellFromPoint(127, 52), QPoint(-1, -1));
    QCOMPARE(doc.CellFromPoint(121, 46), QPoint(-1, -1));
    QCOMPARE(doc.CellFromPoint(-100, -100), QPoint(-1, -1));
    QCOMPARE(doc.CellFromPoint(100000, 100000), QPoint(-1, -1));
}

void TestWorkspaceGrid::hitTestsMatchRowOrderScan_data()
{
    QTest::addColumn<int>("cubeSize");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("fill");   // percent of cells holding a cube
    QTest::newRow("16 dense") << 16 << 8 << 12 << 90;
    QTest::newRow("32 sparse") << 32 << 6 << 9 << 30;
    QTest::newRow("33 dense") << 33 << 5 << 8 << 100;
    QTest::newRow("57 half") << 57 << 4 << 7 << 50;
}

void TestWorkspaceGrid::hitTestsMatchRowOrderScan()
{
    QFETCH(int, cubeSize);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, fill);
    CTarvexDoc doc(false);
    doc.CubeSize = cubeSize;
    doc.ResizeGrid(width, height);
    QRandomGenerator random(quint32(cubeSize * 1000 + fill));
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < RowLength(width, r); ++c)
            if (int(random.bounded(100)) < fill)
                doc.PlaceCube(c, r, int(random.bounded(64)));
    // The visible region of every cube, once; then the plain row-order scan per pixel.
    QVector<QPair<QPoint, QRegion>> cubes;
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < RowLength(width, r); ++c)
            if (doc.GetCell(c, r) >= 0) {
                const QPoint o = doc.GetCellOrigin(c, r);
                cubes.append({QPoint(c, r), GetCubeRegion(o.x(), o.y(), cubeSize, doc.GetCell(c, r))});
            }
    QCOMPARE(CubeFromPointByScan(doc, cubes.first().second.boundingRect().center().x(),
                                 cubes.first().second.boundingRect().center().y()),
             cubes.first().first);
    const QSize ws = doc.GetWorkspaceSize();
    for (int y = -3; y < ws.height() + 3; ++y) {
        for (int x = -3; x < ws.width() + 3; ++x) {
            const QPoint cube = doc.CubeFromPoint(x, y);
            QPoint expected(-1, -1);
            for (const auto &entry : cubes)
                if (entry.second.contains(QPoint(x, y))) {
                    expected = entry.first;
                    break;
                }
            if (cube != expected)
                QFAIL(qPrintable(QString("CubeFromPoint(%1, %2)").arg(x).arg(y)));
            if (doc.CellFromPoint(x, y) != CellFromPointByScan(doc, x, y))
                QFAIL(qPrintable(QString("CellFromPoint(%1, %2)").arg(x).arg(y)));
        }
    }
}

void TestWorkspaceGrid::cubeFromPointSeesThroughCutCorners()
{
    CTarvexDoc doc(false);
    doc.PlaceCube(0, 0, 0);
    doc.PlaceCube(0, 1, 0);    // lower-right neighbour of (0, 0): cuts its LowerRight corner
    QCOMPARE(doc.GetCell(0, 0), 4);
    // The shared corner quadrilateral (30, 16), (30, 24), (23, 28), (23, 20).
    QCOMPARE(doc.CubeFromPoint(27, 22), QPoint(0, 1));
    QCOMPARE(doc.CubeFromPoint(16, 16), QPoint(0, 0));
    QCOMPARE(doc.CubeFromPoint(500, 400), QPoint(-1, -1));
}

void TestWorkspaceGrid::figureBounds()
{
    CTarvexDoc doc(false);
    CTarvexDoc::Bounds b = doc.GetFigureBounds();
    QCOMPARE(QList<int>({b.left, b.top, b.right, b.bottom}), QList<int>({-1, -1, -1, -1}));
    doc.PlaceCube(0, 0, 0);
    b = doc.GetFigureBounds();
    QCOMPARE(QList<int>({b.left, b.top, b.right, b.bottom}), QList<int>({0, 0, 34, 34}));
    doc.PlaceCube(0, 0, -1);
    doc.PlaceCube(0, 1, 0);
    b = doc.GetFigureBounds();
    QCOMPARE(QList<int>({b.left, b.top, b.right, b.bottom}), QList<int>({21, 12, 55, 46}));
    doc.PlaceCube(5, 20, 3);
    b = doc.GetFigureBounds();
    QCOMPARE(QList<int>({b.left, b.top, b.right, b.bottom}), QList<int>({21, 12, 5 * 42 + 34, 240 + 34}));
}

void TestWorkspaceGrid::emptiness()
{
    CTarvexDoc doc(false);
    QVERIFY(doc.IsFigureEmpty());
    doc.PlaceCube(4, 7, 12);
    QVERIFY(!doc.IsFigureEmpty());
    doc.PlaceCube(4, 7, -1);
    QVERIFY(doc.IsFigureEmpty());
}

void TestWorkspaceGrid::drawWorkspaceDotsAndCubes()
{
    CTarvexDoc doc(false);
    doc.ResizeGrid(10, 10);
    doc.PlaceCube(1, 1, 0);
    const QSize ws = doc.GetWorkspaceSize();
    QImage image(ws, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        doc.DrawWorkspace(painter, true, 1, 0, 0, false);
    }
    QImage expected(ws, QImage::Format_RGB32);
    expected.fill(Qt::white);
    {
        QPainter painter(&expected);
        for (int r = 0; r < 10; ++r)
            for (int c = 0; c < RowLength(10, r); ++c) {
                const QPoint o = doc.GetCellOrigin(c, r);
                if (QPoint(c, r) == QPoint(1, 1)) {
                    CCubePainter cube;
                    cube.Left = o.x();
                    cube.Top = o.y();
                    cube.Size = 32;
                    cube.Draw(painter);
                } else {
                    expected.setPixel(o.x() + 16, o.y() + 16, qRgb(0, 0, 0));
                }
            }
    }
    // Dots are drawn before the cube in row order; the cube covers earlier dots.
    QImage ordered(ws, QImage::Format_RGB32);
    ordered.fill(Qt::white);
    {
        QPainter painter(&ordered);
        CTarvexDoc only(false);
        only.ResizeGrid(10, 10);
        only.DrawWorkspace(painter, true, 1, 0, 0, false);
        CCubePainter cube;
        const QPoint o = doc.GetCellOrigin(1, 1);
        cube.Left = o.x();
        cube.Top = o.y();
        cube.Size = 32;
        cube.Draw(painter);
        // Dots of later cells lie outside this cube, so painting them first changes nothing.
    }
    QCOMPARE(image, ordered);
    // Selected cubes come out greyed, only in select-and-move mode.
    doc.ToggleSelectMode();
    doc.Selection()->Add(1, 1, 0);
    QImage greyed(ws, QImage::Format_RGB32);
    greyed.fill(Qt::white);
    {
        QPainter painter(&greyed);
        doc.DrawWorkspace(painter, false, 1, 0, 0, false);
    }
    const QPoint o = doc.GetCellOrigin(1, 1);
    QCOMPARE(greyed.pixelColor(o.x() + 16, o.y() + 9), ((o.x() + o.y() + 25) & 1) ? QColor(Qt::white) : QColor(255, 0, 0));
    QCOMPARE(greyed.pixelColor(o.x() + 17, o.y() + 9), ((o.x() + o.y() + 26) & 1) ? QColor(Qt::white) : QColor(255, 0, 0));
}

void TestWorkspaceGrid::drawWorkspaceBackgroundFromSurfaceOrigin()
{
    CTarvexDoc doc(false);
    doc.ResizeGrid(10, 10);
    doc.BkColor = MakeColorRef(10, 20, 30);
    const QSize ws = doc.GetWorkspaceSize();
    QImage image(ws + QSize(50, 50), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        doc.DrawWorkspace(painter, false, 1, 25, 25, true);
    }
    QCOMPARE(image.pixelColor(0, 0), QColor(10, 20, 30));
    QCOMPARE(image.pixelColor(ws.width() - 1, ws.height() - 1), QColor(10, 20, 30));
    QCOMPARE(image.pixelColor(ws.width(), 0), QColor(Qt::white));
    QCOMPARE(image.pixelColor(0, ws.height()), QColor(Qt::white));
}

QTEST_MAIN(TestWorkspaceGrid)
#include "tst_workspacegrid.moc"
