// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/figurewriter.h"

#include "files/bitmapexport.h"
#include "files/figurexml.h"
#include "files/pngexport.h"
#include "files/vectorexport.h"

#include <QCoreApplication>
#include <QFileInfo>

const std::vector<CFigureWriter::FileType> &CFigureWriter::Types()
{
    static const std::vector<FileType> types{
        {Format::Xml, "xml", QT_TRANSLATE_NOOP("CFigureWriter", "Tarvex figure"),
         QT_TRANSLATE_NOOP("CFigureWriter", "The figure with its sizes and colours, for opening in Tarvex again."),
         true, false},
        {Format::Png, "png", QT_TRANSLATE_NOOP("CFigureWriter", "PNG picture"),
         QT_TRANSLATE_NOOP("CFigureWriter", "A compressed picture for web pages, slides and documents: the same "
                                            "pixels as the bitmap in a small file."),
         false, true},
        {Format::Svg, "svg", QT_TRANSLATE_NOOP("CFigureWriter", "SVG drawing"),
         QT_TRANSLATE_NOOP("CFigureWriter", "A vector drawing for browsers and drawing programs; it scales to any "
                                            "size without pixels."),
         false, true},
        {Format::Pdf, "pdf", QT_TRANSLATE_NOOP("CFigureWriter", "PDF document"),
         QT_TRANSLATE_NOOP("CFigureWriter", "A vector page exactly the size of the figure, for printing and "
                                            "publishing."),
         false, false},
        {Format::Bmp, "bmp", QT_TRANSLATE_NOOP("CFigureWriter", "Windows bitmap"),
         QT_TRANSLATE_NOOP("CFigureWriter", "An uncompressed 24-bit picture, as earlier versions of Tarvex wrote "
                                            "it."),
         false, false},
    };
    return types;
}

const CFigureWriter::FileType *CFigureWriter::TypeOf(Format format)
{
    for (const FileType &type : Types())
        if (type.Id == format)
            return &type;
    return nullptr;
}

CFigureWriter::Format CFigureWriter::FormatOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const FileType &type : Types())
        if (suffix == QLatin1String(type.Suffix))
            return type.Id;
    return Format::Unknown;
}

bool CFigureWriter::KeepsFigure(const QString &path)
{
    const FileType *type = TypeOf(FormatOf(path));
    return type && type->KeepsFigure;
}

QString CFigureWriter::FilterOf(Format format)
{
    const FileType *type = TypeOf(format);
    if (!type)
        return QString();
    return QStringLiteral("%1 (*.%2)")
        .arg(QCoreApplication::translate("CFigureWriter", type->Name), QLatin1String(type->Suffix));
}

QStringList CFigureWriter::Filters()
{
    QStringList filters;
    for (const FileType &type : Types())
        filters << FilterOf(type.Id);
    return filters;
}

QString CFigureWriter::SuffixList(bool transparencyOnly)
{
    QStringList suffixes;
    for (const FileType &type : Types())
        if (!transparencyOnly || type.Transparency)
            suffixes << QLatin1Char('.') + QLatin1String(type.Suffix);
    if (suffixes.size() < 2)
        return suffixes.join(QString());
    const QString last = suffixes.takeLast();
    return QCoreApplication::translate("CFigureWriter", "%1 or %2").arg(suffixes.join(QStringLiteral(", ")), last);
}

QString CFigureWriter::HelpRows()
{
    QString rows;
    for (const FileType &type : Types())
        rows += QStringLiteral("<tr><td>%1 (.%2)</td><td>%3</td></tr>\n")
                    .arg(QCoreApplication::translate("CFigureWriter", type.Name).toHtmlEscaped(),
                         QLatin1String(type.Suffix),
                         QCoreApplication::translate("CFigureWriter", type.Purpose).toHtmlEscaped());
    return rows;
}

QString CFigureWriter::UnknownTypeText(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.isEmpty())
        return QCoreApplication::translate("CFigureWriter", "Tarvex cannot save files without an extension. "
                                                            "Choose %1.")
            .arg(SuffixList());
    return QCoreApplication::translate("CFigureWriter", "Tarvex cannot save files of type .%1. Choose %2.")
        .arg(suffix, SuffixList());
}

bool CFigureWriter::Write(Format format, const CFigure &figure, const QVector<QPoint> *selected, const QString &path,
                          bool transparent, QString *error)
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
