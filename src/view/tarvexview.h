// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/viewmapping.h"
#include "geometry/workspacerenderer.h"
#include "view/viewscroller.h"
#include "view/viewtool.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QPoint>
#include <QVector>
#include <functional>
#include <memory>

class CCellCursor;
class CPaintWatch;
class CPanTool;
class CPlaceCubeHandler;
class CSelectMoveHandler;
class CTarvexDoc;
class CViewPainter;
class QPrinter;

// Registers the view's cursors.
void InitViewResources();

// The workspace: a scrolling view of the document's grid. It paints the figure with
// the workspace renderer, keeps scrolling and zoom, and hands mouse and keyboard
// events to the active tool (CViewTool): the drawing tool, or the select-and-move
// tool in select-and-move mode; the keyboard's cell cursor (CCellCursor) takes the
// keys that move it first. The view keeps no figure data; it reads the document at
// every event and repaints on its UpdateAllViews.
//
// The view draws at the screen's device pixels and at its own zoom: every cell at its
// position at CubeSize times zoom x device pixel ratio, rounded once, with cubes of
// the display size round(CubeSize x zoom x ratio), so the figure keeps its
// proportions; where cubes would be too small to keep their shape, the true drawing
// averaged. Its workspace coordinates (ToWorkspace, the handlers' points) are device
// pixels of that drawn workspace; at ratio 1 and 100 % they are the document's
// workspace coordinates.
// Zoom belongs to the view alone: it is no edit and is not stored anywhere.
class CTarvexView : public QAbstractScrollArea, public CViewToolHost
{
    Q_OBJECT

public:
    // Cursor ids of the four view cursors.
    using CursorId = CViewTool::CursorId;
    static constexpr CursorId CubeCursor = CViewTool::CubeCursor;
    static constexpr CursorId NoCellCursor = CViewTool::NoCellCursor;
    static constexpr CursorId CopyCursor = CViewTool::CopyCursor;
    static constexpr CursorId ArrowCursor = CViewTool::ArrowCursor;

    explicit CTarvexView(CTarvexDoc &doc, QWidget *parent = nullptr);
    ~CTarvexView() override;

    CTarvexDoc &GetDocument() const { return m_doc; }
    // Select-and-move mode: clicks, drags, the drag feedback and Delete.
    CSelectMoveHandler *SelectMove() const { return m_selectMove.get(); }

    // Where the picked cube kind comes from (the main frame's GetCurrentCube): 0..63,
    // or 64 for the empty cube. Without a source clicks erase.
    void SetCurrentCubeSource(std::function<int()> source);

    // How the view shows the figure now: scroll position, device pixel ratio, zoom, and
    // a workspace smaller than the viewport centred in it (CViewScroller).
    CViewMapping Mapping() const override { return m_scroller->Mapping(); }
    // The scroll bars' position (logical pixels), and a viewport point in the workspace
    // the view draws (device pixels at the view's scale).
    QPoint ScrollPosition() const { return m_scroller->ScrollPosition(); }
    QPoint ToWorkspace(const QPointF &viewportPoint) const { return Mapping().ToWorkspace(viewportPoint); }
    // The workspace point at the viewport's corner in device pixels (negative on an
    // axis where the workspace is centred).
    QPoint DeviceScroll() const { return Mapping().DeviceScroll(); }
    // A rectangle of the drawn workspace as the viewport rectangle covering it.
    QRect ToViewport(const QRect &workspaceRect) const
    {
        return workspaceRect.isEmpty() ? QRect() : Mapping().ToViewport(workspaceRect);
    }

    // Zoom levels in percent, smallest first; 100 % is DefaultZoomIndex.
    static const QVector<int> &ZoomLevels() { return CViewScroller::ZoomLevels(); }
    static int DefaultZoomIndex() { return CViewScroller::DefaultZoomIndex(); }
    int ZoomPercent() const { return m_scroller->ZoomPercent(); }
    // The level of ZoomPercent, or the level below it when the zoom lies between two.
    int ZoomIndex() const { return m_scroller->ZoomIndex(); }
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
    int FitPercent() const { return m_scroller->FitPercent(); }
    void ZoomToFit();
    qreal DevicePixelRatio() const override { return viewport()->devicePixelRatioF(); }
    // The drawn cube size in device pixels.
    int DisplaySize() const { return Mapping().DisplaySize(); }

    // Sets the scroll range to the workspace size and repaints at once.
    void OnUpdate();

    // The cursor for a pointer at viewportPoint with the given keyboard state.
    CursorId ChooseCursor(const QPoint &viewportPoint, Qt::KeyboardModifiers modifiers) const
    {
        return ActiveTool()->Cursor(viewportPoint, modifiers);
    }
    CursorId CurrentCursorId() const { return m_cursorId; }
    static QCursor CursorFor(CursorId id) { return ViewCursor(id, 1.0); }
    // The same for a screen of the given device pixel ratio (2x pictures above 1).
    static QCursor CursorFor(CursorId id, qreal ratio) { return ViewCursor(id, ratio); }

    // Places the picked cube (or erases) at a workspace point; true when a cell was hit.
    bool PlaceCubeAt(const QPoint &workspacePoint);
    CPlaceCubeHandler *PlaceCube() const { return m_placeCube.get(); }
    // The tool that gets the pointer now: the select-and-move tool in that mode,
    // otherwise the drawing tool (SetDrawingTool; the cube placing tool by default).
    CViewTool *ActiveTool() const;
    // A drawing tool in place of the cube placing one (nullptr: back to it); the view
    // does not own it.
    void SetDrawingTool(CViewTool *tool);

    // The keyboard's cell cursor: where Space places and the arrows start from.
    CCellCursor &KeyboardCursor() const { return *m_cellCursor; }
    QPoint CellCursor() const;
    bool IsCellCursorShown() const;
    // The cells outlined while Shift is held: where a Shift+click would draw a beam.
    const QVector<QPoint> &BeamOutline() const;
    // The cell nearest the pointer while it is over the viewport, else (-1, -1).
    QPoint CellUnderPointer() const;

    // Printing: the figure centred on the printer's page.
    void PrintPage(QPrinter *printer) const;

    // CViewToolHost: what the tools ask of the view.
    QPoint PointerPosition() const override;
    bool IsOnViewport(const QPoint &viewportPoint) const override { return viewport()->rect().contains(viewportPoint); }
    void UpdateCells(const QVector<QPoint> &cells) override;
    void CellPlaced(const QPoint &cell) override;
    // The square a cell is drawn in at the display size, with room for its outline.
    QRect CellArea(const QPoint &cell) const;

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
    void UpdateCursor(Qt::KeyboardModifiers modifiers);
    void SetCursorId(CursorId id);
    // Ctrl with +, =, -, 0 and 9: true when the key changed the zoom.
    bool ZoomKeyPress(QKeyEvent *event);

    CTarvexDoc &m_doc;
    std::unique_ptr<CViewScroller> m_scroller; // zoom, scroll range, centring
    std::unique_ptr<CViewPainter> m_painter;
    std::unique_ptr<CPaintWatch> m_paintWatch; // tells m_painter what else changed the window's pixels
    std::unique_ptr<CPlaceCubeHandler> m_placeCube;
    std::unique_ptr<CSelectMoveHandler> m_selectMove;
    std::unique_ptr<CCellCursor> m_cellCursor;
    CViewTool *m_drawingTool = nullptr; // nullptr: m_placeCube
    CViewTool *m_pressTool = nullptr;   // the tool that got the last press, until its release
    std::unique_ptr<CPanTool> m_pan;
    bool m_spaceDown = false; // Space held: a left drag pans
    CursorId m_cursorId = NoCellCursor;
    int m_wheelAngle = 0; // Ctrl+wheel rotation not yet turned into zoom steps
};
