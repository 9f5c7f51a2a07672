// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/tarvexdoc.h"

#include "document/documentui.h"
#include "files/bitmapexport.h"
#include "files/figurewriter.h"
#include "files/figurexml.h"
#include "files/regularfile.h"
#include "geometry/cubepainter.h"
#include "geometry/workspacerenderer.h"

#include <QCoreApplication>
#include <QFile>

#include <QPainter>
#include <QSettings>
#include <QtEndian>

#include <algorithm>
#include <climits>

namespace {

const char *const SettingsOrganisation = "Brellow";
const char *const SettingsApplication = "Tarvex";
const char *const SettingsGroup = "Settings";

} // namespace

CTarvexDoc::CTarvexDoc(bool useSettingsStore, QObject *parent)
    : QObject(parent)
    , m_useSettingsStore(useSettingsStore)
{
    CustomColors.fill(0xFFFFFF);
    LoadSettings();
    m_bSaved = 1;
    UpdateBarColors();
}

CTarvexDoc::~CTarvexDoc() = default;

// ---------------------------------------------------------------- settings

void CTarvexDoc::LoadSettings()
{
    int width = DefaultWidth;
    int height = DefaultHeight;
    if (m_useSettingsStore) {
        QSettings store(SettingsOrganisation, SettingsApplication);
        store.beginGroup(SettingsGroup);
        auto readInt = [&store](const char *key, qint64 fallback) {
            bool ok = false;
            const qint64 v = store.value(key, fallback).toLongLong(&ok);
            return ok ? v : fallback;
        };
        BkColor = ColorRef(readInt("BkColor", DefaultBkColor));
        Color1 = ColorRef(readInt("Color1", DefaultColor1));
        Color2 = ColorRef(readInt("Color2", DefaultColor2));
        Color3 = ColorRef(readInt("Color3", DefaultColor3));
        const QByteArray custom = store.value("CustomColors").toByteArray();
        if (custom.size() == 64) {
            for (int i = 0; i < 16; ++i)
                CustomColors[i] = qFromLittleEndian<quint32>(custom.constData() + 4 * i);
        } else {
            CustomColors.fill(0xFFFFFF);
        }
        // A damaged store must not make the program unusable: sizes are kept to the
        // ranges the Options dialog allows.
        CubeSize = int(std::clamp<qint64>(readInt("CubeSize", DefaultCubeSize), MinCubeSize, MaxCubeSize));
        width = int(std::clamp<qint64>(readInt("Width", DefaultWidth), MinGridWidth, MaxGridWidth));
        height = int(std::clamp<qint64>(readInt("Height", DefaultHeight), MinGridHeight, MaxGridHeight));
    }
    ResizeGrid(width, height);
}

void CTarvexDoc::SaveSettings() const
{
    if (!m_useSettingsStore)
        return;
    QSettings store(SettingsOrganisation, SettingsApplication);
    store.beginGroup(SettingsGroup);
    const QSize grid = GetGridSize();
    store.setValue("BkColor", qint64(BkColor));
    store.setValue("Color1", qint64(Color1));
    store.setValue("Color2", qint64(Color2));
    store.setValue("Color3", qint64(Color3));
    store.setValue("CubeSize", CubeSize);
    store.setValue("Width", grid.width());
    store.setValue("Height", grid.height());
    QByteArray custom(64, '\0');
    for (int i = 0; i < 16; ++i)
        qToLittleEndian<quint32>(CustomColors[i], custom.data() + 4 * i);
    store.setValue("CustomColors", custom);
}

// ---------------------------------------------------------------- grid

CFigure CTarvexDoc::Figure() const
{
    CFigure figure;
    figure.BkColor = BkColor;
    figure.Color1 = Color1;
    figure.Color2 = Color2;
    figure.Color3 = Color3;
    figure.CubeSize = CubeSize;
    figure.Grid = m_grid;
    return figure;
}

void CTarvexDoc::ApplyFigure(const CFigure &figure)
{
    Color1 = figure.Color1;
    Color2 = figure.Color2;
    Color3 = figure.Color3;
    BkColor = figure.BkColor;
    CubeSize = figure.CubeSize;
    const QSize size = figure.GridSize();
    ResizeGrid(size.width(), size.height());
    SaveSettings();
    UpdateBarColors();
    // The file's cubes, placed in file order onto the emptied grid by the reader.
    m_grid = figure.Grid;
    if (!figure.IsEmpty())
        ChangedWithoutSnapshot();
}

void CTarvexDoc::ResizeGrid(int width, int height)
{
    CFigure::Resize(m_grid, width, height);
    Q_EMIT UpdateAllViews();
}

QSize CTarvexDoc::GetGridSize() const
{
    return QSize(m_grid.isEmpty() ? 0 : int(m_grid[0].size()), int(m_grid.size()));
}

bool CTarvexDoc::HasCell(int column, int row) const
{
    return row >= 0 && row < m_grid.size() && column >= 0 && column < m_grid[row].size();
}

void CTarvexDoc::PlaceCube(int column, int row, qint32 value)
{
    CFigure::PlaceCube(m_grid, column, row, value);
    ChangedWithoutSnapshot();
}

void CTarvexDoc::ChangedWithoutSnapshot()
{
    // A change without a snapshot before it alters the saved state itself.
    if (int(m_undo.size()) == m_savedDepth)
        m_savedDepth = -1;
    m_bSaved = 0;
}

QPoint CTarvexDoc::CellFromPoint(int x, int y) const
{
    return Figure().CellFromPoint(x, y);
}

QPoint CTarvexDoc::CubeFromPoint(int x, int y) const
{
    return Figure().CubeFromPoint(x, y);
}

CFigure CTarvexDoc::FigureAt(int displaySize) const
{
    CFigure figure = Figure();
    figure.CubeSize = displaySize;
    return figure;
}

int CTarvexDoc::CentreBox(int displaySize) const
{
    if (CubeSize <= 0 || displaySize == CubeSize)
        return 5;
    return qMax(1, (5 * displaySize + CubeSize / 2) / CubeSize);
}

QSize CTarvexDoc::GetWorkspaceSize(int displaySize) const
{
    return FigureAt(displaySize).GetWorkspaceSize();
}

QPoint CTarvexDoc::CellFromPoint(int x, int y, int displaySize) const
{
    return FigureAt(displaySize).CellFromPoint(x, y, CentreBox(displaySize));
}

QPoint CTarvexDoc::CubeFromPoint(int x, int y, int displaySize) const
{
    return FigureAt(displaySize).CubeFromPoint(x, y);
}

bool CTarvexDoc::IsFigureEmpty() const
{
    return Figure().IsEmpty();
}

CTarvexDoc::Bounds CTarvexDoc::GetFigureBounds() const
{
    return Figure().GetBounds();
}

QSize CTarvexDoc::GetWorkspaceSize() const
{
    return Figure().GetWorkspaceSize();
}

void CTarvexDoc::DrawWorkspace(QPainter &painter, bool dots, int scale, int x0, int y0,
                               bool fillBackground) const
{
    PreparePainter(painter);
    if (fillBackground) {
        const QSize size = GetWorkspaceSize();
        painter.fillRect(QRect(0, 0, size.width() * scale, size.height() * scale),
                         ColorFromRef(BkColor));
    }
    CWorkspaceRenderer::Params params;
    params.CubeSize = CubeSize;
    params.Scale = scale;
    params.Offset = QPoint(x0, y0);
    params.Dots = dots;
    params.Selected = SelectedCells();
    const CFigure figure = Figure();
    CWorkspaceRenderer().Draw(painter, figure, CWorkspaceRenderer::WholeArea(figure, params), params);
}

// ---------------------------------------------------------------- history

std::unique_ptr<CFigureSnapshot> CTarvexDoc::MakeSnapshot() const
{
    auto s = std::make_unique<CFigureSnapshot>();
    s->Color3 = Color3;
    s->Color2 = Color2;
    s->Color1 = Color1;
    s->BkColor = BkColor;
    s->CubeSize = CubeSize;
    s->Grid = m_grid;   // rows are shared until one side writes to them
    if (m_selection)
        s->Selection = std::make_unique<CCubeSelection>(*m_selection);
    return s;
}

void CTarvexDoc::TakeSnapshot()
{
    // A saved state among the redo entries can no longer be reached.
    if (m_savedDepth > int(m_undo.size()))
        m_savedDepth = -1;
    m_undo.push_back(MakeSnapshot());
    m_redo.clear();
    UpdateSaved();
}

void CTarvexDoc::Undo(bool pushRedo)
{
    if (m_undo.empty())
        return;
    if (pushRedo)
        m_redo.push_back(MakeSnapshot());
    std::unique_ptr<CFigureSnapshot> top = std::move(m_undo.back());
    m_undo.pop_back();
    RestoreSnapshot(*top);
    UpdateSaved();
}

void CTarvexDoc::Redo()
{
    if (m_redo.empty())
        return;
    m_undo.push_back(MakeSnapshot());
    std::unique_ptr<CFigureSnapshot> top = std::move(m_redo.back());
    m_redo.pop_back();
    RestoreSnapshot(*top);
    UpdateSaved();
}

void CTarvexDoc::RestoreSnapshot(const CFigureSnapshot &s)
{
    Color1 = s.Color1;
    Color2 = s.Color2;
    Color3 = s.Color3;
    BkColor = s.BkColor;
    CubeSize = s.CubeSize;
    m_grid = s.Grid;
    m_selection.reset();
    if (s.Selection)
        m_selection = std::make_unique<CCubeSelection>(*s.Selection);
    SaveSettings();
}

void CTarvexDoc::ClearHistory()
{
    m_undo.clear();
    m_redo.clear();
    m_savedDepth = m_bSaved ? 0 : -1;
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
        m_selection = std::make_unique<CCubeSelection>();
    Q_EMIT UpdateAllViews();
}

void CTarvexDoc::SelectAll()
{
    if (!m_selection)
        return;
    m_selection->Clear();
    for (int r = 0; r < m_grid.size(); ++r)
        for (int c = 0; c < m_grid[r].size(); ++c)
            if (m_grid[r][c] >= 0)
                m_selection->Add(c, r, m_grid[r][c]);
    Q_EMIT UpdateAllViews();
}

void CTarvexDoc::SelectCubesInRect(int x1, int y1, int x2, int y2)
{
    SelectCubesInRect(x1, y1, x2, y2, CubeSize);
}

void CTarvexDoc::SelectCubesInRect(int x1, int y1, int x2, int y2, int displaySize)
{
    if (!m_selection || x1 == x2 || y1 == y2)
        return;
    const QRect rect(QPoint(qMin(x1, x2), qMin(y1, y2)), QPoint(qMax(x1, x2) - 1, qMax(y1, y2) - 1));
    const QRegion region(rect);
    const CellPitch pitch = ComputeCellPitch(displaySize);
    CCubePainter painter;
    painter.Size = displaySize;
    for (int r = 0; r < m_grid.size(); ++r) {
        for (int c = 0; c < m_grid[r].size(); ++c) {
            const qint32 value = m_grid[r][c];
            if (value < 0)
                continue;
            const QPoint origin = CellOrigin(c, r, pitch);
            // A cube's visible region always holds its Centre, so a cube whose square
            // misses the rectangle cannot lie inside it.
            if (!rect.intersects(QRect(origin, QSize(displaySize + 1, displaySize + 1))))
                continue;
            painter.Left = origin.x();
            painter.Top = origin.y();
            painter.Index = value;
            if (painter.IsInsideRegion(region))
                m_selection->Add(c, r, value);
        }
    }
}

void CTarvexDoc::DrawSelectionFramesXor(QPainter &painter, int dx, int dy) const
{
    DrawSelectionFramesXor(painter, dx, dy, CubeSize);
}

void CTarvexDoc::DrawSelectionFramesXor(QPainter &painter, int dx, int dy, int displaySize) const
{
    if (!m_selection)
        return;
    const CellPitch pitch = ComputeCellPitch(displaySize);
    CCubePainter cube;
    cube.Size = displaySize;
    for (int r = 0; r < m_grid.size(); ++r) {
        for (int c = 0; c < m_grid[r].size(); ++c) {
            if (m_grid[r][c] < 0 || !m_selection->Contains(c, r))
                continue;
            const QPoint origin = CellOrigin(c, r, pitch);
            cube.Index = m_grid[r][c];
            cube.Left = origin.x();
            cube.Top = origin.y();
            cube.DrawFrameXor(painter, dx, dy);
        }
    }
}

void CTarvexDoc::ClickSelect(int x, int y, bool ctrl)
{
    ClickSelect(x, y, ctrl, CubeSize);
}

void CTarvexDoc::ClickSelect(int x, int y, bool ctrl, int displaySize)
{
    if (!m_selection)
        return;
    const QPoint cube = CubeFromPoint(x, y, displaySize);
    if (cube.x() < 0) {
        m_selection->Clear();
    } else {
        if (!ctrl)
            m_selection->Clear();
        m_selection->Toggle(cube.x(), cube.y(), GetCell(cube.x(), cube.y()));
    }
    Q_EMIT UpdateAllViews();
}

QPoint CTarvexDoc::DropTarget(const QPoint &cell, const QPoint &offset)
{
    const int row = cell.y() + offset.y();
    int column = cell.x() + offset.x();
    if ((offset.y() & 1) && !(row & 1))
        ++column;
    return QPoint(column, row);
}

QPoint CTarvexDoc::GetDragOffset(const QPoint &start, const QPoint &point) const
{
    return GetDragOffset(start, point, CubeSize);
}

QPoint CTarvexDoc::GetDragOffset(const QPoint &start, const QPoint &point, int displaySize) const
{
    const CellPitch pitch = ComputeCellPitch(displaySize);
    const QSize grid = GetGridSize();
    const int w = grid.width();
    const int n = grid.height();
    if (!m_selection || pitch.Px <= 0 || pitch.Py <= 0)
        return QPoint(0, 0);
    int ox = point.x() - start.x();
    int oy = point.y() - start.y();
    if (oy < -pitch.Py)
        oy -= pitch.Py / 2;
    if (oy > pitch.Py)
        oy += pitch.Py / 2;
    int drow = oy / pitch.Py;
    if (ox < -pitch.Px)
        ox -= pitch.Px / 4;
    if (ox > pitch.Px)
        ox += pitch.Px / 4;
    if (ox > pitch.Px && !(drow & 1))
        ox += pitch.Px / 2;
    if (ox < -(pitch.Px / 2) && (drow & 1))
        ox -= pitch.Px / 2;
    int dcol = ox / pitch.Px;

    // Only cells that exist can be moved (a resize may have left stale entries).
    QVector<QPoint> cells;
    for (const QPoint &cell : m_selection->Cells)
        if (HasCell(cell.x(), cell.y()))
            cells.append(cell);

    // Entry by entry, pull the offset back into the grid.
    for (const QPoint &cell : cells) {
        const int c = cell.x();
        const int r = cell.y();
        const int nr = r + drow;
        const int nc = c + dcol;
        if (nr < 0)
            drow = -r;
        if (nr >= n)
            drow = n - 1 - r;
        if (nc < 0)
            dcol = -c;
        if ((r + drow) & 1) {
            if (nc >= w - 1)
                dcol = w - 2 - c;
        } else if (nc >= w) {
            dcol = w - 1 - c;
        }
    }

    // That pass neither counts the extra column of odd row offsets nor revisits
    // earlier entries. Where it leaves a cube outside, reduce the offset further: the
    // rows toward zero until some column offset fits every cube, then the nearest such
    // column offset. An offset of (0, 0) always fits, so the group stays whole.
    auto fits = [&](int dc, int dr) {
        for (const QPoint &cell : cells) {
            const QPoint t = DropTarget(cell, QPoint(dc, dr));
            if (!CellExists(t.x(), t.y(), w, n))
                return false;
        }
        return true;
    };
    if (fits(dcol, drow))
        return QPoint(dcol, drow);
    for (int dr = drow;; dr += (dr > 0 ? -1 : 1)) {
        int low = INT_MIN;
        int high = INT_MAX;
        bool rowsInside = true;
        for (const QPoint &cell : cells) {
            const int r = cell.y() + dr;
            if (r < 0 || r >= n) {
                rowsInside = false;
                break;
            }
            const int shift = DropTarget(cell, QPoint(0, dr)).x() - cell.x();
            low = qMax(low, -cell.x() - shift);
            high = qMin(high, RowLength(w, r) - 1 - cell.x() - shift);
        }
        if (rowsInside && low <= high)
            return QPoint(qBound(low, dcol, high), dr);
        if (dr == 0)
            return QPoint(0, 0);
    }
}

void CTarvexDoc::DropSelection(const QPoint &offset, bool copy)
{
    if (!m_selection)
        return;
    TakeSnapshot();
    const QSize grid = GetGridSize();
    if (!copy) {
        for (const QPoint &cell : m_selection->Cells)
            if (HasCell(cell.x(), cell.y()))
                PlaceCube(cell.x(), cell.y(), EmptyCell);
    }
    for (int i = 0; i < m_selection->Cells.size(); ++i) {
        const QPoint cell = m_selection->Cells[i];
        const QPoint target = DropTarget(cell, offset);
        // Never write outside the grid, whatever offset a caller passes.
        if (!HasCell(cell.x(), cell.y()) || !CellExists(target.x(), target.y(), grid.width(), grid.height()))
            continue;
        m_selection->Cells[i] = target;
        PlaceCube(target.x(), target.y(), m_selection->Values[i]);
    }
}

bool CTarvexDoc::ClickPlaceCube(int x, int y, int kind)
{
    return ClickPlaceCube(x, y, kind, CubeSize);
}

bool CTarvexDoc::ClickPlaceCube(int x, int y, int kind, int displaySize)
{
    const QPoint cell = CellFromPoint(x, y, displaySize);
    if (cell.x() < 0)
        return false;
    TakeSnapshot();
    PlaceCube(cell.x(), cell.y(), kind >= 0 && kind < CubeKindCount ? kind : EmptyCell);
    Q_EMIT UpdateAllViews();
    return true;
}

void CTarvexDoc::EndRubberBand(const QPoint &start, const QPoint &end, bool add)
{
    EndRubberBand(start, end, add, CubeSize);
}

void CTarvexDoc::EndRubberBand(const QPoint &start, const QPoint &end, bool add, int displaySize)
{
    if (!m_selection)
        return;
    if (!add)
        m_selection->Clear();
    SelectCubesInRect(start.x(), start.y(), end.x(), end.y(), displaySize);
    Q_EMIT UpdateAllViews();
}

void CTarvexDoc::EndSelectionDrag(const QPoint &start, const QPoint &end, bool copy)
{
    EndSelectionDrag(start, end, copy, CubeSize);
}

void CTarvexDoc::EndSelectionDrag(const QPoint &start, const QPoint &end, bool copy, int displaySize)
{
    if (!m_selection)
        return;
    DropSelection(GetDragOffset(start, end, displaySize), copy);
    Q_EMIT UpdateAllViews();
}

void CTarvexDoc::ApplyOptions(int width, int height, int cubeSize, ColorRef bkColor,
                              ColorRef color1, ColorRef color2, ColorRef color3)
{
    ResizeGrid(width, height);
    CubeSize = cubeSize;
    Q_EMIT UpdateAllViews();
    BkColor = bkColor;
    Color1 = color1;
    Color2 = color2;
    Color3 = color3;
}

void CTarvexDoc::DeleteSelection()
{
    if (!m_selection || m_selection->IsEmpty())
        return;
    TakeSnapshot();
    for (const QPoint &cell : m_selection->Cells)
        if (HasCell(cell.x(), cell.y()))
            PlaceCube(cell.x(), cell.y(), EmptyCell);
    m_selection->Clear();
    Q_EMIT UpdateAllViews();
}

// ---------------------------------------------------------------- lifecycle

void CTarvexDoc::Reset()
{
    for (CubeRow &row : m_grid)
        row.fill(EmptyCell);
    ClearHistory();
    m_selection.reset();
    m_strPathName.clear();
    MarkSaved();
}

void CTarvexDoc::MarkSaved()
{
    m_savedDepth = int(m_undo.size());
    m_bSaved = 1;
}

void CTarvexDoc::UpdateBarColors()
{
    Q_EMIT BarColorsChanged(Color1, Color2, Color3);
}

// ---------------------------------------------------------------- files

bool CTarvexDoc::SaveFigureXml(const QString &path, QString *error) const
{
    return CFigureXml::Save(Figure(), path, error);
}

bool CTarvexDoc::LoadFigureXml(const QString &path, QString *error)
{
    CFigure figure;
    if (!CFigureXml::Load(path, figure, error))
        return false;
    ApplyFigure(figure);
    return true;
}

bool CTarvexDoc::ExportBitmap(const QString &path, QString *error) const
{
    return CBitmapExport::Export(Figure(), SelectedCells(), path, error);
}

bool CTarvexDoc::SaveFigureAs(const QString &path, bool transparent, QString *error) const
{
    return CFigureWriter::Write(CFigureWriter::FormatOf(path), Figure(), SelectedCells(), path,
                                transparent, error);
}

void CTarvexDoc::PrintFigure(QPainter &painter, const QSize &printable) const
{
    CBitmapExport::Print(Figure(), painter, printable);
}

// ---------------------------------------------------------------- commands

namespace {

const char *const AskSaveText = QT_TRANSLATE_NOOP("CTarvexDoc", "Your figure not saved. Do you want to save it?");
const char *const AskSaveCaption = QT_TRANSLATE_NOOP("CTarvexDoc", "Warning");
const char *const AppCaption = "Tarvex";

} // namespace

bool CTarvexDoc::PromptSaveChanges()
{
    if (IsFigureEmpty() || m_bSaved)
        return true;
    const CDocumentUi::Answer answer =
        m_ui ? m_ui->AskYesNoCancel(tr(AskSaveText), tr(AskSaveCaption))
             : CDocumentUi::Answer::Cancel;
    switch (answer) {
    case CDocumentUi::Answer::Cancel:
        return false;
    case CDocumentUi::Answer::No:
        return true;
    case CDocumentUi::Answer::Yes:
        OnSaveFigure();
        return m_bSaved != 0;
    }
    return false;
}

bool CTarvexDoc::OnNewDocument()
{
    UpdateBarColors();
    if (!PromptSaveChanges())
        return false;
    Reset();
    Q_EMIT UpdateAllViews();
    return true;
}

bool CTarvexDoc::OnOpenDocument(const QString &path)
{
    // A pipe is refused before it is opened: opening it would wait for a writer for good.
    const QString special = CRegularFile::ReadProblem(path);
    QFile file(path);
    if (!special.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        if (m_ui)
            m_ui->ShowMessage(tr("Cannot open the file %1.\n%2").arg(path, special.isEmpty() ? file.errorString() : special),
                              QString::fromLatin1(AppCaption), CDocumentUi::Icon::Stop);
        return false;
    }
    file.close();
    Reset();
    QString reason;
    if (!LoadFigureXml(path, &reason)) {
        // The fixed message first, then what was wrong with the file.
        QString text = tr(LoadErrorText);
        if (!reason.isEmpty())
            text += QStringLiteral("\n\n") + reason;
        if (m_ui)
            m_ui->ShowMessage(text, QString::fromLatin1(AppCaption), CDocumentUi::Icon::Stop);
        return false;
    }
    // Placing the file's cubes cleared the saved flag; the freshly opened figure is
    // what is on disk, so it counts as saved however it was opened.
    MarkSaved();
    m_strPathName = path;
    Q_EMIT UpdateAllViews();
    return true;
}

void CTarvexDoc::OnOpenFigure()
{
    if (!PromptSaveChanges() || !m_ui)
        return;
    const QString path = m_ui->AskOpenFileName();
    if (path.isEmpty())
        return;
    OpenFigure(path);
}

bool CTarvexDoc::OpenFigure(const QString &path)
{
    const bool opened = OnOpenDocument(path);
    // Also when the file could not be opened: the user has already answered the
    // question about the figure on screen.
    MarkSaved();
    Q_EMIT UpdateAllViews();
    if (opened)
        Q_EMIT FigureFileUsed(path);
    return opened;
}

bool CTarvexDoc::OpenRecovered(const QString &copyPath, const QString &originalName)
{
    if (!OnOpenDocument(copyPath))
        return false;
    // Unsaved until it is saved: no undo step leads back to a saved state.
    m_savedDepth = -1;
    m_bSaved = 0;
    m_strPathName = originalName;
    Q_EMIT UpdateAllViews();
    return true;
}

void CTarvexDoc::OnSaveFigure()
{
    if (IsFigureEmpty()) {
        if (m_ui)
            m_ui->ShowMessage(QCoreApplication::translate("CFigure", EmptyFigureText), QString::fromLatin1(AppCaption),
                              CDocumentUi::Icon::Stop);
        return;
    }
    if (!m_ui)
        return;
    const QString path = m_ui->AskSaveFileName();
    if (path.isEmpty())
        return;
    // A name whose extension is none of the formats writes nothing and stays unsaved:
    // saying "saved" there would let the next New or close drop the figure unasked.
    if (CFigureWriter::FormatOf(path) == CFigureWriter::Format::Unknown) {
        m_ui->ShowMessage(CFigureWriter::UnknownTypeText(path), QString::fromLatin1(AppCaption),
                          CDocumentUi::Icon::Stop);
        return;
    }
    QString error;
    const bool written = SaveFigureAs(path, m_ui->TransparentBackground(), &error);
    if (!written) {
        // A failed write is reported and the figure stays unsaved.
        m_ui->ShowMessage(tr("The figure could not be saved to %1.\n%2").arg(path, error),
                          QString::fromLatin1(AppCaption), CDocumentUi::Icon::Stop);
        return;
    }
    MarkSaved();
    m_strPathName = path;
    Q_EMIT UpdateAllViews();
    if (CFigureWriter::FormatOf(path) == CFigureWriter::Format::Xml)
        Q_EMIT FigureFileUsed(path);
}

void CTarvexDoc::OnOptions()
{
    if (!m_ui)
        return;
    TakeSnapshot();
    if (m_ui->RunOptionsDialog(*this)) {
        SaveSettings();
        UpdateBarColors();
    } else {
        Undo(false);
    }
    Q_EMIT UpdateAllViews();
}

bool CTarvexDoc::CanCloseFrame()
{
    if (IsFigureEmpty() || m_bSaved)
        return true;
    return PromptSaveChanges();
}
