#include "support/imagecompare.h"

#include <QImage>

CImageDifference CompareImages(const QImage &actualImage, const QImage &expectedImage)
{
    CImageDifference result;
    if (actualImage.size() != expectedImage.size()) {
        result.sizeDiffers = true;
        return result;
    }
    const QImage actual = actualImage.convertToFormat(QImage::Format_RGB32);
    const QImage expected = expectedImage.convertToFormat(QImage::Format_RGB32);
    const int w = expected.width();
    const int h = expected.height();
    auto at = [&](int x, int y) {
        return reinterpret_cast<const QRgb *>(expected.constScanLine(y))[x] & 0xFFFFFFu;
    };
    for (int y = 0; y < h; ++y) {
        const auto *a = reinterpret_cast<const QRgb *>(actual.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb want = at(x, y);
            if ((a[x] & 0xFFFFFFu) == want)
                continue;
            ++result.differing;
            bool edge = false;
            for (int dy = -1; dy <= 1 && !edge; ++dy)
                for (int dx = -1; dx <= 1 && !edge; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    edge = nx < 0 || ny < 0 || nx >= w || ny >= h || at(nx, ny) != want;
                }
            if (!edge)
                ++result.awayFromEdges;
        }
    }
    return result;
}
