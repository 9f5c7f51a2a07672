// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/selection/palettestrip.h"

#include "geometry/cubepainter.h"

#include <QAccessible>
#include <QColorDialog>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace {

constexpr int ItemSize = 16; // a cube of ItemSize - 2 with a one-pixel frame around it
constexpr int Gap = 2;

std::optional<QColor> RunColorDialog(const QColor &initial, const QString &title, QWidget *parent)
{
    // Qt's own dialog, as in the Options dialog, so the custom colours are offered.
    QColorDialog dialog(initial, parent);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    dialog.setWindowTitle(title);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedColor();
}

} // namespace

CPaletteStrip::CPaletteStrip(QWidget *parent)
    : QWidget(parent)
    , m_chooser(&RunColorDialog)
{
    setAccessibleName(tr("Palette"));
    setToolTip(tr("Click a colouring to paint with it, double-click to edit it"));
    // Reached with Tab, as the pickers above it are; a click leaves the keys where they were.
    setFocusPolicy(Qt::TabFocus);
    DescribeKeyItem();
}

CPaletteStrip::~CPaletteStrip() = default;

void CPaletteStrip::SetColourings(const QVector<CColouring> &colourings)
{
    if (colourings.isEmpty())
        return;
    m_colourings = colourings.mid(0, MaxColourings);
    if (m_current >= Count())
        SetCurrent(0);
    if (m_keyItem >= ItemCount())
        m_keyItem = m_current;
    DescribeKeyItem();
    update();
}

void CPaletteStrip::SetCurrent(int index)
{
    if (index < 0 || index >= Count() || index == m_current)
        return;
    m_current = index;
    m_keyItem = index;
    DescribeKeyItem();
    update();
    Q_EMIT CurrentChanged(index);
}

int CPaletteStrip::Columns() const
{
    return qMax(1, (width() + Gap) / (ItemSize + Gap));
}

int CPaletteStrip::HeightForWidth(int width) const
{
    const int columns = qMax(1, (width + Gap) / (ItemSize + Gap));
    const int rows = (MaxColourings + 1 + columns - 1) / columns; // room for a full palette and "+"
    return rows * (ItemSize + Gap) - Gap;
}

QRect CPaletteStrip::ItemRect(int item) const
{
    const int columns = Columns();
    return QRect((item % columns) * (ItemSize + Gap), (item / columns) * (ItemSize + Gap), ItemSize, ItemSize);
}

int CPaletteStrip::ItemAt(const QPoint &point) const
{
    for (int i = 0; i < ItemCount(); ++i)
        if (ItemRect(i).contains(point))
            return i;
    return -1;
}

void CPaletteStrip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    PreparePainter(painter);
    CCubePainter cube;
    cube.Size = ItemSize - 2;
    cube.Index = 0;
    for (int i = 0; i < Count(); ++i) {
        const QRect r = ItemRect(i);
        cube.Left = r.left() + 1;
        cube.Top = r.top() + 1;
        cube.TopColor = m_colourings[i].Top;
        cube.RightColor = m_colourings[i].Right;
        cube.LeftColor = m_colourings[i].Left;
        cube.Draw(painter);
        if (i == m_current) {
            painter.setPen(palette().color(QPalette::Highlight));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(r.adjusted(0, 0, -1, -1));
        }
    }
    if (CanAdd()) {
        const QRect r = ItemRect(Count());
        painter.setPen(palette().color(QPalette::ButtonText));
        const int mid = r.center().x();
        const int middle = r.center().y();
        painter.drawLine(mid, r.top() + 3, mid, r.bottom() - 3);
        painter.drawLine(r.left() + 3, middle, r.right() - 3, middle);
    }
    if (hasFocus()) {
        // The keyboard's item in a dotted frame just outside its own.
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(ItemRect(m_keyItem).adjusted(-1, -1, 0, 0));
    }
}

void CPaletteStrip::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int item = ItemAt(event->position().toPoint());
    if (item >= 0 && item < Count()) {
        SetCurrent(item);
    } else if (item == Count()) {
        OfferAdd();
    }
}

void CPaletteStrip::OfferAdd()
{
    QMenu menu(this);
    QAction *three = menu.addAction(tr("Three colours..."));
    QAction *shaded = menu.addAction(tr("Shade from one colour..."));
    QAction *chosen = menu.exec(mapToGlobal(ItemRect(Count()).bottomLeft()));
    if (chosen == three || chosen == shaded)
        AddColouring(chosen == shaded);
}

void CPaletteStrip::keyPressEvent(QKeyEvent *event)
{
    const int columns = Columns();
    int item = m_keyItem;
    switch (event->key()) {
    case Qt::Key_Left:
        --item;
        break;
    case Qt::Key_Right:
        ++item;
        break;
    case Qt::Key_Up:
        item -= columns;
        break;
    case Qt::Key_Down:
        item += columns;
        break;
    case Qt::Key_Home:
        item = 0;
        break;
    case Qt::Key_End:
        item = ItemCount() - 1;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_keyItem < Count())
            EditColouring(m_keyItem);
        else
            OfferAdd();
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    if (item >= 0 && item < ItemCount())
        SetKeyItem(item);
}

void CPaletteStrip::SetKeyItem(int item)
{
    if (item < Count()) {
        SetCurrent(item);
    } else {
        m_keyItem = item;
        DescribeKeyItem();
        update();
    }
}

void CPaletteStrip::DescribeKeyItem()
{
    const QString text = m_keyItem >= Count() ? tr("Add a colouring")
                                              : tr("Colouring %1, the palette holds %2").arg(m_keyItem).arg(Count());
    if (accessibleDescription() == text)
        return;
    setAccessibleDescription(text);
    if (QAccessible::isActive()) {
        QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&changed);
    }
}

void CPaletteStrip::focusInEvent(QFocusEvent *event)
{
    m_keyItem = m_current;
    DescribeKeyItem();
    update();
    QWidget::focusInEvent(event);
}

void CPaletteStrip::focusOutEvent(QFocusEvent *event)
{
    update();
    QWidget::focusOutEvent(event);
}

void CPaletteStrip::mouseDoubleClickEvent(QMouseEvent *event)
{
    const int item = ItemAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && item >= 0 && item < Count())
        EditColouring(item);
}

bool CPaletteStrip::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const int item = ItemAt(static_cast<QHelpEvent *>(event)->pos());
        const QString text = item < 0 ? QString()
                             : item == Count()
                                 ? tr("Add a colouring")
                                 : tr("Colouring %1: click to paint with it, double-click to edit it").arg(item);
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), text, this);
        return true;
    }
    return QWidget::event(event);
}

void CPaletteStrip::SetColorChooser(ColorChooser chooser)
{
    m_chooser = chooser ? std::move(chooser) : ColorChooser(&RunColorDialog);
}

std::optional<CColouring> CPaletteStrip::ChooseThree(const CColouring &initial)
{
    CColouring result = initial;
    ColorRef *faces[3] = {&result.Top, &result.Right, &result.Left};
    const QString titles[3] = {tr("Top face"), tr("Right-hand face"), tr("Left-hand face")};
    for (int f = 0; f < 3; ++f) {
        const std::optional<QColor> chosen = m_chooser(ColorFromRef(*faces[f]), titles[f], window());
        if (!chosen || !chosen->isValid())
            return std::nullopt;
        *faces[f] = RefFromColor(*chosen);
    }
    return result;
}

std::optional<CColouring> CPaletteStrip::ChooseShaded(ColorRef initial)
{
    const std::optional<QColor> chosen = m_chooser(ColorFromRef(initial), tr("Shade from one colour"), window());
    if (!chosen || !chosen->isValid())
        return std::nullopt;
    return CColouring::Shaded(RefFromColor(*chosen));
}

void CPaletteStrip::EditColouring(int index)
{
    if (index < 0 || index >= Count())
        return;
    if (const std::optional<CColouring> colouring = ChooseThree(m_colourings[index]))
        Q_EMIT ColouringEdited(index, *colouring);
}

void CPaletteStrip::AddColouring(bool shaded)
{
    if (!CanAdd())
        return;
    const CColouring &from = m_colourings[m_current];
    const std::optional<CColouring> colouring = shaded ? ChooseShaded(from.Right) : ChooseThree(from);
    if (colouring)
        Q_EMIT ColouringAdded(*colouring);
}
