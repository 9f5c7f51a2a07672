// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/cubeselection.h"
#include "document/figuresnapshot.h"
#include "geometry/cubegeometry.h"
#include "geometry/figure.h"
#include "geometry/surface.h"

#include <QObject>
#include <QSize>
#include <array>
#include <memory>
#include <vector>

class CDocumentUi;
class QPainter;
class QSettings;

// The figure: the staggered workspace grid and the placing rule, the settings the
// figure is drawn with, the edit history and the selection of select-and-move mode.
// It is the only owner of figure state; views read it and repaint on UpdateAllViews.
class CTarvexDoc : public QObject
{
    Q_OBJECT

public:
    // Ranges the program keeps to for the grid and the cube size.
    static constexpr int MinGridWidth = CFigure::MinGridWidth;
    static constexpr int MaxGridWidth = CFigure::MaxGridWidth;
    static constexpr int MinGridHeight = CFigure::MinGridHeight;
    static constexpr int MaxGridHeight = CFigure::MaxGridHeight;
    static constexpr int MinCubeSize = CFigure::MinCubeSize;
    static constexpr int MaxCubeSize = CFigure::MaxCubeSize;

    // Defaults of the eight stored settings.
    static constexpr ColorRef DefaultBkColor = CFigure::DefaultBkColor;
    static constexpr ColorRef DefaultColor1 = CFigure::DefaultColor1;
    static constexpr ColorRef DefaultColor2 = CFigure::DefaultColor2;
    static constexpr ColorRef DefaultColor3 = CFigure::DefaultColor3;
    static constexpr int DefaultCubeSize = CFigure::DefaultCubeSize;
    static constexpr int DefaultWidth = CFigure::DefaultWidth;
    static constexpr int DefaultHeight = CFigure::DefaultHeight;

    // The editor's own messages about files.
    static constexpr const char *LoadErrorText = QT_TRANSLATE_NOOP("CTarvexDoc", "Error loading XML file");
    static constexpr const char *EmptyFigureText = CFigure::EmptyFigureText;

    using Bounds = CFigure::Bounds;

    // With useSettingsStore false the document starts from the defaults and never
    // reads or writes the user's settings store (batch export, tests).
    explicit CTarvexDoc(bool useSettingsStore = true, QObject *parent = nullptr);
    ~CTarvexDoc() override;

    // Settings.
    ColorRef BkColor = DefaultBkColor;
    ColorRef Color1 = DefaultColor1;   // top face
    ColorRef Color2 = DefaultColor2;   // right-hand side face
    ColorRef Color3 = DefaultColor3;   // left-hand side face
    int CubeSize = DefaultCubeSize;
    std::array<ColorRef, 16> CustomColors{};

    // 1 while the figure equals what was last saved or opened: kept from the undo depth
    // at that moment, so undoing back to it counts as saved again.
    int m_bSaved = 1;
    // The figure file last opened or saved; empty for a new figure.
    QString m_strPathName;

    void LoadSettings();
    void SaveSettings() const;
    bool UsesSettingsStore() const { return m_useSettingsStore; }

    // The figure as a plain value (the grid's rows are shared, so this is cheap), and
    // the figure a file gave: its settings become the document's and the user's
    // settings, the views and pickers are told, then its cells are taken over.
    CFigure Figure() const;
    void ApplyFigure(const CFigure &figure);
    // The cells drawn greyed: the selection while select-and-move mode is on.
    const QVector<QPoint> *SelectedCells() const { return m_selection ? &m_selection->Cells : nullptr; }

    // Workspace grid.
    void ResizeGrid(int width, int height);
    QSize GetGridSize() const;   // (cells in row 0, number of rows)
    qint32 GetCell(int column, int row) const { return m_grid[row][column]; }
    void PlaceCube(int column, int row, qint32 value);
    QPoint CellFromPoint(int x, int y) const;
    QPoint CubeFromPoint(int x, int y) const;
    bool IsFigureEmpty() const;
    Bounds GetFigureBounds() const;
    CellPitch GetCellPitch(int scale = 1) const { return ComputeCellPitch(CubeSize, scale); }
    QSize GetWorkspaceSize() const;
    QPoint GetCellOrigin(int column, int row) const { return CellOrigin(column, row, GetCellPitch()); }
    bool HasCell(int column, int row) const;
    const CubeGrid &Grid() const { return m_grid; }

    void DrawWorkspace(QPainter &painter, bool dots, int scale, int x0, int y0,
                       bool fillBackground) const;

    // The workspace as a view shows it with cubes of displaySize pixels (zoomed, or at
    // a screen's device pixels): the same figure at that size with that size's own
    // cell pitch. Points passed to the operations taking a display size are in that
    // workspace; at displaySize == CubeSize each is the operation without it.
    CFigure FigureAt(int displaySize) const;
    // Half the side of the box around a cell's centre that a click must hit: 5 pixels
    // at CubeSize, scaled with the display size.
    int CentreBox(int displaySize) const;
    QSize GetWorkspaceSize(int displaySize) const;
    QPoint CellFromPoint(int x, int y, int displaySize) const;
    QPoint CubeFromPoint(int x, int y, int displaySize) const;
    bool ClickPlaceCube(int x, int y, int kind, int displaySize);
    void EndRubberBand(const QPoint &start, const QPoint &end, bool add, int displaySize);
    void EndSelectionDrag(const QPoint &start, const QPoint &end, bool copy, int displaySize);
    void ClickSelect(int x, int y, bool ctrl, int displaySize);
    QPoint GetDragOffset(const QPoint &start, const QPoint &point, int displaySize) const;
    void DrawSelectionFramesXor(QPainter &painter, int dx, int dy, int displaySize) const;

    // Edits a view asks for, each one undo step announced to all views.
    // A click in drawing mode at a workspace point: places kind (0..63; anything else
    // erases) on the cell whose centre is there; false when no cell is hit.
    bool ClickPlaceCube(int x, int y, int kind);
    // The end of a rubber band from start to end: its cubes become selected, added to
    // the selection when add is set.
    void EndRubberBand(const QPoint &start, const QPoint &end, bool add);
    // The end of a drag of the selection from start to end (see GetDragOffset).
    void EndSelectionDrag(const QPoint &start, const QPoint &end, bool copy);
    // The Options dialog's values, applied as one change.
    void ApplyOptions(int width, int height, int cubeSize, ColorRef bkColor, ColorRef color1,
                      ColorRef color2, ColorRef color3);

    // Edit history.
    void TakeSnapshot();
    void Undo(bool pushRedo);
    void Redo();
    void RestoreSnapshot(const CFigureSnapshot &snapshot);
    void ClearHistory();
    bool CanUndo() const { return !m_undo.empty(); }
    bool CanRedo() const { return !m_redo.empty(); }
    int UndoCount() const { return int(m_undo.size()); }
    int RedoCount() const { return int(m_redo.size()); }
    const CFigureSnapshot &UndoTop() const { return *m_undo.back(); }
    void OnEditUndo();
    void OnEditRedo();

    // Selection set of select-and-move mode; null while the mode is off.
    CCubeSelection *Selection() const { return m_selection.get(); }
    bool IsSelectMode() const { return m_selection != nullptr; }
    void ToggleSelectMode();
    bool IsSelectModeChecked() const { return IsSelectMode(); }
    bool IsSelectModeEnabled() const { return !IsFigureEmpty(); }
    void SelectAll();
    void SelectCubesInRect(int x1, int y1, int x2, int y2);
    void DrawSelectionFramesXor(QPainter &painter, int dx, int dy) const;

    // Select-and-move edits. A click at a workspace point selects the cube there
    // (Ctrl toggles it) or, beside all cubes, clears the selection.
    void ClickSelect(int x, int y, bool ctrl);
    // The whole-cell offset of a drag from start to point, snapped and clamped so
    // that every selected cube lands inside the grid.
    QPoint GetDragOffset(const QPoint &start, const QPoint &point) const;
    // The cell a selected cell lands on when moved by offset (the column shifts by one
    // more when an odd row moves to an even one, keeping the pixel shift equal).
    static QPoint DropTarget(const QPoint &cell, const QPoint &offset);
    // Moves (or, with copy, copies) the selected cubes by a cell offset as one undo
    // step; the landed cubes are selected afterwards.
    void DropSelection(const QPoint &offset, bool copy);
    // Erases the selected cubes as one undo step; nothing happens when none is selected.
    void DeleteSelection();

    // Empties every cell, the history and the selection; the figure counts as saved.
    void Reset();

    // Hands the three face colours to whoever shows cube pictures (the pickers).
    void UpdateBarColors();

    // Files. Each returns false and, when error is given, a reason a user can read.
    bool SaveFigureXml(const QString &path, QString *error = nullptr) const;
    bool LoadFigureXml(const QString &path, QString *error = nullptr);
    bool ExportBitmap(const QString &path, QString *error = nullptr) const;
    // Writes the figure in the format the extension of path names (.xml, .png, .svg,
    // .pdf or .bmp, any case); the selection is greyed in the bitmap and PNG, as on
    // screen, and transparent leaves the background out of PNG and SVG. An unknown
    // extension writes nothing and says so in error.
    bool SaveFigureAs(const QString &path, bool transparent, QString *error = nullptr) const;
    // Paints the figure centred on a page whose printable area is printable device
    // pixels, as vectors: selected cubes are not greyed, as in a PDF export.
    void PrintFigure(QPainter &painter, const QSize &printable) const;

    // Commands. The document asks the user through ui (not owned; may be null, and
    // then every question is answered with Cancel and nothing is shown).
    void SetUi(CDocumentUi *ui) { m_ui = ui; }
    CDocumentUi *Ui() const { return m_ui; }
    // The question about unsaved changes; true when the caller may go on.
    bool PromptSaveChanges();
    // New: true when a new, empty figure was started.
    bool OnNewDocument();
    // Opens a figure file (also used for a file named on the command line).
    bool OnOpenDocument(const QString &path);
    void OnOpenFigure();
    // Open after the question about unsaved changes was answered (the Open command
    // past its file dialog, a dropped file, an example): the figure counts as saved
    // afterwards even when the file could not be read. True when it was read.
    bool OpenFigure(const QString &path);
    // Opens a recovery copy as the unsaved figure it was, with its own file's name
    // (empty when it had none). False when the copy could not be read.
    bool OpenRecovered(const QString &copyPath, const QString &originalName);
    void OnSaveFigure();
    void OnOptions();
    // Closing the main window: true when it may close.
    bool CanCloseFrame();

Q_SIGNALS:
    void UpdateAllViews();
    void BarColorsChanged(ColorRef color1, ColorRef color2, ColorRef color3);
    // A figure file was opened by the user, or the figure was saved as a figure file.
    void FigureFileUsed(const QString &path);

private:
    std::unique_ptr<CFigureSnapshot> MakeSnapshot() const;
    // The figure now equals what is on disk.
    void ChangedWithoutSnapshot();
    void MarkSaved();
    // m_bSaved from the undo depth, after the history moved.
    void UpdateSaved() { m_bSaved = int(m_undo.size()) == m_savedDepth ? 1 : 0; }
    void SelectCubesInRect(int x1, int y1, int x2, int y2, int displaySize);

    bool m_useSettingsStore;
    CDocumentUi *m_ui = nullptr;
    CubeGrid m_grid;
    std::unique_ptr<CCubeSelection> m_selection;
    std::vector<std::unique_ptr<CFigureSnapshot>> m_undo;
    std::vector<std::unique_ptr<CFigureSnapshot>> m_redo;
    // Undo depth at which the figure equals the file; -1 when no depth does.
    int m_savedDepth = 0;
};
