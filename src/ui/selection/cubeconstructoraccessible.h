// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QVector>

class CCubeConstructor;

// What assistive technology sees of the cube constructor: a group of seven check
// boxes, one per part of the sample cube (the six corners clockwise from the top, then
// the centre), each named with its state ("Top corner: cut", "Centre: whole cube") and
// checked when cut away; the keyboard's part is the focused one.
class CCubeConstructorAccessible : public QAccessibleWidget
{
    Q_DECLARE_TR_FUNCTIONS(CCubeConstructorAccessible)

public:
    explicit CCubeConstructorAccessible(CCubeConstructor *constructor);
    ~CCubeConstructorAccessible() override;

    // Makes Qt ask this class for every constructor (once per program).
    static void Install();
    // A part changed (cut or put back) or, with moved, the keyboard went to it.
    static void Notify(CCubeConstructor *constructor, int part, bool moved);

    // A part's name with its state in a kind (0..64).
    static QString PartName(int kind, int part);
    static bool IsCut(int kind, int part);

    CCubeConstructor *Constructor() const;

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;

private:
    class Part;
    mutable QVector<QAccessible::Id> m_parts; // registered with Qt when first asked
};
