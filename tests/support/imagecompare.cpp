// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/imagecompare.h"

#include <QImage>

QString ImageDifference(const QImage &actual, const QImage &expected)
{
    if (actual.size() != expected.size())
        return QStringLiteral("size %1x%2, expected %3x%4")
            .arg(actual.width())
            .arg(actual.height())
            .arg(expected.width())
            .arg(expected.height());
    const QImage a = actual.convertToFormat(QImage::Format_RGB32);
    const QImage e = expected.convertToFormat(QImage::Format_RGB32);
    int count = 0;
    QPoint first;
    for (int y = 0; y < a.height(); ++y) {
        const auto *la = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const auto *le = reinterpret_cast<const QRgb *>(e.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            if (la[x] != le[x] && count++ == 0)
                first = QPoint(x, y);
        }
    }
    if (count == 0)
        return QString();
    return QStringLiteral("%1 pixels differ; first at (%2, %3): %4, expected %5")
        .arg(count)
        .arg(first.x())
        .arg(first.y())
        .arg(a.pixel(first), 8, 16, QLatin1Char('0'))
        .arg(e.pixel(first), 8, 16, QLatin1Char('0'));
}

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

QString EdgeTolerantDifference(const QImage &actual, const QImage &expected, int maxDiffering)
{
    const CImageDifference difference = CompareImages(actual, expected);
    if (difference.sizeDiffers)
        return ImageDifference(actual, expected);
    if (difference.awayFromEdges == 0 && difference.differing <= maxDiffering)
        return QString();
    return QStringLiteral("%1 pixels differ (at most %2 allowed), %3 of them away from edges")
        .arg(difference.differing)
        .arg(maxDiffering)
        .arg(difference.awayFromEdges);
}
