// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/workspacerenderer.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QVector>
#include <functional>
#include <array>
#include <memory>

class CCubeSelection;
class CFigure;
class QPainter;

// Draws the exposed part of a workspace view at device pixels: straight into the
// window's backing store when the painter writes into it one to one (otherwise into an
// image copied onto the screen), band by band of 32 rows, on two threads for large
// areas; where cubes are too small to keep their shape, the whole workspace averaged
// once until the figure or the scale changes. The view's feedback goes on top.
class CViewPainter
{
public:
    CViewPainter();
    ~CViewPainter();

    // The figure changed: the averaged picture is made again when it is needed.
    void FigureChanged() { m_averaged = QImage(); }

    struct Area
    {
        QRect Device;       // the exposed device pixels of the viewport
        QSize ViewportSize; // the whole viewport in device pixels
        bool OneRectangle;  // the exposed region is that one rectangle
        qreal Ratio;        // device pixels per logical pixel
        QPoint Scroll;      // the workspace point at the viewport's corner
        double Scale;       // device pixels per pixel of the figure
    };
    // Paints the area of figure, its selected cells (selection may be null) greyed; feedback then paints over
    // it with the painter in workspace coordinates.
    void Paint(QPainter &painter, const Area &area, const CFigure &figure, const CCubeSelection *selection,
               const std::function<void(QPainter &)> &feedback);

private:
    // Draws the cubes into part band by band (on two threads for large parts).
    void DrawBands(QImage &part, const CFigure &figure, const QColor &background,
                   const CWorkspaceRenderer::Params &params);

    std::unique_ptr<CWorkspaceRenderer> m_renderer;
    QImage m_averaged; // the whole workspace averaged, at m_averagedScale (null: none)
    double m_averagedScale = 0;
    QImage m_buffer;               // device pixels of the exposed area, reused between paints
    std::array<QImage, 2> m_bands; // where each drawing thread draws a band before it goes on screen
};
