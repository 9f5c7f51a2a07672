// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class CDialogUnits;
class CUpDown;
class QLabel;
class QLineEdit;

// The "Dimensions" page of the Options dialog: workspace width and height in cells
// and the cube size in pixels, each an edit field with an up-down control. The page
// paints no background of its own.
class CDimensionsPage : public QWidget
{
    Q_OBJECT

public:
    CDimensionsPage(const CDialogUnits &units, QWidget *parent = nullptr);

    QLineEdit *WidthEdit() const { return m_widthEdit; }
    QLineEdit *HeightEdit() const { return m_heightEdit; }
    QLineEdit *CubeSizeEdit() const { return m_cubeSizeEdit; }
    CUpDown *WidthUpDown() const { return m_widthSpin; }
    CUpDown *HeightUpDown() const { return m_heightSpin; }
    CUpDown *CubeSizeUpDown() const { return m_cubeSizeSpin; }
    // The range a field takes, beside it while it holds no size within it (OK is
    // disabled then) and always in its tooltip.
    void ShowRange(QLineEdit *edit, int minimum, int maximum, bool valid);
    QLabel *RangeLabel(const QLineEdit *edit) const;

private:
    QLineEdit *AddField(const CDialogUnits &units, int x, int y, CUpDown **spin, QLabel **range);

    QLineEdit *m_widthEdit;
    QLineEdit *m_heightEdit;
    QLineEdit *m_cubeSizeEdit;
    CUpDown *m_widthSpin = nullptr;
    CUpDown *m_heightSpin = nullptr;
    CUpDown *m_cubeSizeSpin = nullptr;
    QLabel *m_widthRange = nullptr;
    QLabel *m_heightRange = nullptr;
    QLabel *m_cubeSizeRange = nullptr;
};
