#pragma once

#include <QAbstractScrollArea>
#include <QPoint>
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
class CTarvexView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    // Cursor ids of the four view cursors.
    enum CursorId {
        CubeCursor = 135,     // drawing mode, over a cell
        NoCellCursor = 136,   // drawing mode, over no cell
        CopyCursor = 172,     // select-and-move mode, Ctrl held
        ArrowCursor = 173     // select-and-move mode
    };

    explicit CTarvexView(CTarvexDoc &doc, QWidget *parent = nullptr);
    ~CTarvexView() override;

    CTarvexDoc &GetDocument() const { return m_doc; }
    // Select-and-move mode: clicks, drags, the drag feedback and Delete.
    CSelectMoveHandler *SelectMove() const { return m_selectMove.get(); }

    // Where the picked cube kind comes from (the main frame's GetCurrentCube): 0..63,
    // or 64 for the empty cube. Without a source clicks erase.
    void SetCurrentCubeSource(std::function<int()> source);

    // The scroll position, and a viewport point in workspace coordinates.
    QPoint ScrollPosition() const;
    QPoint ToWorkspace(const QPoint &viewportPoint) const;

    // Sets the scroll range to the workspace size and repaints at once.
    void OnUpdate();

    // The cursor for a pointer at viewportPoint with the given keyboard state.
    CursorId ChooseCursor(const QPoint &viewportPoint, Qt::KeyboardModifiers modifiers) const;
    CursorId CurrentCursorId() const { return m_cursorId; }
    static QCursor CursorFor(CursorId id);

    // Places the picked cube (or erases) at a workspace point; true when a cell was hit.
    bool PlaceCubeAt(const QPoint &workspacePoint);

    // Printing: the figure centred on the printer's page.
    void PrintPage(QPrinter *printer) const;
    // Runs the print preview; the caller hides what the preview should not show.
    void OnFilePrintPreview();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void UpdateScrollRange();
    void UpdateCursor(Qt::KeyboardModifiers modifiers);
    void SetCursorId(CursorId id);


    CTarvexDoc &m_doc;
    std::unique_ptr<CWorkspaceRenderer> m_renderer;
    std::unique_ptr<CPlaceCubeHandler> m_placeCube;
    std::unique_ptr<CSelectMoveHandler> m_selectMove;
    CursorId m_cursorId = NoCellCursor;
};
