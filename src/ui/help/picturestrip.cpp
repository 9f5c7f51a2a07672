// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/help/picturestrip.h"

#include <QImage>
#include <QPixmap>

namespace {

// Picture index of a strip whose pictures are scale times PictureSize.
QPixmap Cut(const QImage &strip, int index, int scale)
{
    const QSize size = CPictureStrip::PictureSize * scale;
    QImage picture = strip.copy(index * size.width(), 0, size.width(), size.height())
                         .convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            if ((line[x] & 0xFFFFFF) == 0xFF00FF)
                line[x] = 0;
    }
    picture.setDevicePixelRatio(scale);
    return QPixmap::fromImage(picture);
}

} // namespace

QIcon CPictureStrip::Icon(const QImage &strip, const QImage &denseStrip, int index)
{
    QIcon icon(Cut(strip, index, 1));
    if (denseStrip.width() >= 2 * strip.width() && denseStrip.height() >= 2 * strip.height())
        icon.addPixmap(Cut(denseStrip, index, 2));
    return icon;
}
