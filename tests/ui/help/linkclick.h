// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Finds where a link of a page is shown and clicks it like a user would.

#include <QPoint>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>

// A point of the browser's viewport over the link to href, or (-1, -1). The
// viewport is searched on a 2-pixel grid.
inline QPoint FindLink(QTextBrowser &browser, const QString &href)
{
    QWidget *viewport = browser.viewport();
    for (int y = 1; y < viewport->height(); y += 2)
        for (int x = 1; x < viewport->width(); x += 2)
            if (browser.anchorAt(QPoint(x, y)) == href)
                return QPoint(x, y);
    return QPoint(-1, -1);
}

// Clicks the link to href; false when the page shows no such link.
inline bool ClickLink(QTextBrowser &browser, const QString &href)
{
    const QPoint point = FindLink(browser, href);
    if (point.x() < 0)
        return false;
    QTest::mouseClick(browser.viewport(), Qt::LeftButton, Qt::NoModifier, point);
    return true;
}
