// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/viewmapping.h"
#include "geometry/workspacerenderer.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QPoint>
#include <QVector>
#include <functional>
#include <memory>

class CPlaceCubeHandler;
class CSelectMoveHandler;
class CTarvexDoc;
class CWorkspaceRenderer;
class QPrinter;

// Registers the view's cursors.
void InitViewResources();

// The workspace: a scrolling view of the document's grid. It paints the figure with
// the workspace renderer and hands mouse and keyboard events to its two input
// handlers: placing cubes in drawing mode, selecting and moving them in
// select-and-move mode. The view keeps no figure data; it reads the document at every
// event and repaints on its UpdateAllViews.
//
// The view draws at the screen's device pixels and at its own zoom: every cell at its
// position at CubeSize times zoom x device pixel ratio, rounded once, with cubes of
// the display size round(CubeSize x zoom x ratio), so the figure keeps its
// proportions; where cubes would be too small to keep their shape, the true drawing
// averaged. Its workspace coordinates (ToWorkspace, the handlers' points) are device
// pixels of that drawn workspace; at ratio 1 and 100 % they are the document's
// workspace coordinates.
// Zoom belongs to the view alone: it is no edit and is not stored anywhere.
class CTarvexView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    // Cursor ids of the four view cursors.
    enum CursorId {
        CubeCursor = 135,   // drawing mode, over a cell
        NoCellCursor = 136, // drawing mode, over no cell
        CopyCursor = 172,   // select-and-move mode, Ctrl held
        ArrowCursor = 173   // select-and-move mode
    };

    explicit CTarvexView(CTarvexDoc &doc, QWidget *parent = nullptr);
    ~CTarvexView() override;

    CTarvexDoc &GetDocument() const { return m_doc; }
    // Select-and-move mode: clicks, drags, the drag feedback and Delete.
    CSelectMoveHandler *SelectMove() const { return m_selectMove.get(); }

    // Where the picked cube kind comes from (the main frame's GetCurrentCube): 0..63,
    // or 64 for the empty cube. Without a source clicks erase.
    void SetCurrentCubeSource(std::function<int()> source);
    // The colouring picked in the palette, for "Paint selection" (key P).
    void SetCurrentPaintSource(std::function<int()> source);

    // How the view shows the figure now: scroll position, device pixel ratio, zoom.
    CViewMapping Mapping() const;
    // The scroll position (logical pixels), and a viewport point in the workspace the
    // view draws (device pixels at the view's scale).
    QPoint ScrollPosition() const;
    QPoint ToWorkspace(const QPointF &viewportPoint) const;
    // The scroll position in device pixels: the workspace point at the viewport's corner.
    QPoint DeviceScroll() const;
    // A rectangle of the drawn workspace as the viewport rectangle covering it.
    QRect ToViewport(const QRect &workspaceRect) const;

    // Zoom levels in percent, smallest first; 100 % is DefaultZoomIndex.
    static const QVector<int> &ZoomLevels();
    static int DefaultZoomIndex();
    int ZoomPercent() const;
    // The level of ZoomPercent, or the level below it when the zoom lies between two.
    int ZoomIndex() const;
    // Moves to a zoom level, or to any percentage from the smallest level to the
    // largest, keeping the workspace point under the viewport point anchor where it is
    // (as far as the scroll range allows).
    void SetZoomIndex(int index, const QPointF &anchor);
    void SetZoomPercent(int percent, const QPointF &anchor);
    // Up (positive) or down by levels; from between two levels the first step goes to
    // the neighbouring one.
    void StepZoom(int steps, const QPointF &anchor);
    void ZoomIn();
    void ZoomOut();
    void ResetZoom();
    // The largest zoom at which the whole workspace fits the viewport, and going there.
    int FitPercent() const;
    void ZoomToFit();
    qreal DevicePixelRatio() const;
    // The drawn cube size in device pixels.
    int DisplaySize() const;

    // Sets the scroll range to the workspace size and repaints at once.
    void OnUpdate();

    // The cursor for a pointer at viewportPoint with the given keyboard state.
    CursorId ChooseCursor(const QPoint &viewportPoint, Qt::KeyboardModifiers modifiers) const;
    CursorId CurrentCursorId() const { return m_cursorId; }
    static QCursor CursorFor(CursorId id);
    // The same for a screen of the given device pixel ratio (2x pictures above 1).
    static QCursor CursorFor(CursorId id, qreal ratio);

    // Places the picked cube (or erases) at a workspace point; true when a cell was hit.
    bool PlaceCubeAt(const QPoint &workspacePoint);
    CPlaceCubeHandler *PlaceCube() const { return m_placeCube.get(); }

    // The keyboard's cell cursor: where Space places and the arrows start from. It
    // shows from the first key that uses it while the view has the focus; mouse
    // placements move it along.
    QPoint CellCursor() const { return m_cellCursor; }
    bool IsCellCursorShown() const { return m_showCellCursor; }
    // The cells outlined while Shift is held: where a Shift+click would draw a beam.
    const QVector<QPoint> &BeamOutline() const { return m_beamOutline; }

    // The clipboard: the selected cubes (with none selected, or in drawing mode, the
    // whole figure) as a figure fragment and its pictures; cut also erases the
    // selected cubes. Paste places a fragment as the new selection at its own cells,
    // or under the pointer when it is over the view, moved whole to stay in the grid.
    void Copy(bool cut = false);
    void Paste();

    // Printing: the figure centred on the printer's page.
    void PrintPage(QPrinter *printer) const;
    // Runs the print preview; the caller hides what the preview should not show.
    void OnFilePrintPreview();

Q_SIGNALS:
    void ZoomChanged(int percent);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void UpdateScrollRange();
    // Draws the cubes into part band by band (on two threads for large parts).
    void DrawBands(QImage &part, const CFigure &figure, const QColor &background,
                   const CWorkspaceRenderer::Params &params);
    void UpdateCursor(Qt::KeyboardModifiers modifiers);
    void SetCursorId(CursorId id);
    // The square a cell is drawn in at the display size, with room for its outline.
    QRect CellArea(const QPoint &cell) const;
    void UpdateCells(const QVector<QPoint> &cells);
    // Moves the cell cursor; with show it appears and the view scrolls to it.
    void SetCellCursor(const QPoint &cell, bool show);
    // Outlines the beam a Shift+click at viewportPoint would draw (nothing without Shift).
    void UpdateBeamOutline(const QPoint &viewportPoint, Qt::KeyboardModifiers modifiers);
    void PaintCellOutline(QPainter &painter, const QPoint &cell, const QColor &inner) const;
    // Arrows, Space, Enter, Delete and Backspace on the cell cursor; true when used.
    bool CellKeyPress(QKeyEvent *event);

    CTarvexDoc &m_doc;
    std::unique_ptr<CWorkspaceRenderer> m_renderer;
    std::unique_ptr<CPlaceCubeHandler> m_placeCube;
    std::unique_ptr<CSelectMoveHandler> m_selectMove;
    std::function<int()> m_currentPaint;
    CursorId m_cursorId = NoCellCursor;
    int m_zoomPercent;
    int m_wheelAngle = 0;    // Ctrl+wheel rotation not yet turned into zoom steps
    double m_shownScale = 0; // scale the scroll range was last set for
    QImage m_averaged;       // the whole workspace averaged, at m_averagedScale (null: none)
    double m_averagedScale = 0;
    QImage m_buffer; // device pixels of the exposed area, reused between paints
    QPoint m_cellCursor{0, 0};
    bool m_showCellCursor = false;
    int m_cursorColumn = 0;           // in half cells: the column up and down keep to...
    QPoint m_cursorColumnFor{-1, -1}; // ...while the cursor is still where they took it
    bool m_keyStroke = false;         // Shift+arrows placed since Shift went down
    QVector<QPoint> m_beamOutline;
};
