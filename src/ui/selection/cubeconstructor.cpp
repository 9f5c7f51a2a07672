// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/selection/cubeconstructor.h"
#include "ui/selection/cubeconstructoraccessible.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

CCubeConstructor::CCubeConstructor(QWidget *parent)
    : QWidget(parent)
{
    m_sample.DrawOutline = true;
    m_sample.DrawPartBorders = true;
    m_sample.Index = 0;
    // Reached with Tab; a click picks without taking the keys from the workspace.
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(tr("Cube constructor"));
    setAccessibleDescription(tr("Arrow keys choose a part of the cube, Enter or Space cuts or restores it"));
    // The control paints only the cube: whatever lies beneath it (the tab page) shows
    // around it and is repainted under it on every update, so nothing of an earlier,
    // larger cube remains.
    setAutoFillBackground(false);
    CCubeConstructorAccessible::Install();
}

CCubeConstructor::~CCubeConstructor() = default;

void CCubeConstructor::SetCubeIndex(int index)
{
    if (index < 0 || index > EmptyCubeIndex)
        return;
    m_sample.Index = index;
    update();
}

void CCubeConstructor::SetCubeColors(ColorRef color1, ColorRef color2, ColorRef color3)
{
    Color1 = color1;
    Color2 = color2;
    Color3 = color3;
    update();
}

void CCubeConstructor::UpdateGeometry()
{
    // In device pixels: the cube is drawn at the screen's own resolution.
    const qreal ratio = devicePixelRatioF();
    const int w = qRound(width() * ratio);
    const int h = qRound(height() * ratio);
    m_sample.Size = qMin(w, h);
    if (w < h) {
        m_sample.Left = 0;
        m_sample.Top = (h - w) / 2;
    } else {
        m_sample.Left = (w - h) / 2;
        m_sample.Top = 0;
    }
    m_sample.TopColor = Color1;
    m_sample.RightColor = Color2;
    m_sample.LeftColor = Color3;
}

void CCubeConstructor::paintEvent(QPaintEvent *)
{
    UpdateGeometry();
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    if (ratio == 1.0) {
        m_sample.Draw(painter);
        DrawFocus(painter);
        return;
    }
    // Drawn at device pixels into a transparent picture that the screen shows 1:1.
    QImage picture(qRound(width() * ratio), qRound(height() * ratio), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    {
        QPainter device(&picture);
        m_sample.Draw(device);
        DrawFocus(device);
    }
    picture.setDevicePixelRatio(ratio);
    painter.drawImage(QPointF(0, 0), picture);
}

void CCubeConstructor::mousePressEvent(QMouseEvent *event)
{
    // The second press of a double click belongs to the double click, which toggles
    // nothing more.
    if (event->button() != Qt::LeftButton || (event->flags() & Qt::MouseEventCreatedDoubleClick)) {
        QWidget::mousePressEvent(event);
        return;
    }
    UpdateGeometry();
    const qreal ratio = devicePixelRatioF();
    const QPoint p = (event->position() * ratio).toPoint();
    // Cut corners stay clickable so that they can be put back.
    const int part = m_sample.HitPart(p.x(), p.y(), true);
    if (part < 0)
        return;
    m_focusPart = part;
    ApplyPart(part);
}

int CCubeConstructor::ToggledKind(int kind, int part)
{
    if (part == Centre)
        return kind == EmptyCubeIndex ? 0 : EmptyCubeIndex;
    return kind == EmptyCubeIndex ? kind : kind ^ (1 << part);
}

void CCubeConstructor::ApplyPart(int part)
{
    m_sample.Index = ToggledKind(m_sample.Index, part);
    update();
    CCubeConstructorAccessible::Notify(this, part, false);
    Q_EMIT CubeSelected(m_sample.Index);
}

void CCubeConstructor::DrawFocus(QPainter &painter) const
{
    if (!hasFocus() || !m_keyboardFocus)
        return;
    // The outline of the keyboard's part in the highlight colour, over a white one a
    // pixel wider so that it shows on any face colour.
    const QPolygon outline = PartPolygon(ComputeCubePoints(m_sample.Left, m_sample.Top, m_sample.Size), m_focusPart);
    const qreal ratio = devicePixelRatioF();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 3 * ratio));
    painter.drawPolygon(outline);
    painter.setPen(QPen(palette().color(QPalette::Active, QPalette::Highlight), 1.5 * ratio));
    painter.drawPolygon(outline);
    painter.restore();
}

void CCubeConstructor::keyPressEvent(QKeyEvent *event)
{
    m_keyboardFocus = true;
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Down:
        m_focusPart = (m_focusPart + 1) % CubePartCount;
        CCubeConstructorAccessible::Notify(this, m_focusPart, true);
        update();
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
        m_focusPart = (m_focusPart + CubePartCount - 1) % CubePartCount;
        CCubeConstructorAccessible::Notify(this, m_focusPart, true);
        update();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        ApplyPart(m_focusPart);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void CCubeConstructor::focusInEvent(QFocusEvent *event)
{
    // The outline shows when the keyboard brought the focus here, or from the first key on.
    m_keyboardFocus = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason
                      || event->reason() == Qt::ShortcutFocusReason;
    QWidget::focusInEvent(event);
    update();
}

void CCubeConstructor::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

void CCubeConstructor::mouseDoubleClickEvent(QMouseEvent *event)
{
    // Unlike QWidget's default, a double click does not count as another press.
    event->accept();
}
