// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/cubeselection.h"
#include "document/figuresnapshot.h"
#include "files/filestamp.h"
#include "geometry/figure.h"
#include "geometry/gridtransform.h"
#include "geometry/options.h"

#include <QObject>
#include <QString>
#include <optional>
#include <vector>

class CDocumentUi;
class QPainter;

// One cube of a batch edit: a cell and the cell value it gets (a kind 0..63 with its
// colouring, see CellValue; anything else erases).
struct CPlacedCube
{
    QPoint Cell;
    int Kind = EmptyCell;
};

// The figure being edited, its history, its selection and its saved state. It is the
// only owner of figure state: every change goes through its operations, which take
// cells (the views turn pointer positions into cells), and every edit is announced
// with UpdateAllViews.
class CTarvexDoc : public QObject
{
    Q_OBJECT

public:
    // The editor's own message about a figure file it could not read.
    static constexpr const char *LoadErrorText = QT_TRANSLATE_NOOP("CTarvexDoc", "Error loading XML file");

    // With useSettingsStore false the document starts from the defaults and never
    // reads or writes the user's settings store (batch export, tests).
    explicit CTarvexDoc(bool useSettingsStore = true, QObject *parent = nullptr);
    ~CTarvexDoc() override;

    // The figure as a plain value; its rows are shared, so copying it is cheap.
    const CFigure &Figure() const { return m_figure; }
    // The cells drawn greyed: the selection while select-and-move mode is on.
    const QVector<QPoint> *SelectedCells() const { return m_selection ? &m_selection->Cells() : nullptr; }
    // The figure's settings and the chooser's custom colours, as the Options dialog edits them.
    COptions Options() const;
    const CustomColorSet &CustomColors() const { return m_customColors; }
    bool UsesSettingsStore() const { return m_useSettingsStore; }

    // True while the figure equals what was last saved as a figure file or opened:
    // kept from the undo depth at that moment, so undoing back to it counts as saved.
    bool IsSaved() const { return int(m_undo.size()) == m_savedDepth; }
    // The figure file last opened or saved; empty for a new figure.
    const QString &PathName() const { return m_pathName; }
    // The name Save offers: the figure's file, or for an example its name in the
    // user's documents folder; empty for a new figure.
    const QString &SaveName() const { return m_saveName; }
    // The figure was just written to the figure file path: it counts as saved.
    void SavedAs(const QString &path);
    // What the figure's own file held when it was last read or written (invalid when
    // not known); kept until the next open, save or New.
    const CFileStamp &FileStamp() const { return m_fileStamp; }
    void SetFileStamp(const CFileStamp &stamp) { m_fileStamp = stamp; }
    // The figure as it is counts as saved (the user chose to give it up), its history kept.
    void MarkSaved();

    // ---- whole-figure changes (no undo step)

    // The figure a file gave: its settings become the document's and the user's
    // settings, the pickers are told, then its cells are taken over.
    void ApplyFigure(const CFigure &figure);
    // A figure read from a file becomes the document's: history, selection and file
    // name start afresh, then the figure is applied as above. It counts as saved, or
    // with saved false as unsaved work (a recovered copy); pathName is its file (empty
    // for none), saveName the name Save offers when that is not pathName.
    void TakeFigure(CFigure figure, const QString &pathName, bool saved, const QString &saveName = QString());
    // Gives the grid width cells in even rows and height rows, keeping what fits.
    void ResizeGrid(int width, int height);
    // The custom colours of the colour chooser, written to the settings store.
    void SetCustomColors(const CustomColorSet &colors);
    // Empties every cell, the history, the selection and the file name; the figure
    // counts as saved.
    void Reset();

    // ---- edits, each one undo step announced to all views

    // Places a cell value (kind 0..63 and colouring; anything else erases, a colouring
    // beyond the palette becomes colouring 0) on a cell with the placing rule;
    // false, and nothing happens, when the grid has no such cell.
    bool PlaceCube(const QPoint &cell, int kind);
    // Places cubes in order (a stroke, a beam); cells outside the grid are left out.
    // Nothing happens when none is inside.
    void PlaceCubes(const QVector<CPlacedCube> &cubes);
    // Places a fragment (a paste) and makes its cubes the selection, switching
    // select-and-move mode on; cells outside the grid are left out. With colourings
    // (the fragment's, 0 first) its colourings are matched in the palette, or added to
    // it while there is room; cubes whose colouring finds no place take colouring 0.
    void PasteCubes(const QVector<CPlacedCube> &cubes, const QVector<CColouring> *colourings = nullptr);
    // Gives the selected cubes colouring paint, one undo step; nothing happens when
    // none changes or the palette has no such colouring.
    void PaintSelection(int paint);
    // Changes one colouring of the palette (0 is the figure's Color1..Color3), one undo step.
    void SetColouring(int index, const CColouring &colouring);
    // Adds a colouring to the palette, one undo step; its index, or -1 when the
    // palette is full.
    int AddColouring(const CColouring &colouring);
    // The options chosen in the Options dialog. A change of the figure's settings is
    // one undo step and is written to the settings store; the same settings again
    // change nothing (custom colours are kept either way, with no undo step).
    void SetOptions(const COptions &options);
    // Moves (or, with copy, copies) the selected cubes by a cell offset, first pulled
    // back so that every one lands inside the grid; the landed cubes are selected.
    void DropSelection(const QPoint &offset, bool copy);
    // Erases the selected cubes; nothing happens when none is selected.
    void DeleteSelection();
    // Mirrors or turns the selected cubes (CGridTransform), moved whole to stay inside
    // the grid; they are placed again in their order, so the cubes around them are cut
    // as by a drop, and stay selected. False, and nothing happens, when nothing is
    // selected or the turned cubes cannot fit the grid.
    bool TransformSelection(CGridTransform::Kind kind);
    // A made figure (a generated one) replaces the figure in one undo step: its
    // settings become the document's, the selection and the file name are dropped and
    // the figure counts as unsaved.
    void ReplaceFigure(const CFigure &figure);

    // ---- edit history

    void TakeSnapshot();
    // The next edit joins the last undo step instead of starting one of its own: the
    // further cells of a stroke, the repeats of a held key. Nothing is joined to the
    // step the saved figure ends with, nor when there is no step.
    void JoinNextEdit() { m_joinNextEdit = true; }
    void Undo(bool pushRedo);
    void Redo();
    void ClearHistory();
    bool CanUndo() const { return !m_undo.empty(); }
    bool CanRedo() const { return !m_redo.empty(); }
    int UndoCount() const { return int(m_undo.size()); }
    int RedoCount() const { return int(m_redo.size()); }
    const CFigureSnapshot &UndoTop() const { return m_undo.back(); }
    void OnEditUndo();
    void OnEditRedo();

    // ---- selection of select-and-move mode (no undo steps); null while the mode is off

    const CCubeSelection *Selection() const { return m_selection ? &*m_selection : nullptr; }
    bool IsSelectMode() const { return m_selection.has_value(); }
    void ToggleSelectMode();
    bool IsSelectModeChecked() const { return IsSelectMode(); }
    bool IsSelectModeEnabled() const { return !m_figure.IsEmpty(); }
    void SelectAll();
    // The cubes on cells (a rubber band's) become selected, added to the selection with add.
    void SelectCells(const QVector<QPoint> &cells, bool add);
    // A click on the cube on cell (-1, -1 for none): selects it, Ctrl toggles it;
    // beside all cubes the selection is emptied.
    void ClickSelect(const QPoint &cube, bool ctrl);
    // The selected cubes that a move takes along: those still on the grid.
    QVector<QPoint> MovableCells() const;
    // offset pulled back so that every movable selected cube lands inside the grid.
    QPoint ClampDragOffset(const QPoint &offset) const;

    // Hands the three face colours to whoever shows cube pictures (the pickers).
    void UpdateBarColors();

    // ---- files. Each returns false and, when error is given, a reason a user can read.

    bool SaveFigureXml(const QString &path, QString *error = nullptr) const;
    bool ExportBitmap(const QString &path, QString *error = nullptr) const;
    // Draws the workspace (grid dots when dots is set, the cubes, the selection
    // greyed) at scale, shifted by (x0, y0), on the background when fillBackground.
    void DrawWorkspace(QPainter &painter, bool dots, int scale, int x0, int y0, bool fillBackground) const;

    // Writes the figure in the format the extension of path names; the selection is
    // greyed in bitmaps, as on screen, and transparent leaves the background out of
    // PNG and SVG. An unknown extension writes nothing and says so in error.
    bool SaveFigureAs(const QString &path, bool transparent, QString *error = nullptr) const;
    // Paints the figure centred on a page whose printable area is printable device
    // pixels, as vectors: selected cubes are not greyed, as in a PDF export.
    void PrintFigure(QPainter &painter, const QSize &printable) const;

    // ---- the user interface the commands (CDocumentCommands) and the recovery manager
    // ask through (not owned; may be null).

    void SetUi(CDocumentUi *ui) { m_ui = ui; }
    CDocumentUi *Ui() const { return m_ui; }

    // While UpdateAllViews announces an edit of single cells (placing cubes): those
    // cells, so that views repaint only around them. Null for every other change.
    const QVector<QPoint> *ChangedCells() const { return m_changedCells; }

Q_SIGNALS:
    void UpdateAllViews();
    void BarColorsChanged(ColorRef color1, ColorRef color2, ColorRef color3);
    // The palette changed (every colouring, 0 first), sent with BarColorsChanged.
    void PaletteChanged(const QVector<CColouring> &colourings);
    // A figure file was opened by the user, or the figure was saved as a figure file.
    void FigureFileUsed(const QString &path);

private:
    CFigureSnapshot MakeSnapshot() const;
    void RestoreSnapshot(const CFigureSnapshot &snapshot);
    // The settings part of options applied to the figure, without an undo step.
    void ApplyOptions(const COptions &options);
    void SaveSettings() const;
    // A change without a snapshot before it: the figure no longer equals the file.
    void ChangedWithoutSnapshot();
    // Announces an edit of these cells only (see ChangedCells).
    void AnnounceCells(const QVector<QPoint> &cells);

    bool m_useSettingsStore;
    CDocumentUi *m_ui = nullptr;
    CFigure m_figure;
    CustomColorSet m_customColors = COptions::WhiteColors();
    std::optional<CCubeSelection> m_selection;
    std::vector<CFigureSnapshot> m_undo;
    std::vector<CFigureSnapshot> m_redo;
    // Undo depth at which the figure equals the file; -1 when no depth does.
    int m_savedDepth = 0;
    QString m_pathName;
    QString m_saveName;
    CFileStamp m_fileStamp;
    bool m_joinNextEdit = false;
    const QVector<QPoint> *m_changedCells = nullptr;
};
