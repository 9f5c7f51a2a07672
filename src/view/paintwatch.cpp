// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/paintwatch.h"

#include <QApplication>
#include <QPaintEvent>
#include <QWidget>

CPaintWatch::CPaintWatch(QWidget &widget, std::function<void()> touched)
    : m_widget(widget)
    , m_touched(std::move(touched))
{
    QCoreApplication::instance()->installEventFilter(this);
}

CPaintWatch::~CPaintWatch() = default;

bool CPaintWatch::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Paint:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::ZOrderChange:
        break;
    default:
        return false;
    }
    if (!watched->isWidgetType())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    QWidget *window = m_widget.window();
    if (widget->window() != window)
        return false;
    if (event->type() != QEvent::Paint) {
        m_touched();
        return false;
    }
    // The widget's own paints are its painter's, unless Qt fills its background
    // before each; another widget's reach its pixels only where its region, in the
    // window, meets the widget's rectangle.
    if (widget == &m_widget) {
        if (m_widget.autoFillBackground() && !m_widget.testAttribute(Qt::WA_OpaquePaintEvent))
            m_touched();
        return false;
    }
    const QRect mine(m_widget.mapTo(window, QPoint(0, 0)), m_widget.size());
    const QRegion painted = static_cast<QPaintEvent *>(event)->region().translated(widget->mapTo(window, QPoint(0, 0)));
    if (painted.intersects(mine))
        m_touched();
    return false;
}
