// libFuzzer target: the figure loader (reader and settings/cube checks) on a fresh
// document. A figure that loads must also save and load back to the same figure.

#include "document/tarvexdoc.h"
#include "files/figurexml.h"
#include "files/xmlelement.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    CTarvexDoc doc(false);
    doc.Reset();
    QString error;
    if (!CFigureXml::LoadFromData(doc, bytes, &error)) {
        if (error.isEmpty())
            std::abort();   // every refusal gives a reason
        return 0;
    }
    const QByteArray saved = CFigureXml::BuildTree(doc).GetXmlText(true);
    CTarvexDoc back(false);
    back.Reset();
    if (!CFigureXml::LoadFromData(back, saved, &error) || back.Grid() != doc.Grid() ||
        back.CubeSize != doc.CubeSize || back.Color1 != doc.Color1 || back.Color2 != doc.Color2 ||
        back.Color3 != doc.Color3 || back.BkColor != doc.BkColor)
        std::abort();
    return 0;
}
