// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QHash>
#include <QPoint>

class CTarvexDoc;
class CTarvexView;

// What assistive technology sees of the workspace: a list named "Workspace" whose
// description is the figure's size and number of cubes, with one item per cell; the
// item under the keyboard's cell cursor is the current (focused) one and says what lies
// there ("column 5, row 8: cube 12, cut corners: bottom, lower right", or "empty").
// Its text is the summary, the cursor's cell and then every cube, row by row, so a
// screen reader can review the whole figure. Notify() sends the events that make a
// screen reader speak a cursor move or an edit.
class CTarvexViewAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
    Q_DECLARE_TR_FUNCTIONS(CTarvexViewAccessible)

public:
    explicit CTarvexViewAccessible(CTarvexView *view);
    ~CTarvexViewAccessible() override;

    // Makes Qt ask this class for every workspace view (once per program).
    static void Install();
    // What changed in the view: the cell cursor moved, or the document changed.
    enum class Change { CellCursor, Figure };
    static void Notify(CTarvexView *view, Change change);

    // The texts, also for tests: the figure's summary and one cell's line.
    static QString Summary(const CTarvexDoc &doc);
    static QString CellText(const CTarvexDoc &doc, const QPoint &cell);
    static QString CubeText(int value);
    QString WholeText() const;

    CTarvexView *View() const;

    // QAccessibleInterface
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;
    void *interface_cast(QAccessible::InterfaceType t) override;

    // QAccessibleTextInterface: the text is read only.
    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override { }
    void removeSelection(int) override { }
    void setSelection(int, int, int) override { }
    int cursorPosition() const override;
    void setCursorPosition(int) override { }
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int, int) override { }
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

    QAccessibleInterface *CellItem(const QPoint &cell) const;

private:
    class Cell;
    mutable QHash<quint32, QAccessible::Id> m_cells; // registered with Qt when first asked
    mutable QString m_text;                          // WholeText, made again after a change
    mutable bool m_textValid = false;
    friend class Cell;
};
