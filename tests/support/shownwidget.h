// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>
#include <QTest>
#include <QWidget>

// Shows widget, first resized to size when one is given, and waits until its window
// is exposed; false when it never is. Use as QVERIFY(Shown(widget)).
inline bool Shown(QWidget &widget, const QSize &size = QSize())
{
    if (size.isValid())
        widget.resize(size);
    widget.show();
    return QTest::qWaitForWindowExposed(&widget);
}
