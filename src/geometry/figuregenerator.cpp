// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/figuregenerator.h"

#include "geometry/isospace.h"

#include <QHash>

#include <climits>
#include <functional>
#include <vector>

namespace {

using Point = CIsoSpace::Point;
using Points = QVector<Point>;

Point Add(const Point &a, const Point &b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

Point Scaled(const Point &a, int k)
{
    return {a.x * k, a.y * k, a.z * k};
}

// The unit steps along the three axes.
const Point StepX{1, 0, 0};
const Point StepY{0, 1, 0};
const Point StepZ{0, 0, 1};

// The thick beam between two corners of a path along one axis: the points of the
// segment widened by thickness - 1 towards smaller coordinates on every axis, so the
// beams of a path meet in whole corner blocks.
Points Beam(const Point &from, const Point &to, int thickness)
{
    const int t = thickness - 1;
    const Point low{qMin(from.x, to.x) - t, qMin(from.y, to.y) - t, qMin(from.z, to.z) - t};
    return CIsoSpace::Box(low, qAbs(to.x - from.x) + thickness, qAbs(to.y - from.y) + thickness,
                          qAbs(to.z - from.z) + thickness);
}

// One step of the drawing: a piece placed back to front, or laid over the figure as
// an overlay where window says so.
struct Step
{
    Points points;
    bool overlay = false;
    std::function<bool(const Point &)> window;
};

class CDrawing
{
public:
    void Place(const Points &points) { m_steps.push_back({points, false, {}}); }
    void Overlay(const Points &points, std::function<bool(const Point &)> window)
    {
        m_steps.push_back({points, true, std::move(window)});
    }

    std::optional<CFigure> Draw(const CFigure &base) const;

private:
    std::vector<Step> m_steps;
};

quint64 CellKey(const QPoint &cell)
{
    return (quint64(quint32(cell.y())) << 32) | quint32(cell.x());
}

std::optional<CFigure> CDrawing::Draw(const CFigure &base) const
{
    // The cells the points fall on with (0, 0, 0) on cell (0, 0), in half columns.
    int hLow = INT_MAX, hHigh = INT_MIN, rLow = INT_MAX, rHigh = INT_MIN;
    for (const Step &step : m_steps) {
        for (const Point &p : step.points) {
            const int h = p.x - p.y;
            const int r = p.x + p.y - 2 * p.z;
            hLow = qMin(hLow, h);
            hHigh = qMax(hHigh, h);
            rLow = qMin(rLow, r);
            rHigh = qMax(rHigh, r);
        }
    }
    if (hLow > hHigh)
        return std::nullopt;
    // One empty cell around the figure; a grid holds half columns 0 .. 2 * width - 2.
    const int margin = 2;
    const QSize given = base.GridSize();
    const int width = qMax(given.width(), (hHigh - hLow + 2 * margin + 2) / 2 + 1);
    const int rows = qMax(given.height(), rHigh - rLow + 1 + 2 * margin);
    if (width > CFigure::MaxGridWidth || rows > CFigure::MaxGridHeight)
        return std::nullopt;
    CFigure figure = base;
    figure.Grid.clear();
    figure.Resize(qMax(width, CFigure::MinGridWidth), qMax(rows, CFigure::MinGridHeight));
    const QSize grid = figure.GridSize();
    // Centred, with the origin's half column and row of one parity.
    int originH = (2 * grid.width() - 2 - (hHigh - hLow)) / 2 - hLow;
    const int originR = (grid.height() - 1 - (rHigh - rLow)) / 2 - rLow;
    if ((originH - originR) & 1)
        ++originH;
    if (originH + hHigh > 2 * grid.width() - 2)
        originH -= 2;
    const QPoint origin((originH - (originR & 1)) / 2, originR);

    for (const Step &step : m_steps) {
        const QVector<QPoint> order = CIsoSpace::PlacingOrder(origin, step.points, grid);
        if (!step.overlay) {
            for (const QPoint &cell : order)
                figure.PlaceCube(cell.x(), cell.y(), 0);
            continue;
        }
        // The piece alone, and the point seen on each of its cells.
        CubeGrid alone;
        CFigure::Resize(alone, grid.width(), grid.height());
        for (const QPoint &cell : order)
            CFigure::PlaceCube(alone, cell.x(), cell.y(), 0);
        QHash<quint64, Point> seen;
        for (const Point &p : step.points) {
            const quint64 key = CellKey(CIsoSpace::CellOf(origin, p));
            auto it = seen.find(key);
            if (it == seen.end() || it->Depth() < p.Depth())
                seen.insert(key, p);
        }
        for (const QPoint &cell : order)
            if (step.window(seen.value(CellKey(cell))))
                figure.PlaceCube(cell.x(), cell.y(), alone[cell.y()][cell.x()]);
    }
    return figure;
}

// A closed path of thick beams through corners (the last corner falls on the first's
// cell): the beams placed in order, each in front of the one before it where they
// meet, then the first beam's start laid over the last beam.
void Loop(CDrawing &drawing, const QVector<Point> &corners, int thickness, int reach)
{
    QVector<Points> beams;
    for (int i = 0; i + 1 < corners.size(); ++i)
        beams.append(Beam(corners[i], corners[i + 1], thickness));
    for (const Points &beam : std::as_const(beams))
        drawing.Place(beam);
    // The start of the first beam, as far as its corner block and reach cubes more.
    const Point start = corners[0];
    const Point end = corners[1];
    drawing.Overlay(beams[0], [start, end, reach, thickness](const Point &p) {
        const int along = end.x != start.x ? p.x - start.x : end.y != start.y ? p.y - start.y : p.z - start.z;
        const int direction = (end.x - start.x) + (end.y - start.y) + (end.z - start.z) > 0 ? 1 : -1;
        return along * direction < thickness + reach;
    });
}

// A path from corner to corner along the screen's neighbour directions.
QVector<Point> Path(const QVector<QPair<int, int>> &legs)
{
    QVector<Point> corners{Point()};
    for (const auto &leg : legs)
        corners.append(Add(corners.last(), Scaled(CIsoSpace::DirectionStep(leg.first), leg.second)));
    return corners;
}

void MakeTribar(CDrawing &drawing, int side, int thickness)
{
    // Along x, y and z: the third beam climbs to where the first begins on the picture.
    Loop(drawing,
         {Point(), Scaled(StepX, side), Add(Scaled(StepX, side), Scaled(StepY, side)),
          Scaled(Add(Add(StepX, StepY), StepZ), side)},
         thickness, thickness + 1);
}

void MakeReutersvard(CDrawing &drawing, int cubes)
{
    // Separate cubes from corner to corner, each one in front of the one before; the
    // first is laid again over the last. The triangle points to the left, the
    // tribar's to the right.
    const int n = cubes - 1;
    const QVector<Point> corners{Point(), Scaled(StepX, n), Add(Scaled(StepX, n), Scaled(StepZ, n)),
                                 Scaled(Add(Add(StepX, StepY), StepZ), n)};
    QVector<Points> legs;
    for (int i = 0; i < 3; ++i) {
        Points leg;
        const Point &a = corners[i];
        const Point &b = corners[i + 1];
        const Point step{(b.x - a.x) / n, (b.y - a.y) / n, (b.z - a.z) / n};
        for (int k = 0; k < n; ++k)
            leg.append(Add(a, Scaled(step, k)));
        legs.append(leg);
        drawing.Place(leg);
    }
    drawing.Overlay(legs[0], [](const Point &p) { return p == Point(); });
}

void MakePolygon(CDrawing &drawing, int sides, int side, int thickness)
{
    QVector<QPair<int, int>> legs;
    switch (sides) {
    case 3:
        legs = {{LowerRight, side}, {LowerLeft, side}, {Top, side}};
        break;
    case 4:
        legs = {{LowerRight, side}, {LowerLeft, side}, {UpperLeft, side}, {UpperRight, side}};
        break;
    case 5:
        // A house: its two roof beams twice as long as its walls and its floor.
        legs = {{LowerRight, side}, {Bottom, side}, {LowerLeft, side}, {UpperLeft, 2 * side}, {UpperRight, 2 * side}};
        break;
    default:
        legs = {{LowerRight, side}, {Bottom, side}, {LowerLeft, side},
                {UpperLeft, side},  {Top, side},    {UpperRight, side}};
        break;
    }
    Loop(drawing, Path(legs), thickness, thickness + 1);
}

void MakeCubeFrame(CDrawing &drawing, int edge, int thickness)
{
    // A box edge long along x and z and shallower along y: its back vertical edge
    // then lies on the picture across the front top edge (along x), and its front
    // vertical edge across the back bottom edge, as the edges of a cube drawn from
    // above and to the side cross. All twelve edges placed back to front, then the
    // back vertical edge laid over the front top edge where they cross: it passes in
    // front of the edge it lies behind.
    const int depth = edge - qMax(2 * thickness + 1, edge / 3);
    Points all;
    Points backEdge;
    for (int z : {0, edge}) {
        all += Beam({0, 0, z}, {edge, 0, z}, thickness);
        all += Beam({0, 0, z}, {0, depth, z}, thickness);
        all += Beam({edge, 0, z}, {edge, depth, z}, thickness);
        all += Beam({0, depth, z}, {edge, depth, z}, thickness);
    }
    for (int x : {0, edge}) {
        for (int y : {0, depth}) {
            const Points beam = Beam({x, y, 0}, {x, y, edge}, thickness);
            if (x == 0 && y == 0)
                backEdge = beam;
            all += beam;
        }
    }
    drawing.Place(all);
    // The front top edge (y = depth, z = edge) crosses the back edge's line of sight
    // at z = edge - depth.
    const int crossing = edge - depth;
    const int reach = thickness + 1;
    drawing.Overlay(backEdge, [crossing, reach, thickness](const Point &p) {
        return p.z >= crossing - reach - thickness && p.z <= crossing + reach;
    });
}

void MakeStairs(CDrawing &drawing, int steps, int height)
{
    // A square ring of four flights and four landings, every step height cubes above
    // the one before. The flights along +x and +y (towards the viewer) have treads
    // 4 * height cubes longer than the two going back, so after the fourth flight the
    // stairs have come as much nearer as they have climbed: the last landing lies on
    // the line of sight of the first one and is seen in its place. Each step is a
    // block going down below its tread.
    const int width = 3;
    const int below = height + 1;
    const int backTread = 2;
    const int nearTread = backTread + 4 * height;
    auto block = [below](Points &piece, int x0, int y0, int sizeX, int sizeY, int top) {
        piece += CIsoSpace::Box({x0, y0, top - below + 1}, sizeX, sizeY, below);
    };
    const struct
    {
        Point direction;
        int tread;
    } flights[4] = {{StepX, nearTread},
                    {StepY, nearTread},
                    {Scaled(StepX, -1), backTread},
                    {Scaled(StepY, -1), backTread}};
    // The least corner of the landing the next flight starts from, and its top.
    int x = 0, y = 0, z = 0;
    Points first;
    for (int f = 0; f < 4; ++f) {
        const Point d = flights[f].direction;
        const int t = flights[f].tread;
        Points piece;
        if (f == 0)
            block(piece, x, y, width, width, z);
        for (int s = 0; s < steps; ++s) {
            z += height;
            // The tread of step s, beyond the landing (and the steps before) along d.
            const int along = width + s * t;
            const int x0 = d.x > 0 ? x + along : d.x < 0 ? x - (s + 1) * t : x;
            const int y0 = d.y > 0 ? y + along : d.y < 0 ? y - (s + 1) * t : y;
            Points tread;
            block(tread, x0, y0, d.x != 0 ? t : width, d.y != 0 ? t : width, z);
            if (f == 0 && s == 0)
                first = tread;
            piece += tread;
        }
        // The landing at the flight's top.
        if (d.x > 0)
            x += width + steps * t;
        else if (d.x < 0)
            x -= steps * t + width;
        if (d.y > 0)
            y += width + steps * t;
        else if (d.y < 0)
            y -= steps * t + width;
        block(piece, x, y, width, width, z);
        drawing.Place(piece);
    }
    // The first flight's first step laid again over the last landing: seen in front
    // of it, as it is seen in front of the first landing.
    drawing.Overlay(first, [](const Point &) { return true; });
}

} // namespace

QString CFigureGenerator::Name(Shape shape)
{
    switch (shape) {
    case Tribar:
        return tr("Impossible tribar");
    case PenroseStairs:
        return tr("Penrose stairs");
    case CubeFrame:
        return tr("Impossible cube frame");
    case PolygonFrame:
        return tr("Impossible frame with N sides");
    case ReutersvardTriangle:
        return tr("Reutersvärd's triangle");
    case ShapeCount:
        break;
    }
    return QString();
}

QString CFigureGenerator::SizeName(Shape shape)
{
    switch (shape) {
    case Tribar:
        return tr("Side length:");
    case PenroseStairs:
        return tr("Steps per side:");
    case CubeFrame:
        return tr("Edge length:");
    case PolygonFrame:
        return tr("Side:");
    case ReutersvardTriangle:
        return tr("Cubes per side:");
    case ShapeCount:
        break;
    }
    return QString();
}

CFigureGenerator::Range CFigureGenerator::SizeRange(Shape shape)
{
    switch (shape) {
    case Tribar:
        return {6, 40};
    case PenroseStairs:
        return {2, 6};
    case CubeFrame:
        return {6, 22};
    case PolygonFrame:
        return {6, 20};
    case ReutersvardTriangle:
        return {3, 40};
    case ShapeCount:
        break;
    }
    return {1, 1};
}

CFigureGenerator::Params CFigureGenerator::Bounded(Params params)
{
    if (params.shape < 0 || params.shape >= ShapeCount)
        params.shape = Tribar;
    const Range size = SizeRange(params.shape);
    params.size = qBound(size.min, params.size, size.max);
    params.thickness = qBound(ThicknessRange().min, params.thickness, ThicknessRange().max);
    params.sides = qBound(SidesRange().min, params.sides, SidesRange().max);
    params.stepHeight = qBound(StepHeightRange().min, params.stepHeight, StepHeightRange().max);
    // A beam needs room beside its corner blocks.
    if (HasThickness(params.shape))
        params.size = qMax(params.size, 3 * params.thickness + 3);
    return params;
}

std::optional<CFigure> CFigureGenerator::Make(const Params &requested, const CFigure &base)
{
    const Params params = Bounded(requested);
    CDrawing drawing;
    switch (params.shape) {
    case Tribar:
        MakeTribar(drawing, params.size, params.thickness);
        break;
    case PenroseStairs:
        MakeStairs(drawing, params.size, params.stepHeight);
        break;
    case CubeFrame:
        MakeCubeFrame(drawing, params.size, params.thickness);
        break;
    case PolygonFrame:
        MakePolygon(drawing, params.sides, params.size, params.thickness);
        break;
    case ReutersvardTriangle:
        MakeReutersvard(drawing, params.size);
        break;
    case ShapeCount:
        return std::nullopt;
    }
    return drawing.Draw(base);
}
