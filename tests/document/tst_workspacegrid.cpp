// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/tarvexdoc.h"
#include "geometry/cubepainter.h"
#include "support/referencescan.h"
#include "support/testdocument.h"

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
    void drawWorkspaceDotsAndCubes();
    void drawWorkspaceBackgroundFromSurfaceOrigin();
};

void TestWorkspaceGrid::defaultGrid()
{
    CTestDocument doc;
    QCOMPARE(doc.Figure().GridSize(), QSize(20, 40));
    for (int r = 0; r < 40; ++r)
        QCOMPARE(doc.Figure().Grid[r].size(), r % 2 ? 19 : 20);
    QVERIFY(doc.Figure().IsEmpty());
}

void TestWorkspaceGrid::resizeKeepsWhatFits()
{
    CTestDocument doc({{2, 3}, {15, 30}}, 63);
    QSignalSpy updates(&doc, &CTarvexDoc::UpdateAllViews);
    doc.ResizeGrid(12, 20);
    QCOMPARE(updates.count(), 1);
    QCOMPARE(doc.Figure().GridSize(), QSize(12, 20));
    QCOMPARE(doc.Figure().Grid[1].size(), 11);
    QCOMPARE(doc.Figure().Cell(2, 3), 63);
    doc.ResizeGrid(20, 40);
    QCOMPARE(doc.Figure().Cell(2, 3), 63);
    QCOMPARE(doc.Figure().Cell(15, 30), -1); // dropped cells come back empty
    doc.ResizeGrid(20, 0);
    QCOMPARE(doc.Figure().GridSize(), QSize(0, 0));
    QVERIFY(doc.Figure().IsEmpty());
    QCOMPARE(doc.Figure().GetWorkspaceSize(), QSize(0, 32));
}

void TestWorkspaceGrid::drawWorkspaceDotsAndCubes()
{
    CTestDocument doc(10, 10, {{1, 1}});
    const QSize ws = doc.Figure().GetWorkspaceSize();
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
                const QPoint o = doc.Figure().GetCellOrigin(c, r);
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
        CTestDocument only(10, 10);
        only.DrawWorkspace(painter, true, 1, 0, 0, false);
        CCubePainter cube;
        const QPoint o = doc.Figure().GetCellOrigin(1, 1);
        cube.Left = o.x();
        cube.Top = o.y();
        cube.Size = 32;
        cube.Draw(painter);
        // Dots of later cells lie outside this cube, so painting them first changes nothing.
    }
    QCOMPARE(image, ordered);
    // Selected cubes come out greyed, only in select-and-move mode.
    doc.ToggleSelectMode();
    doc.SelectCells({QPoint(1, 1)}, true);
    QImage greyed(ws, QImage::Format_RGB32);
    greyed.fill(Qt::white);
    {
        QPainter painter(&greyed);
        doc.DrawWorkspace(painter, false, 1, 0, 0, false);
    }
    const QPoint o = doc.Figure().GetCellOrigin(1, 1);
    QCOMPARE(greyed.pixelColor(o.x() + 16, o.y() + 9),
             ((o.x() + o.y() + 25) & 1) ? QColor(Qt::white) : QColor(255, 0, 0));
    QCOMPARE(greyed.pixelColor(o.x() + 17, o.y() + 9),
             ((o.x() + o.y() + 26) & 1) ? QColor(Qt::white) : QColor(255, 0, 0));
}

void TestWorkspaceGrid::drawWorkspaceBackgroundFromSurfaceOrigin()
{
    CTestDocument doc(10, 10);
    EditFigure(doc, [&](CFigure &f) { f.BkColor = MakeColorRef(10, 20, 30); });
    const QSize ws = doc.Figure().GetWorkspaceSize();
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
