// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/surface.h"

#include <QBasicTimer>
#include <QPixmap>
#include <QWidget>

#include <array>

// The "Cubes" picker: all 64 cube kinds and the empty cube as small pictures in a grid
// of five columns. A click picks a cell, hovering shows a raised frame and the picked
// cell shows a sunken frame on a checkered background. From the keyboard (the control
// is reached with Tab) the arrows move a focus outline over the cells and Enter or
// Space picks the outlined one; each cell's tooltip and accessible name say which
// corners its kind cuts. Every cube is drawn once into
// two cached picture sets (plain and checkered); painting only copies pictures and
// draws frames.
class CCubesLibrary : public QWidget
{
    Q_OBJECT

public:
    static constexpr int CellCount = 65;
    static constexpr int Columns = 5;
    static constexpr int Rows = 13;

    explicit CCubesLibrary(QWidget *parent = nullptr);
    ~CCubesLibrary() override;

    // Sets the edge of the square each cube is drawn in, rebuilds the pictures and
    // takes the size 5 * edge + 14 by 13 * edge + 30, keeping the top-left corner.
    void SetCubeSize(int size);
    // Selects a cell (0..64) without telling anyone; anything else is ignored.
    void SetSelectedCube(int index);
    // Face colours of the pictures: top, right and left.
    void SetCubeColors(ColorRef color1, ColorRef color2, ColorRef color3);

    int GetSelectedIndex() const { return SelectedIndex; }
    int GetHoverIndex() const { return HoverIndex; }
    int GetImageSize() const { return ImageSize; }
    bool IsHoverTimerRunning() const { return HoverTimer.isActive(); }

    // The frame rectangle of a cell: left, top, right and bottom edges, where the
    // right and bottom edges belong to the frame but not to the cell's hit area.
    QRect CellRect(int index) const;
    // The cell whose rectangle holds the point (right and bottom edges excluded), or -1.
    int HitCell(const QPoint &point) const;

    QSize sizeHint() const override;

    // The cell the keyboard works on: outlined while the control has the focus.
    int GetFocusIndex() const { return m_focusIndex; }
    // What a cell shows, in words: which corners its kind cuts, or the empty cube.
    static QString KindName(int kind);

Q_SIGNALS:
    // A cell was picked with the mouse.
    void CubeSelected(int kind);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool event(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void BuildPictures();
    void DrawCell(QPainter &painter, int index) const;
    void UpdateCell(int index);
    void Pick(int index);
    void SetFocusIndex(int index);
    void ClearHover();
    QSize ControlSize() const;

    int SelectedIndex = 0;
    int ImageSize = 24;
    QBasicTimer HoverTimer;
    int HoverIndex = -1;
    int m_focusIndex = 0;
    bool m_keyboardFocus = false; // the outline shows
    std::array<QPixmap, CellCount> NormalPictures;
    std::array<QPixmap, CellCount> SelectedPictures;
    ColorRef Color1 = 0x0000FF;
    ColorRef Color2 = 0x00EE00;
    ColorRef Color3 = 0xFF0000;

    // The system colours the pictures were last built with, so that a palette
    // notification that changes nothing they use does not rebuild them.
    QRgb m_builtFace = 0;
    QRgb m_builtHighlight = 0;
    // The device pixel ratio they were drawn for: the cubes are drawn at device pixels.
    qreal m_builtRatio = 1.0;
};
