// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/figure.h"

#include <QColor>
#include <QWidget>
#include <functional>
#include <optional>

// The palette under the cube pickers: one small cube per colouring of the figure and,
// while the palette has room, a "+" that adds one. A click picks the colouring new
// cubes are painted in; a double-click edits its three face colours with the colour
// chooser. From the keyboard (reached with Tab) the arrows move among the colourings
// and the "+", picking the colouring they land on, and Enter or Space edits it (or
// adds one on the "+"). The strip only shows and asks: the edits go out as signals
// with the new values.
class CPaletteStrip : public QWidget
{
    Q_OBJECT

public:
    // Asks for one colour; nothing when cancelled. Replaceable for tests.
    using ColorChooser = std::function<std::optional<QColor>(const QColor &initial, const QString &title, QWidget *)>;

    explicit CPaletteStrip(QWidget *parent = nullptr);
    ~CPaletteStrip() override;

    // Every colouring, 0 first; the picked one stays when it still exists, else 0.
    void SetColourings(const QVector<CColouring> &colourings);
    const QVector<CColouring> &Colourings() const { return m_colourings; }
    int Current() const { return m_current; }
    void SetCurrent(int index);

    // The height the strip needs at a width, and the item (a colouring, or Count()
    // for the "+") under a point, or -1.
    int HeightForWidth(int width) const;
    int ItemAt(const QPoint &point) const;
    QRect ItemRect(int item) const;
    int Count() const { return int(m_colourings.size()); }
    bool CanAdd() const { return Count() < MaxColourings; }

    void SetColorChooser(ColorChooser chooser);
    // The chooser run three times (top, right-hand and left-hand face); nothing when
    // any is cancelled.
    std::optional<CColouring> ChooseThree(const CColouring &initial);
    // One base colour shaded into three faces.
    std::optional<CColouring> ChooseShaded(ColorRef initial);
    // Double-click on a colouring: its new colours go out as ColouringEdited.
    void EditColouring(int index);
    // "+": asks for three colours (or with shaded one base colour) and sends ColouringAdded.
    void AddColouring(bool shaded);

Q_SIGNALS:
    void CurrentChanged(int index);
    void ColouringEdited(int index, const CColouring &colouring);
    void ColouringAdded(const CColouring &colouring);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool event(QEvent *event) override;

private:
    int Columns() const;
    int ItemCount() const { return Count() + (CanAdd() ? 1 : 0); }
    // The keyboard's item: a colouring (then also the picked one) or the "+".
    void SetKeyItem(int item);
    // The add menu at the "+"; true when a colouring was asked for.
    void OfferAdd();
    // What assistive technology hears of the keyboard's item.
    void DescribeKeyItem();

    QVector<CColouring> m_colourings{
        CColouring{CFigure::DefaultColor1, CFigure::DefaultColor2, CFigure::DefaultColor3}};
    int m_current = 0;
    int m_keyItem = 0;
    ColorChooser m_chooser;
};
