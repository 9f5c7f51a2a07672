// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/tarvexviewaccessible.h"

#include "document/tarvexdoc.h"
#include "view/tarvexview.h"

#include <QStringList>

namespace {

quint32 CellKey(const QPoint &cell)
{
    return (quint32(cell.y()) << 16) | quint32(cell.x() & 0xffff);
}

bool IsSelected(const CTarvexDoc &doc, const QPoint &cell)
{
    const CCubeSelection *selection = doc.Selection();
    return selection && selection->Contains(cell.x(), cell.y());
}

QAccessibleInterface *ViewFactory(const QString &, QObject *object)
{
    if (auto *view = qobject_cast<CTarvexView *>(object))
        return new CTarvexViewAccessible(view);
    return nullptr;
}

} // namespace

// One cell of the workspace: no object of its own, it asks the view for everything.
class CTarvexViewAccessible::Cell : public QAccessibleInterface
{
public:
    Cell(const CTarvexViewAccessible *list, const QPoint &cell)
        : m_list(list)
        , m_cell(cell)
    {
    }

    bool isValid() const override
    {
        if (!m_list->isValid())
            return false;
        const QSize grid = m_list->View()->GetDocument().Figure().GridSize();
        return CellExists(m_cell.x(), m_cell.y(), grid.width(), grid.height());
    }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_list->window(); }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_list->View()); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name && isValid() ? CellText(m_list->View()->GetDocument(), m_cell) : QString();
    }
    void setText(QAccessible::Text, const QString &) override { }
    QRect rect() const override
    {
        const CTarvexView *view = m_list->View();
        const CViewMapping mapping = view->Mapping();
        const QRect area = view->ToViewport(
            QRect(mapping.CellOrigin(m_cell), QSize(mapping.DisplaySize(), mapping.DisplaySize())));
        return QRect(view->viewport()->mapToGlobal(area.topLeft()), area.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        const CTarvexView *view = m_list->View();
        QAccessible::State s;
        s.focusable = true;
        s.selectable = view->GetDocument().IsSelectMode();
        s.selected = IsSelected(view->GetDocument(), m_cell);
        s.focused = view->hasFocus() && view->CellCursor() == m_cell;
        s.active = view->CellCursor() == m_cell;
        s.invisible = !view->isVisible();
        return s;
    }

private:
    const CTarvexViewAccessible *m_list;
    QPoint m_cell;
};

CTarvexViewAccessible::CTarvexViewAccessible(CTarvexView *view)
    : QAccessibleWidget(view, QAccessible::List, tr("Workspace"))
{
}

CTarvexViewAccessible::~CTarvexViewAccessible()
{
    for (QAccessible::Id id : std::as_const(m_cells))
        QAccessible::deleteAccessibleInterface(id);
}

void CTarvexViewAccessible::Install()
{
    static const bool installed = [] {
        QAccessible::installFactory(ViewFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

CTarvexView *CTarvexViewAccessible::View() const
{
    return static_cast<CTarvexView *>(widget());
}

QString CTarvexViewAccessible::CubeText(int value)
{
    if (value < 0 || value >= EmptyCubeIndex)
        return tr("empty");
    if (value == 0)
        return tr("cube 0, whole");
    const char *const corners[] = {QT_TR_NOOP("top"),    QT_TR_NOOP("upper right"), QT_TR_NOOP("lower right"),
                                   QT_TR_NOOP("bottom"), QT_TR_NOOP("lower left"),  QT_TR_NOOP("upper left")};
    QStringList cut;
    for (int part = 0; part < 6; ++part) {
        if (value & (1 << part))
            cut.append(tr(corners[part]));
    }
    return tr("cube %1, cut corners: %2").arg(value).arg(cut.join(QStringLiteral(", ")));
}

QString CTarvexViewAccessible::CellText(const CTarvexDoc &doc, const QPoint &cell)
{
    const CFigure &figure = doc.Figure();
    const QSize grid = figure.GridSize();
    if (!CellExists(cell.x(), cell.y(), grid.width(), grid.height()))
        return QString();
    // Counted from 1, as people count.
    QString text =
        tr("column %1, row %2: %3").arg(cell.x() + 1).arg(cell.y() + 1).arg(CubeText(figure.Cell(cell.x(), cell.y())));
    if (IsSelected(doc, cell))
        text += tr(", selected");
    return text;
}

QString CTarvexViewAccessible::Summary(const CTarvexDoc &doc)
{
    const CFigure &figure = doc.Figure();
    const QSize grid = figure.GridSize();
    int cubes = 0;
    for (const CubeRow &row : figure.Grid) {
        for (qint32 value : row)
            cubes += value >= 0 ? 1 : 0;
    }
    // "cubes: 12" reads right with any number in every language.
    QString text = tr("Figure of %1 × %2 cells, cubes: %3").arg(grid.width()).arg(grid.height()).arg(cubes);
    if (const CCubeSelection *selection = doc.Selection())
        text += tr("; select-and-move mode, selected: %1").arg(selection->Count());
    return text;
}

QString CTarvexViewAccessible::WholeText() const
{
    if (m_textValid)
        return m_text;
    const CTarvexDoc &doc = View()->GetDocument();
    const CFigure &figure = doc.Figure();
    QStringList lines{Summary(doc), CellText(doc, View()->CellCursor())};
    for (int row = 0; row < figure.Grid.size(); ++row) {
        for (int column = 0; column < figure.Grid[row].size(); ++column) {
            if (figure.Cell(column, row) >= 0)
                lines.append(CellText(doc, QPoint(column, row)));
        }
    }
    m_text = lines.join(QLatin1Char('\n'));
    m_textValid = true;
    return m_text;
}

QString CTarvexViewAccessible::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name:
        return tr("Workspace");
    case QAccessible::Description:
        return Summary(View()->GetDocument());
    case QAccessible::Value:
        return CellText(View()->GetDocument(), View()->CellCursor());
    default:
        return QAccessibleWidget::text(t);
    }
}

QAccessible::State CTarvexViewAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.readOnly = true; // the text; the figure is edited with keys
    s.multiSelectable = View()->GetDocument().IsSelectMode();
    return s;
}

int CTarvexViewAccessible::childCount() const
{
    const QSize grid = View()->GetDocument().Figure().GridSize();
    return grid.width() * grid.height();
}

QAccessibleInterface *CTarvexViewAccessible::CellItem(const QPoint &cell) const
{
    const QSize grid = View()->GetDocument().Figure().GridSize();
    if (!CellExists(cell.x(), cell.y(), grid.width(), grid.height()))
        return nullptr;
    QAccessible::Id &id = m_cells[CellKey(cell)];
    if (!id)
        id = QAccessible::registerAccessibleInterface(new Cell(this, cell));
    return QAccessible::accessibleInterface(id);
}

QAccessibleInterface *CTarvexViewAccessible::child(int index) const
{
    const int width = View()->GetDocument().Figure().GridSize().width();
    if (index < 0 || index >= childCount() || width <= 0)
        return nullptr;
    return CellItem(QPoint(index % width, index / width));
}

int CTarvexViewAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const int width = View()->GetDocument().Figure().GridSize().width();
    for (auto it = m_cells.cbegin(); it != m_cells.cend(); ++it) {
        if (QAccessible::accessibleInterface(it.value()) == child && child->isValid())
            return int(it.key() >> 16) * width + int(it.key() & 0xffff);
    }
    return -1;
}

QAccessibleInterface *CTarvexViewAccessible::childAt(int x, int y) const
{
    const CTarvexView *view = View();
    const QPoint point = view->viewport()->mapFromGlobal(QPoint(x, y));
    const CViewMapping mapping = view->Mapping();
    return CellItem(mapping.CellAt(view->GetDocument().Figure(), view->ToWorkspace(point)));
}

QAccessibleInterface *CTarvexViewAccessible::focusChild() const
{
    return View()->hasFocus() ? CellItem(View()->CellCursor()) : nullptr;
}

void *CTarvexViewAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

void CTarvexViewAccessible::selection(int, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
}

int CTarvexViewAccessible::cursorPosition() const
{
    // At the cursor's line, after the summary.
    return int(Summary(View()->GetDocument()).size()) + 1;
}

QString CTarvexViewAccessible::text(int startOffset, int endOffset) const
{
    const QString whole = WholeText();
    if (endOffset < 0 || endOffset > whole.size())
        endOffset = int(whole.size());
    startOffset = qBound(0, startOffset, endOffset);
    return whole.mid(startOffset, endOffset - startOffset);
}

int CTarvexViewAccessible::characterCount() const
{
    return int(WholeText().size());
}

QRect CTarvexViewAccessible::characterRect(int) const
{
    const QWidget *viewport = View()->viewport();
    return QRect(viewport->mapToGlobal(QPoint(0, 0)), viewport->size());
}

int CTarvexViewAccessible::offsetAtPoint(const QPoint &) const
{
    return cursorPosition();
}

QString CTarvexViewAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = offset;
    return QString();
}

void CTarvexViewAccessible::Notify(CTarvexView *view, Change change)
{
    if (!QAccessible::isActive())
        return;
    auto *self = static_cast<CTarvexViewAccessible *>(QAccessible::queryAccessibleInterface(view));
    if (!self || !self->isValid() || self->role() != QAccessible::List)
        return;
    const QString before = self->m_textValid ? self->m_text : QString();
    self->m_textValid = false;
    QAccessibleInterface *item = self->CellItem(view->CellCursor());
    if (item && change == Change::CellCursor && view->hasFocus()) {
        // The current item moved: a screen reader speaks the new one.
        QAccessibleEvent focus(item, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
    if (item && change == Change::Figure) {
        // What lies under the cursor, the selection and the summary may all have changed.
        QAccessibleEvent name(item, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&name);
        QAccessibleEvent description(self, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&description);
        QAccessibleEvent selection(self, QAccessible::SelectionWithin);
        QAccessible::updateAccessibility(&selection);
    }
    const QString after = self->WholeText();
    if (after != before) {
        QAccessibleTextUpdateEvent update(self, 0, before, after);
        QAccessible::updateAccessibility(&update);
    }
}
