#pragma once

class QImage;

// Pixel comparison of two pictures of the same size (compared as opaque RGB).
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
