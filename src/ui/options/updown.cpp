// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/options/updown.h"

#include <QIntValidator>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

namespace {

// Parses a whole decimal number, allowing surrounding blanks.
bool ParseWhole(const QString &text, long long *value)
{
    bool ok = false;
    *value = text.trimmed().toLongLong(&ok, 10);
    return ok;
}

} // namespace

CUpDown::CUpDown(QWidget *parent)
    : QWidget(parent)
    , m_validator(new QIntValidator(this))
    , m_up(new QToolButton(this))
    , m_down(new QToolButton(this))
{
    m_validator->setRange(m_min, m_max);
    for (QToolButton *button : {m_up, m_down}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRaise(false);
    }
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    connect(m_up, &QToolButton::clicked, this, [this] { Step(+1); });
    connect(m_down, &QToolButton::clicked, this, [this] { Step(-1); });
}

void CUpDown::SetBuddy(QLineEdit *buddy)
{
    if (m_buddy)
        m_buddy->removeEventFilter(this);
    m_buddy = buddy;
    if (!m_buddy)
        return;
    m_buddy->installEventFilter(this);
    m_buddy->setValidator(m_validator);
    const QRect field = m_buddy->geometry();
    const int width = qMin(this->width(), field.width() / 2);
    m_buddy->setGeometry(field.left(), field.top(), field.width() - width, field.height());
    setGeometry(field.right() - width + 1, field.top(), width, field.height());
    // A hidden widget gets its resize event only when shown; place the arrows now.
    LayoutButtons();
}

void CUpDown::SetAccessibleName(const QString &field)
{
    setAccessibleName(field);
    m_up->setAccessibleName(tr("%1: up").arg(field));
    m_down->setAccessibleName(tr("%1: down").arg(field));
}

void CUpDown::SetRange(int minimum, int maximum)
{
    m_min = qMin(minimum, maximum);
    m_max = qMax(minimum, maximum);
    m_pos = std::clamp(m_pos, m_min, m_max);
    m_validator->setRange(m_min, m_max);
}

void CUpDown::SetPos(int pos)
{
    m_pos = std::clamp(pos, m_min, m_max);
    if (m_buddy)
        m_buddy->setText(QString::number(m_pos));
}

int CUpDown::Pos(bool *ok) const
{
    long long value = 0;
    const bool valid = m_buddy && ParseWhole(m_buddy->text(), &value) && value >= m_min && value <= m_max;
    if (ok)
        *ok = valid;
    return valid ? int(value) : m_pos;
}

void CUpDown::Step(int delta)
{
    long long value = m_pos;
    // A number typed outside the range moves back into it; text that is no number
    // at all steps from the last position.
    if (!m_buddy || !ParseWhole(m_buddy->text(), &value))
        value = m_pos;
    SetPos(int(std::clamp<long long>(value + delta, m_min, m_max)));
}

bool CUpDown::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_buddy && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
            Step(key->key() == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CUpDown::resizeEvent(QResizeEvent *)
{
    LayoutButtons();
}

void CUpDown::LayoutButtons()
{
    const int upper = height() / 2;
    m_up->setGeometry(0, 0, width(), upper);
    m_down->setGeometry(0, upper, width(), height() - upper);
}
