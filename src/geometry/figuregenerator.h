// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/figure.h"

#include <QCoreApplication>
#include <QString>
#include <optional>

// The classic impossible figures, made from their sizes.
//
// Every figure is drawn in the 3-D space of CIsoSpace: beams and steps are boxes of
// points, each piece placed back to front with the placing rule, so it is seen solid.
// The pieces of a figure are placed one after the other, so where two meet the later
// one is seen in front. The figure comes out impossible where it closes: there its
// first piece is laid once more over the last one (an overlay: each of its cubes with
// the corners it has in a picture of that piece alone, so it covers what lies around
// it but keeps its own cubes' order), and is seen in front of the piece it should pass
// behind.
class CFigureGenerator
{
    Q_DECLARE_TR_FUNCTIONS(CFigureGenerator)

public:
    enum Shape {
        Tribar,              // size: side length; thickness 1..3
        PenroseStairs,       // size: steps per side; step height 1..2
        CubeFrame,           // size: edge length; thickness 1..3
        PolygonFrame,        // size: side; thickness 1..3; sides 3..6
        ReutersvardTriangle, // size: cubes per side
        ShapeCount
    };

    struct Params
    {
        Shape shape = Tribar;
        int size = 8;
        int thickness = 2;
        int sides = 4;
        int stepHeight = 1;
        bool operator==(const Params &o) const
        {
            return shape == o.shape && size == o.size && thickness == o.thickness && sides == o.sides
                   && stepHeight == o.stepHeight;
        }
    };

    struct Range
    {
        int min = 1;
        int max = 1;
    };

    static QString Name(Shape shape);
    // What the size of a shape counts ("Side length", "Steps per side", ...).
    static QString SizeName(Shape shape);
    static Range SizeRange(Shape shape);
    static bool HasThickness(Shape shape) { return shape == Tribar || shape == CubeFrame || shape == PolygonFrame; }
    static Range ThicknessRange() { return {1, 3}; }
    static Range SidesRange() { return {3, 6}; }
    static Range StepHeightRange() { return {1, 2}; }
    // The parameters kept to their ranges.
    static Params Bounded(Params params);

    // The figure of params with the colours and the cube size of base, on a grid of at
    // least base's grid size, grown up to the largest grid where the figure needs it,
    // the figure centred on it. Empty when it does not fit the largest grid.
    static std::optional<CFigure> Make(const Params &params, const CFigure &base);
};
