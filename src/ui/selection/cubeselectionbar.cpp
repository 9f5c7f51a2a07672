// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/selection/cubeselectionbar.h"

#include "ui/selection/cubeselectionpage.h"

CCubeSelectionBar::CCubeSelectionBar(QWidget *parent)
    : QWidget(parent)
{
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    m_page = new CCubeSelectionPage(this);
    m_page->InitPage();
    m_page->move(0, 0);

    setFixedWidth(m_page->width());
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
}

CCubeSelectionBar::~CCubeSelectionBar() = default;

QSize CCubeSelectionBar::sizeHint() const
{
    return m_page->size();
}

QSize CCubeSelectionBar::minimumSizeHint() const
{
    // The bar takes whatever height the window has; below the page's height the
    // lower part of the pickers is simply cut off.
    return QSize(m_page->width(), 0);
}
