// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/figurewriter.h"

#include "files/bitmapexport.h"
#include "files/figurexml.h"
#include "files/pngexport.h"
#include "files/vectorexport.h"

#include <QCoreApplication>
#include <QFileInfo>

CFigureWriter::Format CFigureWriter::FormatOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("xml"))
        return Format::Xml;
    if (suffix == QLatin1String("png"))
        return Format::Png;
    if (suffix == QLatin1String("svg"))
        return Format::Svg;
    if (suffix == QLatin1String("pdf"))
        return Format::Pdf;
    if (suffix == QLatin1String("bmp"))
        return Format::Bmp;
    return Format::Unknown;
}

QString CFigureWriter::UnknownTypeText(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.isEmpty())
        return QCoreApplication::translate("CFigureWriter",
                                           "Tarvex cannot save files without an extension. "
                                           "Choose .xml, .png, .svg, .pdf or .bmp.");
    return QCoreApplication::translate("CFigureWriter",
                                       "Tarvex cannot save files of type .%1. "
                                       "Choose .xml, .png, .svg, .pdf or .bmp.")
        .arg(suffix);
}

bool CFigureWriter::Write(Format format, const CFigure &figure, const QVector<QPoint> *selected,
                          const QString &path, bool transparent, QString *error)
{
    switch (format) {
    case Format::Xml:
        return CFigureXml::Save(figure, path, error);
    case Format::Png:
        return CPngExport::Export(figure, path, error, transparent);
    case Format::Svg:
        return CVectorExport::ExportSvg(figure, path, error, transparent);
    case Format::Pdf:
        return CVectorExport::ExportPdf(figure, path, error);
    case Format::Bmp:
        return CBitmapExport::Export(figure, selected, path, error);
    case Format::Unknown:
        break;
    }
    if (error)
        *error = UnknownTypeText(path);
    return false;
}
