// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "view/tarvexview.h"

#include <QPoint>

// Where a view draws its workspace's corner (workspace point (0, 0)): scrolled on an
// axis where the workspace is larger than the viewport, centred where it is smaller.
// As a viewport point (logical pixels), and as a device pixel of the viewport.
inline QPoint WorkspaceOrigin(const CTarvexView &view)
{
    return -view.Mapping().Scroll();
}

inline QPoint DeviceWorkspaceOrigin(const CTarvexView &view)
{
    return -view.DeviceScroll();
}
