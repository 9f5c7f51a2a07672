// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/figure.h"
#include "geometry/surface.h"

#include <array>

// The 16 custom colours of the colour chooser, kept with the settings.
using CustomColorSet = std::array<ColorRef, 16>;

// What the Options dialog edits: the grid size, the cube size and the four figure
// colours, plus the chooser's custom colours. A plain value the document hands to the
// dialog and takes back.
struct COptions
{
    static constexpr CustomColorSet WhiteColors()
    {
        CustomColorSet colors{};
        for (ColorRef &c : colors)
            c = 0xFFFFFF;
        return colors;
    }

    int Width = CFigure::DefaultWidth;
    int Height = CFigure::DefaultHeight;
    int CubeSize = CFigure::DefaultCubeSize;
    ColorRef BkColor = CFigure::DefaultBkColor;
    ColorRef Color1 = CFigure::DefaultColor1;
    ColorRef Color2 = CFigure::DefaultColor2;
    ColorRef Color3 = CFigure::DefaultColor3;
    CustomColorSet CustomColors = WhiteColors();

    // Everything but the custom colours: what changes the figure.
    bool SameFigureSettings(const COptions &o) const
    {
        return Width == o.Width && Height == o.Height && CubeSize == o.CubeSize && BkColor == o.BkColor
               && Color1 == o.Color1 && Color2 == o.Color2 && Color3 == o.Color3;
    }
    bool operator==(const COptions &o) const { return SameFigureSettings(o) && CustomColors == o.CustomColors; }
    bool operator!=(const COptions &o) const { return !(*this == o); }
};
