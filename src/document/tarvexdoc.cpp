// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/tarvexdoc.h"

#include "document/documentui.h"
#include "document/settingsstore.h"
#include "files/bitmapexport.h"
#include "files/figurewriter.h"
#include "files/figurexml.h"
#include "geometry/dragoffset.h"
#include "geometry/workspacerenderer.h"

#include <QCoreApplication>
#include <QPainter>

#include <algorithm>
#include <utility>

CTarvexDoc::CTarvexDoc(bool useSettingsStore, QObject *parent)
    : QObject(parent)
    , m_useSettingsStore(useSettingsStore)
{
    ApplyOptions(useSettingsStore ? CSettingsStore::Load() : COptions());
    UpdateBarColors();
}

CTarvexDoc::~CTarvexDoc() = default;

// ---------------------------------------------------------------- settings

COptions CTarvexDoc::Options() const
{
    COptions options;
    const QSize grid = m_figure.GridSize();
    options.Width = grid.width();
    options.Height = grid.height();
    options.CubeSize = m_figure.CubeSize;
    options.BkColor = m_figure.BkColor;
    options.Color1 = m_figure.Color1;
    options.Color2 = m_figure.Color2;
    options.Color3 = m_figure.Color3;
    options.CustomColors = m_customColors;
    return options;
}

void CTarvexDoc::ApplyOptions(const COptions &options)
{
    // Values from outside are kept to the ranges the program works with.
    m_figure.Resize(qBound(CFigure::MinGridWidth, options.Width, CFigure::MaxGridWidth),
                    qBound(CFigure::MinGridHeight, options.Height, CFigure::MaxGridHeight));
    m_figure.CubeSize = qBound(CFigure::MinCubeSize, options.CubeSize, CFigure::MaxCubeSize);
    m_figure.BkColor = options.BkColor;
    m_figure.Color1 = options.Color1;
    m_figure.Color2 = options.Color2;
    m_figure.Color3 = options.Color3;
    m_customColors = options.CustomColors;
}

void CTarvexDoc::SaveSettings() const
{
    if (m_useSettingsStore)
        CSettingsStore::Save(Options());
}

void CTarvexDoc::SetCustomColors(const CustomColorSet &colors)
{
    m_customColors = colors;
    SaveSettings();
}

void CTarvexDoc::SetOptions(const COptions &options)
{
    const COptions current = Options();
    if (options.SameFigureSettings(current)) {
        if (options.CustomColors != current.CustomColors)
            SetCustomColors(options.CustomColors);
        return;
    }
    TakeSnapshot();
    ApplyOptions(options);
    SaveSettings();
    UpdateBarColors();
    Q_EMIT UpdateAllViews();
}

// ---------------------------------------------------------------- the figure

void CTarvexDoc::ApplyFigure(const CFigure &figure)
{
    m_figure = figure;
    SaveSettings();
    UpdateBarColors();
    if (!figure.IsEmpty())
        ChangedWithoutSnapshot();
    Q_EMIT UpdateAllViews();
}

void CTarvexDoc::TakeFigure(CFigure figure, const QString &pathName, bool saved, const QString &saveName)
{
    Reset();
    ApplyFigure(figure);
    m_pathName = pathName;
    m_saveName = saveName.isEmpty() ? pathName : saveName;
    // Unsaved work has no undo depth that leads back to a saved state.
    m_savedDepth = saved ? 0 : -1;
    Q_EMIT UpdateAllViews();
}

void CTarvexDoc::ResizeGrid(int width, int height)
{
    m_figure.Resize(width, height);
    Q_EMIT UpdateAllViews();
}

void CTarvexDoc::ChangedWithoutSnapshot()
{
    if (int(m_undo.size()) == m_savedDepth)
        m_savedDepth = -1;
}

bool CTarvexDoc::PlaceCube(const QPoint &cell, int kind)
{
    if (!m_figure.HasCell(cell.x(), cell.y())) {
        m_joinNextEdit = false;
        return false;
    }
    TakeSnapshot();
    m_figure.PlaceCube(cell.x(), cell.y(), m_figure.CheckedValue(kind));
    AnnounceCells({cell});
    return true;
}

void CTarvexDoc::PlaceCubes(const QVector<CPlacedCube> &cubes)
{
    const bool any = std::any_of(cubes.begin(), cubes.end(),
                                 [this](const CPlacedCube &c) { return m_figure.HasCell(c.Cell.x(), c.Cell.y()); });
    if (!any) {
        m_joinNextEdit = false;
        return;
    }
    TakeSnapshot();
    QVector<QPoint> cells;
    cells.reserve(cubes.size());
    for (const CPlacedCube &cube : cubes)
        if (m_figure.HasCell(cube.Cell.x(), cube.Cell.y())) {
            m_figure.PlaceCube(cube.Cell.x(), cube.Cell.y(), m_figure.CheckedValue(cube.Kind));
            cells.append(cube.Cell);
        }
    AnnounceCells(cells);
}

void CTarvexDoc::AnnounceCells(const QVector<QPoint> &cells)
{
    m_changedCells = &cells;
    Q_EMIT UpdateAllViews();
    m_changedCells = nullptr;
}

void CTarvexDoc::PasteCubes(const QVector<CPlacedCube> &cubes, const QVector<CColouring> *colourings)
{
    QVector<CPlacedCube> inside;
    for (const CPlacedCube &cube : cubes)
        if (m_figure.HasCell(cube.Cell.x(), cube.Cell.y()) && IsCubeValue(cube.Kind))
            inside.append(cube);
    if (inside.isEmpty())
        return;
    TakeSnapshot();
    // Colourings of the fragment are found in this figure's palette, or added to it
    // while there is room; colouring 0 stays colouring 0, as a figure without a
    // palette always pasted.
    const int paletteBefore = int(m_figure.Palette.size());
    QVector<int> map(MaxColourings, 0);
    QVector<bool> used(MaxColourings, false);
    for (const CPlacedCube &cube : inside)
        used[PaintOfCell(cube.Kind)] = true;
    if (colourings) {
        for (int i = 1; i < qMin(int(colourings->size()), MaxColourings); ++i) {
            if (!used[i])
                continue;
            const QVector<CColouring> own = m_figure.Colourings();
            const int found = int(own.indexOf((*colourings)[i]));
            if (found >= 0) {
                map[i] = found;
            } else if (own.size() < MaxColourings) {
                m_figure.Palette.append((*colourings)[i]);
                map[i] = int(own.size());
            }
        }
    }
    for (CPlacedCube &cube : inside)
        cube.Kind = m_figure.CheckedValue(RepaintCell(cube.Kind, map[PaintOfCell(cube.Kind)]));
    if (!m_selection)
        m_selection.emplace();
    m_selection->Clear();
    m_selection->Reserve(int(inside.size()));
    for (const CPlacedCube &cube : inside) {
        m_figure.PlaceCube(cube.Cell.x(), cube.Cell.y(), cube.Kind);
        m_selection->Add(cube.Cell.x(), cube.Cell.y(), cube.Kind);
    }
    // The palette strip shows the colourings the paste brought.
    if (m_figure.Palette.size() != paletteBefore)
        UpdateBarColors();
    Q_EMIT UpdateAllViews();
}

void CTarvexDoc::PaintSelection(int paint)
{
    if (!m_selection || paint < 0 || paint >= m_figure.ColouringCount())
        return;
    QVector<int> changing;
    const QVector<QPoint> &cells = m_selection->Cells();
    for (int i = 0; i < cells.size(); ++i) {
        const QPoint cell = cells[i];
        if (m_figure.HasCell(cell.x(), cell.y()) && m_figure.Cell(cell.x(), cell.y()) >= 0
            && PaintOfCell(m_figure.Cell(cell.x(), cell.y())) != paint)
            changing.append(i);
    }
    if (changing.isEmpty())
        return;
    TakeSnapshot();
    // Only the colouring changes: the kinds, and so every cut, stay as they are.
    for (int i : changing) {
        const QPoint cell = cells[i];
        m_figure.Grid[cell.y()][cell.x()] = RepaintCell(m_figure.Cell(cell.x(), cell.y()), paint);
        m_selection->SetValue(i, RepaintCell(m_selection->Values()[i], paint));
    }
    Q_EMIT UpdateAllViews();
}

void CTarvexDoc::SetColouring(int index, const CColouring &colouring)
{
    if (index < 0 || index >= m_figure.ColouringCount() || m_figure.Colouring(index) == colouring)
        return;
    TakeSnapshot();
    m_figure.SetColouring(index, colouring);
    if (index == 0)
        SaveSettings();
    UpdateBarColors();
    Q_EMIT UpdateAllViews();
}

int CTarvexDoc::AddColouring(const CColouring &colouring)
{
    if (m_figure.ColouringCount() >= MaxColourings)
        return -1;
    TakeSnapshot();
    m_figure.Palette.append(colouring);
    UpdateBarColors();
    Q_EMIT UpdateAllViews();
    return m_figure.ColouringCount() - 1;
}

void CTarvexDoc::DrawWorkspace(QPainter &painter, bool dots, int scale, int x0, int y0, bool fillBackground) const
{
    PreparePainter(painter);
    if (fillBackground) {
        const QSize size = m_figure.GetWorkspaceSize();
        painter.fillRect(QRect(0, 0, size.width() * scale, size.height() * scale), ColorFromRef(m_figure.BkColor));
    }
    CWorkspaceRenderer::Params params;
    params.CubeSize = m_figure.CubeSize;
    params.Scale = scale;
    params.Offset = QPoint(x0, y0);
    params.Dots = dots;
    params.Selected = SelectedCells();
    CWorkspaceRenderer().Draw(painter, m_figure, CWorkspaceRenderer::WholeArea(m_figure, params), params);
}

// ---------------------------------------------------------------- history

CFigureSnapshot CTarvexDoc::MakeSnapshot() const
{
    return CFigureSnapshot{m_figure, m_selection};
}

void CTarvexDoc::TakeSnapshot()
{
    if (std::exchange(m_joinNextEdit, false) && !m_undo.empty() && !IsSaved())
        return;
    // A saved state among the redo entries can no longer be reached.
    if (m_savedDepth > int(m_undo.size()))
        m_savedDepth = -1;
    m_undo.push_back(MakeSnapshot());
    m_redo.clear();
}

void CTarvexDoc::Undo(bool pushRedo)
{
    if (m_undo.empty())
        return;
    if (pushRedo)
        m_redo.push_back(MakeSnapshot());
    const CFigureSnapshot top = std::move(m_undo.back());
    m_undo.pop_back();
    RestoreSnapshot(top);
}

void CTarvexDoc::Redo()
{
    if (m_redo.empty())
        return;
    m_undo.push_back(MakeSnapshot());
    const CFigureSnapshot top = std::move(m_redo.back());
    m_redo.pop_back();
    RestoreSnapshot(top);
}

void CTarvexDoc::RestoreSnapshot(const CFigureSnapshot &snapshot)
{
    m_figure = snapshot.Figure;
    m_selection = snapshot.Selection;
    SaveSettings();
}

void CTarvexDoc::ClearHistory()
{
    const bool saved = IsSaved();
    m_undo.clear();
    m_redo.clear();
    m_savedDepth = saved ? 0 : -1;
}

void CTarvexDoc::OnEditUndo()
{
    Undo(true);
    // The restored colours may differ from the ones the pickers show.
    UpdateBarColors();
    Q_EMIT UpdateAllViews();
}

void CTarvexDoc::OnEditRedo()
{
    Redo();
    UpdateBarColors();
    Q_EMIT UpdateAllViews();
}

// ---------------------------------------------------------------- selection

void CTarvexDoc::ToggleSelectMode()
{
    if (m_selection)
        m_selection.reset();
    else
        m_selection.emplace();
    Q_EMIT UpdateAllViews();
}

void CTarvexDoc::SelectAll()
{
    if (!m_selection)
        return;
    m_selection->Clear();
    const CubeGrid &grid = m_figure.Grid;
    for (int r = 0; r < grid.size(); ++r)
        for (int c = 0; c < grid[r].size(); ++c)
            if (grid[r][c] >= 0)
                m_selection->Add(c, r, grid[r][c]);
    Q_EMIT UpdateAllViews();
}

void CTarvexDoc::SelectCells(const QVector<QPoint> &cells, bool add)
{
    if (!m_selection)
        return;
    if (!add)
        m_selection->Clear();
    for (const QPoint &cell : cells)
        if (m_figure.HasCell(cell.x(), cell.y()) && m_figure.Cell(cell.x(), cell.y()) >= 0)
            m_selection->Add(cell.x(), cell.y(), m_figure.Cell(cell.x(), cell.y()));
    Q_EMIT UpdateAllViews();
}

void CTarvexDoc::ClickSelect(const QPoint &cube, bool ctrl)
{
    if (!m_selection)
        return;
    if (!m_figure.HasCell(cube.x(), cube.y()) || m_figure.Cell(cube.x(), cube.y()) < 0) {
        m_selection->Clear();
    } else {
        if (!ctrl)
            m_selection->Clear();
        m_selection->Toggle(cube.x(), cube.y(), m_figure.Cell(cube.x(), cube.y()));
    }
    Q_EMIT UpdateAllViews();
}

QVector<QPoint> CTarvexDoc::MovableCells() const
{
    QVector<QPoint> cells;
    if (!m_selection)
        return cells;
    // A resize may have left entries outside the grid, or on cells it emptied.
    for (const QPoint &cell : m_selection->Cells())
        if (m_figure.HasCell(cell.x(), cell.y()) && m_figure.Cell(cell.x(), cell.y()) >= 0)
            cells.append(cell);
    return cells;
}

QPoint CTarvexDoc::ClampDragOffset(const QPoint &offset) const
{
    if (!m_selection)
        return QPoint(0, 0);
    return CDragOffset::Clamp(MovableCells(), offset, m_figure.GridSize());
}

void CTarvexDoc::DropSelection(const QPoint &requested, bool copy)
{
    if (!m_selection)
        return;
    const QPoint offset = ClampDragOffset(requested);
    TakeSnapshot();
    QVector<QPoint> cells = m_selection->Cells();
    const QVector<qint32> &values = m_selection->Values();
    QVector<int> moving;
    for (int i = 0; i < cells.size(); ++i) {
        if (m_figure.HasCell(cells[i].x(), cells[i].y()) && m_figure.Cell(cells[i].x(), cells[i].y()) >= 0)
            moving.append(i);
    }
    if (!copy) {
        for (int i : moving)
            m_figure.PlaceCube(cells[i].x(), cells[i].y(), EmptyCell);
    }
    const QSize grid = m_figure.GridSize();
    for (int i : moving) {
        const QPoint target = CDragOffset::DropTarget(cells[i], offset);
        // Never write outside the grid.
        if (!CellExists(target.x(), target.y(), grid.width(), grid.height()))
            continue;
        cells[i] = target;
        m_figure.PlaceCube(target.x(), target.y(), values[i]);
    }
    m_selection->MoveCells(cells);
    Q_EMIT UpdateAllViews();
}

bool CTarvexDoc::TransformSelection(CGridTransform::Kind kind)
{
    if (!m_selection)
        return false;
    QVector<int> moving;
    QVector<QPoint> cells;
    for (int i = 0; i < m_selection->Cells().size(); ++i) {
        const QPoint cell = m_selection->Cells()[i];
        if (m_figure.HasCell(cell.x(), cell.y()) && m_figure.Cell(cell.x(), cell.y()) >= 0) {
            moving.append(i);
            cells.append(cell);
        }
    }
    if (moving.isEmpty())
        return false;
    const std::optional<QVector<QPoint>> targets = CGridTransform::FitInside(
        CGridTransform::TransformCells(kind, cells), m_figure.GridSize());
    if (!targets)
        return false;
    TakeSnapshot();
    for (const QPoint &cell : std::as_const(cells))
        m_figure.PlaceCube(cell.x(), cell.y(), EmptyCell);
    CCubeSelection turned;
    for (int k = 0; k < moving.size(); ++k) {
        const QPoint target = (*targets)[k];
        const qint32 value = CGridTransform::TransformValue(kind, m_selection->Values()[moving[k]]);
        turned.Add(target.x(), target.y(), value);
        m_figure.PlaceCube(target.x(), target.y(), value);
    }
    // Entries left without a cube (cut off by a smaller grid) stay unless a turned
    // cube now lies on their cell.
    for (int i = 0; i < m_selection->Cells().size(); ++i)
        if (!moving.contains(i))
            turned.Add(m_selection->Cells()[i].x(), m_selection->Cells()[i].y(), m_selection->Values()[i]);
    *m_selection = turned;
    Q_EMIT UpdateAllViews();
    return true;
}

void CTarvexDoc::ReplaceFigure(const CFigure &figure)
{
    TakeSnapshot();
    m_selection.reset();
    m_pathName.clear();
    m_saveName.clear();
    // No undo depth leads back to the file the figure before came from.
    m_savedDepth = -1;
    m_figure = figure;
    SaveSettings();
    UpdateBarColors();
    Q_EMIT UpdateAllViews();
}

void CTarvexDoc::DeleteSelection()
{
    if (!m_selection || m_selection->IsEmpty())
        return;
    TakeSnapshot();
    for (const QPoint &cell : m_selection->Cells())
        if (m_figure.HasCell(cell.x(), cell.y()))
            m_figure.PlaceCube(cell.x(), cell.y(), EmptyCell);
    m_selection->Clear();
    Q_EMIT UpdateAllViews();
}

// ---------------------------------------------------------------- lifecycle

void CTarvexDoc::Reset()
{
    for (CubeRow &row : m_figure.Grid)
        row.fill(EmptyCell);
    m_figure.Palette.clear();
    m_undo.clear();
    m_redo.clear();
    m_selection.reset();
    m_pathName.clear();
    m_saveName.clear();
    m_fileStamp = CFileStamp();
    MarkSaved();
}

void CTarvexDoc::SavedAs(const QString &path)
{
    m_pathName = path;
    m_saveName = path;
    MarkSaved();
    Q_EMIT UpdateAllViews();
}

void CTarvexDoc::MarkSaved()
{
    m_savedDepth = int(m_undo.size());
}

void CTarvexDoc::UpdateBarColors()
{
    Q_EMIT BarColorsChanged(m_figure.Color1, m_figure.Color2, m_figure.Color3);
    Q_EMIT PaletteChanged(m_figure.Colourings());
}

// ---------------------------------------------------------------- files

bool CTarvexDoc::SaveFigureXml(const QString &path, QString *error) const
{
    return CFigureXml::Save(m_figure, path, error);
}

bool CTarvexDoc::ExportBitmap(const QString &path, QString *error) const
{
    return CBitmapExport::Export(m_figure, SelectedCells(), path, error);
}

bool CTarvexDoc::SaveFigureAs(const QString &path, bool transparent, QString *error) const
{
    return CFigureWriter::Write(CFigureWriter::FormatOf(path), m_figure, SelectedCells(), path, transparent, error);
}

void CTarvexDoc::PrintFigure(QPainter &painter, const QSize &printable) const
{
    CBitmapExport::Print(m_figure, painter, printable);
}
