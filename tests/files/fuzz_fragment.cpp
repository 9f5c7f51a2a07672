// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the clipboard fragment reader. A fragment it takes holds only
// cells of the largest grid with cube values, and encodes and reads back the same.

#include "files/figurefragment.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    CFigureFragment fragment;
    if (!CFigureFragment::Decode(bytes, fragment))
        return 0;
    if (fragment.Cells.size() != fragment.Values.size() || fragment.Cells.size() > CFigureFragment::MaxCells)
        std::abort();
    const CFigure figure = fragment.ToFigure();
    for (int i = 0; i < fragment.Cells.size(); ++i) {
        const QPoint cell = fragment.Cells[i];
        if (cell.y() >= CFigure::MaxGridHeight || cell.x() >= RowLength(CFigure::MaxGridWidth, cell.y())
            || fragment.Values[i] < 0 || fragment.Values[i] >= CubeKindCount || !figure.HasCell(cell.x(), cell.y()))
            std::abort();
    }
    CFigureFragment back;
    if (!CFigureFragment::Decode(fragment.Encode(), back) || back.Cells != fragment.Cells
        || back.Values != fragment.Values || back.CubeSize != fragment.CubeSize || back.Color3 != fragment.Color3)
        std::abort();
    return 0;
}
