// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/tarvexdoc.h"

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
    void snapshotsShareUnchangedRows();

private:
    QTemporaryDir m_dir;
};

void TestHistory::initTestCase()
{
    qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit());
}

void TestHistory::newChangeEmptiesRedo()
{
    CTarvexDoc doc(false);
    for (int i = 0; i < 3; ++i) {
        doc.TakeSnapshot();
        doc.PlaceCube(i, 0, 0);
    }
    doc.Undo(true);
    doc.Undo(true);
    QCOMPARE(doc.UndoCount(), 1);
    QCOMPARE(doc.RedoCount(), 2);
    doc.TakeSnapshot();
    doc.PlaceCube(5, 5, 0);
    QCOMPARE(doc.RedoCount(), 0);
    QCOMPARE(doc.UndoCount(), 2);
    QVERIFY(!doc.CanRedo());
}

void TestHistory::undoRedoRoundTrip()
{
    CTarvexDoc doc(false);
    doc.TakeSnapshot();
    doc.PlaceCube(2, 2, 0);
    doc.ToggleSelectMode();
    doc.SelectAll();
    doc.TakeSnapshot();
    doc.PlaceCube(2, 3, 0);
    const CubeGrid after = doc.Grid();
    doc.OnEditUndo();
    QCOMPARE(doc.GetCell(2, 3), -1);
    QCOMPARE(doc.GetCell(2, 2), 0);
    QVERIFY(doc.IsSelectMode());
    doc.OnEditUndo();
    QVERIFY(!doc.IsSelectMode());    // the first snapshot was taken with the mode off
    QVERIFY(doc.IsFigureEmpty());
    doc.OnEditRedo();   // back to the state before the second undo: mode on
    QVERIFY(doc.IsSelectMode());
    QCOMPARE(doc.GetCell(2, 2), 0);
    QCOMPARE(doc.GetCell(2, 3), -1);
    doc.OnEditRedo();
    QVERIFY(doc.IsSelectMode());
    QCOMPARE(doc.Selection()->Cells, QVector<QPoint>{QPoint(2, 2)});
    QCOMPARE(doc.Grid(), after);
    QCOMPARE(doc.UndoCount(), 2);
    QCOMPARE(doc.RedoCount(), 0);
}

void TestHistory::restoresSizesCellsColoursAndSelection()
{
    CTarvexDoc doc(false);
    doc.PlaceCube(19, 38, 5);
    doc.PlaceCube(3, 3, 7);
    doc.TakeSnapshot();
    doc.ResizeGrid(10, 10);
    doc.CubeSize = 80;
    doc.Color1 = 0x112233;
    doc.BkColor = 0;
    doc.Undo(true);
    QCOMPARE(doc.GetGridSize(), QSize(20, 40));
    QCOMPARE(doc.Grid()[39].size(), 19);
    QCOMPARE(doc.GetCell(19, 38), 5);
    QCOMPARE(doc.CubeSize, 32);
    QCOMPARE(doc.Color1, ColorRef(0x0000FF));
    QCOMPARE(doc.BkColor, ColorRef(0xFFFFFF));
    doc.Redo();
    QCOMPARE(doc.GetGridSize(), QSize(10, 10));
    QCOMPARE(doc.CubeSize, 80);
    QCOMPARE(doc.GetCell(3, 3), 7);
}

void TestHistory::undoWithoutRedoEntry()
{
    CTarvexDoc doc(false);
    doc.TakeSnapshot();
    doc.PlaceCube(1, 1, 0);
    doc.Undo(true);
    QCOMPARE(doc.RedoCount(), 1);
    // What cancelling the Options dialog does: a snapshot, then an undo that pushes nothing.
    doc.TakeSnapshot();
    doc.CubeSize = 40;
    doc.Undo(false);
    QCOMPARE(doc.CubeSize, 32);
    QCOMPARE(doc.UndoCount(), 0);
    QCOMPARE(doc.RedoCount(), 0);   // the new snapshot emptied it; cancelling does not bring it back
}

void TestHistory::restoreWritesTheStore()
{
    CTarvexDoc doc;
    doc.TakeSnapshot();
    doc.CubeSize = 48;
    doc.ResizeGrid(50, 60);
    doc.CustomColors[0] = 0x123456;   // custom colours are not in snapshots but get written
    doc.Undo(true);
    QSettings store("Brellow", "Tarvex");
    store.beginGroup("Settings");
    QCOMPARE(store.value("CubeSize").toInt(), 32);
    QCOMPARE(store.value("Width").toInt(), 20);
    QCOMPARE(store.value("Height").toInt(), 40);
    QCOMPARE(store.value("CustomColors").toByteArray().left(3), QByteArray("\x56\x34\x12", 3));
    QCOMPARE(doc.CustomColors[0], ColorRef(0x123456));
}

void TestHistory::savedFlagFollowsDepth()
{
    // Undo back to the state the figure had when it counted as saved counts as saved
    // again; the command-level cases are in tst_documentcommands.
    CTarvexDoc doc(false);
    doc.TakeSnapshot();
    doc.PlaceCube(1, 1, 0);
    QCOMPARE(doc.m_bSaved, 0);
    doc.Undo(true);
    QCOMPARE(doc.m_bSaved, 1);
    doc.Redo();
    QCOMPARE(doc.m_bSaved, 0);
}

void TestHistory::emptyStacksDoNothing()
{
    CTarvexDoc doc(false);
    doc.PlaceCube(1, 1, 0);
    QVERIFY(!doc.CanUndo());
    QVERIFY(!doc.CanRedo());
    doc.Undo(true);
    doc.Redo();
    QCOMPARE(doc.GetCell(1, 1), 0);
    QCOMPARE(doc.RedoCount(), 0);
    doc.TakeSnapshot();
    doc.Reset();
    QVERIFY(!doc.CanUndo());
}

void TestHistory::snapshotsShareUnchangedRows()
{
    CTarvexDoc doc(false);
    doc.ResizeGrid(100, 100);
    doc.TakeSnapshot();
    doc.PlaceCube(50, 50, 0);
    const CubeGrid &before = doc.UndoTop().Grid;
    int shared = 0;
    for (int r = 0; r < 100; ++r)
        shared += before[r].constData() == doc.Grid()[r].constData();
    QCOMPARE(shared, 99);
    // Writing the value a cell already has copies nothing.
    doc.TakeSnapshot();
    doc.PlaceCube(50, 50, 0);
    shared = 0;
    for (int r = 0; r < 100; ++r)
        shared += doc.UndoTop().Grid[r].constData() == doc.Grid()[r].constData();
    QCOMPARE(shared, 100);
}

QTEST_GUILESS_MAIN(TestHistory)
#include "tst_history.moc"
