// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing at device pixels and zooming: the view, the cubes library and the constructor
// at the screen's device pixel ratio (this test also runs with QT_SCALE_FACTOR 1.5 and
// 2), and the pointer acting on what is drawn under it at every zoom level.

#include "document/tarvexdoc.h"
#include "geometry/cubepainter.h"
#include "geometry/workspacerenderer.h"
#include "support/imagecompare.h"
#include "support/referencescan.h"
#include "ui/selection/cubeconstructor.h"
#include "ui/selection/cubeslibrary.h"
#include "view/tarvexview.h"
#include "support/testdocument.h"
#include "support/workspaceorigin.h"
#include "view/zoombox.h"

#include <QBackingStore>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QtTest>

namespace {

struct CZoomFixture
{
    CTarvexDoc doc{false};
    CTarvexView view{doc};
    int kind = 5;

    explicit CZoomFixture(int zoomPercent, int grid = 12, int cubeSize = CFigure::DefaultCubeSize)
    {
        doc.ResizeGrid(grid, grid);
        EditFigure(doc, [cubeSize](CFigure &figure) { figure.CubeSize = cubeSize; });
        QRandomGenerator random(7);
        for (int r = 0; r < grid; ++r)
            for (int c = 0; c < RowLength(grid, r); ++c)
                if (random.bounded(3) == 0)
                    PlaceCube(doc, c, r, int(random.bounded(64)));
        MarkSaved(doc);
        view.SetCurrentCubeSource([this] { return kind; });
        view.setFrameShape(QFrame::NoFrame);
        view.resize(310, 230);
        view.show();
        doc.UpdateAllViews();
        view.SetZoomIndex(int(CTarvexView::ZoomLevels().indexOf(zoomPercent)), QPointF(0, 0));
        view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum() / 3);
        view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum() / 2);
    }
    qreal Ratio() const { return view.DevicePixelRatio(); }
    // The viewport point (logical) showing device pixel p of the drawn workspace.
    QPointF ViewportPoint(const QPoint &p) const { return QPointF(p + DeviceWorkspaceOrigin(view)) / Ratio(); }
    // The device pixel showing the centre of cell (column, row).
    QPoint Dot(int column, int row) const
    {
        const CViewMapping mapping = view.Mapping();
        const int half = doc.Figure().CubeSize / 2;
        const QPoint centre = CellOrigin(column, row, doc.Figure().GetCellPitch()) + QPoint(half, half);
        return QPoint(mapping.Scaled(centre.x()), mapping.Scaled(centre.y()));
    }
    bool Averaged() const { return view.DisplaySize() < CWorkspaceRenderer::MinCrispSize; }
    bool Visible(const QPoint &p) const
    {
        return view.viewport()->rect().adjusted(2, 2, -2, -2).contains(ViewportPoint(p).toPoint());
    }
    void Click(const QPoint &workspacePoint, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QPointF local = ViewportPoint(workspacePoint);
        const QPointF global = view.viewport()->mapToGlobal(local);
        QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, modifiers);
        QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, modifiers);
        QApplication::sendEvent(view.viewport(), &press);
        QApplication::sendEvent(view.viewport(), &release);
    }
};

QImage Device(const QImage &image)
{
    QImage copy = image.convertToFormat(QImage::Format_RGB32);
    copy.setDevicePixelRatio(1.0);
    return copy;
}

void AddZoomRows()
{
    QTest::addColumn<int>("zoom");
    for (int zoom : {7, 15, 25, 33, 50, 67, 100, 150, 250, 400})
        QTest::addRow("%d %%", zoom) << zoom;
}

// The same with the cube size; cubes of 65 at 400 % are larger than any kept picture.
void AddZoomAndSizeRows()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<int>("cubeSize");
    for (int zoom : {7, 15, 25, 33, 50, 67, 100, 150, 250, 400})
        QTest::addRow("%d %%", zoom) << zoom << int(CFigure::DefaultCubeSize);
    QTest::addRow("400 %%, cube size 65") << 400 << 65;
}

} // namespace

class TestZoom : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void viewDrawsAtTheDisplaySize_data() { AddZoomAndSizeRows(); }
    void viewDrawsAtTheDisplaySize();
    void windowPixelsEqualTheGrab_data() { AddZoomRows(); }
    void windowPixelsEqualTheGrab();
    void clickAtDotPlacesOnItsCell_data() { AddZoomRows(); }
    void clickAtDotPlacesOnItsCell();
    void selectClickPicksTheDrawnCube_data() { AddZoomRows(); }
    void selectClickPicksTheDrawnCube();
    void ctrlWheelKeepsThePointUnderThePointer();
    void keysStepAndResetWithoutEditing();
    void zoomBoxFollowsKeysWheelAndTyping();
    void pickersDrawAtDevicePixels();
};

void TestZoom::viewDrawsAtTheDisplaySize()
{
    QFETCH(int, zoom);
    QFETCH(int, cubeSize);
    for (bool selected : {false, true}) {
        CZoomFixture f(zoom, 12, cubeSize);
        if (selected)
            SelectEveryCube(f.doc);
        const CViewMapping mapping = f.view.Mapping();
        const int size = f.view.DisplaySize();
        QCOMPARE(size, qMax(1, qRound(cubeSize * zoom * f.Ratio() / 100.0)));
        const QImage grabbed = Device(f.view.viewport()->grab().toImage());
        // The whole workspace: every cube by the cube painter at the display size at
        // its true position times the scale, or the true drawing averaged where cubes
        // are too small; cut where the view is scrolled to, or centred.
        const QSize workspace = mapping.WorkspaceSize(f.doc.Figure());
        const QPoint origin = DeviceWorkspaceOrigin(f.view);
        const QPoint at(qMax(0, origin.x()), qMax(0, origin.y()));
        QImage whole(workspace + QSize(at.x(), at.y()) + grabbed.size(), QImage::Format_RGB32);
        whole.fill(ColorFromRef(f.doc.Figure().BkColor));
        {
            QPainter painter(&whole);
            painter.translate(at);
            if (f.Averaged()) {
                CWorkspaceRenderer::Params params;
                params.CubeSize = cubeSize;
                params.Zoom = mapping.Scale();
                params.Dots = true;
                params.Selected = f.doc.SelectedCells();
                painter.drawImage(0, 0,
                                  CWorkspaceRenderer().DrawAveraged(
                                      f.doc.Figure(), QRect(QPoint(0, 0), f.doc.Figure().GetWorkspaceSize()),
                                      ColorFromRef(f.doc.Figure().BkColor).rgb(), params));
            } else {
                DrawFigureByPainter(painter, f.doc.Figure(), cubeSize, QPoint(0, 0), true, f.doc.SelectedCells(),
                                    mapping.Scale());
            }
        }
        const QImage expected = whole.copy(QRect(at - origin, grabbed.size()));
        // Huge cubes are the painter's polygons, drawn at other coordinates than the
        // reference's; the rasteriser may put a few edge pixels differently.
        const QString difference = size > CWorkspaceRenderer::MaxCachedSize
                                       ? EdgeTolerantDifference(grabbed, expected, 19)
                                       : ImageDifference(grabbed, expected);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }
    // Each zoom level shows the workspace at a size of its own.
    CZoomFixture f(zoom, 12, cubeSize);
    QSize last;
    for (int percent : CTarvexView::ZoomLevels()) {
        const QSize size = CViewMapping(cubeSize, QPoint(), f.Ratio(), percent).WorkspaceSize(f.doc.Figure());
        QVERIFY(size.width() > last.width() && size.height() > last.height());
        last = size;
    }
}

// On screen the view draws straight into the window's pixels; they equal its drawing
// grabbed into an image of its own.
void TestZoom::windowPixelsEqualTheGrab()
{
    QFETCH(int, zoom);
    CZoomFixture f(zoom);
    SelectEveryCube(f.doc);
    QVERIFY(QTest::qWaitForWindowExposed(&f.view));
    f.view.viewport()->repaint();
    // The viewport's device pixels in the window's backing store.
    QPaintDevice *store = f.view.window()->backingStore()->paintDevice();
    QVERIFY(store && store->devType() == QInternal::Image);
    const QRect area = QRectF(QPointF(f.view.viewport()->mapTo(f.view.window(), QPoint(0, 0))) * f.Ratio(),
                              QSizeF(f.view.viewport()->size()) * f.Ratio())
                           .toAlignedRect();
    const QImage shown = Device(static_cast<QImage *>(store)->copy(area));
    QCOMPARE(shown, Device(f.view.viewport()->grab().toImage()));
}

void TestZoom::clickAtDotPlacesOnItsCell()
{
    QFETCH(int, zoom);
    CZoomFixture f(zoom);
    int clicked = 0;
    for (int r = 0; r < 12; ++r) {
        for (int c = 0; c < RowLength(12, r); ++c) {
            const QPoint dot = f.Dot(c, r);
            if (!f.Visible(dot))
                continue;
            f.kind = (c + r) % 64;
            f.Click(dot);
            QCOMPARE(f.doc.Figure().Cell(c, r), f.kind);
            ++clicked;
        }
    }
    QVERIFY(clicked > 0);
    QCOMPARE(f.doc.UndoCount(), clicked);
}

void TestZoom::selectClickPicksTheDrawnCube()
{
    QFETCH(int, zoom);
    CZoomFixture f(zoom);
    // Averaged pictures have no cubes to pick one by one.
    if (f.Averaged())
        return;
    f.doc.ToggleSelectMode();
    const QSize grid = f.doc.Figure().GridSize();
    int picked = 0;
    // A click on the pixel showing a cube's centre selects that cube.
    for (int r = 0; r < grid.height(); ++r) {
        for (int c = 0; c < RowLength(grid.width(), r); ++c) {
            if (f.doc.Figure().Cell(c, r) < 0 || !f.Visible(f.Dot(c, r)))
                continue;
            const QPoint dot = f.Dot(c, r);
            QCOMPARE(f.view.Mapping().CubeAt(f.doc.Figure(), dot), QPoint(c, r));
            f.Click(dot);
            QCOMPARE(f.doc.Selection()->Cells(), QVector<QPoint>{QPoint(c, r)});
            ++picked;
        }
    }
    QVERIFY(picked > 0);
}

void TestZoom::ctrlWheelKeepsThePointUnderThePointer()
{
    CZoomFixture f(100, 60);
    const QPointF pointer(123, 77);
    // The figure's point under the pointer, in its own pixels.
    auto figurePoint = [&] {
        return QPointF(f.view.ToWorkspace(pointer)) / f.view.Mapping().Scale();
    };
    for (int delta : {120, 120, -120, -120, -120, -120, 120}) {
        const QPointF before = figurePoint();
        const int index = f.view.ZoomIndex();
        QWheelEvent wheel(pointer, f.view.viewport()->mapToGlobal(pointer), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(f.view.viewport(), &wheel);
        QCOMPARE(f.view.ZoomIndex(), index + delta / 120);
        const QPointF after = figurePoint();
        // Within a logical pixel (plus rounding) of where it was, on screen.
        const double scale = f.view.Mapping().Scale();
        QVERIFY2(
            qAbs(after.x() - before.x()) * scale <= 2 * f.Ratio() + 1
                && qAbs(after.y() - before.y()) * scale <= 2 * f.Ratio() + 1,
            qPrintable(
                QStringLiteral("(%1, %2) -> (%3, %4)").arg(before.x()).arg(before.y()).arg(after.x()).arg(after.y())));
    }
}

void TestZoom::keysStepAndResetWithoutEditing()
{
    CZoomFixture f(100);
    f.doc.TakeSnapshot();
    const int undo = f.doc.UndoCount();
    const int saved = f.doc.IsSaved();
    struct Step
    {
        int key;
        int percent;
    };
    const Step steps[] = {{Qt::Key_Plus, 125}, {Qt::Key_Equal, 150}, {Qt::Key_0, 100},
                          {Qt::Key_Minus, 75}, {Qt::Key_Minus, 67},  {Qt::Key_0, 100}};
    for (const Step &s : steps) {
        QTest::keyClick(&f.view, Qt::Key(s.key), Qt::ControlModifier);
        QCOMPARE(f.view.ZoomPercent(), s.percent);
        QCOMPARE(f.doc.UndoCount(), undo);
        QCOMPARE(f.doc.IsSaved(), saved);
    }
    for (int i = 0; i < 30; ++i)
        QTest::keyClick(&f.view, Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(f.view.ZoomPercent(), CTarvexView::ZoomLevels().first());
    QTest::keyClick(&f.view, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(f.view.DisplaySize(), qRound(f.doc.Figure().CubeSize * f.Ratio()));
}

void TestZoom::zoomBoxFollowsKeysWheelAndTyping()
{
    CZoomFixture f(100, 30);
    CZoomBox box(f.view);
    box.show();
    // What the user does, and the zoom then (0: the zoom that fits the window).
    struct Step
    {
        const char *key; // a Ctrl key, "wheel+" / "wheel-", "fit" (the list's Fit), or typed text
        int percent;
    };
    const Step steps[] = {{"+", 125}, {"wheel-", 100}, {"wheel-", 75}, {"150", 150},  {"160 %", 160},
                          {"+", 200}, {"-", 150},      {"5", 150},     {"1000", 150}, {"abc", 150},
                          {"fit", 0}, {"0", 100},      {"9", 0},       {" 67% ", 67}};
    for (const Step &s : steps) {
        const QByteArray what(s.key);
        if (what == "+" || what == "-" || what == "0" || what == "9") {
            const Qt::Key key = what == "+"   ? Qt::Key_Plus
                                : what == "-" ? Qt::Key_Minus
                                : what == "0" ? Qt::Key_0
                                              : Qt::Key_9;
            QTest::keyClick(&f.view, key, Qt::ControlModifier);
        } else if (what.startsWith("wheel")) {
            const QPointF pointer(50, 40);
            QWheelEvent wheel(pointer, f.view.viewport()->mapToGlobal(pointer), QPoint(),
                              QPoint(0, what.endsWith('+') ? 120 : -120), Qt::NoButton, Qt::ControlModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(f.view.viewport(), &wheel);
        } else if (what == "fit") {
            Q_EMIT box.activated(box.count() - 1);
        } else {
            box.lineEdit()->selectAll();
            QTest::keyClicks(box.lineEdit(), QString::fromLatin1(what));
            QTest::keyClick(box.lineEdit(), Qt::Key_Return);
        }
        const int expected = s.percent ? s.percent : f.view.FitPercent();
        QVERIFY2(f.view.ZoomPercent() == expected, s.key);
        QCOMPARE(box.currentText(), CZoomBox::PercentText(expected));
        if (!s.percent) {
            // Fit: the whole workspace in the window.
            QCOMPARE(f.view.horizontalScrollBar()->maximum(), 0);
            QCOMPARE(f.view.verticalScrollBar()->maximum(), 0);
            QVERIFY(expected < 100);
        }
    }
}

void TestZoom::pickersDrawAtDevicePixels()
{
    CCubesLibrary library;
    library.show();
    const qreal d = library.devicePixelRatioF();
    const QImage shown = Device(library.grab().toImage());
    QCOMPARE(shown.size(), (QSizeF(library.size()) * d).toSize());
    // Each picture is the cube painter's drawing at the device size of the picture.
    for (int index : {9, 40, 63}) { // not the selected kind 0, shown on a checker
        const QRect cell = library.CellRect(index);
        const int size = qRound(library.GetImageSize() * d);
        const QPoint corner = (QPointF(cell.left(), cell.top() + 1) * d).toPoint();
        QImage expected(size + 1, size + 1, QImage::Format_RGB32);
        expected.fill(shown.pixel(corner));
        {
            QPainter painter(&expected);
            PreparePainter(painter);
            CCubePainter cube;
            cube.Size = size;
            cube.Index = index;
            cube.Draw(painter);
        }
        const QImage drawn = shown.copy(QRect(corner + QPoint(1, 1), QSize(size - 1, size - 1)));
        QCOMPARE(drawn, expected.copy(QRect(QPoint(1, 1), QSize(size - 1, size - 1))));
    }

    CCubeConstructor constructor;
    constructor.resize(150, 120);
    constructor.SetCubeIndex(21);
    constructor.show();
    const QImage built = Device(constructor.grab().toImage());
    const int side = qRound(120 * d);
    QImage expected(built.size(), QImage::Format_RGB32);
    expected.fill(built.pixel(0, 0));
    {
        QPainter painter(&expected);
        CCubePainter cube;
        cube.DrawOutline = true;
        cube.DrawPartBorders = true;
        cube.Index = 21;
        cube.Size = side;
        cube.Left = (built.width() - side) / 2;
        cube.Draw(painter);
    }
    if (built != expected) {
        built.save(QDir::temp().filePath("tarvex-zoom-built.png"));
        expected.save(QDir::temp().filePath("tarvex-zoom-expected.png"));
    }
    QCOMPARE(built, expected);
}

QTEST_MAIN(TestZoom)
#include "tst_zoom.moc"
