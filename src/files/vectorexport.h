// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QSize>
#include <QString>

class CFigure;
class QPainter;

// The figure as a vector picture (SVG or PDF): the cube painter's faces as polygons,
// drawn by the workspace renderer's vector path. The page is exactly the figure's
// bounding box, one unit per workspace pixel (a PDF page past what readers take is
// scaled down to fit it); the background is placed as in the
// bitmap export. Selected cubes are not greyed (the grey is an on-screen marker).
class CVectorExport
{
    Q_DECLARE_TR_FUNCTIONS(CVectorExport)

public:
    // Width and height of the page: the figure's bounding box.
    static QSize PageSize(const CFigure &figure);
    // The longest page side PDF readers take (in points); a larger PDF page is scaled.
    static constexpr int MaxPdfPageSide = 14400;
    // The PDF page's scale (1, or less for a page past MaxPdfPageSide) and its size in
    // points: PageSize times the scale, rounded, within MaxPdfPageSide on each side.
    static double PdfScale(const CFigure &figure);
    static QSize PdfPageSize(const CFigure &figure);

    // Paints the page onto painter, its top left corner at the painter's origin: the
    // background (left out when transparent), white beyond the workspace, the cubes.
    static void Paint(const CFigure &figure, QPainter &painter, bool transparent);

    // Each writes the whole file or, on failure, leaves any previous file untouched.
    static bool ExportSvg(const CFigure &figure, const QString &path, QString *error, bool transparent = false);
    static bool ExportPdf(const CFigure &figure, const QString &path, QString *error);
};
