// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/options/transparentlabel.h"

#include <QPainter>

CTransparentLabel::CTransparentLabel(const QString &text, QWidget *parent)
    : QWidget(parent)
    , m_text(text)
{
    setAutoFillBackground(false);
}

void CTransparentLabel::SetText(const QString &text)
{
    m_text = text;
    update();
}

QSize CTransparentLabel::sizeHint() const
{
    const QFontMetrics metrics(font());
    return QSize(metrics.horizontalAdvance(m_text), metrics.height());
}

void CTransparentLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, m_text);
}
