// SPDX-License-Identifier: GPL-3.0-or-later
// Strokes, the keyboard's cell cursor and the clipboard in the view: what each gesture
// places, how many undo steps it takes, and that an edit of a few cells repaints only
// around them.

#include "app/mainframe.h"
#include "document/tarvexdoc.h"
#include "support/testdocument.h"
#include "view/placecubehandler.h"
#include "view/tarvexview.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QScrollBar>
#include <QtTest>

using Cells = QVector<QPoint>;

namespace {

// A shown view of the default 20 x 40 grid with the whole cube (kind 0) picked.
struct CViewFixture
{
    CViewFixture()
    {
        view.SetCurrentCubeSource([this] { return kind; });
        view.resize(900, 560);
        view.show();
        view.setFocus();
    }
    QPoint Centre(const QPoint &cell) const
    {
        const int h = doc.Figure().CubeSize / 2;
        return doc.Figure().GetCellOrigin(cell.x(), cell.y()) + QPoint(h, h) - view.ScrollPosition();
    }
    Cells Cubes() const
    {
        Cells cells;
        const QSize grid = doc.Figure().GridSize();
        for (int r = 0; r < grid.height(); ++r)
            for (int c = 0; c < RowLength(grid.width(), r); ++c)
                if (doc.Figure().Cell(c, r) >= 0)
                    cells.append(QPoint(c, r));
        return cells;
    }
    void Mouse(QEvent::Type type, const QPoint &at, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
    {
        QMouseEvent event(type, at, view.viewport()->mapToGlobal(at),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, modifiers);
        QCoreApplication::sendEvent(view.viewport(), &event);
    }

    CTarvexDoc doc{false};
    CTarvexView view{doc};
    int kind = 0;
};

} // namespace

class TestDrawingGestures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void strokeIsOneStepEachCellOnce();
    void keys_data();
    void keys();
    void cursorOnALostCell();
    void cutAndPaste();
    void aClickRepaintsAroundItsCell();
};

void TestDrawingGestures::strokeIsOneStepEachCellOnce()
{
    CViewFixture f;
    // Down a diagonal and back up it: each crossed cell once, in order, one undo step.
    const QPoint a = f.Centre({3, 4});
    const QPoint b = f.Centre({5, 8});
    f.Mouse(QEvent::MouseButtonPress, a, Qt::LeftButton, Qt::ShiftModifier);
    QVERIFY(f.Cubes().isEmpty());
    for (int i = 1; i <= 8; ++i)
        f.Mouse(QEvent::MouseMove, a + (b - a) * i / 8, Qt::LeftButton, Qt::ShiftModifier);
    f.Mouse(QEvent::MouseMove, a, Qt::LeftButton, Qt::ShiftModifier);
    f.Mouse(QEvent::MouseButtonRelease, a, Qt::NoButton, Qt::ShiftModifier);
    QCOMPARE(f.Cubes(), (Cells{{3, 4}, {3, 5}, {4, 6}, {4, 7}, {5, 8}}));
    QCOMPARE(f.doc.UndoCount(), 1);
    // Later cubes cut the earlier ones' facing corners: placed in the order crossed.
    QCOMPARE(f.doc.Figure().Cell(3, 4), 4);

    // A Shift+click from there draws a beam back along the row.
    f.Mouse(QEvent::MouseButtonPress, f.Centre({1, 8}), Qt::LeftButton, Qt::ShiftModifier);
    f.Mouse(QEvent::MouseButtonRelease, f.Centre({1, 8}), Qt::NoButton, Qt::ShiftModifier);
    QCOMPARE(f.doc.UndoCount(), 2);
    for (int c = 1; c <= 5; ++c)
        QVERIFY(f.doc.Figure().Cell(c, 8) >= 0);

    // A plain press and move keeps to one cube.
    f.Mouse(QEvent::MouseButtonPress, f.Centre({10, 20}), Qt::LeftButton, Qt::NoModifier);
    f.Mouse(QEvent::MouseMove, f.Centre({14, 20}), Qt::LeftButton, Qt::NoModifier);
    f.Mouse(QEvent::MouseButtonRelease, f.Centre({14, 20}), Qt::NoButton, Qt::NoModifier);
    QCOMPARE(f.doc.UndoCount(), 3);
    QVERIFY(f.doc.Figure().Cell(10, 20) >= 0);
    QCOMPARE(f.doc.Figure().Cell(12, 20), EmptyCell);
}

void TestDrawingGestures::keys_data()
{
    QTest::addColumn<bool>("selectMode");
    QTest::addColumn<QString>("keys"); // space-separated, Qt key sequence text; "+r" repeats
    QTest::addColumn<Cells>("cubes");
    QTest::addColumn<int>("undoSteps");
    QTest::addColumn<int>("selected");
    // The cursor starts at (4, 4), where the fixture's cube is.
    QTest::newRow("arrows and space") << false << "Right Right Down Space" << Cells{{4, 4}, {6, 5}} << 1 << 0;
    QTest::newRow("enter, then delete") << false << "Left Return Backspace Right Delete" << Cells{} << 3 << 0;
    QTest::newRow("shift+arrows: one step")
        << false << "Shift+Right Shift+Right Shift+Up" << Cells{{6, 3}, {4, 4}, {5, 4}, {6, 4}} << 1 << 0;
    QTest::newRow("space toggles the selection") << true << "Space" << Cells{{4, 4}} << 0 << 1;
    QTest::newRow("space twice unselects") << true << "Space Space" << Cells{{4, 4}} << 0 << 0;
    QTest::newRow("ctrl+arrows, repeats join")
        << true << "Space Ctrl+Right Ctrl+Right+r Ctrl+Right+r Ctrl+Down" << Cells{{7, 6}} << 2 << 1;
    QTest::newRow("ctrl+arrows stop at the edge") << true << "Space Ctrl+Up Ctrl+Up Ctrl+Up" << Cells{{4, 0}} << 2 << 1;
}

void TestDrawingGestures::keys()
{
    QFETCH(bool, selectMode);
    QFETCH(QString, keys);
    QFETCH(Cells, cubes);
    QFETCH(int, undoSteps);
    QFETCH(int, selected);
    CViewFixture f;
    PlaceCube(f.doc, 4, 4, 0);
    MarkSaved(f.doc);
    // A click moves the cursor to the cell (and places there, taken back at once).
    QTest::mouseClick(f.view.viewport(), Qt::LeftButton, Qt::NoModifier, f.Centre({4, 4}));
    f.doc.OnEditUndo();
    f.doc.ClearHistory();
    if (selectMode)
        f.doc.ToggleSelectMode();
    for (const QString &key : keys.split(QLatin1Char(' '))) {
        const bool repeat = key.endsWith(QLatin1String("+r"));
        const QKeyCombination combination = QKeySequence(repeat ? key.chopped(2) : key)[0];
        QKeyEvent event(QEvent::KeyPress, combination.key(), combination.keyboardModifiers(), QString(), repeat);
        QCoreApplication::sendEvent(&f.view, &event);
        if (combination.keyboardModifiers() & Qt::ShiftModifier)
            continue;
        QKeyEvent shift(QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
        QCoreApplication::sendEvent(&f.view, &shift);
    }
    QCOMPARE(f.Cubes(), cubes);
    QCOMPARE(f.doc.UndoCount(), undoSteps);
    QCOMPARE(f.doc.Selection() ? int(f.doc.Selection()->Cells.size()) : 0, selected);
    QVERIFY(f.view.IsCellCursorShown());
}

void TestDrawingGestures::cursorOnALostCell()
{
    // Another figure or the options took the cursor's cell away: the keys go on from the
    // first cell (a Space there once read outside the grid).
    CViewFixture f;
    PlaceCubes(f.doc, {{0, 0}, {15, 15}}, 0);
    QTest::mouseClick(f.view.viewport(), Qt::LeftButton, Qt::NoModifier, f.Centre({15, 15}));
    QCOMPARE(f.view.CellCursor(), QPoint(15, 15));
    COptions smaller = f.doc.Options();
    smaller.Width = 10;
    smaller.Height = 10;
    f.doc.SetOptions(smaller);
    f.doc.ToggleSelectMode();
    QTest::keyClick(&f.view, Qt::Key_Space);
    QCOMPARE(f.view.CellCursor(), QPoint(0, 0));
    QCOMPARE(f.doc.Selection()->Cells, Cells{QPoint(0, 0)});
}

void TestDrawingGestures::cutAndPaste()
{
    // The clipboard's keys are the main window's commands.
    CTestDocument doc;
    CMainFrame frame(doc);
    frame.show();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    struct
    {
        CTestDocument &doc;
        CTarvexView &view;
        QPoint Centre(const QPoint &cell) const
        {
            const int h = doc.Figure().CubeSize / 2;
            return doc.Figure().GetCellOrigin(cell.x(), cell.y()) + QPoint(h, h) - view.ScrollPosition();
        }
        Cells Cubes() const
        {
            Cells cells;
            for (int r = 0; r < doc.Figure().GridSize().height(); ++r)
                for (int c = 0; c < RowLength(doc.Figure().GridSize().width(), r); ++c)
                    if (doc.Figure().Cell(c, r) >= 0)
                        cells.append(QPoint(c, r));
            return cells;
        }
    } f{doc, *frame.GetView()};
    f.view.setFocus();
    PlaceCubes(f.doc, {{17, 38}, {18, 39}, {2, 2}}, 0);
    MarkSaved(f.doc);
    const qint32 corner = f.doc.Figure().Cell(17, 38);
    f.doc.ToggleSelectMode();
    f.doc.SelectCells({{17, 38}, {18, 39}}, false);
    QTest::keyClick(&f.view, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(f.Cubes(), Cells{QPoint(2, 2)});
    QCOMPARE(f.doc.UndoCount(), 1);

    // Pasted at its own cells with the pointer off the view: the new selection.
    QCursor::setPos(f.view.mapToGlobal(QPoint(-50, -50)));
    QTest::keyClick(&f.view, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.Cubes(), (Cells{{2, 2}, {17, 38}, {18, 39}}));
    QCOMPARE(f.doc.Figure().Cell(17, 38), corner);
    QCOMPARE(f.doc.Selection()->Cells.size(), 2);
    QCOMPARE(f.doc.UndoCount(), 2);

    // Under the pointer: the top left cube lands there; near the grid's bottom right
    // corner the whole fragment is moved back in, keeping its shape.
    QCursor::setPos(f.view.viewport()->mapToGlobal(f.Centre({5, 10})));
    QTest::keyClick(&f.view, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.doc.Selection()->Cells, (Cells{{5, 10}, {6, 11}}));
    f.view.verticalScrollBar()->setValue(f.view.verticalScrollBar()->maximum());
    QCursor::setPos(f.view.viewport()->mapToGlobal(f.Centre({18, 39})));
    QTest::keyClick(&f.view, Qt::Key_V, Qt::ControlModifier);
    const Cells pasted = f.doc.Selection()->Cells;
    QCOMPARE(pasted.size(), 2);
    QVERIFY(f.doc.Figure().HasCell(pasted[0].x(), pasted[0].y())
            && f.doc.Figure().HasCell(pasted[1].x(), pasted[1].y()));
    QCOMPARE(f.doc.Figure().GetCellOrigin(pasted[1].x(), pasted[1].y())
                 - f.doc.Figure().GetCellOrigin(pasted[0].x(), pasted[0].y()),
             f.doc.Figure().GetCellOrigin(18, 39) - f.doc.Figure().GetCellOrigin(17, 38));
    QCOMPARE(f.doc.UndoCount(), 4);

    // Copy with nothing selected takes the whole figure.
    f.doc.SelectCells({}, false);
    QTest::keyClick(&f.view, Qt::Key_C, Qt::ControlModifier);
    QVERIFY(QGuiApplication::clipboard()->mimeData()->hasFormat(QStringLiteral("image/png")));
    const QByteArray fragment = QGuiApplication::clipboard()->mimeData()->data(
        QStringLiteral("application/x-tarvex-fragment"));
    QCOMPARE(fragment.count("["), 1 + 1 + int(f.Cubes().size()));
}

void TestDrawingGestures::aClickRepaintsAroundItsCell()
{
    CViewFixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.view));
    QCoreApplication::processEvents();
    struct CPaintSpy : QObject
    {
        QRegion Painted;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                Painted += static_cast<QPaintEvent *>(event)->region();
            return false;
        }
    } spy;
    f.view.viewport()->installEventFilter(&spy);
    QTest::mouseClick(f.view.viewport(), Qt::LeftButton, Qt::NoModifier, f.Centre({8, 10}));
    QCoreApplication::processEvents();
    QVERIFY(f.doc.Figure().Cell(8, 10) >= 0);
    // The cell's square with its neighbours' around it, nothing more.
    const QRect bound = spy.Painted.boundingRect();
    QVERIFY2(bound.contains(QRect(f.Centre({8, 10}) - QPoint(16, 16), QSize(33, 33))), "the cell was not repainted");
    QVERIFY2(bound.width() < 120 && bound.height() < 120,
             qPrintable(QStringLiteral("%1 x %2").arg(bound.width()).arg(bound.height())));
}

QTEST_MAIN(TestDrawingGestures)
#include "tst_drawinggestures.moc"
