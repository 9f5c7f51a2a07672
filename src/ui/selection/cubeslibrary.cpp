// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/selection/cubeslibrary.h"

#include "geometry/cubepainter.h"
#include "ui/selection/cubeslibraryaccessible.h"

#include <QAccessible>
#include <QCursor>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QToolTip>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimerEvent>

namespace {

// The platform's button colours, taken from the palette the widget inherits from the
// application: the face, the lit edge of a raised frame and its shaded edge.
QColor FaceColor(const QPalette &palette)
{
    return palette.color(QPalette::Active, QPalette::Button);
}

QColor HighlightColor(const QPalette &palette)
{
    return palette.color(QPalette::Active, QPalette::Light);
}

QColor ShadowColor(const QPalette &palette)
{
    return palette.color(QPalette::Active, QPalette::Dark);
}

constexpr int HoverInterval = 100; // milliseconds between checks whether the pointer left

} // namespace

CCubesLibrary::CCubesLibrary(QWidget *parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    // Reached with Tab; a click picks without taking the keys from the workspace.
    setFocusPolicy(Qt::TabFocus);
    CCubesLibraryAccessible::Install();
    setAccessibleName(tr("Cubes library"));
    BuildPictures();
    resize(ControlSize());
}

CCubesLibrary::~CCubesLibrary() = default;

QSize CCubesLibrary::ControlSize() const
{
    return QSize(Columns * ImageSize + 14, Rows * ImageSize + 30);
}

QSize CCubesLibrary::sizeHint() const
{
    return ControlSize();
}

void CCubesLibrary::SetCubeSize(int size)
{
    if (size < 1)
        return;
    ImageSize = size;
    BuildPictures();
    resize(ControlSize());
    updateGeometry();
    update();
}

void CCubesLibrary::SetSelectedCube(int index)
{
    if (index < 0 || index >= CellCount)
        return;
    SelectedIndex = index;
    update();
}

void CCubesLibrary::SetCubeColors(ColorRef color1, ColorRef color2, ColorRef color3)
{
    Color1 = color1;
    Color2 = color2;
    Color3 = color3;
    BuildPictures();
    update();
}

QRect CCubesLibrary::CellRect(int index) const
{
    const int pitch = ImageSize + 2;
    const int left = pitch * (index % Columns) + 2;
    const int top = pitch * (index / Columns) + 2;
    // Right and bottom edges lie at left + size + 1 and top + size + 1.
    return QRect(left, top, ImageSize + 2, ImageSize + 2);
}

int CCubesLibrary::HitCell(const QPoint &point) const
{
    // Cells follow each other at a fixed pitch, so the candidate cell follows from the
    // point; the margins and the gaps between cells (the frames' right and bottom
    // edges) hit nothing.
    const int pitch = ImageSize + 2;
    const int x = point.x() - 2;
    const int y = point.y() - 2;
    if (x < 0 || y < 0)
        return -1;
    const int column = x / pitch;
    const int row = y / pitch;
    if (column >= Columns || x % pitch > ImageSize || y % pitch > ImageSize)
        return -1;
    const int index = row * Columns + column;
    return index < CellCount ? index : -1;
}

void CCubesLibrary::BuildPictures()
{
    const QColor face = FaceColor(palette());
    const QColor highlight = HighlightColor(palette());
    m_builtFace = face.rgb();
    m_builtHighlight = highlight.rgb();
    // At d device pixels per pixel the cube is drawn at round(ImageSize x d) device
    // pixels, so its edges are as sharp as the screen allows.
    const qreal ratio = devicePixelRatioF();
    m_builtRatio = ratio;
    const int size = qRound(ImageSize * ratio);

    CCubePainter cube;
    cube.Left = 0;
    cube.Top = 0;
    cube.Size = size;
    cube.TopColor = Color1;
    cube.RightColor = Color2;
    cube.LeftColor = Color3;

    // The checker starts at each picture's top-left corner with the highlight colour.
    const QBrush checker(CreateCheckerImage(highlight, face));
    const int side = size + 1;
    auto picture = [&](const QBrush &background, int kind) {
        QImage image(side, side, QImage::Format_RGB32);
        QPainter painter(&image);
        PreparePainter(painter);
        painter.fillRect(QRect(0, 0, side, side), background);
        cube.Index = kind;
        cube.Draw(painter);
        painter.end();
        QPixmap pixmap = QPixmap::fromImage(image);
        pixmap.setDevicePixelRatio(ratio);
        return pixmap;
    };
    for (int i = 0; i < CellCount; ++i) {
        NormalPictures[i] = picture(QBrush(face), i);
        SelectedPictures[i] = picture(checker, i);
    }
}

void CCubesLibrary::DrawCell(QPainter &painter, int index) const
{
    const QPalette &pal = palette();
    const QPen highlight = SolidPen(HighlightColor(pal));
    const QPen shadow = SolidPen(ShadowColor(pal));
    const QPen face = SolidPen(FaceColor(pal));

    const QPixmap *picture = &NormalPictures[index];
    const QPen *a = &face;
    const QPen *b = &face;
    if (index == HoverIndex) {
        const bool sunken = index == SelectedIndex;
        a = sunken ? &shadow : &highlight;
        b = sunken ? &highlight : &shadow;
    } else if (index == SelectedIndex) {
        picture = &SelectedPictures[index];
        a = &shadow;
        b = &highlight;
    }

    const QRect r = CellRect(index);
    const int left = r.left();
    const int top = r.top();
    const int right = left + ImageSize + 1;
    const int bottom = top + ImageSize + 1;
    painter.drawPixmap(left, top + 1, *picture);

    // Pen A takes the left edge with both its corners and the top edge up to the
    // top-right corner; pen B the right edge with both its corners and the bottom edge
    // from the pixel right of the bottom-left corner. A one-pixel line leaves out its
    // end point only when drawn toward larger coordinates, so every line runs that way.
    painter.setPen(*a);
    painter.drawLine(QPoint(left, top), QPoint(left, bottom + 1));
    painter.drawLine(QPoint(left, top), QPoint(right, top));
    painter.setPen(*b);
    painter.drawLine(QPoint(right, top), QPoint(right, bottom + 1));
    painter.drawLine(QPoint(left + 1, bottom), QPoint(right + 1, bottom));

    // The keyboard's cell: a highlight-coloured outline inside the frame, two pixels
    // wide so that it shows on the cube as well as on the face colour.
    if (index == m_focusIndex && hasFocus() && m_keyboardFocus) {
        QPen focus(pal.color(QPalette::Active, QPalette::Highlight), 2);
        focus.setJoinStyle(Qt::MiterJoin);
        painter.setPen(focus);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(left + 2, top + 2, ImageSize - 2, ImageSize - 2));
    }
}

QString CCubesLibrary::KindName(int kind)
{
    if (kind == EmptyCubeIndex)
        return tr("Empty cube: erases");
    if (kind == 0)
        return tr("Cube 0: whole cube, no corner cut");
    const char *const corners[] = {QT_TR_NOOP("top"),    QT_TR_NOOP("upper right"), QT_TR_NOOP("lower right"),
                                   QT_TR_NOOP("bottom"), QT_TR_NOOP("lower left"),  QT_TR_NOOP("upper left")};
    QStringList cut;
    for (int part = 0; part < 6; ++part) {
        if (kind & (1 << part))
            cut.append(tr(corners[part]));
    }
    return tr("Cube %1, cut corners: %2").arg(kind).arg(cut.join(QStringLiteral(", ")));
}

void CCubesLibrary::Pick(int index)
{
    SelectedIndex = index;
    update();
    Q_EMIT CubeSelected(index);
}

void CCubesLibrary::SetFocusIndex(int index)
{
    if (index < 0 || index >= CellCount || index == m_focusIndex)
        return;
    UpdateCell(m_focusIndex);
    m_focusIndex = index;
    UpdateCell(m_focusIndex);
    if (QAccessible::isActive()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(index);
        QAccessible::updateAccessibility(&focus);
    }
}

void CCubesLibrary::keyPressEvent(QKeyEvent *event)
{
    // Arrows move the outline along the rows and columns of the grid; Enter or Space
    // picks the outlined cell.
    if (!m_keyboardFocus) {
        m_keyboardFocus = true;
        UpdateCell(m_focusIndex);
    }
    switch (event->key()) {
    case Qt::Key_Left:
        SetFocusIndex(m_focusIndex - 1);
        break;
    case Qt::Key_Right:
        SetFocusIndex(m_focusIndex + 1);
        break;
    case Qt::Key_Up:
        SetFocusIndex(m_focusIndex - Columns);
        break;
    case Qt::Key_Down:
        SetFocusIndex(m_focusIndex + Columns);
        break;
    case Qt::Key_Home:
        SetFocusIndex(0);
        break;
    case Qt::Key_End:
        SetFocusIndex(CellCount - 1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        Pick(m_focusIndex);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void CCubesLibrary::focusInEvent(QFocusEvent *event)
{
    // The outline starts on the picked cell, and shows when the keyboard brought the
    // focus here (as focus marks usually do), or from the first key on.
    m_focusIndex = SelectedIndex;
    m_keyboardFocus = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason
                      || event->reason() == Qt::ShortcutFocusReason;
    QWidget::focusInEvent(event);
    update();
}

void CCubesLibrary::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

bool CCubesLibrary::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const int index = HitCell(help->pos());
        if (index >= 0)
            QToolTip::showText(help->globalPos(), KindName(index), this, CellRect(index));
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void CCubesLibrary::UpdateCell(int index)
{
    if (index >= 0 && index < CellCount)
        update(CellRect(index));
}

void CCubesLibrary::paintEvent(QPaintEvent *event)
{
    if (devicePixelRatioF() != m_builtRatio)
        BuildPictures(); // moved to a screen of another density
    QPainter painter(this);
    PreparePainter(painter);
    const QPalette &pal = palette();
    painter.fillRect(event->rect(), FaceColor(pal));

    const int w = width();
    const int h = height();
    painter.setPen(SolidPen(ShadowColor(pal)));
    const QPoint border[] = {{0, 0}, {w - 1, 0}, {w - 1, h - 1}, {0, h - 1}, {0, 0}};
    painter.drawPolyline(border, 5);

    const QRegion &dirty = event->region();
    for (int i = 0; i < CellCount; ++i) {
        if (dirty.intersects(CellRect(i)))
            DrawCell(painter, i);
    }
}

void CCubesLibrary::mousePressEvent(QMouseEvent *event)
{
    // The second press of a double click belongs to the double click, which picks
    // nothing more.
    if (event->button() != Qt::LeftButton || (event->flags() & Qt::MouseEventCreatedDoubleClick)) {
        QWidget::mousePressEvent(event);
        return;
    }
    const int index = HitCell(event->position().toPoint());
    if (index >= 0) {
        m_focusIndex = index;
        Pick(index);
    }
}

void CCubesLibrary::mouseDoubleClickEvent(QMouseEvent *event)
{
    // Unlike QWidget's default, a double click does not count as another press.
    event->accept();
}

void CCubesLibrary::mouseMoveEvent(QMouseEvent *event)
{
    if (!HoverTimer.isActive())
        HoverTimer.start(HoverInterval, this);
    const int old = HoverIndex;
    HoverIndex = HitCell(event->position().toPoint());
    if (HoverIndex != old) {
        UpdateCell(old);
        UpdateCell(HoverIndex);
    }
    QWidget::mouseMoveEvent(event);
}

void CCubesLibrary::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != HoverTimer.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    const QRect screenRect(mapToGlobal(QPoint(0, 0)), size());
    if (screenRect.contains(QCursor::pos()))
        return;
    ClearHover();
}

void CCubesLibrary::hideEvent(QHideEvent *event)
{
    // A hidden control cannot be hovered; stop watching the pointer.
    ClearHover();
    QWidget::hideEvent(event);
}

void CCubesLibrary::ClearHover()
{
    const int old = HoverIndex;
    HoverIndex = -1;
    UpdateCell(old);
    HoverTimer.stop();
}

void CCubesLibrary::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange) {
        // The picture backgrounds use the system colours.
        if (FaceColor(palette()).rgb() != m_builtFace || HighlightColor(palette()).rgb() != m_builtHighlight) {
            BuildPictures();
        }
        update();
    }
}
