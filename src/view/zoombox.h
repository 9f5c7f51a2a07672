// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>

class CTarvexView;

// The zoom box at the end of the toolbar: shows the view's zoom ("100 %"), offers the
// view's zoom levels and "Fit", and takes a typed percentage from the smallest level
// to the largest ("150", "150 %"). It follows every change of the view's zoom, by
// keys, by the mouse wheel or by the box itself, and hands the keyboard back to the
// view once a value is chosen.
class CZoomBox : public QComboBox
{
    Q_OBJECT

public:
    explicit CZoomBox(CTarvexView &view, QWidget *parent = nullptr);

    // The text shown for a percentage.
    static QString PercentText(int percent);
    // A typed percentage: digits with or without a percent sign and spaces; false for
    // anything else.
    static bool ParsePercent(const QString &text, int *percent);

    // Applies text as if typed and confirmed: a percentage in range, or the Fit entry's
    // text. False (and the box shows the zoom again) for anything else.
    bool ApplyText(const QString &text);

private:
    void ShowZoom(int percent);
    void OnActivated(int index);

    CTarvexView &m_view;
};
