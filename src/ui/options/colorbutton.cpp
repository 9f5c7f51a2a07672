// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/options/colorbutton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>

namespace {

// The button's face: the client area less its last column and row.
QRect FaceRect(const QSize &size)
{
    return QRect(0, 0, size.width() - 1, size.height() - 1);
}

} // namespace

CColorButton::CColorButton(QWidget *parent)
    : QPushButton(parent)
{
}

void CColorButton::SetColor(ColorRef color)
{
    m_color = color;
    UpdateAccessibleName();
    repaint();
}

void CColorButton::SetFaceName(const QString &face)
{
    m_face = face;
    UpdateAccessibleName();
}

void CColorButton::UpdateAccessibleName()
{
    const QColor color = ColorFromRef(m_color);
    setAccessibleName(tr("%1: red %2, green %3, blue %4")
                          .arg(m_face.isEmpty() ? tr("Color") : m_face)
                          .arg(color.red())
                          .arg(color.green())
                          .arg(color.blue()));
}

QRect CColorButton::SwatchRect(const QSize &size, bool pressed)
{
    // Inset 3 at the top left and 4 at the bottom right, or the other way round
    // while pressed: same size, one pixel further down and right.
    const int lead = pressed ? 4 : 3;
    const int trail = pressed ? 3 : 4;
    const QRect face = FaceRect(size);
    return QRect(face.left() + lead, face.top() + lead, face.width() - lead - trail, face.height() - lead - trail);
}

void CColorButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    PreparePainter(painter);
    const QRect face = FaceRect(size());
    painter.fillRect(face, palette().color(QPalette::Button));

    QStyleOptionButton option;
    initStyleOption(&option);
    option.rect = face;
    option.text.clear();
    option.icon = QIcon();
    option.state &= ~(QStyle::State_Sunken | QStyle::State_Raised);
    option.state |= m_pressed ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = face.adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }

    const QRect swatch = SwatchRect(size(), m_pressed);
    if (swatch.isValid())
        painter.fillRect(swatch, ColorFromRef(m_color));
}

void CColorButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
    QPushButton::mousePressEvent(event);
}

void CColorButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_pressed = false;
        repaint();
    }
    QPushButton::mouseReleaseEvent(event);
}
