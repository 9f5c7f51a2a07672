#pragma once

#include <QPoint>

class CTarvexDoc;

// The straightforward hit tests: every cell in row order, a region per cube. The
// document's fast lookups must give the same answers; the benchmark measures both.
QPoint CellFromPointByScan(const CTarvexDoc &doc, int x, int y);
QPoint CubeFromPointByScan(const CTarvexDoc &doc, int x, int y);
