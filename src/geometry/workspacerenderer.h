// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/figure.h"
#include "geometry/cubegeometry.h"
#include "geometry/surface.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QVector>
#include <array>
#include <memory>
#include <vector>

class CCellSet;
class CCubePainter;
class CFigure;
class QPainter;

// Draws a figure's workspace, or any rectangle of it, at any cube size: every
// occupied cell with the cube painter in row order, selected cubes greyed, empty
// cells as one black dot when asked. The view, bitmap and picture export and print
// all draw through it.
//
// On raster targets the cubes are copied from pictures of the 64 kinds, drawn once by
// the cube painter and kept while the size and the colourings stay the same; the
// copies give exactly the pixels the painter gives. A figure in one colouring copies
// its kinds' pictures; with a palette each kind's shape (its pixels cut into runs of
// one face) is filled in the colouring of each cube. Only the kinds (and greyed
// variants) actually drawn are pictured, and only up to MaxCachedSize: above it (a zoomed-in view on a high-density screen
// shows a few huge cubes) every cube is drawn with the painter's own polygons, so the
// cache holds at most 192 pictures in view of at most MaxCachedSize + 5
// pixels square; there DrawImage greys selected cubes in the pixels from each kind's
// kept outline.
// Other targets (PDF, SVG, printers) always get the painter's own polygons through
// DrawVector.
class CWorkspaceRenderer
{
public:
    // Where the drawing goes and what it shows.
    struct Params
    {
        int CubeSize = 0; // drawn size of a cube (pitch and dots follow it)
        int Scale = 1;    // integer scale: cubes of CubeSize * Scale, the pitch at that scale
        // Any other scale: every cell at its position (at CubeSize and Scale) times
        // Zoom, rounded once, so the figure keeps its proportions at every zoom; cubes
        // of DrawnSize. Offset and area are at the zoomed size.
        double Zoom = 1.0;
        QPoint Offset;                             // where the workspace origin lands in painter coordinates
        bool Dots = false;                         // mark empty cells
        const QVector<QPoint> *Selected = nullptr; // cells drawn greyed (may be null)
        // The same cells as a set (may be null): then each cell drawn is looked up in
        // it, instead of every selected cell being sorted into the drawn rows per call.
        const CCellSet *SelectedSet = nullptr;
        bool BottomUp = false; // DrawImage: the image's rows run bottom to top, as in bitmap files
        // DrawImage only: the image point the grey pattern of selected cubes is
        // anchored at (white where x + y - PatternOrigin.x - PatternOrigin.y is odd).
        QPoint PatternOrigin;
    };

    // Largest drawn cube size whose pictures are kept.
    static constexpr int MaxCachedSize = 256;
    // Smallest drawn cube size that still shows a cube's shape; smaller figures are
    // shown by DrawAveraged.
    static constexpr int MinCrispSize = 6;

    // A position of the drawing at CubeSize and Scale times the zoom, rounded once.
    static int Zoomed(int value, double zoom);
    // The width of the faces' pens: zoomed in, a face reaches as far as its pixels at
    // the figure's own size do, so faces that touch there touch at every zoom.
    static int FacePen(const Params &params);
    // The drawn size of a cube: CubeSize * Scale, times Zoom rounded.
    static int DrawnSize(const Params &params);
    // A rectangle of the drawing at CubeSize and Scale as drawn at zoom: its corners
    // (the outer ones for the bottom right) times the zoom, rounded.
    static QRect ZoomedRect(const QRect &area, double zoom);

    CWorkspaceRenderer();
    ~CWorkspaceRenderer();
    CWorkspaceRenderer(const CWorkspaceRenderer &) = delete;
    CWorkspaceRenderer &operator=(const CWorkspaceRenderer &) = delete;

    // Draws the cells whose drawing can reach area (workspace coordinates at the drawn
    // size, before the offset). The background is the caller's. The grey pattern of
    // selected cubes is anchored at the painter's origin. Targets other than raster
    // images are drawn by DrawVector.
    void Draw(QPainter &painter, const CFigure &figure, const QRect &area, const Params &params);

    // The vector form: the cube painter's face polygons, merged per row into one path
    // per face colour, and its wire frames. Selected cubes are not greyed: the grey is
    // an on-screen marker made by a raster operation, which has no vector form.
    void DrawVector(QPainter &painter, const CFigure &figure, const QRect &area, const Params &params);

    // The same into an image without a painter: image pixel (x, y) shows painter
    // point (x, y), so the image covers the workspace rectangle at -Offset with the
    // image's size. Cube pixels are copied straight from the pictures, row span by row
    // span. The image is RGB32 or ARGB32 (premultiplied or not), in a byte order of
    // picture files: RGB888, BGR888 or RGBA8888, or Indexed8 whose colour table holds
    // every colour of Colors (cube pixels are stored as the index of their colour).
    void DrawImage(QImage &image, const CFigure &figure, const Params &params);

    // The opaque colours DrawImage gives the cubes of the figure with params (face
    // colours, the wire frame of the empty cube, the grey's white; no dots), each once.
    QVector<QRgb> Colors(const CFigure &figure, const Params &params);

    // Draws now every picture DrawImage into an image of the given size would need, so
    // that DrawImage calls with these parameters only read the renderer and may run on
    // several threads at once (each on rows of its own). False when that cannot be
    // promised (pictures not kept at this size, or values that are no cube kind).
    bool PreparePictures(const CFigure &figure, const QSize &imageSize, const Params &params);

    // An area that reaches every cell of the figure at the drawn size of params.
    static QRect WholeArea(const CFigure &figure, const Params &params);

    // The rows of the grid, First to Last, whose cells' drawing can reach area
    // (workspace coordinates at the drawn size, before the offset).
    struct RowRange
    {
        int First = 0;
        int Last = -1;
        bool IsEmpty() const { return First > Last; }
    };
    static RowRange RowsReaching(const CFigure &figure, const QRect &area, const Params &params);

    // The rectangle area of the figure drawn at its true size (CubeSize and Scale),
    // as a smooth picture at params.Zoom: every pixel the average of what it covers,
    // for zooms whose cubes are too small to draw (under MinCrispSize). The picture
    // covers the zoomed rectangle from round(area.topLeft() * Zoom) to
    // round((area.bottomRight() + (1, 1)) * Zoom) on background; Selected and Dots
    // as in DrawImage, the grey anchored at the workspace origin. To keep it fast the
    // true drawing is made at the smallest zoom whose cubes are still drawn crisp
    // (AveragedFromSize) and averaged down from there.
    QImage DrawAveraged(const CFigure &figure, const QRect &area, QRgb background, const Params &params);
    static constexpr int AveragedFromSize = 12;

    // Pictures drawn since the size or the colours last changed.
    int PictureCount() const { return m_built; }
    // Bytes held by the kept pictures.
    qint64 CacheBytes() const;

private:
    struct Span
    {
        int Row; // in the picture
        int Left;
        int Length;
    };
    struct FaceRun
    {
        int Row;
        int Left;
        int Length;
        int Face;
    };
    struct Picture
    {
        QImage Image;              // premultiplied ARGB, transparent where the cube leaves the background
        QPoint Offset;             // of the image's top left corner from the cell's origin
        int Width = 0;             // the image's, read without a call into Qt
        std::vector<Span> Spans;   // the opaque runs of each row, top row first
        std::vector<int> RowSpans; // index of each row's first span, and the end
        QImage Rgb888;             // the picture in the byte orders of picture files, made when first asked
        QImage Bgr888;
        QImage Rgba8888;
        QImage Indexed8; // made for m_table
        // Shapes only: the opaque runs cut where the face changes, each with the face
        // it shows (0 top, 1 right, 2 left, 3 the grey's white), and each row's first
        // run; empty when a pixel is none of them.
        std::vector<FaceRun> Runs;
        std::vector<int> RowRuns;
    };
    // A colouring's four shape colours (three faces, the grey's white) as pixels of
    // the image format drawn into, each repeated over 48 bytes (16 pixels of 3 bytes,
    // 12 of 4, 48 of 1), so a run is filled with whole copies of it.
    using FaceTable = std::array<std::array<uchar, 48>, 4>;
    FaceTable FacePixels(const CColouring &colouring, QImage::Format format) const;
    enum Variant { Plain = 0, SelectedEven = 1, SelectedOdd = 2, VariantCount = 3 };
    // The shapes, pictures and outlines of the kinds for one set of cube points.
    struct Phase
    {
        // Per colouring of the palette, per kind, per variant.
        std::vector<std::array<std::array<Picture, VariantCount>, 64>> Pictures;
        std::array<std::array<Picture, VariantCount>, 64> Shapes;
        std::array<std::vector<QRect>, 64> Outlines;
    };
    // Zoomed, a cube's points depend on where its cell falls between device pixels
    // (ZoomedCubePoints); the points of a column and of a row are looked up in these
    // many kinds of each at most before all are forgotten and collected again.
    static constexpr int ColumnPointKinds = 16;
    static constexpr int RowPointKinds = 32;

    // Pictures of cubes of the drawn size whose faces have pens of the given width.
    void Prepare(const CFigure &figure, int size, int pen);
    void ResetPictures(Phase &phase) const;
    // Finds the cube points of every row and column of the figure at params' zoom.
    void PreparePhases(const CFigure &figure, const Params &params);
    // The cube points of a phase: 0 those of the drawn size, others zoomed.
    CubePoints PhasePoints(int phase, int size) const;
    // The cube painter at the drawn size with a phase's points and pens.
    CCubePainter PhasePainter(const Params &params, int phase) const;
    Phase &PhaseAt(int phase);
    Picture &Get(qint32 value, Variant variant, int phase);
    // What DrawImage draws a cell from, Drawn: its kind's shape (filled in the cell's
    // colouring) or its picture, whose pixels in the image's format start at Bits.
    struct Found
    {
        Picture *Drawn = nullptr;
        bool Shape = false;
        const uchar *Bits = nullptr;
        qsizetype Stride = 0;
        // Whether it serves every cube of its kind: a shape, or any picture when the
        // figure has no palette (not a picture of one colouring of a palette).
        bool ServesKind(bool shapes) const { return Shape || !shapes; }
    };
    Found Find(qint32 value, Variant variant, int phase, bool shapes, QImage::Format format);
    // The picture variant of a cell drawn at (x, y), the grey anchored at parity.
    static Variant VariantAt(bool selected, int x, int y, int parity);
    // Every cell with the cube painter, selected cubes greyed by its raster operation.
    void DrawEachCell(QPainter &painter, const CFigure &figure, const QRect &area, const Params &params) const;
    const QImage &Pixels(Picture &picture, QImage::Format format);
    // Takes the colour table of the Indexed8 images drawn next; indexed pictures made
    // for another table are dropped.
    void UseTable(const QVector<QRgb> &table);
    // The picture of kind value (or of a value that is no cube) drawn in colouring.
    Picture Build(qint32 value, const CColouring &colouring, Variant variant, int phase) const;
    // A kind's picture in the shape colouring, kept while the size stays; every
    // colouring's picture of the kind is made from it.
    Picture &Shape(CubeIndex kind, Variant variant, int phase);
    // Which face (0 top, 1 right, 2 left) a shape's pixel shows, or -1 (the grey's white).
    static int ShapeFace(QRgb pixel);
    static Picture Recoloured(const Picture &shape, const CColouring &colouring);
    // The rectangles a cube of the kind covers at the current size, from its cell's
    // origin; kept per kind (they depend on the size only, not on the colours).
    const std::vector<QRect> &Outline(qint32 value, int phase);
    // Greys the cube of the kind whose cell origin is at origin in a 32-bit image, the
    // pattern anchored as DrawImage's is.
    void Grey(QImage &image, qint32 value, int phase, const QPoint &origin, int parity);
    // Calls cell(value, x, y, selected, phase) for every cell whose drawing can reach area.
    template <typename CellFn>
    void VisitCells(const CFigure &figure, const QRect &area, const Params &params, CellFn cell) const;

    int m_size = -1;
    int m_pen = 1;
    QVector<CColouring> m_colourings;             // of the figure the pictures were drawn for
    QRect m_extent;                               // what any picture can cover, relative to the cell's origin
    std::vector<std::unique_ptr<Phase>> m_phases; // 1 + ColumnPointKinds * RowPointKinds
    // The zoomed points found so far: x of the columns, y of the rows.
    std::vector<std::array<int, 5>> m_columnPoints;
    std::vector<std::array<int, 10>> m_rowPoints;
    // Per row its entry in m_rowPoints, per row parity and column its m_columnPoints.
    std::vector<int> m_rowPhase;
    std::array<std::vector<int>, 2> m_columnPhase;
    double m_phaseZoom = 0; // the zoom and size they were found for
    int m_phaseSize = 0;
    std::vector<QRect> m_scratchOutline;
    Picture m_scratch;     // a picture of a value that is no cube kind, not kept
    QVector<QRgb> m_table; // colour table of the Indexed8 pictures
    int m_built = 0;
};
