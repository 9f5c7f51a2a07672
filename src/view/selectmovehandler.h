// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QString>
#include <functional>

#include "geometry/viewmapping.h"
#include "view/viewtool.h"

class CTarvexDoc;
class QAbstractScrollArea;
class QCursor;
class QDrag;
class QDragEnterEvent;
class QDragLeaveEvent;
class QDragMoveEvent;
class QDropEvent;
class QKeyEvent;
class QMimeData;
class QMouseEvent;
class QPainter;
class QTimer;
class QWidget;

// Draws a one-pixel white rectangle through the corners (x1, y1) and (x2, y2) by
// inverting the pixels under it. Each side leaves out its end point, so every pixel of
// the outline is inverted once and drawing the same rectangle twice restores the
// picture.
void DrawXorRect(QPainter &painter, int x1, int y1, int x2, int y2);

// The mouse, keyboard and drag-and-drop side of select-and-move mode for a scrolling
// workspace view. The view hands its events over; while the mode is off nothing is
// handled here.
//
// A left press starts a drag from the view to itself. Pressed on a selected cube, the
// drag moves the selection (copies it with Ctrl); anywhere else it draws a rubber band
// whose cubes become selected (added to the selection with Ctrl). A press that never
// becomes a drag, a cancelled drag or a drop that nothing accepted acts as a click at
// the pointer: it selects the cube there, Ctrl toggles it, beside all cubes the
// selection is emptied. Delete erases the selected cubes.
//
// During the drag the view shows inverted outlines of the selected cubes at the cell
// they would land on, or the inverted rubber band. The feedback lives in workspace
// coordinates and is painted over the workspace by PaintFeedback at the end of every
// paint of the view; changing it repaints the area of the old and the new feedback.
//
// The workspace here is the one the view draws. The view's mapping (scroll position,
// device pixel ratio, zoom) turns pointer positions into workspace points and those
// into cells; the document gets cells, so the pointer works on what is drawn under it.
class CSelectMoveHandler : public QObject, public CViewTool
{
    Q_OBJECT

public:
    enum DragModes {
        NoDrag = 0,
        MoveSelection = 1, // dragging the selected cubes
        RubberBand = 2     // drawing a selection rectangle
    };

    // LastFeedback while no feedback is shown.
    static constexpr QPoint NoFeedback{-10000, -10000};
    // Distance from the view's border within which a drag scrolls the view, and the
    // time between two scroll steps.
    static constexpr int AutoScrollMargin = 16;
    static constexpr int AutoScrollInterval = 50;

    // Runs a prepared drag to its end and returns the drop action (IgnoreAction when it
    // was cancelled or nothing accepted the drop).
    using DragRunner = std::function<Qt::DropAction(QDrag &)>;

    CSelectMoveHandler(CTarvexDoc &doc, QAbstractScrollArea &view, QObject *parent = nullptr);
    ~CSelectMoveHandler() override;

    // The MIME type that marks a drag as this program instance's own.
    void SetDragFormat(const QString &format) { m_format = format; }
    QString DragFormat() const { return m_format; }
    // The cursors of the rubber band for the copy and the move action.
    void SetRubberBandCursors(const QCursor &copy, const QCursor &move);
    // The picture a drag shows for a cursor. Qt's drag puts the hot spot in the middle
    // of a drag cursor's picture on X11 and Wayland, so the picture is widened with
    // transparent pixels until its middle is the cursor's hot spot.
    static QPixmap DragCursorPicture(const QCursor &cursor);
    // Replaces the platform's drag loop (tests play a drag through it).
    void SetDragRunner(DragRunner runner) { m_runDrag = std::move(runner); }

    // How the view shows the workspace now. Without a source: the figure 1:1 under the
    // scroll position.
    using MappingSource = std::function<CViewMapping()>;
    void SetMappingSource(MappingSource source) { m_mapping = std::move(source); }
    CViewMapping Mapping() const;

    // Event entry points; each returns true when it handled the event.
    bool MousePress(QMouseEvent *event) override;
    bool MouseMove(QMouseEvent *event) override;
    bool MouseRelease(QMouseEvent *event) override;
    bool KeyPress(QKeyEvent *event) override;
    bool DragEnter(QDragEnterEvent *event);
    bool DragMove(QDragMoveEvent *event);
    bool DragLeave(QDragLeaveEvent *event);
    bool Drop(QDropEvent *event);

    // Paints the current drag feedback; the painter is in workspace coordinates and the
    // workspace has just been painted under it.
    void PaintFeedback(QPainter &painter) const override;
    QRect FeedbackBounds() const override;
    // The arrow, or with Ctrl the copy arrow.
    CursorId Cursor(const QPoint &viewportPoint, Qt::KeyboardModifiers modifiers) const override;

    // The gestures at workspace points.
    void Click(const QPoint &point, bool ctrl);
    Qt::DropAction OnDragOver(const QPoint &point, Qt::KeyboardModifiers modifiers);
    void OnDrop(const QPoint &point, Qt::DropAction action);

    int DragMode() const { return m_dragMode; }
    QPoint DragStart() const { return m_dragStart; }
    QPoint LastFeedback() const { return m_lastFeedback; }
    // Where the current feedback is painted, in workspace coordinates (empty if none).
    QRect FeedbackRect() const;
    bool IsAutoScrolling() const;

private:
    QWidget *Viewport() const;
    bool IsOwnDrag(const QMimeData *data) const;
    void RunDrag();
    void SetFeedback(const QPoint &feedback);
    void UpdateAutoScroll(const QPoint &viewportPoint);
    QPoint AutoScrollStep() const;
    void OnAutoScroll();
    void StopAutoScroll();

    CTarvexDoc &m_doc;
    QAbstractScrollArea &m_view;
    QString m_format;
    QPixmap m_copyCursor;
    QPixmap m_moveCursor;
    DragRunner m_runDrag;
    MappingSource m_mapping;

    // A left press in the mode that has not become a drag yet.
    bool m_pressPending = false;
    QPoint m_pressPoint;     // viewport coordinates
    QPointF m_pressPosition; // the same, as the event gave it

    int m_dragMode = NoDrag;
    QPoint m_dragStart;
    QPoint m_lastFeedback = NoFeedback;
    QRect m_selectionBounds; // the selected cubes' squares when the drag began

    QTimer *m_autoScroll = nullptr;
    QPointF m_dragPoint; // viewport point of the last drag event
    Qt::KeyboardModifiers m_dragModifiers;
};
