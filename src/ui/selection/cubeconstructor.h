// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/cubepainter.h"

#include <QWidget>

// The "Constructor" picker: one large sample cube with its outline and part borders.
// Clicking a corner cuts it away or puts it back (toggles its bit of the kind);
// clicking the centre switches between the empty cube and the whole cube. From the
// keyboard (reached with Tab) the arrows move a focus outline from part to part,
// clockwise from the top corner with the centre last, and Enter or Space acts on the
// outlined part as a click does.
class CCubeConstructor : public QWidget
{
    Q_OBJECT

public:
    explicit CCubeConstructor(QWidget *parent = nullptr);
    ~CCubeConstructor() override;

    // Shows a kind (0..64) without telling anyone; anything else is ignored.
    void SetCubeIndex(int index);
    int GetCubeIndex() const { return m_sample.Index; }
    // Face colours of the sample: top, right and left.
    void SetCubeColors(ColorRef color1, ColorRef color2, ColorRef color3);

    // Fits the sample into the largest square of the control, centred along the
    // longer side, and hands it the face colours.
    void UpdateGeometry();
    // The sample painter as last fitted.
    const CCubePainter &Sample() const { return m_sample; }
    // The part the keyboard works on (a CubePart).
    int GetFocusPart() const { return m_focusPart; }
    // What a click on a part does to the kind: the kind that results.
    static int ToggledKind(int kind, int part);

Q_SIGNALS:
    // A part of the sample was clicked; kind is the resulting cube kind (0..64).
    void CubeSelected(int kind);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void ApplyPart(int part);
    void DrawFocus(QPainter &painter) const;

    CCubePainter m_sample;
    int m_focusPart = Top;
    bool m_keyboardFocus = false; // the outline shows
    ColorRef Color3 = 0xFF0000;
    ColorRef Color2 = 0x00EE00;
    ColorRef Color1 = 0x0000FF;
};
