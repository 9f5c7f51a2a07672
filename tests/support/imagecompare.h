#pragma once

#include <QString>

class QImage;

// Compares two pictures pixel by pixel in RGB32. Empty when they are equal; otherwise
// what differs (size, or how many pixels and where the first one is), for QVERIFY2.
QString ImageDifference(const QImage &actual, const QImage &expected);
