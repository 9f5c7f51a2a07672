// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/selection/cubeconstructoraccessible.h"

#include "ui/selection/cubeconstructor.h"

#include <QtMath>

// One part of the sample: no object of its own, it asks the constructor for everything.
class CCubeConstructorAccessible::Part : public QAccessibleInterface
{
public:
    Part(const CCubeConstructorAccessible *group, int part)
        : m_group(group)
        , m_part(part)
    {
    }

    bool isValid() const override { return m_group->isValid(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_group->window(); }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_group->Constructor());
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? PartName(m_group->Constructor()->GetCubeIndex(), m_part) : QString();
    }
    void setText(QAccessible::Text, const QString &) override { }
    QRect rect() const override
    {
        const CCubeConstructor *constructor = m_group->Constructor();
        const CCubePainter &sample = constructor->Sample();
        const qreal ratio = constructor->devicePixelRatioF();
        const QRect device = PartPolygon(ComputeCubePoints(sample.Left, sample.Top, sample.Size), m_part)
                                 .boundingRect();
        const QRect logical(QPoint(qFloor(device.left() / ratio), qFloor(device.top() / ratio)),
                            QPoint(qCeil(device.right() / ratio), qCeil(device.bottom() / ratio)));
        return QRect(constructor->mapToGlobal(logical.topLeft()), logical.size());
    }
    QAccessible::Role role() const override { return QAccessible::CheckBox; }
    QAccessible::State state() const override
    {
        const CCubeConstructor *constructor = m_group->Constructor();
        QAccessible::State s;
        s.checkable = true;
        s.checked = IsCut(constructor->GetCubeIndex(), m_part);
        s.focusable = true;
        s.focused = constructor->hasFocus() && constructor->GetFocusPart() == m_part;
        s.invisible = !constructor->isVisible();
        return s;
    }

private:
    const CCubeConstructorAccessible *m_group;
    int m_part;
};

namespace {

QAccessibleInterface *ConstructorFactory(const QString &, QObject *object)
{
    if (auto *constructor = qobject_cast<CCubeConstructor *>(object))
        return new CCubeConstructorAccessible(constructor);
    return nullptr;
}

} // namespace

CCubeConstructorAccessible::CCubeConstructorAccessible(CCubeConstructor *constructor)
    : QAccessibleWidget(constructor, QAccessible::Grouping, tr("Cube constructor"))
{
}

CCubeConstructorAccessible::~CCubeConstructorAccessible()
{
    for (QAccessible::Id id : std::as_const(m_parts)) {
        if (id)
            QAccessible::deleteAccessibleInterface(id);
    }
}

void CCubeConstructorAccessible::Install()
{
    static const bool installed = [] {
        QAccessible::installFactory(ConstructorFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

CCubeConstructor *CCubeConstructorAccessible::Constructor() const
{
    return static_cast<CCubeConstructor *>(widget());
}

bool CCubeConstructorAccessible::IsCut(int kind, int part)
{
    if (kind == EmptyCubeIndex)
        return true; // nothing of the cube is left
    return part != Centre && (kind & (1 << part));
}

QString CCubeConstructorAccessible::PartName(int kind, int part)
{
    if (part == Centre)
        return kind == EmptyCubeIndex ? tr("Centre: empty cube") : tr("Centre: whole cube");
    const char *const corners[] = {QT_TR_NOOP("Top corner"),         QT_TR_NOOP("Upper right corner"),
                                   QT_TR_NOOP("Lower right corner"), QT_TR_NOOP("Bottom corner"),
                                   QT_TR_NOOP("Lower left corner"),  QT_TR_NOOP("Upper left corner")};
    if (part < 0 || part >= Centre)
        return QString();
    return tr("%1: %2").arg(tr(corners[part]), IsCut(kind, part) ? tr("cut") : tr("kept"));
}

int CCubeConstructorAccessible::childCount() const
{
    return CubePartCount;
}

QAccessibleInterface *CCubeConstructorAccessible::child(int index) const
{
    if (index < 0 || index >= CubePartCount)
        return nullptr;
    if (m_parts.isEmpty())
        m_parts.fill(0, CubePartCount);
    if (!m_parts[index])
        m_parts[index] = QAccessible::registerAccessibleInterface(new Part(this, index));
    return QAccessible::accessibleInterface(m_parts[index]);
}

int CCubeConstructorAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    for (int i = 0; i < m_parts.size(); ++i) {
        if (m_parts[i] && QAccessible::accessibleInterface(m_parts[i]) == child)
            return i;
    }
    return -1;
}

QAccessibleInterface *CCubeConstructorAccessible::childAt(int x, int y) const
{
    const CCubeConstructor *constructor = Constructor();
    const QPointF p = QPointF(constructor->mapFromGlobal(QPoint(x, y))) * constructor->devicePixelRatioF();
    return child(constructor->Sample().HitPart(qRound(p.x()), qRound(p.y()), true));
}

QAccessibleInterface *CCubeConstructorAccessible::focusChild() const
{
    return Constructor()->hasFocus() ? child(Constructor()->GetFocusPart()) : nullptr;
}

void CCubeConstructorAccessible::Notify(CCubeConstructor *constructor, int part, bool moved)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleInterface *self = QAccessible::queryAccessibleInterface(constructor);
    QAccessibleInterface *item = self ? self->child(part) : nullptr;
    if (!item)
        return;
    if (moved) {
        if (constructor->hasFocus()) {
            QAccessibleEvent focus(item, QAccessible::Focus);
            QAccessible::updateAccessibility(&focus);
        }
        return;
    }
    // The centre changes every part at once (whole or empty cube).
    for (int i = 0; i < CubePartCount; ++i) {
        QAccessibleInterface *changed = self->child(i);
        if (i != part && part != Centre)
            continue;
        QAccessible::State checked;
        checked.checked = true;
        QAccessibleStateChangeEvent state(changed, checked);
        QAccessible::updateAccessibility(&state);
        QAccessibleEvent name(changed, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&name);
    }
}
