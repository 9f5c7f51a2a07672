// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/tarvexdoc.h"
#include "support/testdocument.h"

#include <QSignalSpy>
#include <QtTest>
#include <QSettings>
#include <QTemporaryDir>

class TestHistory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void newChangeEmptiesRedo();
    void undoRedoRoundTrip();
    void restoresSizesCellsColoursAndSelection();
    void undoWithoutRedoEntry();
    void restoreWritesTheStore();
    void savedFlagFollowsDepth();
    void emptyStacksDoNothing();
    void everyStepComesBackExactly();
    void colouringEditsAreOneStep_data();
    void colouringEditsAreOneStep();

private:
    QTemporaryDir m_dir;
};

void TestHistory::initTestCase()
{
    qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit());
}

void TestHistory::newChangeEmptiesRedo()
{
    CTestDocument doc;
    for (int i = 0; i < 3; ++i) {
        doc.PlaceCube(QPoint(i, 0), 0);
    }
    doc.Undo(true);
    doc.Undo(true);
    QCOMPARE(doc.UndoCount(), 1);
    QCOMPARE(doc.RedoCount(), 2);
    doc.PlaceCube(QPoint(5, 5), 0);
    QCOMPARE(doc.RedoCount(), 0);
    QCOMPARE(doc.UndoCount(), 2);
    QVERIFY(!doc.CanRedo());
}

void TestHistory::undoRedoRoundTrip()
{
    CTestDocument doc;
    doc.PlaceCube(QPoint(2, 2), 0);
    SelectEveryCube(doc);
    doc.PlaceCube(QPoint(2, 3), 0);
    const CubeGrid after = doc.Figure().Grid;
    doc.OnEditUndo();
    QCOMPARE(doc.Figure().Cell(2, 3), -1);
    QCOMPARE(doc.Figure().Cell(2, 2), 0);
    QVERIFY(doc.IsSelectMode());
    doc.OnEditUndo();
    QVERIFY(!doc.IsSelectMode()); // the first snapshot was taken with the mode off
    QVERIFY(doc.Figure().IsEmpty());
    doc.OnEditRedo(); // back to the state before the second undo: mode on
    QVERIFY(doc.IsSelectMode());
    QCOMPARE(doc.Figure().Cell(2, 2), 0);
    QCOMPARE(doc.Figure().Cell(2, 3), -1);
    doc.OnEditRedo();
    QVERIFY(doc.IsSelectMode());
    QCOMPARE(doc.Selection()->Cells(), QVector<QPoint>{QPoint(2, 2)});
    QCOMPARE(doc.Figure().Grid, after);
    QCOMPARE(doc.UndoCount(), 2);
    QCOMPARE(doc.RedoCount(), 0);
}

void TestHistory::restoresSizesCellsColoursAndSelection()
{
    CTestDocument doc({{19, 38}}, 5);
    PlaceCube(doc, 3, 3, 7);
    doc.TakeSnapshot();
    doc.ResizeGrid(10, 10);
    EditFigure(doc, [&](CFigure &f) { f.CubeSize = 80; });
    EditFigure(doc, [&](CFigure &f) { f.Color1 = 0x112233; });
    EditFigure(doc, [&](CFigure &f) { f.BkColor = 0; });
    doc.Undo(true);
    QCOMPARE(doc.Figure().GridSize(), QSize(20, 40));
    QCOMPARE(doc.Figure().Grid[39].size(), 19);
    QCOMPARE(doc.Figure().Cell(19, 38), 5);
    QCOMPARE(doc.Figure().CubeSize, 32);
    QCOMPARE(doc.Figure().Color1, ColorRef(0x0000FF));
    QCOMPARE(doc.Figure().BkColor, ColorRef(0xFFFFFF));
    doc.Redo();
    QCOMPARE(doc.Figure().GridSize(), QSize(10, 10));
    QCOMPARE(doc.Figure().CubeSize, 80);
    QCOMPARE(doc.Figure().Cell(3, 3), 7);
}

void TestHistory::undoWithoutRedoEntry()
{
    CTestDocument doc;
    doc.PlaceCube(QPoint(1, 1), 0);
    doc.Undo(true);
    QCOMPARE(doc.RedoCount(), 1);
    // What cancelling the Options dialog does: a snapshot, then an undo that pushes nothing.
    doc.TakeSnapshot();
    EditFigure(doc, [&](CFigure &f) { f.CubeSize = 40; });
    doc.Undo(false);
    QCOMPARE(doc.Figure().CubeSize, 32);
    QCOMPARE(doc.UndoCount(), 0);
    QCOMPARE(doc.RedoCount(), 0); // the new snapshot emptied it; cancelling does not bring it back
}

void TestHistory::restoreWritesTheStore()
{
    CTarvexDoc doc;
    doc.TakeSnapshot();
    EditFigure(doc, [&](CFigure &f) { f.CubeSize = 48; });
    doc.ResizeGrid(50, 60);
    CustomColorSet custom = doc.CustomColors();
    custom[0] = 0x123456; // custom colours are not in snapshots but get written
    doc.SetCustomColors(custom);
    doc.Undo(true);
    QSettings store("Brellow", "Tarvex");
    store.beginGroup("Settings");
    QCOMPARE(store.value("CubeSize").toInt(), 32);
    QCOMPARE(store.value("Width").toInt(), 20);
    QCOMPARE(store.value("Height").toInt(), 40);
    QCOMPARE(store.value("CustomColors").toByteArray().left(3), QByteArray("\x56\x34\x12", 3));
    QCOMPARE(doc.CustomColors()[0], ColorRef(0x123456));
}

void TestHistory::savedFlagFollowsDepth()
{
    // Undo back to the state the figure had when it counted as saved counts as saved
    // again; the command-level cases are in tst_documentcommands.
    CTestDocument doc;
    doc.PlaceCube(QPoint(1, 1), 0);
    QCOMPARE(doc.IsSaved(), 0);
    doc.Undo(true);
    QCOMPARE(doc.IsSaved(), 1);
    doc.Redo();
    QCOMPARE(doc.IsSaved(), 0);
}

void TestHistory::emptyStacksDoNothing()
{
    CTestDocument doc({{1, 1}});
    QVERIFY(!doc.CanUndo());
    QVERIFY(!doc.CanRedo());
    doc.Undo(true);
    doc.Redo();
    QCOMPARE(doc.Figure().Cell(1, 1), 0);
    QCOMPARE(doc.RedoCount(), 0);
    doc.TakeSnapshot();
    doc.Reset();
    QVERIFY(!doc.CanUndo());
}

void TestHistory::everyStepComesBackExactly()
{
    // On the largest grid, edits of neighbouring cells (the placing rule cuts corners
    // around them), the same cube again, an erase and a shrink: undoing walks back
    // through every figure exactly, redoing forward again.
    CTestDocument doc(100, 100);
    QVector<CFigure> figures{doc.Figure()};
    const auto step = [&](const std::function<void()> &edit) {
        edit();
        figures.append(doc.Figure());
    };
    step([&] { doc.PlaceCube(QPoint(50, 50), 0); });
    step([&] { doc.PlaceCube(QPoint(50, 52), 0); });
    step([&] { doc.PlaceCube(QPoint(50, 52), 0); });
    step([&] { doc.PlaceCubes({{QPoint(99, 98), 9}, {QPoint(0, 99), 0}, {QPoint(50, 51), 0}}); });
    step([&] { doc.PlaceCube(QPoint(50, 50), EmptyCell); });
    step([&] {
        doc.SetOptions([&] {
            COptions o = doc.Options();
            o.Width = 60;
            o.Height = 55;
            return o;
        }());
    });
    QCOMPARE(doc.UndoCount(), figures.size() - 1);
    for (int i = figures.size() - 2; i >= 0; --i) {
        doc.Undo(true);
        QVERIFY2(doc.Figure() == figures[i], qPrintable(QString::number(i)));
    }
    for (int i = 1; i < figures.size(); ++i) {
        doc.Redo();
        QVERIFY2(doc.Figure() == figures[i], qPrintable(QString::number(i)));
    }
}

QTEST_GUILESS_MAIN(TestHistory)
#include "tst_history.moc"

// Each colouring edit on a figure with a palette of two: its result, and one undo
// that gives back exactly the figure before it.
void TestHistory::colouringEditsAreOneStep_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QStringList>("cells"); // "column,row=kind/colouring" after the edit
    QTest::addColumn<int>("colourings");
    QTest::newRow("place painted") << "place" << QStringList{"2,2=0/0", "3,3=0/0", "5,5=9/1"} << 2;
    QTest::newRow("paint selection") << "paint" << QStringList{"2,2=0/1", "3,3=0/1"} << 2;
    QTest::newRow("paint, then move keeps it") << "paint move" << QStringList{"3,4=0/1", "4,5=0/1"} << 2;
    QTest::newRow("paint beyond the palette") << "paint 5" << QStringList{"2,2=0/0", "3,3=0/0"} << 2;
    QTest::newRow("add colouring") << "add" << QStringList{"2,2=0/0", "3,3=0/0"} << 3;
    QTest::newRow("paste matches and adds colourings")
        << "paste" << QStringList{"2,2=0/0", "3,3=0/0", "6,6=1/1", "7,7=6/2", "8,8=3/0"} << 3;
}

void TestHistory::colouringEditsAreOneStep()
{
    QFETCH(QString, edit);
    const CColouring second{0x112233, 0x445566, 0x778899};
    const CColouring third{1, 2, 3};
    CTestDocument doc({QPoint(2, 2), QPoint(3, 3)});
    doc.AddColouring(second);
    MarkSaved(doc);
    const CFigure before = doc.Figure();
    QSignalSpy paletteShown(&doc, &CTarvexDoc::PaletteChanged);
    if (edit == "place") {
        doc.PlaceCube(QPoint(5, 5), CellValue(9, 1));
    } else if (edit.startsWith("paint")) {
        SelectEveryCube(doc);
        doc.PaintSelection(edit == "paint 5" ? 5 : 1);
        if (edit.endsWith("move"))
            doc.DropSelection(QPoint(1, 2), false);
    } else if (edit == "add") {
        QCOMPARE(doc.AddColouring(third), 2);
    } else {
        // From another figure whose palette is colouring 0, then third, then second.
        const QVector<CColouring> from{CColouring{7, 7, 7}, third, second, CColouring{}};
        doc.PasteCubes({{QPoint(6, 6), CellValue(1, 2)}, {QPoint(7, 7), CellValue(2, 1)}, {QPoint(8, 8), 3}}, &from);
    }
    QStringList cells;
    const CubeGrid &grid = doc.Figure().Grid;
    for (int r = 0; r < grid.size(); ++r)
        for (int c = 0; c < grid[r].size(); ++c)
            if (grid[r][c] >= 0)
                cells << QStringLiteral("%1,%2=%3/%4")
                             .arg(c)
                             .arg(r)
                             .arg(KindOfCell(grid[r][c]))
                             .arg(PaintOfCell(grid[r][c]));
    QTEST(cells, "cells");
    QTEST(doc.Figure().ColouringCount(), "colourings");
    // A palette that grew is shown: the strip hears of it.
    if (doc.Figure().ColouringCount() != before.ColouringCount())
        QVERIFY(!paletteShown.isEmpty());
    if (edit == "paint 5") {
        QCOMPARE(doc.UndoCount(), 0);
        return;
    }
    QCOMPARE(doc.UndoCount(), edit.endsWith("move") ? 2 : 1);
    while (doc.CanUndo())
        doc.OnEditUndo();
    QCOMPARE(doc.Figure(), before);
}
