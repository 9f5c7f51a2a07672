// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/cubegeometry.h"
#include "geometry/surface.h"

#include <optional>

class QBrush;
class QPainter;
class QPolygon;
class QRegion;

// Draws one cube of a given kind at a given place and size, and answers the region
// questions about it (which part is under a point, whether it lies inside a region),
// greys it as selected or inverts a frame around it. Every cube on screen, in the
// pickers, in exports and on paper is drawn by this one painter.
class CCubePainter
{
public:
    CCubePainter() = default;
    virtual ~CCubePainter();

    int Left = 0;
    int Top = 0;
    int Index = 0;
    int Size = 0;
    bool DrawOutline = false;
    bool DrawPartBorders = false;
    ColorRef TopColor = 0x0000FF;
    ColorRef RightColor = 0x00EE00;
    ColorRef LeftColor = 0xFF0000;
    // The cube's points relative to (Left, Top) when they are not those of Size: a
    // cube of the figure drawn zoomed (ZoomedCubePoints). Hit tests stay at Size.
    std::optional<CubePoints> Points;
    // The width of the faces' pens (a zoomed cube's faces reach as far as its own
    // pixels would).
    int PenWidth = 1;

    CubePoints ComputeCubePoints() const;
    QRegion GetPartRegion(int part) const;
    QRegion GetCubeRegion() const;

    // Paints the three faces of kinds 0..63, the wire-frame outline for the empty
    // cube or when DrawOutline is set, and the Centre border when DrawPartBorders is.
    void Draw(QPainter &painter) const;

    // The outline of one face of a cube kind 0..63 (0 top, 1 right-hand side, 2
    // left-hand side), each filled in its colour with a one-pixel pen of that colour.
    QPolygon FacePolygon(int face) const;

    // The first part 0..6 whose region holds (x, y), or -1. Unless allParts is set,
    // cut corners are not tested.
    int HitPart(int x, int y, bool allParts) const;

    // Greys the visible region: ORs it with the checker pattern anchored at the
    // painter's origin, so every other pixel turns white.
    void FillSelected(QPainter &painter) const;

    // Inverts the one-pixel border of the visible region moved by (dx, dy). Doing it
    // twice restores the picture.
    void DrawFrameXor(QPainter &painter, int dx, int dy) const;

    // Whether every visible pixel of the cube lies inside region.
    bool IsInsideRegion(const QRegion &region) const;
};

// The 8 x 8 grey pattern: white where x + y is odd, black elsewhere.
QBrush CreateGrayPatternBrush();
