// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/options.h"

#include <QColor>
#include <QWidget>
#include <functional>
#include <optional>

class CColorButton;
class CDialogUnits;

// The "Colors" page of the Options dialog: one colour button for the workspace
// background and one for each of the three cube faces. Clicking a button opens the
// colour chooser with the 16 custom colours. The page paints no
// background of its own.
class CColorsPage : public QWidget
{
    Q_OBJECT

public:
    // Runs a colour chooser starting at the initial colour and returns the chosen
    // colour, or nothing when the chooser was cancelled. The chooser works on
    // QColorDialog's custom colours, which PickColor fills from the page's set before
    // and copies back afterwards.
    using ColorChooser = std::function<std::optional<QColor>(const QColor &initial, QWidget *parent)>;

    CColorsPage(const CDialogUnits &units, QWidget *parent = nullptr);

    // The chooser's custom colours: given to every chooser and taken back from it.
    void SetCustomColors(const CustomColorSet &colors) { m_customColors = colors; }
    const CustomColorSet &CustomColors() const { return m_customColors; }

    CColorButton *BkColorButton() const { return m_bkColor; }
    CColorButton *Color1Button() const { return m_color1; }
    CColorButton *Color2Button() const { return m_color2; }
    CColorButton *Color3Button() const { return m_color3; }

    // Lets the user choose a new colour for the button. The page's custom colours
    // go into the chooser and come back from it whether or not it was confirmed.
    void PickColor(CColorButton *button);

    // Replaces the chooser (an empty function restores QColorDialog).
    void SetColorChooser(ColorChooser chooser);
    static std::optional<QColor> RunColorDialog(const QColor &initial, QWidget *parent);

private:
    CColorButton *AddColorRow(const CDialogUnits &units, const QString &text, bool ownLabel, int labelX, int labelY,
                              int labelWidth, int buttonY);

    CustomColorSet m_customColors = COptions::WhiteColors();
    ColorChooser m_chooser;
    CColorButton *m_bkColor;
    CColorButton *m_color1;
    CColorButton *m_color2;
    CColorButton *m_color3;
};
