// SPDX-License-Identifier: GPL-3.0-or-later
// The workspace renderer against the plain definition of the workspace drawing: the
// cube painter drawing every cell in row order. Any part of the workspace, at any
// cube size and offset, with or without a selection and dots, through a painter or
// straight into images of every pixel layout, must give the same pixels.

#include "geometry/figure.h"
#include "geometry/cellset.h"
#include "geometry/workspacerenderer.h"
#include "support/imagecompare.h"
#include "support/referencescan.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QtTest>
#include <functional>

namespace {

// Image32Set: the selection given as a set of cells too, as the view gives it.
enum Target { ThroughPainter, Image32, Image24, Image24BottomUp, Image32Set };

// Overlapping cubes of many kinds: every third cell, a dense block where neighbours
// cut each other's corners, and one value that is no cube kind.
// With colourings above 1 the cubes take the palette's colourings at random.
CFigure MakeFigure(int cubeSize, quint32 seed, int colourings = 1)
{
    CFigure figure;
    figure.CubeSize = cubeSize;
    figure.BkColor = 0x336699;
    figure.Color1 = 0x10A0F0;
    for (int i = 1; i < colourings; ++i)
        figure.Palette.append(CColouring{0x202020u * quint32(i), 0x00FF00u / quint32(i), 0xFF0000u + quint32(i)});
    figure.Resize(14, 16);
    QRandomGenerator random(seed);
    auto cube = [&] {
        return CellValue(int(random.bounded(64)), int(random.bounded(colourings)));
    };
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < RowLength(14, r); ++c)
            if (random.bounded(3) == 0)
                figure.PlaceCube(c, r, cube());
    for (int r = 3; r < 10; ++r)
        for (int c = 2; c < 8; ++c)
            figure.PlaceCube(c, r, cube());
    figure.Grid[12][5] = EmptyCubeIndex;
    return figure;
}

QVector<QPoint> SelectSome(const CFigure &figure, quint32 seed)
{
    QVector<QPoint> cells;
    QRandomGenerator random(seed);
    for (int r = 0; r < figure.Grid.size(); ++r)
        for (int c = 0; c < figure.Grid[r].size(); ++c)
            if (figure.Grid[r][c] >= 0 && random.bounded(2) == 0)
                cells.append(QPoint(c, r));
    return cells;
}

} // namespace

class TestWorkspaceRenderer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void matchesThePainterInRowOrder_data();
    void matchesThePainterInRowOrder();
    void picturesFollowSizeAndColours();
    void zoomKeepsProportions_data();
    void zoomKeepsProportions();
    void touchingFacesShowNoSeam_data();
    void touchingFacesShowNoSeam();
};

void TestWorkspaceRenderer::matchesThePainterInRowOrder_data()
{
    QTest::addColumn<int>("cubeSize");
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<QRect>("area"); // workspace coordinates
    QTest::addColumn<bool>("selection");
    QTest::addColumn<bool>("dots");
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("colourings");
    // The grey pattern is anchored at the target's origin: every area below starts at
    // an even x + y in the reference picture, so a picture of the area alone lines up.
    const struct
    {
        const char *name;
        int size;
        QPoint offset;
        QRect area;
    } places[] = {
        {"whole, size 32", 32, QPoint(0, 0), QRect(-10, -10, 700, 600)},
        {"odd size 17, odd offset", 17, QPoint(7, 3), QRect(-20, -20, 400, 400)},
        {"size 16, area cutting cubes", 16, QPoint(0, 0), QRect(23, 17, 61, 43)},
        {"size 45, negative offset", 45, QPoint(-31, -12), QRect(51, 40, 300, 190)},
        {"size 6, tiny", 6, QPoint(2, 2), QRect(0, 0, 90, 80)},
        {"size 32, one pixel", 32, QPoint(5, 0), QRect(100, 91, 1, 1)},
        {"size 60, cut", 60, QPoint(3, 1), QRect(36, 22, 500, 400)},
        // Above the largest kept picture: the painter's polygons, greyed by its raster op.
        {"size 300, huge cubes", 300, QPoint(-4, 0), QRect(400, 300, 900, 500)},
    };
    const struct
    {
        const char *name;
        Target target;
    } targets[] = {{"painter", ThroughPainter},
                   {"image32", Image32},
                   {"image24", Image24},
                   {"image24 bottom-up", Image24BottomUp},
                   {"image32, cell set", Image32Set}};
    for (const auto &p : places) {
        for (const auto &t : targets) {
            // Huge cubes go to 32-bit targets only (the view's); files never have them.
            if (p.size > CWorkspaceRenderer::MaxCachedSize && (t.target == Image24 || t.target == Image24BottomUp))
                continue;
            for (int variant = 0; variant < 2; ++variant) {
                QTest::addRow("%s, %s%s", p.name, t.name, variant ? ", selected, dots" : "")
                    << p.size << p.offset << p.area << bool(variant) << bool(variant) << int(t.target) << 1;
                // Cubes in three colourings, from pictures per colouring, from the
                // kinds' shapes and by the painter.
                if (p.size == 32 || p.size == 60 || p.size == 300)
                    QTest::addRow("%s, %s%s, 3 colourings", p.name, t.name, variant ? ", selected, dots" : "")
                        << p.size << p.offset << p.area << bool(variant) << bool(variant) << int(t.target) << 3;
            }
        }
    }
}

void TestWorkspaceRenderer::matchesThePainterInRowOrder()
{
    QFETCH(int, cubeSize);
    QFETCH(QPoint, offset);
    QFETCH(QRect, area);
    QFETCH(bool, selection);
    QFETCH(bool, dots);
    QFETCH(int, target);
    QFETCH(int, colourings);
    const CFigure figure = MakeFigure(cubeSize, quint32(cubeSize), colourings);
    const QVector<QPoint> selected = SelectSome(figure, 5);

    // The reference paints everything into a picture with room around it, so no
    // polygon is cut by the picture's edge; the area is cut out afterwards.
    const QPoint room(64, 64);
    QImage whole(CFigure(figure).GetWorkspaceSize() + QSize(2 * room.x(), 2 * room.y()) + QSize(100, 100),
                 QImage::Format_RGB32);
    whole.fill(Qt::darkCyan);
    {
        QPainter painter(&whole);
        DrawFigureByPainter(painter, figure, cubeSize, offset + room, dots, selection ? &selected : nullptr);
    }
    const QRect shown = area.translated(offset + room) & whole.rect();
    const QImage expected = whole.copy(shown);

    CWorkspaceRenderer renderer;
    CWorkspaceRenderer::Params params;
    params.CubeSize = cubeSize;
    params.Dots = dots;
    params.Selected = selection ? &selected : nullptr;
    CCellSet set;
    for (const QPoint &cell : selected)
        set.Insert(cell.x(), cell.y());
    if (target == Image32Set && selection)
        params.SelectedSet = &set;
    QImage actual;
    if (target == ThroughPainter) {
        QImage image(whole.size(), QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QPainter painter(&image);
        painter.setClipRect(shown);
        params.Offset = offset + room;
        renderer.Draw(painter, figure, area, params);
        painter.end();
        actual = image.copy(shown);
    } else {
        const QImage::Format format = target == Image32 || target == Image32Set ? QImage::Format_RGB32
                                                                                : QImage::Format_BGR888;
        QImage image(shown.size(), format);
        image.fill(Qt::darkCyan);
        params.Offset = offset + room - shown.topLeft();
        params.BottomUp = target == Image24BottomUp;
        renderer.DrawImage(image, figure, params);
        actual = params.BottomUp ? image.mirrored(false, true) : image;
    }
    // Huge cubes are the painter's polygons at other coordinates than the reference's;
    // the rasteriser may put a few edge pixels differently.
    const QString difference = cubeSize > CWorkspaceRenderer::MaxCachedSize && target != ThroughPainter
                                   ? EdgeTolerantDifference(actual, expected, 19)
                                   : ImageDifference(actual, expected);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestWorkspaceRenderer::picturesFollowSizeAndColours()
{
    // One renderer kept across changes of the colours and the cube size (as the view
    // keeps it) draws each time what a new renderer draws. The cubes change with a
    // face colour and not with the background, which is the caller's.
    CFigure figure = MakeFigure(24, 1);
    CWorkspaceRenderer kept;
    CWorkspaceRenderer::Params params;
    const auto draw = [&](CWorkspaceRenderer &renderer) {
        params.CubeSize = figure.CubeSize;
        QImage image(figure.GetWorkspaceSize(), QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        renderer.DrawImage(image, figure, params);
        return image;
    };
    const struct
    {
        std::function<void()> change;
        bool cubesChange;
    } steps[] = {
        {[&] { figure.BkColor = 0x123456; }, false},
        {[&] { figure.Color2 = 0x00FFFF; }, true},
        {[&] { figure.CubeSize = 30; }, true},
        {[&] { figure.CubeSize = 24; }, true},
    };
    QImage last = draw(kept);
    for (const auto &step : steps) {
        step.change();
        CWorkspaceRenderer fresh;
        const QImage actual = draw(kept);
        const QString difference = ImageDifference(actual, draw(fresh));
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
        QCOMPARE(actual != last, step.cubesChange);
        last = actual;
    }
}

void TestWorkspaceRenderer::zoomKeepsProportions_data()
{
    QTest::addColumn<double>("zoom");
    for (double zoom : {0.07, 0.15, 0.33, 0.5, 0.67, 2.5})
        QTest::addRow("%g", zoom) << zoom;
}

// Lone black cubes spread over a large grid, drawn at a zoom (crisp, or averaged when
// cubes are too small): each cube's centre of ink lies at its true centre times the
// zoom, within a pixel, however far from the origin.
void TestWorkspaceRenderer::zoomKeepsProportions()
{
    QFETCH(double, zoom);
    CFigure figure;
    figure.CubeSize = 32;
    figure.BkColor = 0xFFFFFF;
    figure.Color1 = figure.Color2 = figure.Color3 = 0;
    figure.Resize(60, 100);
    const QPoint cells[] = {{0, 0}, {59, 0}, {31, 47}, {2, 98}, {58, 99}};
    for (const QPoint &c : cells)
        figure.PlaceCube(c.x(), c.y(), 0);
    CWorkspaceRenderer renderer;
    CWorkspaceRenderer::Params params;
    params.CubeSize = figure.CubeSize;
    params.Zoom = zoom;
    const QRect whole(QPoint(0, 0), figure.GetWorkspaceSize());
    QImage image;
    if (CWorkspaceRenderer::DrawnSize(params) >= CWorkspaceRenderer::MinCrispSize) {
        image = QImage(qRound(whole.width() * zoom), qRound(whole.height() * zoom), QImage::Format_RGB32);
        image.fill(Qt::white);
        renderer.DrawImage(image, figure, params);
    } else {
        image = renderer.DrawAveraged(figure, whole, 0xFFFFFFFF, params);
    }
    QCOMPARE(image.size(), QSize(qRound(whole.width() * zoom), qRound(whole.height() * zoom)));
    // The centre of the ink within a box around where the cube should be, against
    // the same at the true size, times the zoom.
    QImage truth(whole.size(), QImage::Format_RGB32);
    truth.fill(Qt::white);
    params.Zoom = 1.0;
    renderer.DrawImage(truth, figure, params);
    auto inkCentre = [](const QImage &picture, const QPointF &around, double scale) {
        const QRect box = QRectF(around - QPointF(30, 30) * scale - QPointF(3, 3),
                                 QSizeF(60, 60) * scale + QSizeF(6, 6))
                              .toAlignedRect()
                          & picture.rect();
        double ink = 0, x = 0, y = 0;
        for (int py = box.top(); py <= box.bottom(); ++py)
            for (int px = box.left(); px <= box.right(); ++px) {
                const double w = 1.0 - qGray(picture.pixel(px, py)) / 255.0;
                ink += w;
                x += w * (px + 0.5);
                y += w * (py + 0.5);
            }
        return ink > 0 ? QPointF(x / ink, y / ink) : QPointF(-1000, -1000);
    };
    const CellPitch pitch = figure.GetCellPitch();
    for (const QPoint &c : cells) {
        const QPointF square = QPointF(CellOrigin(c.x(), c.y(), pitch)) + QPointF(16, 16);
        const QPointF expected = inkCentre(truth, square, 1.0) * zoom;
        const QPointF found = inkCentre(image, square * zoom, zoom);
        QVERIFY2(qAbs(found.x() - expected.x()) <= 1.0 && qAbs(found.y() - expected.y()) <= 1.0,
                 qPrintable(QString("cell (%1, %2): ink centre (%3, %4), true (%5, %6)")
                                .arg(c.x())
                                .arg(c.y())
                                .arg(found.x())
                                .arg(found.y())
                                .arg(expected.x())
                                .arg(expected.y())));
    }
}

void TestWorkspaceRenderer::touchingFacesShowNoSeam_data()
{
    QTest::addColumn<double>("zoom");
    QTest::addColumn<int>("cubeSize");
    // The view's levels, the zoom that fits a window (135 %), both at ratio 2, and
    // cubes too large for kept pictures.
    for (double zoom : {0.67, 1.0, 1.25, 1.35, 1.5, 2.0, 2.5, 2.7, 3.0, 4.0, 10.0})
        QTest::addRow("%g", zoom) << zoom << 32;
    QTest::addRow("1.35, size 45") << 1.35 << 45;
    QTest::addRow("3, size 45") << 3.0 << 45;
}

// A figure filled with cubes drawn at a zoom shows no background where the figure at
// its own size shows faces all around: no hairline opens between touching cubes.
void TestWorkspaceRenderer::touchingFacesShowNoSeam()
{
    QFETCH(double, zoom);
    QFETCH(int, cubeSize);
    CFigure figure;
    figure.CubeSize = cubeSize;
    figure.BkColor = 0xFFFFFF;
    figure.Resize(16, 20);
    QRandomGenerator random(5);
    for (int r = 0; r < 20; ++r)
        for (int c = 0; c < RowLength(16, r); ++c)
            figure.PlaceCube(c, r, int(random.bounded(64)));
    CWorkspaceRenderer renderer;
    CWorkspaceRenderer::Params params;
    params.CubeSize = figure.CubeSize;
    QImage own(figure.GetWorkspaceSize(), QImage::Format_RGB32);
    own.fill(Qt::white);
    renderer.DrawImage(own, figure, params);
    params.Zoom = zoom;
    QImage zoomed((QSizeF(own.size()) * zoom).toSize(), QImage::Format_RGB32);
    zoomed.fill(Qt::white);
    renderer.DrawImage(zoomed, figure, params);
    auto face = [&](int x, int y) {
        return own.rect().contains(x, y) && own.pixel(x, y) != 0xFFFFFFFFu;
    };
    int seams = 0;
    for (int y = 0; y < zoomed.height(); ++y)
        for (int x = 0; x < zoomed.width(); ++x) {
            if (zoomed.pixel(x, y) != 0xFFFFFFFFu)
                continue;
            const int fx = int(std::floor((x + 0.5) / zoom));
            const int fy = int(std::floor((y + 0.5) / zoom));
            bool inside = true;
            for (int dy = -1; dy <= 1 && inside; ++dy)
                for (int dx = -1; dx <= 1 && inside; ++dx)
                    inside = face(fx + dx, fy + dy);
            seams += inside ? 1 : 0;
        }
    qInfo("zoom %g: %d seam pixels", zoom, seams);
    QCOMPARE(seams, 0);
}

QTEST_GUILESS_MAIN(TestWorkspaceRenderer)
#include "tst_workspacerenderer.moc"
