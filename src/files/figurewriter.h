// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <QVector>

#include <vector>

class CFigure;

// Writes a figure in the format its file name asks for: a figure file (.xml), a PNG
// picture (.png), an SVG drawing (.svg), a PDF document (.pdf) or a Windows bitmap
// (.bmp), the extension compared ignoring case. The editor's Save command and the
// command line both write through it. Types() is the one table of these formats that
// the writer, the save dialog, the command line and the help page read.
class CFigureWriter
{
public:
    enum class Format { Unknown, Xml, Png, Svg, Pdf, Bmp };

    struct FileType
    {
        Format Id;
        const char *Suffix;  // lower case, without the dot
        const char *Name;    // "Tarvex figure" (translated when shown)
        const char *Purpose; // what it is for, one sentence for the help page
        bool KeepsFigure;    // Tarvex can open it again as the figure
        bool Transparency;   // can leave the background out
    };
    // Every type, in the order the save dialog offers them.
    static const std::vector<FileType> &Types();
    static const FileType *TypeOf(Format format);

    static Format FormatOf(const QString &path);
    // Whether writing path keeps the figure (a figure file), not just a picture of it.
    static bool KeepsFigure(const QString &path);
    // "Tarvex figure (*.xml)": the save dialog's filter of a format.
    static QString FilterOf(Format format);
    static QStringList Filters();
    // ".xml, .png, .svg, .pdf or .bmp", and the same of the types with transparency.
    static QString SuffixList(bool transparencyOnly = false);
    // The rows of the help page's table of types: name and suffix, purpose.
    static QString HelpRows();
    // The refusal of a name whose extension is none of the five, naming it.
    static QString UnknownTypeText(const QString &path);

    // Writes path in format (not Unknown). Selected cells (may be null) come out greyed
    // in the bitmap and PNG only; transparent applies to PNG and SVG only.
    static bool Write(Format format, const CFigure &figure, const QVector<QPoint> *selected, const QString &path,
                      bool transparent, QString *error);
};
