// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QImage;

// Compares two pictures pixel by pixel in RGB32. Empty when they are equal; otherwise
// what differs (size, or how many pixels and where the first one is), for QVERIFY2.
QString ImageDifference(const QImage &actual, const QImage &expected);

// Comparison with a tolerance along edges, for pictures rasterised from vectors
// (compared as opaque RGB).
// differing counts every pixel whose colour differs; awayFromEdges counts those of
// them whose 3 x 3 neighbourhood in expected is one colour, that is, pixels that are
// not beside a colour edge of expected or the picture's border (a rasterised polygon
// may land one pixel off along its edges, or be blended there, nowhere else).
struct CImageDifference
{
    int differing = 0;
    int awayFromEdges = 0;
    bool sizeDiffers = false;
};

CImageDifference CompareImages(const QImage &actual, const QImage &expected);

// Empty when actual is expected but for at most maxDiffering pixels, all along edges
// (see CompareImages); otherwise what differs, for QVERIFY2.
QString EdgeTolerantDifference(const QImage &actual, const QImage &expected, int maxDiffering);
