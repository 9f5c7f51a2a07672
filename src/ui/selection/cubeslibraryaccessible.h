// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessibleWidget>
#include <QVector>

class CCubesLibrary;

// What assistive technology sees of the cubes library: a list of 65 items, one per
// cell, each named after what its kind cuts, the picked one selected and the
// keyboard's one focused.
class CCubesLibraryAccessible : public QAccessibleWidget
{
public:
    explicit CCubesLibraryAccessible(CCubesLibrary *library);
    ~CCubesLibraryAccessible() override;

    // Makes Qt ask this class for every cubes library (once per program).
    static void Install();

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;

    CCubesLibrary *Library() const;

private:
    class Cell;
    mutable QVector<QAccessible::Id> m_cells; // registered with Qt when first asked
};
