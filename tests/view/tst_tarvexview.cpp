// SPDX-License-Identifier: GPL-3.0-or-later
// The workspace view: painting against the cube painter's own drawing, placing and
// erasing by click, scrolling, cursors and printing.

#include "document/cubeselection.h"
#include "document/tarvexdoc.h"
#include "support/referencescan.h"
#include "support/shownwidget.h"
#include "view/paintwatch.h"
#include "view/tarvexview.h"
#include "view/selectmovehandler.h"
#include "view/viewpainter.h"
#include "view/viewtool.h"
#include "support/testdocument.h"
#include "support/workspaceorigin.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRandomGenerator>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A figure with overlapping cubes of many kinds: every third cell of a band of rows,
// plus a dense block where neighbours cut each other's corners.
void FillFigure(CTarvexDoc &doc, quint32 seed)
{
    QRandomGenerator random(seed);
    const QSize grid = doc.Figure().GridSize();
    for (int r = 0; r < grid.height(); ++r)
        for (int c = 0; c < RowLength(grid.width(), r); ++c)
            if (random.bounded(3) == 0)
                PlaceCube(doc, c, r, int(random.bounded(64)));
    for (int r = 2; r < qMin(12, grid.height()); ++r)
        for (int c = 1; c < qMin(6, RowLength(grid.width(), r)); ++c)
            PlaceCube(doc, c, r, int(random.bounded(64)));
}

void SelectSome(CTarvexDoc &doc, quint32 seed)
{
    doc.ToggleSelectMode();
    QRandomGenerator random(seed);
    const QSize grid = doc.Figure().GridSize();
    for (int r = 0; r < grid.height(); ++r)
        for (int c = 0; c < RowLength(grid.width(), r); ++c)
            if (doc.Figure().Cell(c, r) >= 0 && random.bounded(2) == 0)
                doc.SelectCells({QPoint(c, r)}, true);
}

// What the cube painter shows of the workspace in a viewport that draws the
// workspace's corner at origin (WorkspaceOrigin). It paints the whole workspace and
// cuts the viewport out, since the raster engine may fill a polygon cut by the
// image's edge a pixel differently.
QImage Reference(const CTarvexDoc &doc, const QSize &size, const QPoint &origin)
{
    const QSize workspace = doc.Figure().GetWorkspaceSize();
    const QPoint at(qMax(0, origin.x()), qMax(0, origin.y()));
    QImage whole(workspace + QSize(at.x(), at.y()) + size, QImage::Format_RGB32);
    whole.fill(ColorFromRef(doc.Figure().BkColor));
    {
        QPainter painter(&whole);
        painter.translate(at); // the grey anchored at the workspace's corner, as the view's
        DrawFigureByPainter(painter, doc.Figure(), doc.Figure().CubeSize, QPoint(0, 0), true, doc.SelectedCells());
    }
    return whole.copy(QRect(at - origin, size));
}

QImage Grab(CTarvexView &view)
{
    return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The centre of cell (column, row) in viewport coordinates.
QPoint CellCentre(const CTarvexView &view, int column, int row)
{
    const CTarvexDoc &doc = view.GetDocument();
    const int h = doc.Figure().CubeSize / 2;
    return doc.Figure().GetCellOrigin(column, row) + QPoint(h, h) + WorkspaceOrigin(view);
}

// The box of the pixels that are not white.
QRect NonWhiteBox(const QImage &image)
{
    int x0 = image.width(), y0 = image.height(), x1 = -1, y1 = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                x0 = qMin(x0, x);
                x1 = qMax(x1, x);
                y0 = qMin(y0, y);
                y1 = qMax(y1, y);
            }
    return x1 < 0 ? QRect() : QRect(QPoint(x0, y0), QPoint(x1, y1));
}

// A widget showing a figure through the view's painter, with feedback of its own:
// an XOR frame the painter is told the bounds of.
class CPaintedFigure : public QWidget
{
public:
    CPaintedFigure()
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        Figure.CubeSize = 32;
    }
    CFigure Figure;
    QPoint Scroll{-20, -120}; // the workspace point at the widget's corner
    double Zoom = 1.0;
    QRect Frame; // the feedback, in workspace points (null: none)
    CCubeSelection Selection;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QPainter painter(this);
        const CViewPainter::Area area{event->rect(),
                                      size(),
                                      event->region().rectCount() == 1,
                                      1.0,
                                      Scroll,
                                      Zoom,
                                      Frame.isNull() ? QRect() : Frame.adjusted(-1, -1, 1, 1)};
        m_painter.Paint(painter, area, Figure, &Selection, [this](QPainter &overlay) {
            overlay.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            overlay.setPen(Qt::white);
            if (!Frame.isNull())
                overlay.drawRect(Frame);
        });
    }

private:
    CViewPainter m_painter;
    CPaintWatch m_watch{*this, [this] {
                            m_painter.Forget();
                        }};
};

// Half-transparent red.
class CTranslucentCover : public QWidget
{
protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), QColor(255, 0, 0, 128)); }
};

// What the window shows of a widget: its backing store's pixels.
QImage InWindow(QWidget &widget)
{
    const QPoint at = widget.mapTo(widget.window(), QPoint(0, 0));
    return widget.screen()
        ->grabWindow(widget.window()->winId(), at.x(), at.y(), widget.width(), widget.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestTarvexView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void paintsLikeTheDocument_data();
    void paintsLikeTheDocument();
    void picturesFollowSizeAndColours();
    void clickPlacesOrErases_data();
    void clickPlacesOrErases();
    void clickUsesTheScrollPosition();
    void clickInSelectModeDoesNotPlace();
    void scrollRangeFollowsTheWorkspace();
    void cursorFollowsModeCellAndCtrl_data();
    void cursorFollowsModeCellAndCtrl();
    void ctrlReChoosesTheCursorWithoutMoving();
    void cursorPictures_data();
    void cursorPictures();
    void printsTheFigureCentredOnThePage();
    void repaintRewritesWhatChanged_data();
    void repaintRewritesWhatChanged();
    void feedbackStaysInItsBounds_data();
    void feedbackStaysInItsBounds();
};

void TestTarvexView::paintsLikeTheDocument_data()
{
    QTest::addColumn<int>("cubeSize");
    QTest::addColumn<bool>("select");
    QTest::addColumn<QPoint>("scroll");
    QTest::addColumn<quint32>("bkColor");
    QTest::newRow("size 32, top left") << 32 << false << QPoint(0, 0) << 0xFFFFFFu;
    QTest::newRow("size 32, selection") << 32 << true << QPoint(0, 0) << 0xFFFFFFu;
    QTest::newRow("selection, odd scroll x") << 32 << true << QPoint(37, 20) << 0xFFFFFFu;
    QTest::newRow("selection, odd scroll y") << 32 << true << QPoint(40, 23) << 0x336699u;
    QTest::newRow("size 16, selection") << 16 << true << QPoint(3, 5) << 0x000000u;
    QTest::newRow("size 33, selection") << 33 << true << QPoint(11, 0) << 0x00FFFFu;
    QTest::newRow("size 200, selection") << 200 << true << QPoint(101, 77) << 0xFFFFFFu;
}

void TestTarvexView::paintsLikeTheDocument()
{
    QFETCH(int, cubeSize);
    QFETCH(bool, select);
    QFETCH(QPoint, scroll);
    QFETCH(quint32, bkColor);
    CTestDocument doc;
    EditFigure(doc, [&](CFigure &f) { f.CubeSize = cubeSize; });
    EditFigure(doc, [&](CFigure &f) { f.BkColor = bkColor; });
    EditFigure(doc, [&](CFigure &f) { f.Color1 = 0x123456; });
    doc.ResizeGrid(30, 80);
    FillFigure(doc, 5);
    if (select)
        SelectSome(doc, 9);
    CTarvexView view(doc);
    QVERIFY(Shown(view, {420, 300}));
    view.horizontalScrollBar()->setValue(scroll.x());
    view.verticalScrollBar()->setValue(scroll.y());
    QCOMPARE(view.ScrollPosition(), scroll);
    const QImage shown = Grab(view);
    const QImage expected = Reference(doc, shown.size(), WorkspaceOrigin(view));
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (shown.pixel(x, y) != expected.pixel(x, y))
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is %3, expected %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(shown.pixel(x, y), 0, 16)
                                     .arg(expected.pixel(x, y), 0, 16)));
}

void TestTarvexView::picturesFollowSizeAndColours()
{
    CTestDocument doc(10, 10, {{2, 2}});
    CTarvexView view(doc);
    QVERIFY(Shown(view, {500, 300}));
    Grab(view);
    EditFigure(doc, [&](CFigure &f) { f.Color2 = 0x00FFFF; });
    EditFigure(doc, [&](CFigure &f) { f.CubeSize = 40; });
    Q_EMIT doc.UpdateAllViews();
    const QImage shown = Grab(view);
    QCOMPARE(shown, Reference(doc, shown.size(), WorkspaceOrigin(view)));
}

void TestTarvexView::clickPlacesOrErases_data()
{
    QTest::addColumn<int>("before");    // cell value before the click
    QTest::addColumn<int>("picked");    // GetCurrentCube
    QTest::addColumn<QPoint>("offset"); // from the cell's centre
    QTest::addColumn<int>("after");     // -2: no click handled
    QTest::newRow("place on empty") << -1 << 5 << QPoint(0, 0) << 5;
    QTest::newRow("place 5 px from centre") << -1 << 0 << QPoint(5, 0) << 0;
    QTest::newRow("place 5 px above centre") << -1 << 0 << QPoint(0, -5) << 0;
    QTest::newRow("nothing 6 px from centre") << -1 << 0 << QPoint(6, 0) << -2;
    QTest::newRow("empty cube erases") << 7 << 64 << QPoint(0, 0) << -1;
    QTest::newRow("erasing an empty cell") << -1 << 64 << QPoint(0, 0) << -1;
    QTest::newRow("same kind again") << 12 << 12 << QPoint(0, 0) << 12;
}

void TestTarvexView::clickPlacesOrErases()
{
    QFETCH(int, before);
    QFETCH(int, picked);
    QFETCH(QPoint, offset);
    QFETCH(int, after);
    CTestDocument doc(10, 10);
    // A neighbour whose facing corner stays as it is when the cell is erased.
    PlaceCube(doc, 3, 3, 0);
    if (before >= 0)
        PlaceCube(doc, 3, 4, before);
    MarkSaved(doc);
    const qint32 neighbour = doc.Figure().Cell(3, 3);
    CTarvexView view(doc);
    view.SetCurrentCubeSource([picked] { return picked; });
    QVERIFY(Shown(view, {400, 300}));
    int updates = 0;
    connect(&doc, &CTarvexDoc::UpdateAllViews, this, [&updates] { ++updates; });

    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, CellCentre(view, 3, 4) + offset);
    if (after == -2) {
        QCOMPARE(doc.UndoCount(), 0);
        QCOMPARE(updates, 0);
        QCOMPARE(doc.IsSaved(), 1);
        return;
    }
    QCOMPARE(doc.Figure().Cell(3, 4), after);
    QCOMPARE(doc.UndoCount(), 1);
    QCOMPARE(updates, 1);
    QCOMPARE(doc.IsSaved(), 0);
    if (after < 0)
        QCOMPARE(doc.Figure().Cell(3, 3), neighbour);
    doc.OnEditUndo();
    QCOMPARE(doc.Figure().Cell(3, 4), qint32(before));
}

void TestTarvexView::clickUsesTheScrollPosition()
{
    CTestDocument doc(40, 60);
    CTarvexView view(doc);
    view.SetCurrentCubeSource([] { return 9; });
    QVERIFY(Shown(view, {300, 200}));
    view.horizontalScrollBar()->setValue(100);
    view.verticalScrollBar()->setValue(50);
    QCOMPARE(view.ToWorkspace(QPoint(10, 10)), QPoint(110, 60));
    // The cell whose centre is nearest to workspace (110 + 16, 60 + 16).
    const QPoint cell = doc.Figure().CellFromPoint(126, 76);
    QVERIFY(cell.x() >= 0);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(26, 26));
    QCOMPARE(doc.Figure().Cell(cell.x(), cell.y()), 9);
}

void TestTarvexView::clickInSelectModeDoesNotPlace()
{
    CTestDocument doc(10, 10, {{1, 1}});
    doc.ToggleSelectMode();
    CTarvexView view(doc);
    view.SetCurrentCubeSource([] { return 3; });
    QVERIFY(Shown(view, {400, 300}));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, CellCentre(view, 4, 4));
    QCOMPARE(doc.Figure().Cell(4, 4), -1);
    QCOMPARE(doc.UndoCount(), 0);
}

void TestTarvexView::scrollRangeFollowsTheWorkspace()
{
    CTestDocument doc(10, 10);
    CTarvexView view(doc);
    QVERIFY(Shown(view, {600, 400}));
    // 10 x 10 cells at size 32 fit: nothing to scroll, the workspace centred.
    QCOMPARE(view.horizontalScrollBar()->maximum(), 0);
    QCOMPARE(view.verticalScrollBar()->maximum(), 0);
    const QSize room = view.viewport()->size() - doc.Figure().GetWorkspaceSize();
    QCOMPARE(WorkspaceOrigin(view), QPoint(room.width() / 2, room.height() / 2));

    doc.ResizeGrid(100, 100);
    Q_EMIT doc.UpdateAllViews();
    const QSize total = doc.Figure().GetWorkspaceSize();
    QCOMPARE(view.horizontalScrollBar()->maximum() + view.horizontalScrollBar()->pageStep(), total.width());
    QCOMPARE(view.verticalScrollBar()->maximum() + view.verticalScrollBar()->pageStep(), total.height());
    view.horizontalScrollBar()->setValue(70);
    QCOMPARE(WorkspaceOrigin(view), QPoint(-70, 0));

    EditFigure(doc, [&](CFigure &f) { f.CubeSize = 16; });
    Q_EMIT doc.UpdateAllViews();
    const QSize smaller = doc.Figure().GetWorkspaceSize();
    QCOMPARE(view.horizontalScrollBar()->maximum() + view.horizontalScrollBar()->pageStep(), smaller.width());
    QCOMPARE(view.verticalScrollBar()->maximum() + view.verticalScrollBar()->pageStep(), smaller.height());
}

void TestTarvexView::cursorFollowsModeCellAndCtrl_data()
{
    QTest::addColumn<bool>("selectMode");
    QTest::addColumn<QPoint>("offset"); // from the centre of cell (2, 2)
    QTest::addColumn<bool>("ctrl");
    QTest::addColumn<int>("cursor");
    QTest::newRow("on a cell") << false << QPoint(0, 0) << false << 135;
    QTest::newRow("5 px off, still the cell") << false << QPoint(0, 5) << false << 135;
    QTest::newRow("6 px off, no cell") << false << QPoint(6, 0) << false << 136;
    QTest::newRow("ctrl does not matter when drawing") << false << QPoint(0, 0) << true << 135;
    QTest::newRow("select mode") << true << QPoint(0, 0) << false << 173;
    QTest::newRow("select mode with ctrl") << true << QPoint(6, 0) << true << 172;
}

void TestTarvexView::cursorFollowsModeCellAndCtrl()
{
    QFETCH(bool, selectMode);
    QFETCH(QPoint, offset);
    QFETCH(bool, ctrl);
    QFETCH(int, cursor);
    CTestDocument doc(10, 10);
    if (selectMode)
        doc.ToggleSelectMode();
    CTarvexView view(doc);
    QVERIFY(Shown(view, {400, 300}));
    const QPoint p = CellCentre(view, 2, 2) + offset;
    QCOMPARE(int(view.ChooseCursor(p, ctrl ? Qt::ControlModifier : Qt::NoModifier)), cursor);
    QTest::mouseMove(view.viewport(), p);
    if (!ctrl)
        QCOMPARE(int(view.CurrentCursorId()), cursor);
}

void TestTarvexView::ctrlReChoosesTheCursorWithoutMoving()
{
    CTestDocument doc(10, 10, {{1, 1}});
    doc.ToggleSelectMode();
    CTarvexView view(doc);
    QVERIFY(Shown(view, {400, 300}));
    QTest::mouseMove(view.viewport(), QPoint(50, 50));
    QCOMPARE(int(view.CurrentCursorId()), 173);
    QTest::keyPress(&view, Qt::Key_Control, Qt::ControlModifier);
    QCOMPARE(int(view.CurrentCursorId()), 172);
    QTest::keyRelease(&view, Qt::Key_Control, Qt::NoModifier);
    QCOMPARE(int(view.CurrentCursorId()), 173);
}

void TestTarvexView::cursorPictures_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QPoint>("hotSpot");
    QTest::newRow("cube") << 135 << QPoint(10, 10);
    QTest::newRow("no cell") << 136 << QPoint(10, 9);
    QTest::newRow("copy") << 172 << QPoint(0, 0);
    QTest::newRow("arrow") << 173 << QPoint(0, 0);
}

void TestTarvexView::cursorPictures()
{
    QFETCH(int, id);
    QFETCH(QPoint, hotSpot);
    const QCursor cursor = CTarvexView::CursorFor(CTarvexView::CursorId(id));
    QCOMPARE(cursor.hotSpot(), hotSpot);
    const QImage picture = cursor.pixmap().toImage();
    QCOMPARE(picture.size(), QSize(32, 32));
    // The hot spot of the arrows is their tip, which must be drawn.
    if (hotSpot == QPoint(0, 0))
        QVERIFY(qAlpha(picture.pixel(0, 0)) != 0);
}

void TestTarvexView::printsTheFigureCentredOnThePage()
{
    const QString gs = QStandardPaths::findExecutable(QStringLiteral("gs"));
    if (gs.isEmpty())
        QSKIP("Ghostscript (gs) is needed to render the printed PDF page; scripts/deps.sh installs it.");
    // A small figure far from the workspace's top left corner.
    CTestDocument doc(20, 20, {{12, 14}, {13, 14}, {12, 16}});
    CTarvexView view(doc);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(15, 20, 15, 20), QPageLayout::Millimeter);
    view.PrintPage(&printer);
    QVERIFY(QFileInfo(pdf).size() > 0);

    // Render the page at the printer's own resolution, so one device pixel is one pixel.
    const int dpi = printer.resolution();
    const QString png = dir.filePath(QStringLiteral("page.png"));
    QProcess process;
    process.start(gs, {QStringLiteral("-q"), QStringLiteral("-dNOPAUSE"), QStringLiteral("-dBATCH"),
                       QStringLiteral("-dSAFER"), QStringLiteral("-sDEVICE=png16m"), QStringLiteral("-r%1").arg(dpi),
                       QStringLiteral("-sOutputFile=%1").arg(png), pdf});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 0);
    const QImage page(png);
    QVERIFY(!page.isNull());

    const QRect paper = printer.pageLayout().fullRectPixels(dpi);
    const QRect printable = printer.pageLayout().paintRectPixels(dpi);
    QVERIFY(qAbs(page.width() - paper.width()) <= 1);

    // The figure's pixels on the page and in the workspace: the same box, moved so
    // that the figure's bounding rectangle is centred on the printable area.
    const QRect onPage = NonWhiteBox(page);
    QImage workspace(doc.Figure().GetWorkspaceSize(), QImage::Format_RGB32);
    workspace.fill(Qt::white);
    {
        QPainter painter(&workspace);
        doc.DrawWorkspace(painter, false, 1, 0, 0, false);
    }
    const QRect inWorkspace = NonWhiteBox(workspace);
    QVERIFY(!onPage.isEmpty());
    // The PDF is vector output: its renderer may fill a polygon's edge pixels a little
    // differently, so sizes and places are compared to within two pixels.
    QVERIFY(qAbs(onPage.width() - inWorkspace.width()) <= 2);
    QVERIFY(qAbs(onPage.height() - inWorkspace.height()) <= 2);
    const CFigure::Bounds b = doc.Figure().GetBounds();
    const QPoint shift(printable.left() + (printable.width() - (b.right - b.left)) / 2 - b.left,
                       printable.top() + (printable.height() - (b.bottom - b.top)) / 2 - b.top);
    const QPointF found = QRectF(onPage).center();
    const QPointF expected = QRectF(inWorkspace.translated(shift)).center();
    QVERIFY2(qAbs(found.x() - expected.x()) <= 2 && qAbs(found.y() - expected.y()) <= 2,
             qPrintable(QStringLiteral("figure centred at (%1, %2) on the page, expected (%3, %4)")
                            .arg(found.x())
                            .arg(found.y())
                            .arg(expected.x())
                            .arg(expected.y())));
    // And the figure's box really sits in the middle of the page's printable area.
    const QPointF boxCentre(shift.x() + (b.left + b.right) / 2.0, shift.y() + (b.top + b.bottom) / 2.0);
    QVERIFY(qAbs(boxCentre.x() - QRectF(printable).center().x()) <= 1.0);
    QVERIFY(qAbs(boxCentre.y() - QRectF(printable).center().y()) <= 1.0);
}

QTEST_MAIN(TestTarvexView)
// A repaint leaves alone the rows already showing the background only while they do:
// not after the background changed, cubes left them, another widget painted over
// them or the feedback painted in them.
void TestTarvexView::repaintRewritesWhatChanged_data()
{
    QTest::addColumn<QString>("change");
    for (const char *change : {"nothing", "background", "fewer rows", "covered", "feedback", "one cube", "colours",
                               "cube size", "zoom", "scroll", "selection", "in two paints", "overlay", "filled first"})
        QTest::newRow(change) << QString(change);
}

void TestTarvexView::repaintRewritesWhatChanged()
{
    QFETCH(QString, change);
    QWidget window;
    window.resize(420, 360);
    CPaintedFigure view;
    view.setParent(&window);
    view.setGeometry(10, 10, 400, 340);
    CFigure::Resize(view.Figure.Grid, 14, 6);
    QRandomGenerator random(7);
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < RowLength(14, r); ++c)
            view.Figure.PlaceCube(c, r, int(random.bounded(64)));
    if (change == "feedback")
        view.Frame = QRect(40, -100, 200, 60); // in the rows of background above the cubes
    // A widget over the view that lets it show through: painted after the view each
    // time, over the view's pixels.
    CTranslucentCover overlay;
    if (change == "overlay") {
        overlay.setParent(&window);
        overlay.setGeometry(0, 150, 420, 60);
    } else if (change == "filled first") {
        // Qt fills the view's background before each of its paints.
        view.setAttribute(Qt::WA_OpaquePaintEvent, false);
        view.setAutoFillBackground(true);
        QPalette red;
        red.setColor(QPalette::Window, Qt::red);
        view.setPalette(red);
    }
    QVERIFY(Shown(window));
    view.repaint();
    const QImage first = InWindow(view);
    if (change == "background") {
        view.Figure.BkColor = 0x336699;
    } else if (change == "fewer rows") {
        CFigure::Resize(view.Figure.Grid, 14, 2);
    } else if (change == "covered") {
        QWidget cover(&window);
        cover.setAutoFillBackground(true);
        QPalette red;
        red.setColor(QPalette::Window, Qt::red);
        cover.setPalette(red);
        cover.setGeometry(0, 0, 420, 100);
        cover.show();
        cover.repaint(); // its going repaints what was under it
    } else if (change == "one cube") {
        view.Figure.PlaceCube(6, 4, view.Figure.Cell(6, 4) == 0 ? 5 : 0);
    } else if (change == "colours") {
        view.Figure.Color2 = 0x00FFFF;
    } else if (change == "cube size") {
        view.Figure.CubeSize = 40;
    } else if (change == "zoom") {
        view.Zoom = 1.5;
    } else if (change == "scroll") {
        view.Scroll += QPoint(3, 7);
    } else if (change == "selection") {
        view.Selection.Add(3, 2, view.Figure.Cell(3, 2));
    } else if (change == "in two paints") {
        // A cube changes low in the view while only the top is painted: the rows
        // that show it are drawn at the next whole paint.
        view.Figure.PlaceCube(6, 5, view.Figure.Cell(6, 5) == 0 ? 5 : 0);
        view.repaint(0, 0, view.width(), 70);
    }
    QCoreApplication::processEvents();
    view.repaint();
    const QImage shown = InWindow(view);
    if (change == "feedback" || change == "overlay") {
        // Painted again over the same pixels, not over the frame or the cover already there.
        QCOMPARE(shown, first);
        if (change == "feedback")
            QCOMPARE(QColor(shown.pixel(60, 20)), QColor(Qt::black));
        return;
    }
    QImage expected(view.size(), QImage::Format_RGB32);
    expected.fill(ColorFromRef(view.Figure.BkColor));
    CWorkspaceRenderer::Params params;
    params.CubeSize = view.Figure.CubeSize;
    params.Zoom = view.Zoom;
    params.Dots = true;
    params.Selected = &view.Selection.Cells();
    params.Offset = params.PatternOrigin = -view.Scroll;
    CWorkspaceRenderer().DrawImage(expected, view.Figure, params);
    QCOMPARE(shown, expected);
}

// The view leaves alone only rows no feedback paints in: what the cell outlines and
// the rubber band paint lies in the bounds their tools give.
void TestTarvexView::feedbackStaysInItsBounds_data()
{
    QTest::addColumn<int>("cubeSize");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<int>("zoom");
    QTest::newRow("32") << 32 << 1.0 << 100;
    QTest::newRow("16 at 1.5") << 16 << 1.5 << 100;
    QTest::newRow("33 at 2, 135 %") << 33 << 2.0 << 135;
    QTest::newRow("200 at 2, 400 %") << 200 << 2.0 << 400;
}

void TestTarvexView::feedbackStaysInItsBounds()
{
    QFETCH(int, cubeSize);
    QFETCH(qreal, ratio);
    QFETCH(int, zoom);
    const CViewMapping mapping(cubeSize, QPoint(7, 3), ratio, zoom);
    const QVector<QPoint> cells{{0, 0}, {3, 1}, {2, 4}};
    const qreal width = CellOutlineWidth(mapping);
    const QRect band(QPoint(5, 9), QPoint(-30, 40)); // a rubber band dragged up and left
    // Whether all that paint paints lies in bounds.
    auto within = [](const QRect &bounds, const std::function<void(QPainter &)> &paint) {
        const QPoint origin = -bounds.topLeft() + QPoint(20, 20);
        QImage image(bounds.size() + QSize(40, 40), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::black);
        QPainter painter(&image);
        painter.translate(origin);
        paint(painter);
        painter.end();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != qRgb(0, 0, 0) && !bounds.contains(QPoint(x, y) - origin))
                    return false;
        return true;
    };
    QVERIFY(within(CellOutlineBounds(mapping, cells, width), [&](QPainter &painter) {
        for (const QPoint &cell : cells)
            PaintCellOutline(painter, mapping, cell, Qt::black, width);
    }));
    QVERIFY(within(band.normalized().adjusted(-1, -1, 1, 1), [&](QPainter &painter) {
        DrawXorRect(painter, band.left(), band.top(), band.right(), band.bottom());
    }));
}

#include "tst_tarvexview.moc"
