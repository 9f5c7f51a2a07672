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
#include <vector>

class CCubeSelection;
class CFigure;
class QPainter;

// Draws the exposed part of a workspace view at device pixels: straight into the
// window's backing store when the painter writes into it one to one (otherwise into an
// image copied onto the screen), band by band of 64 rows, on two threads for large
// areas; where cubes are too small to keep their shape, the whole workspace averaged
// once until the figure or the scale changes. The view's feedback goes on top.
// Drawing straight into the window, it keeps what the window's pixels show: which
// bands of 64 rows of the view show the background alone, and which show the drawing
// of which rows of the grid. It does not write those again while they still
// show what the figure and the view would draw there. Its owner calls Forget when
// anything else may have changed those pixels (CPaintWatch tells).
class CViewPainter
{
public:
    // Rows filled and drawn together: a band of 4K rows stays in the processor's
    // caches, and the fewer the bands, the fewer the cells drawn in two of them.
    static constexpr int BandRows = 64;

    CViewPainter();
    ~CViewPainter();

    // The figure changed: the averaged picture is made again when it is needed.
    void FigureChanged() { m_averaged = QImage(); }
    // Something else than the painter may have changed the view's pixels in the
    // window (a scroll moved them, another widget painted over them; CPaintWatch
    // tells): none is known to show anything any more.
    void Forget() { m_shown = Shown(); }

    struct Area
    {
        QRect Device;       // the exposed device pixels of the viewport
        QSize ViewportSize; // the whole viewport in device pixels
        bool OneRectangle;  // the exposed region is that one rectangle
        qreal Ratio;        // device pixels per logical pixel
        QPoint Scroll;      // the workspace point at the viewport's corner
        double Scale;       // device pixels per pixel of the figure
        QRect Feedback;     // in workspace device pixels, what the feedback may paint in
    };
    // Paints the area of figure, its selected cells (selection may be null) greyed; feedback then paints over
    // it with the painter in workspace coordinates.
    void Paint(QPainter &painter, const Area &area, const CFigure &figure, const CCubeSelection *selection,
               const std::function<void(QPainter &)> &feedback);

private:
    // Draws the cubes into part band by band (on two threads for large parts); drawn
    // holds the rows cells draw in, the others get the background. Bands are the
    // view's, from row top of the view (part's first row); those keep (per band of
    // the view, or null) says show what they should already are left alone.
    void DrawBands(QImage &part, const CFigure &figure, const QColor &background,
                   const CWorkspaceRenderer::Params &params, const QRect &drawn, int top, const uchar *keep);
    // What a band of the view shows: not known, the background alone across the view,
    // or the drawing of Shown's grid across the view.
    enum BandShows : uchar { Unknown, Background, Drawing };
    // What the window's pixels show of the view, from its last paint straight into them.
    struct Shown
    {
        bool Known = false;            // false: nothing
        qint64 Serial = 0;             // the window image's (ImageSerial)
        const uchar *Origin = nullptr; // the view's first pixel in the window's pixels
        qsizetype Stride = 0;
        QSize Size; // the view's device pixels
        QRgb Background = 0;
        // The drawing the bands show: the cells of Grid, those of Selected greyed, at
        // Key's size and scroll.
        struct Key
        {
            int CubeSize = 0;
            double Scale = 0;
            QPoint Scroll;
            QVector<CColouring> Colourings;
            bool operator==(const Key &o) const
            {
                return CubeSize == o.CubeSize && Scale == o.Scale && Scroll == o.Scroll && Colourings == o.Colourings;
            }
        } Drawing;
        CubeGrid Grid;
        QVector<QPoint> Selected;
        std::vector<BandShows> Bands; // per band of BandRows rows of the view
    };
    void StartShown(const uchar *origin, qsizetype stride, const QSize &size, QRgb background);
    // Per band of the view, whether it shows what figure and selection draw there with
    // params now (blank: per band, no cell draws there); the record is then kept for
    // figure and selection.
    std::vector<uchar> BandsStillShown(const CFigure &figure, const CCubeSelection *selection, const Shown::Key &key,
                                       const CWorkspaceRenderer::Params &params, const QPoint &scroll,
                                       const std::vector<uchar> &blank);

    std::unique_ptr<CWorkspaceRenderer> m_renderer;
    QImage m_averaged; // the whole workspace averaged, at m_averagedScale (null: none)
    double m_averagedScale = 0;
    QImage m_buffer;               // device pixels of the exposed area, reused between paints
    std::array<QImage, 2> m_bands; // where each drawing thread draws a band before it goes on screen
    Shown m_shown;
};
