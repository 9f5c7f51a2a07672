// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the figure loader (reader and settings/cube checks) on a fresh
// figure. A figure that loads must also save and load back to the same figure.

#include "files/figurexml.h"
#include "files/xmlelement.h"
#include "geometry/figure.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    CFigure figure;
    QString error;
    if (!CFigureXml::LoadFromData(bytes, figure, &error)) {
        if (error.isEmpty())
            std::abort(); // every refusal gives a reason
        return 0;
    }
    const QByteArray saved = CFigureXml::BuildTree(figure).GetXmlText(true);
    CFigure back;
    if (!CFigureXml::LoadFromData(saved, back, &error) || back != figure)
        std::abort();
    return 0;
}
