// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QIntValidator;
class QLineEdit;
class QToolButton;

// An up-down control attached to an edit field: a pair of arrow buttons at the
// field's right edge that step a whole number within a range and write it into the
// field as decimal text. The Up and Down keys in the field step it too. The field has a
// validator of the range, so it takes digits only; while a number is being typed it
// may be outside the range or empty, and Pos() tells whether its text is a valid
// position.
class CUpDown : public QWidget
{
    Q_OBJECT

public:
    explicit CUpDown(QWidget *parent = nullptr);

    // Attaches the control to its field: it takes the field's right part, as wide as
    // the control itself (at most half the field), so that the field and the control
    // together fill the field's former rectangle.
    void SetBuddy(QLineEdit *buddy);
    // Names the control and its two arrows after the field they step ("Width: up").
    void SetAccessibleName(const QString &field);
    QLineEdit *Buddy() const { return m_buddy; }

    void SetRange(int minimum, int maximum);
    int Minimum() const { return m_min; }
    int Maximum() const { return m_max; }

    // Stores the position and writes it into the field.
    void SetPos(int pos);
    // The position the field's text stands for. ok is false when the text is not a
    // whole number within the range; the last position set is returned then.
    int Pos(bool *ok = nullptr) const;

    // One step up (+1) or down (-1) from the field's value, kept within the range.
    void Step(int delta);

    QToolButton *UpButton() const { return m_up; }
    QToolButton *DownButton() const { return m_down; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void LayoutButtons();

    QLineEdit *m_buddy = nullptr;
    QIntValidator *m_validator;
    QToolButton *m_up;
    QToolButton *m_down;
    int m_min = 0;
    int m_max = 100;
    int m_pos = 0;
};
