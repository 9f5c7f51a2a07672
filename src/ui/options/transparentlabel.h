// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// A one-line text label that paints no background of its own, so whatever lies
// behind it shows through. The text is always drawn at the top-left corner in the
// widget's font (the dialog font it inherits).
class CTransparentLabel : public QWidget
{
    Q_OBJECT

public:
    explicit CTransparentLabel(const QString &text, QWidget *parent = nullptr);

    QString Text() const { return m_text; }
    void SetText(const QString &text);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
};
