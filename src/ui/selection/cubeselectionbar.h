// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class CCubeSelectionPage;

// The fixed-width panel along the left edge of the main window that holds the cube
// selection page. It is as wide as the page and stretches over the full height it is
// given; its background is the button face.
class CCubeSelectionBar : public QWidget
{
    Q_OBJECT

public:
    explicit CCubeSelectionBar(QWidget *parent = nullptr);
    ~CCubeSelectionBar() override;

    CCubeSelectionPage *Page() const { return m_page; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    CCubeSelectionPage *m_page = nullptr;
};
