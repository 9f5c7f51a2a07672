// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/cubeselection.h"
#include "geometry/figure.h"
#include "geometry/surface.h"

#include <QVector>
#include <memory>

// One entry of the edit history: the whole figure state at one moment.
class CFigureSnapshot
{
public:
    CFigureSnapshot() = default;
    CFigureSnapshot(const CFigureSnapshot &other);
    CFigureSnapshot &operator=(const CFigureSnapshot &) = delete;

    ColorRef Color3 = 0;
    ColorRef Color2 = 0;
    ColorRef Color1 = 0;
    ColorRef BkColor = 0;
    qint32 CubeSize = 0;
    CubeGrid Grid;
    std::unique_ptr<CCubeSelection> Selection;   // null when select-and-move mode was off
};
