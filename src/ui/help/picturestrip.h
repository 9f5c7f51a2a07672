// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QSize>

class QImage;

// Toolbar pictures cut from a strip of equal pictures side by side, magenta
// (255, 0, 255) made transparent; the main window's toolbar and the help window's
// Back/Forward buttons are drawn this way.
class CPictureStrip
{
public:
    // Toolbar pictures are this size in logical pixels.
    static constexpr QSize PictureSize{25, 24};

    // Picture index of strip, with its twin from the twice-as-dense strip when there
    // is one; Qt picks between them by the screen's device pixel ratio.
    static QIcon Icon(const QImage &strip, const QImage &denseStrip, int index);
};
