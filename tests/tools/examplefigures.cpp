// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the example figures with the placing rule and draws their help pictures.
//
//   tarvex_examplefigures figures DIR       writes every example figure file into DIR
//   tarvex_examplefigures pictures SRC DIR  draws SRC/NAME.xml as DIR/ex_NAME.png
//
// A figure is built on a large scratch grid, then cut to its cubes with a margin of
// empty cells, so each file's workspace fits its figure.
//
// Solid figures are drawn in space: beams several cubes thick on the cube lattice, each
// cube placed in the order of a key (nearer cubes later, so they are seen in front);
// the joint that closes the figure is then placed once more, so the beam that should
// pass behind it comes out in front of it there and behind it at its other end. The
// square frame, the cube frame and the stairs are the editor's own generated figures
// (CFigureGenerator), as "New from generator" makes them.

#include "files/figurexml.h"
#include "geometry/cubegeometry.h"
#include "geometry/figuregenerator.h"
#include "geometry/figure.h"
#include "geometry/surface.h"
#include "geometry/workspacerenderer.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <map>
#include <vector>

namespace {

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
const Palette Night = {MakeColorRef(250, 250, 250), MakeColorRef(160, 160, 190), MakeColorRef(70, 70, 100),
                       MakeColorRef(32, 36, 48)};
const Palette Plum = {MakeColorRef(246, 220, 240), MakeColorRef(176, 96, 160), MakeColorRef(90, 40, 96),
                      MakeColorRef(252, 248, 240)};
const Palette Slate = {MakeColorRef(235, 238, 242), MakeColorRef(140, 152, 170), MakeColorRef(64, 72, 90),
                       MakeColorRef(250, 244, 228)};
const Palette Gold = {MakeColorRef(255, 240, 170), MakeColorRef(224, 170, 40), MakeColorRef(140, 90, 20),
                      MakeColorRef(28, 40, 64)};

// The scratch grid the figures are built on, and the cell its lattice origin falls on.
constexpr int ScratchSize = 200;
const QPoint ScratchOrigin(ScratchSize / 2, ScratchSize);

// Turning by k sixths of a full turn, clockwise (directions are in corner order).
int Turn(int direction, int k)
{
    return ((direction + k) % 6 + 6) % 6;
}

// A cube of a figure drawn in space: a position on the cube lattice (x to the lower
// right, y to the lower left, z up; one step is one cell) and the key that sets its
// placing order.
struct Block
{
    int x;
    int y;
    int z;
    int key;
    int paint = 0; // the colouring the cube is painted in
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
// with a larger key is seen in front of its neighbours. Of the blocks falling on one
// cell only the one placed last is placed: it covers the others whole.
void PlaceBlocks(CFigure &figure, QPoint origin, std::vector<Block> blocks)
{
    std::stable_sort(blocks.begin(), blocks.end(), [](const Block &a, const Block &b) { return a.key < b.key; });
    std::map<std::pair<int, int>, size_t> last;
    for (size_t i = 0; i < blocks.size(); ++i) {
        const QPoint cell = LatticeCell(origin, blocks[i].x, blocks[i].y, blocks[i].z);
        last[{cell.y(), cell.x()}] = i;
    }
    for (size_t i = 0; i < blocks.size(); ++i) {
        const QPoint cell = LatticeCell(origin, blocks[i].x, blocks[i].y, blocks[i].z);
        if (last[{cell.y(), cell.x()}] == i)
            figure.PlaceCube(cell.x(), cell.y(), CellValue(0, blocks[i].paint));
    }
}

// The unit step of each lattice axis, and the axes across it.
using Vec = std::array<int, 3>;

// A solid beam's path: legs along lattice axes (axis 0..2 = x, y, z; sign +1 or -1).
struct Beam
{
    int axis;
    int sign;
    int length;
};

// Sweeps a square cross-section of `thickness` cubes (the path at its middle, or at
// its near corner for an even thickness) along the legs, from (0, 0, 0). Each cube's
// key is its leg's number times `stride` plus its depth, so within a leg nearer cubes
// are in front and every leg is in front of the one before it where they meet. The
// cubes of the first leg that lie within the joint where the path closes are placed
// once more at the very end: there the first leg is in front of the last, although the
// last is in front of the leg before it at its other end.
// paintOfLeg, when given, gives each leg's cubes their colouring.
std::vector<Block> SolidLoop(const std::vector<Beam> &legs, int thickness, int overlap, int reach,
                             const std::function<int(int)> &paintOfLeg = {})
{
    const int lo = -(thickness - 1) / 2, hi = thickness / 2;
    const int stride = 100000;
    std::vector<Block> blocks;
    std::vector<Block> closing;
    Vec p = {0, 0, 0};
    for (size_t l = 0; l < legs.size(); ++l) {
        const Beam &leg = legs[l];
        const int a1 = (leg.axis + 1) % 3, a2 = (leg.axis + 2) % 3;
        for (int t = lo - reach; t <= leg.length + hi + reach; ++t) {
            for (int i = lo; i <= hi; ++i) {
                for (int j = lo; j <= hi; ++j) {
                    Vec q = p;
                    q[leg.axis] += leg.sign * t;
                    q[a1] += i;
                    q[a2] += j;
                    const int key = int(l) * stride + q[0] + q[1] + q[2];
                    const int paint = paintOfLeg ? paintOfLeg(int(l)) : 0;
                    blocks.push_back({q[0], q[1], q[2], key, paint});
                    if (l == 0 && t <= hi + overlap)
                        closing.push_back({q[0], q[1], q[2], int(legs.size()) * stride + key, paint});
                }
            }
        }
        p[leg.axis] += leg.sign * leg.length;
    }
    blocks.insert(blocks.end(), closing.begin(), closing.end());
    return blocks;
}

// The impossible triangle: three thick beams along the three lattice axes. The third
// one climbs straight up to where the first begins on the picture.
void Triangle(CFigure &figure, int length, int thickness, int reach, const std::function<int(int)> &paintOfLeg = {})
{
    PlaceBlocks(figure, ScratchOrigin,
                SolidLoop({{0, 1, length}, {1, 1, length}, {2, 1, length}}, thickness, reach, reach, paintOfLeg));
}

// The six directions of the picture as lattice axes.
Beam AlongDirection(int direction, int length)
{
    static const int axis[] = {2, 1, 0, 2, 1, 0};
    static const int sign[] = {1, -1, 1, -1, 1, -1};
    return {axis[direction], sign[direction], length};
}

// The impossible hexagonal star: twelve beams around a six-pointed star.
// Leg 2p runs out to point p and leg 2p + 1 back from it.
void HexStar(CFigure &figure, int n, int thickness, int reach, const std::function<int(int)> &paintOfLeg = {})
{
    std::vector<Beam> legs;
    int direction = UpperRight;
    for (int point = 0; point < 6; ++point) {
        legs.push_back(AlongDirection(direction, n));
        direction = Turn(direction, 2);
        legs.push_back(AlongDirection(direction, n));
        direction = Turn(direction, -1);
    }
    PlaceBlocks(figure, ScratchOrigin, SolidLoop(legs, thickness, reach, reach, paintOfLeg));
}

// A square frame of four beams that cross at the corners: each beam passes in front
// of the next one and behind the one before it.
void WovenFrame(CFigure &figure, int n, int thickness, int reach)
{
    PlaceBlocks(figure, ScratchOrigin,
                SolidLoop({{0, 1, n}, {1, 1, n}, {0, -1, n}, {1, -1, n}}, thickness, reach, reach));
}

// A figure of the generator, copied onto the scratch grid (moved by an even number
// of rows, so every cell keeps its neighbours).
void Generated(CFigure &figure, CFigureGenerator::Params params)
{
    CFigure base = figure;
    base.Grid.clear();
    base.Resize(CFigure::MinGridWidth, CFigure::MinGridHeight);
    const std::optional<CFigure> made = CFigureGenerator::Make(params, base);
    if (!made) {
        std::fprintf(stderr, "the generated figure does not fit\n");
        return;
    }
    for (int r = 0; r < made->Grid.size(); ++r)
        for (int c = 0; c < made->Grid[r].size(); ++c)
            if (made->Grid[r][c] >= 0)
                figure.Grid[r + 100][c + 40] = made->Grid[r][c];
}

CFigureGenerator::Params Shape(CFigureGenerator::Shape shape, int size, int thickness, int sides = 4)
{
    CFigureGenerator::Params params;
    params.shape = shape;
    params.size = size;
    params.thickness = thickness;
    params.stepHeight = thickness;
    params.sides = sides;
    return params;
}

// Nested impossible triangles of thick beams: each a solid loop like the impossible
// triangle's, the inner ones moved in along the line from the corner to the middle.
void NestedTriangles(CFigure &figure, int length, int thickness)
{
    QPoint origin = ScratchOrigin;
    for (; length >= 3 * thickness + 3; length -= 3 * (thickness + 3)) {
        PlaceBlocks(figure, origin,
                    SolidLoop({{0, 1, length}, {1, 1, length}, {2, 1, length}}, thickness, thickness, thickness));
        for (int i = 0; i < thickness + 3; ++i) {
            origin = NeighbourCell(origin.x(), origin.y(), LowerRight);
            origin = NeighbourCell(origin.x(), origin.y(), Bottom);
        }
    }
}

struct Example
{
    const char *name;
    int cubeSize;
    Palette palette;
    std::function<void(CFigure &)> build;
    // Colourings 1.. of the palette, as base colours shaded into three faces.
    std::vector<ColorRef> shaded = {};
};

std::vector<Example> Examples()
{
    return {
        // A colour per beam.
        {"impossible-triangle",
         20,
         Stone,
         [](CFigure &f) { Triangle(f, 15, 3, 2, [](int leg) { return leg; }); },
         {MakeColorRef(70, 140, 200), MakeColorRef(110, 170, 80)}},
        {"impossible-sticks", 32, Slate,
         [](CFigure &f) {
             Triangle(f, 10, 1, 2);
         }},
        {"impossible-square", 24, Ember,
         [](CFigure &f) {
             Generated(f, Shape(CFigureGenerator::PolygonFrame, 10, 2, 4));
         }},
        {"impossible-frame", 32, Plum,
         [](CFigure &f) {
             WovenFrame(f, 8, 1, 2);
         }},
        {"impossible-cube", 20, Moss,
         [](CFigure &f) {
             Generated(f, Shape(CFigureGenerator::CubeFrame, 12, 2));
         }},
        // The woven star's points in three colours by turns.
        {"impossible-star",
         24,
         Gold,
         [](CFigure &f) { HexStar(f, 6, 1, 2, [](int leg) { return (leg / 2) % 3; }); },
         {MakeColorRef(200, 70, 60), MakeColorRef(60, 150, 170)}},
        // The two triangles: their points alternate.
        {"impossible-hexagram",
         20,
         Sea,
         [](CFigure &f) { HexStar(f, 8, 2, 2, [](int leg) { return (leg / 2) % 2; }); },
         {MakeColorRef(230, 150, 50)}},
        {"impossible-triangles", 16, Night,
         [](CFigure &f) {
             NestedTriangles(f, 40, 2);
         }},
        {"impossible-stairs", 20, Stone,
         [](CFigure &f) {
             Generated(f, Shape(CFigureGenerator::PenroseStairs, 3, 1));
         }},
    };
}

// Cuts the scratch figure to its occupied cells with a margin of empty cells (rows
// move by an even count, so every cell keeps its neighbours).
CFigure Trimmed(const CFigure &scratch, int margin)
{
    int top = INT_MAX, bottom = -1, left = INT_MAX, right = -1;
    for (int r = 0; r < scratch.Grid.size(); ++r) {
        for (int c = 0; c < scratch.Grid[r].size(); ++c) {
            if (scratch.Grid[r][c] < 0)
                continue;
            top = std::min(top, r);
            bottom = std::max(bottom, r);
            left = std::min(left, c);
            right = std::max(right, c);
        }
    }
    const int rowShift = (top - 2 * margin) & ~1;
    const int colShift = left - margin;
    CFigure figure = scratch;
    figure.Grid.clear();
    figure.Resize(std::max(CFigure::MinGridWidth, right - colShift + margin + 1),
                  std::max(CFigure::MinGridHeight, bottom - rowShift + 2 * margin + 1));
    for (int r = top; r <= bottom; ++r)
        for (int c = left; c <= right && c < scratch.Grid[r].size(); ++c)
            if (scratch.Grid[r][c] >= 0)
                figure.Grid[r - rowShift][c - colShift] = scratch.Grid[r][c];
    return figure;
}

CFigure Build(const Example &example)
{
    CFigure scratch;
    scratch.Resize(ScratchSize, 2 * ScratchSize);
    scratch.CubeSize = example.cubeSize;
    scratch.Color1 = example.palette.top;
    scratch.Color2 = example.palette.right;
    scratch.Color3 = example.palette.left;
    scratch.BkColor = example.palette.background;
    for (ColorRef base : example.shaded)
        scratch.Palette.append(CColouring::Shaded(base));
    example.build(scratch);
    return Trimmed(scratch, 1);
}

bool WriteFigures(const QDir &dir)
{
    bool ok = true;
    for (const Example &example : Examples()) {
        const CFigure figure = Build(example);
        const QSize size = figure.GridSize();
        if (size.width() > CFigure::MaxGridWidth || size.height() > CFigure::MaxGridHeight)
            std::fprintf(stderr, "%s: %d x %d cells is too large\n", example.name, size.width(), size.height());
        QString error;
        const QString path = dir.filePath(QString::fromLatin1(example.name) + ".xml");
        if (!CFigureXml::Save(figure, path, &error)) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(error));
            ok = false;
        }
    }
    return ok;
}

// The figure cut to its bounds with a margin, at its stored cube size and colours.
QImage Picture(const CFigure &figure)
{
    const int margin = 8;
    const CFigure::Bounds b = figure.GetBounds();
    QImage image(b.Width() + 2 * margin, b.Height() + 2 * margin, QImage::Format_RGB32);
    image.fill(ColorFromRef(figure.BkColor));
    CWorkspaceRenderer renderer;
    CWorkspaceRenderer::Params params;
    params.CubeSize = figure.CubeSize;
    params.Offset = QPoint(margin - b.left, margin - b.top);
    renderer.DrawImage(image, figure, params);
    return image;
}

bool WritePictures(const QDir &source, const QDir &target)
{
    bool ok = true;
    for (const Example &example : Examples()) {
        CFigure figure;
        QString error;
        const QString name = QString::fromLatin1(example.name);
        if (!CFigureXml::Load(source.filePath(name + ".xml"), figure, &error)
            || !Picture(figure).save(target.filePath("ex_" + name + ".png"))) {
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
