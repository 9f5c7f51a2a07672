// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <functional>

class QToolBar;
class QWidget;

// The keyboard on a toolbar whose buttons stay out of the tab chain: Enter() puts the
// focus on its first usable button, Left and Right (Home, End) move along the buttons,
// Enter, Return and Space press the focused one (or open its menu), Escape hands the
// keyboard back through the leave function. A box that edits text (the zoom box) keeps
// its arrows; Escape leaves it too.
class CToolBarKeys : public QObject
{
    Q_OBJECT

public:
    CToolBarKeys(QToolBar &toolBar, std::function<void()> leave);
    ~CToolBarKeys() override;

    // Focuses the first enabled button; false when the toolbar has none.
    bool Enter();
    // The toolbar's buttons and boxes in their order, shown and enabled ones only.
    QList<QWidget *> Stops() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Watch();
    bool Move(QWidget *from, int step);

    QToolBar &m_toolBar;
    std::function<void()> m_leave;
};
