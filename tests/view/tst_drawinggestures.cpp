// SPDX-License-Identifier: GPL-3.0-or-later
// Strokes, the keyboard's cell cursor and the clipboard in the view: what each gesture
// places, how many undo steps it takes, and that an edit of a few cells repaints only
// around them.

#include "app/mainframe.h"
#include "document/tarvexdoc.h"
#include "support/testdocument.h"
#include "support/workspaceorigin.h"
#include "view/boxtool.h"
#include "view/cellcursor.h"
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
        return doc.Figure().GetCellOrigin(cell.x(), cell.y()) + QPoint(h, h) + WorkspaceOrigin(view);
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
    void box_data();
    void box();
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

    // A Shift+click from there draws a beam straight up, two rows a cube; after an undo
    // the next beam starts at the cube now last, three cubes thick.
    f.Mouse(QEvent::MouseButtonPress, f.Centre({5, 2}), Qt::LeftButton, Qt::ShiftModifier);
    f.Mouse(QEvent::MouseButtonRelease, f.Centre({5, 2}), Qt::NoButton, Qt::ShiftModifier);
    QCOMPARE(f.doc.UndoCount(), 2);
    for (int r = 2; r <= 8; r += 2)
        QVERIFY(f.doc.Figure().Cell(5, r) >= 0);
    QCOMPARE(f.doc.Figure().Cell(5, 7), EmptyCell);
    f.doc.OnEditUndo();
    QTest::keyClick(&f.view, Qt::Key_3);
    f.Mouse(QEvent::MouseButtonPress, f.Centre({5, 14}), Qt::LeftButton, Qt::ShiftModifier);
    f.Mouse(QEvent::MouseButtonRelease, f.Centre({5, 14}), Qt::NoButton, Qt::ShiftModifier);
    QCOMPARE(f.view.PlaceCube()->BeamThickness(), 3);
    for (const QPoint &cell : Cells{{5, 8}, {5, 10}, {5, 12}, {5, 14}, {4, 9}, {5, 9}, {4, 13}, {5, 13}})
        QVERIFY2(f.doc.Figure().Cell(cell.x(), cell.y()) >= 0, qPrintable(QString::number(cell.y())));
    QCOMPARE(f.doc.Figure().Cell(5, 2), EmptyCell);
    QCOMPARE(f.doc.UndoCount(), 2);

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
    QTest::newRow("arrows and space") << false << "Right Right Down Space" << Cells{{4, 4}, {6, 6}} << 1 << 0;
    QTest::newRow("enter, then delete") << false << "Left Return Backspace Right Delete" << Cells{} << 3 << 0;
    QTest::newRow("delete on an empty cell: no step") << false << "Left Delete Backspace" << Cells{{4, 4}} << 0 << 0;
    QTest::newRow("shift+arrows: one step")
        << false << "Shift+Right Shift+Right Shift+Up" << Cells{{6, 2}, {4, 4}, {5, 4}, {6, 4}} << 1 << 0;
    // The keypad's 7, 9, 1, 3, with Num Lock (digits) and without (Home, PgUp, End, PgDn).
    QTest::newRow("shift+keypad: the four diagonals")
        << false << "Shift+Num+3 Shift+Num+PgDown Shift+Num+9 Shift+Num+1 Shift+Num+End Shift+Num+7"
        << Cells{{4, 4}, {4, 5}, {5, 5}, {4, 6}, {5, 6}, {4, 7}} << 1 << 0;
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
    QCOMPARE(f.doc.Selection() ? int(f.doc.Selection()->Cells().size()) : 0, selected);
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
    QCOMPARE(f.doc.Selection()->Cells(), Cells{QPoint(0, 0)});
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
            return doc.Figure().GetCellOrigin(cell.x(), cell.y()) + QPoint(h, h) + WorkspaceOrigin(view);
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
    QCOMPARE(f.doc.Selection()->Cells().size(), 2);
    QCOMPARE(f.doc.UndoCount(), 2);

    // Under the pointer: the top left cube lands there; near the grid's bottom right
    // corner the whole fragment is moved back in, keeping its shape.
    QCursor::setPos(f.view.viewport()->mapToGlobal(f.Centre({5, 10})));
    QTest::keyClick(&f.view, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.doc.Selection()->Cells(), (Cells{{5, 10}, {6, 11}}));
    // The fragment keeps its shape wherever it lands: onto an odd row by an odd number
    // of rows, and near the bottom right corner, moved back in.
    const QPoint shape = f.doc.Figure().GetCellOrigin(18, 39) - f.doc.Figure().GetCellOrigin(17, 38);
    auto pastedShape = [&] {
        const Cells pasted = f.doc.Selection()->Cells();
        if (pasted.size() != 2 || !f.doc.Figure().HasCell(pasted[0].x(), pasted[0].y())
            || !f.doc.Figure().HasCell(pasted[1].x(), pasted[1].y()))
            return QPoint(-1, -1);
        return f.doc.Figure().GetCellOrigin(pasted[1].x(), pasted[1].y())
               - f.doc.Figure().GetCellOrigin(pasted[0].x(), pasted[0].y());
    };
    QCursor::setPos(f.view.viewport()->mapToGlobal(f.Centre({5, 11})));
    QTest::keyClick(&f.view, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.doc.Selection()->Cells().value(0), QPoint(5, 11));
    QCOMPARE(pastedShape(), shape);
    f.view.verticalScrollBar()->setValue(f.view.verticalScrollBar()->maximum());
    QCursor::setPos(f.view.viewport()->mapToGlobal(f.Centre({18, 39})));
    QTest::keyClick(&f.view, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(pastedShape(), shape);
    QCOMPARE(f.doc.UndoCount(), 5);

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

// The box tool: a drag from a cell to another along the lower diagonals, Shift+up for
// the height (or the cell cursor's keys), placed back to front in one undo step.
void TestDrawingGestures::box_data()
{
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("floor"); // the cell the pointer is dragged to
    QTest::addColumn<int>("height");   // cubes up (Shift) from there
    QTest::addColumn<QString>("keys"); // instead of the pointer: keys at the cell cursor
    QTest::addColumn<bool>("escape");  // pressed before the release
    QTest::addColumn<Cells>("order");  // what a placing in this order gives
    // (4, 10) is on an even row: its lower right neighbour is (4, 11), lower left (3, 11).
    QTest::newRow("plate 2 x 2") << QPoint(4, 10) << QPoint(4, 12) << 0 << QString() << false
                                 << Cells{{4, 10}, {4, 11}, {3, 11}, {4, 12}};
    QTest::newRow("plate dragged back") << QPoint(4, 12) << QPoint(4, 10) << 0 << QString() << false
                                        << Cells{{4, 10}, {4, 11}, {3, 11}, {4, 12}};
    QTest::newRow("column 3 high") << QPoint(4, 10) << QPoint(4, 10) << 2 << QString() << false
                                   << Cells{{4, 10}, {4, 8}, {4, 6}};
    QTest::newRow("box 2 x 1 x 2") << QPoint(4, 10) << QPoint(4, 11) << 1 << QString() << false
                                   << Cells{{4, 10}, {4, 11}, {4, 8}, {4, 9}};
    QTest::newRow("box 2 x 1 x 2 by keys") << QPoint(4, 10) << QPoint() << 0 << "Space Num+3 PgUp Return" << false
                                           << Cells{{4, 10}, {4, 11}, {4, 8}, {4, 9}};
    QTest::newRow("cut at the top edge") << QPoint(3, 2) << QPoint(3, 2) << 3 << QString() << false
                                         << Cells{{3, 2}, {3, 0}};
    QTest::newRow("escape cancels") << QPoint(4, 10) << QPoint(4, 12) << 0 << QString() << true << Cells{};
    QTest::newRow("escape cancels the keys")
        << QPoint(4, 10) << QPoint() << 0 << "Space Num+3 Escape" << false << Cells{};
}

void TestDrawingGestures::box()
{
    QFETCH(QPoint, press);
    QFETCH(QPoint, floor);
    QFETCH(int, height);
    QFETCH(QString, keys);
    QFETCH(bool, escape);
    QFETCH(Cells, order);
    CViewFixture f;
    CBoxTool tool(f.doc, f.view);
    tool.SetCurrentCubeSource([&f] { return f.kind; });
    f.view.SetDrawingTool(&tool);
    if (keys.isEmpty()) {
        f.Mouse(QEvent::MouseButtonPress, f.Centre(press), Qt::LeftButton, Qt::NoModifier);
        f.Mouse(QEvent::MouseMove, f.Centre(floor), Qt::LeftButton, Qt::NoModifier);
        const Qt::KeyboardModifiers up = height ? Qt::ShiftModifier : Qt::NoModifier;
        f.Mouse(QEvent::MouseMove, f.Centre(floor), Qt::LeftButton, up);
        const QPoint top = f.Centre(floor) - QPoint(0, 2 * height * ComputeCellPitch(f.doc.Figure().CubeSize).Py);
        f.Mouse(QEvent::MouseMove, top, Qt::LeftButton, up);
        QVERIFY(tool.IsLayingOut());
        QVERIFY(!tool.Outline().isEmpty());
        if (escape)
            QTest::keyClick(&f.view, Qt::Key_Escape);
        f.Mouse(QEvent::MouseButtonRelease, top, Qt::NoButton, up);
    } else {
        f.view.KeyboardCursor().SetCell(press, true);
        for (const QString &key : keys.split(QLatin1Char(' '))) {
            const QKeyCombination combination = QKeySequence(key)[0];
            QTest::keyClick(&f.view, combination.key(), combination.keyboardModifiers());
        }
    }
    QVERIFY(!tool.IsLayingOut());
    QVERIFY(tool.Outline().isEmpty());
    CTestDocument expected;
    PlaceCubes(expected, order, 0);
    QVERIFY(f.doc.Figure() == expected.Figure());
    QCOMPARE(f.doc.UndoCount(), order.isEmpty() ? 0 : 1);
    f.view.SetDrawingTool(nullptr);
}

QTEST_MAIN(TestDrawingGestures)
#include "tst_drawinggestures.moc"
