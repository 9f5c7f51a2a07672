// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/cubeselection.h"
#include "geometry/figure.h"

#include <optional>

// One entry of the edit history: the figure and the selection at one moment. The
// figure's rows are shared with the document's, so an entry costs only the rows
// changed after it.
struct CFigureSnapshot
{
    CFigure Figure;
    std::optional<CCubeSelection> Selection; // none while select-and-move mode was off
};
