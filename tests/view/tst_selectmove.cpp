// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainframe.h"
#include "support/shownwidget.h"
#include "support/testdocument.h"
#include "document/tarvexdoc.h"
#include "geometry/dragoffset.h"
#include "view/selectmovehandler.h"
#include "view/tarvexview.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QtTest>

namespace {

// A scrolling workspace that hands its select-and-move events to the handler, the way
// the editor's view does.
class CHostView : public QAbstractScrollArea
{
public:
    explicit CHostView(CTarvexDoc &doc)
        : m_doc(doc)
        , handler(doc, *this)
    {
        setFrameShape(QFrame::NoFrame);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        resize(400, 300);
        const QSize ws = doc.Figure().GetWorkspaceSize();
        horizontalScrollBar()->setRange(0, ws.width() - 400);
        verticalScrollBar()->setRange(0, ws.height() - 300);
        verticalScrollBar()->setSingleStep(30);
        connect(&doc, &CTarvexDoc::UpdateAllViews, viewport(), qOverload<>(&QWidget::update));
    }

    CTarvexDoc &m_doc;
    CSelectMoveHandler handler;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(viewport());
        painter.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
        m_doc.DrawWorkspace(painter, true, 1, 0, 0, true);
        handler.PaintFeedback(painter);
    }
    void scrollContentsBy(int dx, int dy) override { viewport()->scroll(dx, dy); }
    void mousePressEvent(QMouseEvent *e) override { handler.MousePress(e); }
    void mouseMoveEvent(QMouseEvent *e) override { handler.MouseMove(e); }
    void mouseReleaseEvent(QMouseEvent *e) override { handler.MouseRelease(e); }
    void keyPressEvent(QKeyEvent *e) override { handler.KeyPress(e); }
    void dragEnterEvent(QDragEnterEvent *e) override { handler.DragEnter(e); }
    void dragMoveEvent(QDragMoveEvent *e) override { handler.DragMove(e); }
    void dragLeaveEvent(QDragLeaveEvent *e) override { handler.DragLeave(e); }
    void dropEvent(QDropEvent *e) override { handler.Drop(e); }
};

const Qt::DropActions CopyOrMove = Qt::CopyAction | Qt::MoveAction;

QPoint CubeCentre(const CTarvexDoc &doc, int c, int r)
{
    return doc.Figure().GetCellOrigin(c, r) + QPoint(doc.Figure().CubeSize / 2, doc.Figure().CubeSize / 2);
}

// The workspace as the view shows it without any feedback.
QImage Plain(CHostView &view)
{
    QImage image(view.viewport()->size(), QImage::Format_RGB32);
    QPainter painter(&image);
    painter.translate(-view.horizontalScrollBar()->value(), -view.verticalScrollBar()->value());
    view.m_doc.DrawWorkspace(painter, true, 1, 0, 0, true);
    return image;
}

// What is on the screen: the window's backing store after pending repaints.
QImage OnScreen(CHostView &view)
{
    QCoreApplication::processEvents();
    return view.screen()->grabWindow(view.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

// The pixels where shown differs from plain, in workspace coordinates; every one of
// them must be plain's pixel inverted.
QRegion Inverted(const QImage &shown, const QImage &plain, const QPoint &scroll)
{
    QRegion region;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            if (shown.pixel(x, y) != plain.pixel(x, y)) {
                if ((shown.pixel(x, y) & 0xFFFFFF) != (~plain.pixel(x, y) & 0xFFFFFF))
                    return QRegion(-1, -1, 1, 1);
                region += QRect(x + scroll.x(), y + scroll.y(), 1, 1);
            }
    return region;
}

// Regions compare by their pixels: the same pixels may be split into rectangles in
// different ways.
#define COMPARE_PIXELS(actual, expected)                                                                               \
    QVERIFY2((actual).xored(expected).isEmpty(),                                                                       \
             qPrintable(QStringLiteral("differ: %1 ").arg(QDebug::toString((actual).xored(expected)))))

// Plays a drag over the view's viewport: enter at the first point, a move to each
// further point, then the drop (or leaving the view) at the last one.
struct DragScript
{
    DragScript(const QList<QPoint> &points, Qt::KeyboardModifiers modifiers, bool leave = false)
        : points(points)
        , modifiers(modifiers)
        , leave(leave)
    {
    }

    QList<QPoint> points; // viewport coordinates
    Qt::KeyboardModifiers modifiers;
    bool leave = false;
    const QMimeData *data = nullptr; // the drag's own data when null
    std::function<void()> beforeDrop;
};

Qt::DropAction Play(QWidget *viewport, const QMimeData *dragData, const DragScript &script)
{
    const QMimeData *data = script.data ? script.data : dragData;
    QDragEnterEvent enter(script.points.first(), CopyOrMove, data, Qt::LeftButton, script.modifiers);
    QApplication::sendEvent(viewport, &enter);
    if (!enter.isAccepted())
        return Qt::IgnoreAction;
    for (int i = 1; i < script.points.size(); ++i) {
        QDragMoveEvent move(script.points[i], CopyOrMove, data, Qt::LeftButton, script.modifiers);
        QApplication::sendEvent(viewport, &move);
        QCoreApplication::processEvents(); // the view repaints as it would between moves
    }
    if (script.beforeDrop)
        script.beforeDrop();
    if (script.leave) {
        QDragLeaveEvent leave;
        QApplication::sendEvent(viewport, &leave);
        return Qt::IgnoreAction;
    }
    QDropEvent drop(script.points.last(), CopyOrMove, data, Qt::LeftButton, script.modifiers);
    QApplication::sendEvent(viewport, &drop);
    return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}

// A left press at from and a move to to with the button held.
void PressAndMove(QWidget *viewport, const QPoint &from, const QPoint &to, Qt::KeyboardModifiers modifiers)
{
    QTest::mousePress(viewport, Qt::LeftButton, modifiers, from);
    QMouseEvent move(QEvent::MouseMove, to, viewport->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, modifiers);
    QApplication::sendEvent(viewport, &move);
}

// A left press at from, a move with the button held to the script's first point (which
// starts the drag, played by the script), and the release there.
void Gesture(CHostView &view, const QPoint &from, DragScript script)
{
    QWidget *viewport = view.viewport();
    int drags = 0;
    view.handler.SetDragRunner([&](QDrag &drag) {
        ++drags;
        return Play(viewport, drag.mimeData(), script);
    });
    PressAndMove(viewport, from, script.points.first(), script.modifiers);
    // Whatever release the platform delivers after a drag must not count as a click.
    QTest::mouseRelease(viewport, Qt::LeftButton, script.modifiers, script.points.last());
    QCOMPARE(drags, 1);
}

} // namespace

class TestSelectMove : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void clicks_data();
    void clicks();
    void rubberBand_data();
    void rubberBand();
    void moveAndCopy_data();
    void moveAndCopy();
    void dropInPlace();
    void deleteKey();
    void dragWithoutEffectIsAClick_data();
    void dragWithoutEffectIsAClick();
    void othersDragsIgnored_data();
    void othersDragsIgnored();
    void feedbackPixels_data();
    void feedbackPixels();
    void scrollsNearBorder();
    void xorRect_data();
    void xorRect();
    void workspaceView();
    void mainFrameNamesTheFormat();

private:
    std::unique_ptr<CTarvexDoc> m_doc;
    std::unique_ptr<CHostView> m_view;
};

void TestSelectMove::init()
{
    // Cubes at (2, 2), (5, 8) and (3, 3); (2, 2) selected.
    m_doc = std::make_unique<CTarvexDoc>(false);
    PlaceCube(*m_doc, 2, 2, 0);
    PlaceCube(*m_doc, 5, 8, 0);
    PlaceCube(*m_doc, 3, 3, 0);
    m_doc->ToggleSelectMode();
    m_doc->SelectCells({QPoint(2, 2)}, true);
    m_view = std::make_unique<CHostView>(*m_doc);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
}

void TestSelectMove::cleanup()
{
    m_view.reset();
    m_doc.reset();
}

void TestSelectMove::clicks_data()
{
    QTest::addColumn<QPoint>("cell"); // (-1, -1): beside all cubes
    QTest::addColumn<bool>("ctrl");
    QTest::addColumn<int>("jitter"); // pointer movement before the release
    QTest::addColumn<QVector<QPoint>>("expected");
    const int still = QApplication::startDragDistance() - 1;
    QTest::newRow("other") << QPoint(5, 8) << false << 0 << QVector<QPoint>{{5, 8}};
    QTest::newRow("ctrl other") << QPoint(5, 8) << true << 0 << QVector<QPoint>{{2, 2}, {5, 8}};
    QTest::newRow("selected") << QPoint(2, 2) << false << 0 << QVector<QPoint>{{2, 2}};
    QTest::newRow("ctrl selected") << QPoint(2, 2) << true << 0 << QVector<QPoint>{};
    QTest::newRow("beside") << QPoint(-1, -1) << false << 0 << QVector<QPoint>{};
    QTest::newRow("ctrl beside") << QPoint(-1, -1) << true << 0 << QVector<QPoint>{};
    QTest::newRow("short move") << QPoint(5, 8) << false << still << QVector<QPoint>{{5, 8}};
}

void TestSelectMove::clicks()
{
    QFETCH(QPoint, cell);
    QFETCH(bool, ctrl);
    QFETCH(int, jitter);
    QFETCH(QVector<QPoint>, expected);
    m_view->handler.SetDragRunner([](QDrag &) {
        qFatal("a click started a drag");
        return Qt::IgnoreAction;
    });
    const QPoint p = cell.x() < 0 ? QPoint(380, 280) : CubeCentre(*m_doc, cell.x(), cell.y());
    const Qt::KeyboardModifiers mods = ctrl ? Qt::ControlModifier : Qt::NoModifier;
    QWidget *viewport = m_view->viewport();
    PressAndMove(viewport, p, p + QPoint(jitter, 0), mods);
    QTest::mouseRelease(viewport, Qt::LeftButton, mods, p);
    QCOMPARE(m_doc->Selection()->Cells(), expected);
    QVERIFY(!m_doc->CanUndo());
}

void TestSelectMove::rubberBand_data()
{
    QTest::addColumn<bool>("backwards");
    QTest::addColumn<bool>("ctrl");
    QTest::addColumn<QVector<QPoint>>("expected");
    // The band holds (5, 8) and (3, 3) wholly and misses (2, 2).
    QTest::newRow("down right") << false << false << QVector<QPoint>{{3, 3}, {5, 8}};
    QTest::newRow("up left") << true << false << QVector<QPoint>{{3, 3}, {5, 8}};
    QTest::newRow("ctrl down right") << false << true << QVector<QPoint>{{2, 2}, {3, 3}, {5, 8}};
    QTest::newRow("ctrl up left") << true << true << QVector<QPoint>{{2, 2}, {3, 3}, {5, 8}};
}

void TestSelectMove::rubberBand()
{
    QFETCH(bool, backwards);
    QFETCH(bool, ctrl);
    QFETCH(QVector<QPoint>, expected);
    QPoint a(120, 30);  // right of (2, 2), above (3, 3)
    QPoint b(262, 136); // below and right of (5, 8)
    if (backwards)
        std::swap(a, b);
    // Two cursor pictures with a red hot spot: the copy cursor's at its top left corner.
    QImage copyPicture(8, 8, QImage::Format_ARGB32);
    copyPicture.fill(Qt::blue);
    copyPicture.setPixel(0, 0, qRgb(255, 0, 0));
    QImage movePicture(10, 6, QImage::Format_ARGB32);
    movePicture.fill(Qt::green);
    movePicture.setPixel(3, 2, qRgb(255, 0, 0));
    m_view->handler.SetRubberBandCursors(QCursor(QPixmap::fromImage(copyPicture), 0, 0),
                                         QCursor(QPixmap::fromImage(movePicture), 3, 2));
    DragScript script{{a + QPoint(10, 0), (a + b) / 2, b}, ctrl ? Qt::ControlModifier : Qt::NoModifier};
    script.beforeDrop = [&] {
        QCOMPARE(m_view->handler.DragMode(), int(CSelectMoveHandler::RubberBand));
        QCOMPARE(m_view->handler.DragStart(), a);
        QCOMPARE(m_view->handler.LastFeedback(), b);
    };
    m_view->handler.SetDragRunner([&](QDrag &drag) {
        // The rubber band shows the program's own cursors, hot spot in the middle.
        const QImage cursor = drag.dragCursor(ctrl ? Qt::CopyAction : Qt::MoveAction).toImage();
        if (cursor.size() != (ctrl ? QSize(16, 16) : QSize(14, 8))
            || cursor.pixel(cursor.width() / 2, cursor.height() / 2) != qRgb(255, 0, 0))
            return Qt::IgnoreAction;
        return Play(m_view->viewport(), drag.mimeData(), script);
    });
    PressAndMove(m_view->viewport(), a, a + QPoint(10, 0), script.modifiers);
    auto cells = m_doc->Selection()->Cells();
    std::sort(cells.begin(), cells.end(), [](QPoint l, QPoint r) { return l.y() < r.y(); });
    QCOMPARE(cells, expected);
    QCOMPARE(m_view->handler.DragMode(), int(CSelectMoveHandler::NoDrag));
    QVERIFY(!m_doc->CanUndo());
}

void TestSelectMove::moveAndCopy_data()
{
    QTest::addColumn<bool>("copy");
    QTest::newRow("move") << false;
    QTest::newRow("copy") << true;
}

void TestSelectMove::moveAndCopy()
{
    QFETCH(bool, copy);
    // (2, 2) and (3, 3) selected, dragged by one row down: each lands half a pitch
    // right of where it was, the odd-row cube one column further.
    m_doc->SelectCells({QPoint(3, 3)}, true);
    const QPoint from = CubeCentre(*m_doc, 2, 2);
    DragScript script{{from + QPoint(8, 8), from + QPoint(2, 13)}, copy ? Qt::ControlModifier : Qt::NoModifier};
    script.beforeDrop = [&] {
        QCOMPARE(m_view->handler.DragMode(), int(CSelectMoveHandler::MoveSelection));
    };
    Gesture(*m_view, from, script);
    QCOMPARE(m_doc->Selection()->Cells(), (QVector<QPoint>{{2, 3}, {4, 4}}));
    QCOMPARE(m_doc->UndoCount(), 1);
    QCOMPARE(m_doc->Figure().Cell(2, 3) >= 0, true);
    QCOMPARE(m_doc->Figure().Cell(4, 4) >= 0, true);
    QCOMPARE(m_doc->Figure().Cell(2, 2) >= 0, copy);
    QCOMPARE(m_doc->Figure().Cell(3, 3) >= 0, copy);
    QVERIFY(!m_doc->Selection()->Contains(2, 2));
    m_doc->OnEditUndo();
    QCOMPARE(m_doc->Selection()->Cells(), (QVector<QPoint>{{2, 2}, {3, 3}}));
    QCOMPARE(m_doc->Figure().Cell(4, 4), -1);
}

void TestSelectMove::dropInPlace()
{
    m_doc->SelectCells({QPoint(2, 2)}, false); // captured before the cut
    PlaceCube(*m_doc, 2, 4, 0);                // cuts the bottom of (2, 2)
    const qint32 neighbour = m_doc->Figure().Cell(2, 4);
    const QPoint from = CubeCentre(*m_doc, 2, 2);
    Gesture(*m_view, from, DragScript{{from + QPoint(12, 0), from + QPoint(20, 3), from + QPoint(3, 2)}, {}});
    QCOMPARE(m_doc->Selection()->Cells(), (QVector<QPoint>{{2, 2}}));
    QCOMPARE(m_doc->UndoCount(), 1);
    QCOMPARE(m_doc->Figure().Cell(2, 2), 0);
    QVERIFY(m_doc->Figure().Cell(2, 4) != neighbour); // cut again by the re-placed cube
}

void TestSelectMove::deleteKey()
{
    QTest::keyClick(m_view.get(), Qt::Key_Delete);
    QCOMPARE(m_doc->Figure().Cell(2, 2), -1);
    QCOMPARE(m_doc->UndoCount(), 1);
    QTest::keyClick(m_view.get(), Qt::Key_Delete); // nothing selected now
    QCOMPARE(m_doc->UndoCount(), 1);
    m_doc->ToggleSelectMode();
    QTest::keyClick(m_view.get(), Qt::Key_Delete);
    QCOMPARE(m_doc->UndoCount(), 1);
}

void TestSelectMove::dragWithoutEffectIsAClick_data()
{
    QTest::addColumn<bool>("leave");
    QTest::addColumn<QPoint>("cell"); // under the pointer when the drag ends
    QTest::addColumn<QVector<QPoint>>("expected");
    QTest::newRow("left the view") << true << QPoint(-1, -1) << QVector<QPoint>{};
    QTest::newRow("cancelled over a cube") << false << QPoint(5, 8) << QVector<QPoint>{{5, 8}};
}

void TestSelectMove::dragWithoutEffectIsAClick()
{
    QFETCH(bool, leave);
    QFETCH(QPoint, cell);
    QFETCH(QVector<QPoint>, expected);
    const QPoint end = cell.x() < 0 ? QPoint(390, 290) : CubeCentre(*m_doc, cell.x(), cell.y());
    QCursor::setPos(m_view->viewport()->mapToGlobal(end));
    const QPoint from = CubeCentre(*m_doc, 2, 2);
    m_view->handler.SetDragRunner([&](QDrag &drag) {
        if (!leave)
            return Qt::IgnoreAction; // Esc before the pointer reached the view again
        return Play(m_view->viewport(), drag.mimeData(), DragScript{{from + QPoint(5, 5), end}, {}, true});
    });
    PressAndMove(m_view->viewport(), from, from + QPoint(5, 5), {});
    QCOMPARE(m_doc->Selection()->Cells(), expected);
    QVERIFY(!m_doc->CanUndo());
}

void TestSelectMove::othersDragsIgnored_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("foreign data") << 0;
    QTest::newRow("mode off") << 1;
    QTest::newRow("not started here") << 2;
}

void TestSelectMove::othersDragsIgnored()
{
    QFETCH(int, kind);
    QMimeData foreign;
    foreign.setText(QStringLiteral("cubes"));
    QMimeData own;
    own.setData(m_view->handler.DragFormat(), QByteArray(16, '\0'));
    const QPoint from = CubeCentre(*m_doc, 2, 2);
    DragScript script{{from + QPoint(5, 5), from + QPoint(60, 30)}, {}};
    script.data = kind == 0 ? &foreign : &own;
    if (kind == 2) {
        QCOMPARE(Play(m_view->viewport(), nullptr, script), Qt::IgnoreAction);
    } else {
        QMimeData *drop = kind == 0 ? &foreign : &own;
        m_view->handler.SetDragRunner([&](QDrag &drag) {
            if (kind == 1)
                m_doc->ToggleSelectMode();
            script.data = drop;
            return Play(m_view->viewport(), drag.mimeData(), script) == Qt::IgnoreAction ? Qt::MoveAction
                                                                                         : Qt::IgnoreAction;
        });
        PressAndMove(m_view->viewport(), from, from + QPoint(5, 5), {});
    }
    QVERIFY(!m_doc->CanUndo());
    QCOMPARE(m_doc->Figure().Cell(2, 2), 0);
}

void TestSelectMove::feedbackPixels_data()
{
    QTest::addColumn<bool>("band");
    QTest::addColumn<QPoint>("move");     // of the pointer, last
    QTest::addColumn<QPoint>("outlined"); // the cell (2, 2)'s outline is drawn on
    QTest::newRow("outlines") << false << QPoint(50, 13) << QPoint(3, 3);
    // Dragged past the workspace's corner: the outline stops at its edge.
    QTest::newRow("outlines kept inside") << false << QPoint(-95, -60) << QPoint(0, 0);
    QTest::newRow("outlines kept inside, one row up") << false << QPoint(-95, -14) << QPoint(0, 1);
    QTest::newRow("rubber band") << true << QPoint(-70, 50) << QPoint();
}

void TestSelectMove::feedbackPixels()
{
    QFETCH(bool, band);
    QFETCH(QPoint, move);
    QFETCH(QPoint, outlined);
    const QPoint from = band ? QPoint(200, 150) : CubeCentre(*m_doc, 2, 2);
    // Through several places; the feedback shows only the last one.
    const QPoint to = from + move;
    DragScript script{{from + QPoint(5, 5), from + QPoint(90, 40), from + QPoint(-30, 70), to}, {}};
    QRegion shown;
    script.beforeDrop = [&] {
        shown = Inverted(OnScreen(*m_view), Plain(*m_view), QPoint());
    };
    Gesture(*m_view, from, script);
    QRegion expected;
    if (band) {
        const QRect band(QPoint(130, 150), QPoint(200, 200));
        expected = QRegion(band).subtracted(band.adjusted(1, 1, -1, -1));
    } else {
        const QPoint origin = m_doc->Figure().GetCellOrigin(outlined.x(), outlined.y());
        expected = RegionBorder(GetCubeRegion(origin.x(), origin.y(), m_doc->Figure().CubeSize, 0));
    }
    COMPARE_PIXELS(shown, expected);
    // After the drop the screen shows the workspace alone.
    QVERIFY(Inverted(OnScreen(*m_view), Plain(*m_view), QPoint()).isEmpty());
}

void TestSelectMove::scrollsNearBorder()
{
    const QPoint from = CubeCentre(*m_doc, 2, 2);
    const QPoint bottom(from.x() + 4, 295);
    QPoint offset;
    DragScript script{{from + QPoint(5, 5), bottom}, {}};
    script.beforeDrop = [&] {
        QVERIFY(m_view->handler.IsAutoScrolling());
        QTRY_VERIFY(m_view->verticalScrollBar()->value() >= 60);
        // Away from the border the scrolling stops.
        QMimeData own;
        own.setData(m_view->handler.DragFormat(), QByteArray(16, '\0'));
        QDragMoveEvent move(bottom - QPoint(0, 30), CopyOrMove, &own, Qt::LeftButton, {});
        QApplication::sendEvent(m_view->viewport(), &move);
        QVERIFY(!m_view->handler.IsAutoScrolling());
        const QPoint scroll(0, m_view->verticalScrollBar()->value());
        offset = DragOffset(*m_doc, from, bottom + scroll);
        // The outlines on screen are those of the cell now under the pointer.
        const QPoint shift = m_view->handler.LastFeedback() - from;
        const QPoint target = CDragOffset::DropTarget(QPoint(2, 2),
                                                      DragOffset(*m_doc, from, move.position().toPoint() + scroll));
        QCOMPARE(m_doc->Figure().GetCellOrigin(2, 2) + shift, m_doc->Figure().GetCellOrigin(target.x(), target.y()));
        const QPoint origin = m_doc->Figure().GetCellOrigin(target.x(), target.y());
        COMPARE_PIXELS(Inverted(OnScreen(*m_view), Plain(*m_view), scroll),
                       RegionBorder(GetCubeRegion(origin.x(), origin.y(), m_doc->Figure().CubeSize, 0)));
    };
    Gesture(*m_view, from, script);
    QVERIFY(offset.y() > (295 - from.y()) / 12);
    QCOMPARE(m_doc->Selection()->Cells(), QVector<QPoint>{CDragOffset::DropTarget(QPoint(2, 2), offset)});
}

void TestSelectMove::xorRect_data()
{
    QTest::addColumn<QRect>("corners"); // (x1, y1) and (x2, y2) as left/top and right/bottom
    QTest::addColumn<QRegion>("inverted");
    QRegion frame = QRegion(2, 3, 6, 4).subtracted(QRegion(3, 4, 4, 2));
    QTest::newRow("down right") << QRect(QPoint(2, 3), QPoint(7, 6)) << frame;
    QTest::newRow("up left") << QRect(QPoint(7, 6), QPoint(2, 3)) << frame;
    // A line: the sides back and forth cancel but for the two corners.
    QTest::newRow("no width") << QRect(QPoint(4, 2), QPoint(4, 8)) << (QRegion(4, 2, 1, 1) + QRegion(4, 8, 1, 1));
    QTest::newRow("a point") << QRect(QPoint(4, 4), QPoint(4, 4)) << QRegion();
}

void TestSelectMove::xorRect()
{
    QFETCH(QRect, corners);
    QFETCH(QRegion, inverted);
    QImage plain(12, 12, QImage::Format_RGB32);
    plain.fill(QColor(0x20, 0x80, 0xC0));
    QImage image = plain;
    {
        QPainter painter(&image);
        DrawXorRect(painter, corners.left(), corners.top(), corners.right(), corners.bottom());
    }
    COMPARE_PIXELS(Inverted(image, plain, QPoint()), inverted);
    {
        QPainter painter(&image);
        DrawXorRect(painter, corners.left(), corners.top(), corners.right(), corners.bottom());
    }
    QCOMPARE(image, plain);
}

// The editor's view hands its events to the handler and paints the feedback over its
// own picture of the workspace.
void TestSelectMove::workspaceView()
{
    CTarvexView view(*m_doc);
    view.SetCurrentCubeSource([] { return 0; });
    QVERIFY(Shown(view, {500, 400}));
    QWidget *viewport = view.viewport();
    const QRect area(viewport->mapTo(&view, QPoint(0, 0)), viewport->size());
    auto shown = [&] {
        QCoreApplication::processEvents();
        return view.screen()
            ->grabWindow(view.winId(), area.x(), area.y(), area.width(), area.height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    };
    const QImage before = shown();
    QRegion outlines;
    const QPoint from = CubeCentre(*m_doc, 2, 2);
    DragScript script{{from + QPoint(8, 8), from + QPoint(2, 13)}, {}};
    script.beforeDrop = [&] {
        outlines = Inverted(shown(), before, QPoint());
    };
    view.SelectMove()->SetDragRunner([&](QDrag &drag) { return Play(viewport, drag.mimeData(), script); });
    PressAndMove(viewport, from, script.points.first(), {});
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, script.points.last());

    const QPoint origin = m_doc->Figure().GetCellOrigin(2, 3);
    COMPARE_PIXELS(outlines, RegionBorder(GetCubeRegion(origin.x(), origin.y(), m_doc->Figure().CubeSize, 0)));
    QCOMPARE(m_doc->Selection()->Cells(), QVector<QPoint>{QPoint(2, 3)});
    QCOMPARE(shown(), viewport->grab().toImage().convertToFormat(QImage::Format_RGB32));

    QTest::keyClick(&view, Qt::Key_Delete);
    QCOMPARE(m_doc->Figure().Cell(2, 3), -1);
    QCOMPARE(m_doc->UndoCount(), 2);
    // With the mode off a press places a cube again.
    m_doc->ToggleSelectMode();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, CubeCentre(*m_doc, 6, 6));
    QVERIFY(m_doc->Figure().Cell(6, 6) >= 0);
}

void TestSelectMove::mainFrameNamesTheFormat()
{
    CMainFrame frame(*m_doc);
    frame.RegisterDragFormat();
    QVERIFY(frame.DragCubeFormat().contains(QLatin1String("DragCube")));
    QCOMPARE(frame.GetView()->SelectMove()->DragFormat(), frame.DragCubeFormat());
}

QTEST_MAIN(TestSelectMove)
#include "tst_selectmove.moc"
