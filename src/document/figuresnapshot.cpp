// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/figuresnapshot.h"

CFigureSnapshot::CFigureSnapshot(const CFigureSnapshot &other)
    : Color3(other.Color3)
    , Color2(other.Color2)
    , Color1(other.Color1)
    , BkColor(other.BkColor)
    , CubeSize(other.CubeSize)
    , Grid(other.Grid)
    , Selection(other.Selection ? std::make_unique<CCubeSelection>(*other.Selection) : nullptr)
{
}
