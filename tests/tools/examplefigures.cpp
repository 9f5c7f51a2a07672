// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the example figures with the placing rule and draws their help pictures.
//
//   tarvex_examplefigures figures DIR     writes every example figure file into DIR
//   tarvex_examplefigures pictures SRC DIR  draws SRC/NAME.xml as DIR/ex_NAME.png
//
// Each figure is a closed chain of cubes placed one after the other in chain order:
// every cube cuts the corner of the cube before it and so hides it. Along the chain
// each joint looks right; around the whole chain the "in front" steps never end,
// which no object in space can do.

#include "document/tarvexdoc.h"
#include "geometry/cubegeometry.h"
#include "geometry/surface.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

struct Leg
{
    int direction;
    int steps;
};

struct Palette
{
    ColorRef top;
    ColorRef right;
    ColorRef left;
    ColorRef background;
};

// Light top, middle right side, dark left side: the shading reads as solid blocks.
const Palette Stone = {MakeColorRef(236, 226, 198), MakeColorRef(176, 140, 92), MakeColorRef(96, 70, 52),
                       MakeColorRef(255, 255, 255)};
const Palette Sea = {MakeColorRef(200, 230, 250), MakeColorRef(70, 140, 200), MakeColorRef(30, 60, 120),
                     MakeColorRef(255, 255, 255)};
const Palette Ember = {MakeColorRef(255, 214, 120), MakeColorRef(220, 90, 40), MakeColorRef(120, 30, 30),
                       MakeColorRef(255, 255, 255)};
const Palette Moss = {MakeColorRef(220, 240, 180), MakeColorRef(110, 170, 80), MakeColorRef(40, 90, 50),
                      MakeColorRef(255, 255, 255)};
const Palette Classic = {MakeColorRef(255, 0, 0), MakeColorRef(0, 238, 0), MakeColorRef(0, 0, 255),
                         MakeColorRef(255, 255, 255)};
const Palette Night = {MakeColorRef(250, 250, 250), MakeColorRef(160, 160, 190), MakeColorRef(70, 70, 100),
                       MakeColorRef(32, 36, 48)};

// Walks the legs from start, placing a whole cube on every cell, and stops before
// the cell it started on. Returns the cells in placing order.
std::vector<QPoint> PlaceChain(CTarvexDoc &doc, QPoint start, const std::vector<Leg> &legs)
{
    std::vector<QPoint> cells;
    QPoint cell = start;
    for (const Leg &leg : legs) {
        for (int i = 0; i < leg.steps; ++i) {
            if (cell != start || cells.empty()) {
                doc.PlaceCube(cell.x(), cell.y(), 0);
                cells.push_back(cell);
            }
            cell = NeighbourCell(cell.x(), cell.y(), leg.direction);
        }
    }
    if (cell != start)
        std::fprintf(stderr, "chain does not close\n");
    return cells;
}

// Turning by k sixths of a full turn, clockwise (directions are in corner order).
int Turn(int direction, int k)
{
    return ((direction + k) % 6 + 6) % 6;
}

struct Example
{
    const char *name;
    QSize grid;
    int cubeSize;
    Palette palette;
    std::function<void(CTarvexDoc &)> build;
};

// The impossible triangle: down to the right, down to the left, straight up.
void Triangle(CTarvexDoc &doc, QPoint start, int n)
{
    PlaceChain(doc, start, {{LowerRight, n}, {LowerLeft, n}, {Top, n}});
}

// A cube of a figure drawn in space: a position on the cube lattice (x to the lower
// right, y to the lower left, z up) and the key that sets its placing order.
struct Block
{
    int x;
    int y;
    int z;
    int key;
};

// The cell a lattice position falls on, seen from origin. Moving by (1, 1, 1) goes
// straight towards the viewer and stays on the same cell.
QPoint LatticeCell(QPoint origin, int x, int y, int z)
{
    const int row = origin.y() + x + y - 2 * z;
    const int u = 2 * origin.x() + (origin.y() & 1) + x - y;
    return QPoint((u - (row & 1)) / 2, row);
}

// Places the blocks in rising key order (equal keys keep their order), so a block
// with a larger key is seen in front of its neighbours.
void PlaceBlocks(CTarvexDoc &doc, QPoint origin, std::vector<Block> blocks)
{
    std::stable_sort(blocks.begin(), blocks.end(), [](const Block &a, const Block &b) { return a.key < b.key; });
    for (const Block &b : blocks) {
        const QPoint cell = LatticeCell(origin, b.x, b.y, b.z);
        doc.PlaceCube(cell.x(), cell.y(), 0);
    }
}

// The impossible steps: a walkway three cubes wide round a square, level along the
// two sides that run down the screen and climbing in steps (tread by riser cubes)
// along the two sides that run back up. The near sides are as much longer than the
// far ones as the steps climb, so the walkway ends straight in front of where it
// began and meets it on screen; being placed last, it comes out in front there.
// Going round, the stairs climb and never come down.
void Steps(CTarvexDoc &doc, QPoint origin, int steps, int tread, int riser)
{
    struct Side
    {
        int dx, dy;
        bool climbs;
    };
    const int width = 3;
    const int level = steps * tread + 2 * steps * riser;
    const Side sides[] = {{1, 0, false}, {0, 1, false}, {-1, 0, true}, {0, -1, true}};
    std::vector<Block> blocks;
    int x = 0, y = 0, z = 0, key = 0;
    for (const Side &side : sides) {
        // Across the walkway, towards the inside of the square.
        const int ix = -side.dy, iy = side.dx;
        std::vector<int> moves; // 0 along the side, 1 up
        if (!side.climbs)
            moves.assign(level, 0);
        for (int s = 0; side.climbs && s < steps; ++s) {
            moves.insert(moves.end(), tread, 0);
            moves.insert(moves.end(), riser, 1);
        }
        for (int move : moves) {
            for (int w = 0; w < width; ++w)
                blocks.push_back({x + w * ix, y + w * iy, z, key});
            ++key;
            if (move == 0) {
                x += side.dx;
                y += side.dy;
            } else {
                ++z;
            }
        }
    }
    // Where a later block falls on the cell of an earlier one, only the later one is
    // placed, at its own turn.
    std::vector<Block> placed;
    for (auto it = blocks.rbegin(); it != blocks.rend(); ++it) {
        const QPoint cell = LatticeCell(origin, it->x, it->y, it->z);
        const bool hidden = std::any_of(placed.begin(), placed.end(), [&](const Block &b) {
            return LatticeCell(origin, b.x, b.y, b.z) == cell;
        });
        if (!hidden)
            placed.push_back(*it);
    }
    std::reverse(placed.begin(), placed.end());
    PlaceBlocks(doc, origin, placed);
}

// The impossible square frame: four beams, each one passing in front of the next.
void SquareFrame(CTarvexDoc &doc, QPoint start, int n)
{
    PlaceChain(doc, start, {{LowerRight, n}, {LowerLeft, n}, {UpperLeft, n}, {UpperRight, n}});
}

// The impossible hexagonal star: twelve beams around a six-pointed star.
void HexStar(CTarvexDoc &doc, QPoint start, int n)
{
    std::vector<Leg> legs;
    int direction = UpperRight;
    for (int point = 0; point < 6; ++point) {
        legs.push_back({direction, n});
        direction = Turn(direction, 2);
        legs.push_back({direction, n});
        direction = Turn(direction, -1);
    }
    PlaceChain(doc, start, legs);
}

// Shows the cube in cell a in front of its neighbour in direction d: the neighbour is
// placed again with that corner cut, then a again with it whole.
void BringInFront(CTarvexDoc &doc, QPoint a, int d)
{
    const QPoint b = NeighbourCell(a.x(), a.y(), d);
    doc.PlaceCube(b.x(), b.y(), doc.Grid().at(b.y()).at(b.x()) | (1 << OppositeCorner(d)));
    doc.PlaceCube(a.x(), a.y(), doc.Grid().at(a.y()).at(a.x()) & ~(1 << d));
}

// The impossible cube frame: the twelve edges of an n by n by m box, placed from the
// far corner to the near one so that every edge is seen where it belongs. The top's
// near edges cross the bottom's far edges; at the left crossing the far edge is then
// brought in front of the near edge.
void CubeFrame(CTarvexDoc &doc, QPoint origin, int n, int m)
{
    std::vector<Block> blocks;
    auto beam = [&](int x, int y, int z, int dx, int dy, int dz, int length) {
        for (int i = 0; i <= length; ++i)
            blocks.push_back({x + i * dx, y + i * dy, z + i * dz, x + y + z + i * (dx + dy + dz)});
    };
    for (int z : {0, m}) {
        beam(0, 0, z, 1, 0, 0, n);
        beam(0, 0, z, 0, 1, 0, n);
        beam(n, 0, z, 0, 1, 0, n);
        beam(0, n, z, 1, 0, 0, n);
    }
    beam(0, 0, 0, 0, 0, 1, m);
    beam(n, 0, 0, 0, 0, 1, m);
    beam(0, n, 0, 0, 0, 1, m);
    beam(n, n, 0, 0, 0, 1, m);
    PlaceBlocks(doc, origin, blocks);
    // The crossing of the far edge along y with the near edge along x.
    const QPoint c = LatticeCell(origin, 0, n - m, 0);
    const QPoint before = NeighbourCell(c.x(), c.y(), UpperRight);
    const QPoint after = NeighbourCell(c.x(), c.y(), LowerLeft);
    BringInFront(doc, c, UpperLeft);
    BringInFront(doc, c, LowerRight);
    BringInFront(doc, after, UpperRight);
    BringInFront(doc, after, Top);
    BringInFront(doc, before, Bottom);
}

// The showpiece: three impossible triangles nested one in another.
void Showpiece(CTarvexDoc &doc, QPoint start, int n)
{
    for (; n >= 5; n -= 9) {
        Triangle(doc, start, n);
        for (int i = 0; i < 3; ++i) {
            start = NeighbourCell(start.x(), start.y(), LowerRight);
            start = NeighbourCell(start.x(), start.y(), Bottom);
        }
    }
}

std::vector<Example> Examples()
{
    return {
        {"impossible-triangle", QSize(20, 40), 32, Stone,
         [](CTarvexDoc &d) { Triangle(d, QPoint(4, 4), 8); }},
        {"impossible-steps", QSize(16, 46), 20, Sea,
         [](CTarvexDoc &d) { Steps(d, QPoint(4, 4), 3, 2, 2); }},
        {"impossible-square", QSize(20, 40), 32, Ember,
         [](CTarvexDoc &d) { SquareFrame(d, QPoint(5, 4), 7); }},
        {"impossible-cube", QSize(20, 40), 32, Moss,
         [](CTarvexDoc &d) { CubeFrame(d, QPoint(9, 10), 6, 4); }},
        {"impossible-star", QSize(24, 50), 24, Classic,
         [](CTarvexDoc &d) { HexStar(d, QPoint(6, 12), 5); }},
        {"impossible-triangles", QSize(20, 60), 24, Night,
         [](CTarvexDoc &d) { Showpiece(d, QPoint(2, 4), 24); }},
    };
}

bool WriteFigures(const QDir &dir)
{
    bool ok = true;
    for (const Example &example : Examples()) {
        CTarvexDoc doc(false);
        doc.ResizeGrid(example.grid.width(), example.grid.height());
        doc.CubeSize = example.cubeSize;
        doc.Color1 = example.palette.top;
        doc.Color2 = example.palette.right;
        doc.Color3 = example.palette.left;
        doc.BkColor = example.palette.background;
        example.build(doc);
        QString error;
        const QString path = dir.filePath(QString::fromLatin1(example.name) + ".xml");
        if (!doc.SaveFigureXml(path, &error)) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(error));
            ok = false;
        }
    }
    return ok;
}

// The figure cut to its bounds with a margin, at its stored cube size and colours.
QImage Picture(const CTarvexDoc &doc)
{
    const int margin = 8;
    const CTarvexDoc::Bounds b = doc.GetFigureBounds();
    QImage image(b.right - b.left + 2 * margin, b.bottom - b.top + 2 * margin, QImage::Format_RGB32);
    image.fill(ColorFromRef(doc.BkColor));
    QPainter painter(&image);
    doc.DrawWorkspace(painter, false, 1, margin - b.left, margin - b.top, false);
    return image;
}

bool WritePictures(const QDir &source, const QDir &target)
{
    bool ok = true;
    for (const Example &example : Examples()) {
        CTarvexDoc doc(false);
        QString error;
        const QString name = QString::fromLatin1(example.name);
        if (!doc.LoadFigureXml(source.filePath(name + ".xml"), &error)
            || !Picture(doc).save(target.filePath("ex_" + name + ".png"))) {
            std::fprintf(stderr, "%s: cannot draw %s\n", qPrintable(name), qPrintable(error));
            ok = false;
        }
    }
    return ok;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == "figures")
        return WriteFigures(QDir(args[1])) ? 0 : 1;
    if (args.size() == 3 && args[0] == "pictures")
        return WritePictures(QDir(args[1]), QDir(args[2])) ? 0 : 1;
    std::fprintf(stderr, "usage: tarvex_examplefigures figures DIR | pictures SRC DIR\n");
    return 2;
}
