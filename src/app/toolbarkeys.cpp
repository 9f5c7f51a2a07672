// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/toolbarkeys.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolBar>
#include <QToolButton>

CToolBarKeys::CToolBarKeys(QToolBar &toolBar, std::function<void()> leave)
    : QObject(&toolBar)
    , m_toolBar(toolBar)
    , m_leave(std::move(leave))
{
}

CToolBarKeys::~CToolBarKeys() = default;

QList<QWidget *> CToolBarKeys::Stops() const
{
    QList<QWidget *> stops;
    const QList<QAction *> actions = m_toolBar.actions();
    for (QAction *action : actions) {
        QWidget *widget = action->isSeparator() ? nullptr : m_toolBar.widgetForAction(action);
        if (widget && widget->isVisible() && widget->isEnabled())
            stops.append(widget);
    }
    return stops;
}

void CToolBarKeys::Watch()
{
    // Buttons can be added after this object: every Enter looks again.
    for (QWidget *widget : Stops()) {
        widget->removeEventFilter(this);
        widget->installEventFilter(this);
        if (auto *box = qobject_cast<QComboBox *>(widget); box && box->lineEdit()) {
            box->lineEdit()->removeEventFilter(this);
            box->lineEdit()->installEventFilter(this);
        }
    }
}

bool CToolBarKeys::Enter()
{
    Watch();
    const QList<QWidget *> stops = Stops();
    if (stops.isEmpty())
        return false;
    stops.first()->setFocus(Qt::ShortcutFocusReason);
    return true;
}

bool CToolBarKeys::Move(QWidget *from, int step)
{
    const QList<QWidget *> stops = Stops();
    const int at = stops.indexOf(from);
    if (at < 0 || stops.isEmpty())
        return false;
    // Around the ends, as menu bars do.
    const int next = (at + step + int(stops.size())) % int(stops.size());
    stops[next]->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

bool CToolBarKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    auto *widget = qobject_cast<QWidget *>(watched);
    if (auto *edit = qobject_cast<QLineEdit *>(watched); edit && qobject_cast<QComboBox *>(edit->parentWidget()))
        widget = edit->parentWidget();
    if (!widget || key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return QObject::eventFilter(watched, event);
    if (key->key() == Qt::Key_Escape) {
        if (auto *box = qobject_cast<QComboBox *>(widget); box && box->view() && box->view()->isVisible())
            return false; // Escape closes the box's list first
        if (m_leave)
            m_leave();
        return true;
    }
    auto *button = qobject_cast<QAbstractButton *>(widget);
    if (!button) {
        // The zoom box and the beam thickness edit their text with the other keys; Left
        // at the start of the text and Right at its end move along the toolbar.
        auto *edit = qobject_cast<QLineEdit *>(watched);
        if (!edit)
            edit = widget->findChild<QLineEdit *>();
        // A control just reached has its whole text selected: either arrow moves on.
        const bool whole = edit && edit->hasSelectedText() && edit->selectedText() == edit->text();
        if (edit && key->key() == Qt::Key_Left && (whole || (edit->cursorPosition() == 0 && !edit->hasSelectedText())))
            return Move(widget, -1);
        if (edit && key->key() == Qt::Key_Right && (whole || edit->cursorPosition() == edit->text().size()))
            return Move(widget, 1);
        return false;
    }
    switch (key->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        return Move(widget, -1);
    case Qt::Key_Right:
    case Qt::Key_Down:
        return Move(widget, 1);
    case Qt::Key_Home:
    case Qt::Key_End: {
        const QList<QWidget *> stops = Stops();
        if (!stops.isEmpty())
            (key->key() == Qt::Key_Home ? stops.first() : stops.last())->setFocus(Qt::ShortcutFocusReason);
        return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (key->isAutoRepeat())
            return true;
        if (auto *tool = qobject_cast<QToolButton *>(button); tool && tool->menu())
            tool->showMenu();
        else
            button->click();
        return true;
    default:
        return false;
    }
}
