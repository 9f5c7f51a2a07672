// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <functional>

class QWidget;

// Tells when the pixels a widget shows in its window may have been changed by anything
// but its own painting: another widget of the window painted over its rectangle, or a
// widget of the window (the window itself, the widget, any other) was moved, resized,
// shown or hidden, which may move or drop pixels without a paint. The widget's painter
// may then no longer trust what it left in the window. Watches every widget of the
// application through an event filter.
class CPaintWatch : public QObject
{
public:
    CPaintWatch(QWidget &widget, std::function<void()> touched);
    ~CPaintWatch() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget &m_widget;
    std::function<void()> m_touched;
};
