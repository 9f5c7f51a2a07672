// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/selection/cubeslibraryaccessible.h"

#include "ui/selection/cubeslibrary.h"

#include <QWidget>

// One cell of the library: no object of its own, it asks the library for everything.
class CCubesLibraryAccessible::Cell : public QAccessibleInterface
{
public:
    Cell(const CCubesLibraryAccessible *list, int index)
        : m_list(list)
        , m_index(index)
    {
    }

    bool isValid() const override { return m_list->isValid(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_list->window(); }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_list->Library()); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? CCubesLibrary::KindName(m_index) : QString();
    }
    void setText(QAccessible::Text, const QString &) override { }
    QRect rect() const override
    {
        const CCubesLibrary *library = m_list->Library();
        const QRect r = library->CellRect(m_index);
        return QRect(library->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        const CCubesLibrary *library = m_list->Library();
        QAccessible::State s;
        s.selectable = true;
        s.focusable = true;
        s.selected = library->GetSelectedIndex() == m_index;
        s.focused = library->hasFocus() && library->GetFocusIndex() == m_index;
        s.invisible = !library->isVisible();
        return s;
    }

private:
    const CCubesLibraryAccessible *m_list;
    int m_index;
};

namespace {

QAccessibleInterface *LibraryFactory(const QString &, QObject *object)
{
    if (auto *library = qobject_cast<CCubesLibrary *>(object))
        return new CCubesLibraryAccessible(library);
    return nullptr;
}

} // namespace

CCubesLibraryAccessible::CCubesLibraryAccessible(CCubesLibrary *library)
    : QAccessibleWidget(library, QAccessible::List)
{
}

CCubesLibraryAccessible::~CCubesLibraryAccessible()
{
    for (QAccessible::Id id : std::as_const(m_cells)) {
        if (id)
            QAccessible::deleteAccessibleInterface(id);
    }
}

void CCubesLibraryAccessible::Install()
{
    static const bool installed = [] {
        QAccessible::installFactory(LibraryFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

CCubesLibrary *CCubesLibraryAccessible::Library() const
{
    return static_cast<CCubesLibrary *>(widget());
}

int CCubesLibraryAccessible::childCount() const
{
    return CCubesLibrary::CellCount;
}

QAccessibleInterface *CCubesLibraryAccessible::child(int index) const
{
    if (index < 0 || index >= CCubesLibrary::CellCount)
        return nullptr;
    if (m_cells.isEmpty())
        m_cells.fill(0, CCubesLibrary::CellCount);
    if (!m_cells[index])
        m_cells[index] = QAccessible::registerAccessibleInterface(new Cell(this, index));
    return QAccessible::accessibleInterface(m_cells[index]);
}

int CCubesLibraryAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    for (int i = 0; i < m_cells.size(); ++i) {
        if (m_cells[i] && QAccessible::accessibleInterface(m_cells[i]) == child)
            return i;
    }
    return -1;
}

QAccessibleInterface *CCubesLibraryAccessible::childAt(int x, int y) const
{
    const int index = Library()->HitCell(Library()->mapFromGlobal(QPoint(x, y)));
    return index >= 0 ? child(index) : nullptr;
}

QAccessibleInterface *CCubesLibraryAccessible::focusChild() const
{
    return Library()->hasFocus() ? child(Library()->GetFocusIndex()) : nullptr;
}
