// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/surface.h"

#include <QPushButton>

// A push button that shows a colour swatch. While the left mouse button holds it
// down the swatch moves one pixel down and right, following the button's own
// pressed flag rather than the style's idea of the pressed state.
class CColorButton : public QPushButton
{
    Q_OBJECT

public:
    explicit CColorButton(QWidget *parent = nullptr);

    // Stores the colour (0x00BBGGRR) and repaints at once.
    void SetColor(ColorRef color);
    ColorRef GetColor() const { return m_color; }
    // What the colour paints ("Top faces"): with the colour, the button's accessible name.
    void SetFaceName(const QString &face);
    bool IsPressed() const { return m_pressed; }

    // The swatch rectangle for a button of the given size.
    static QRect SwatchRect(const QSize &size, bool pressed);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void UpdateAccessibleName();

    QString m_face;
    ColorRef m_color = 0;
    bool m_pressed = false;
};
