// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QString>
#include <QVector>

class CFigure;

// Writes a figure in the format its file name asks for: a figure file (.xml), a PNG
// picture (.png), an SVG drawing (.svg), a PDF document (.pdf) or a Windows bitmap
// (.bmp), the extension compared ignoring case. The editor's Save command and the
// command line both write through it.
class CFigureWriter
{
public:
    enum class Format { Unknown, Xml, Png, Svg, Pdf, Bmp };

    static Format FormatOf(const QString &path);
    // The refusal of a name whose extension is none of the five, naming it.
    static QString UnknownTypeText(const QString &path);

    // Writes path in format (not Unknown). Selected cells (may be null) come out greyed
    // in the bitmap and PNG only; transparent applies to PNG and SVG only.
    static bool Write(Format format, const CFigure &figure, const QVector<QPoint> *selected,
                      const QString &path, bool transparent, QString *error);
};
