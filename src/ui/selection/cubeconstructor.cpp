// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/selection/cubeconstructor.h"

#include <QMouseEvent>
#include <QPainter>

CCubeConstructor::CCubeConstructor(QWidget *parent)
    : QWidget(parent)
{
    m_sample.DrawOutline = true;
    m_sample.DrawPartBorders = true;
    m_sample.Index = 0;
    setFocusPolicy(Qt::NoFocus);
    // The control paints only the cube: whatever lies beneath it (the tab page) shows
    // around it and is repainted under it on every update, so nothing of an earlier,
    // larger cube remains.
    setAutoFillBackground(false);
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
        return;
    }
    // Drawn at device pixels into a transparent picture that the screen shows 1:1.
    QImage picture(qRound(width() * ratio), qRound(height() * ratio), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    {
        QPainter device(&picture);
        m_sample.Draw(device);
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
    int &kind = m_sample.Index;
    if (part == Centre)
        kind = kind == EmptyCubeIndex ? 0 : EmptyCubeIndex;
    else if (kind != EmptyCubeIndex)
        kind ^= 1 << part;
    update();
    Q_EMIT CubeSelected(kind);
}

void CCubeConstructor::mouseDoubleClickEvent(QMouseEvent *event)
{
    // Unlike QWidget's default, a double click does not count as another press.
    event->accept();
}
