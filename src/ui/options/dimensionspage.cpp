// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/options/dimensionspage.h"

#include "ui/options/dialogunits.h"
#include "ui/options/transparentlabel.h"
#include "ui/options/updown.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <utility>

namespace {

void AddGroup(const CDialogUnits &units, QWidget *page, const QString &title, int x, int y, int width, int height)
{
    auto *group = new QGroupBox(title, page);
    group->setGeometry(units.Rect(x, y, width, height));
}

void AddLabel(const CDialogUnits &units, QWidget *page, const QString &text, int x, int y, int width, int height)
{
    auto *label = new CTransparentLabel(text, page);
    label->setGeometry(units.LabelRect(x, y, width, height, label->sizeHint().width()));
}

} // namespace

CDimensionsPage::CDimensionsPage(const CDialogUnits &units, QWidget *parent)
    : QWidget(parent)
{
    setAutoFillBackground(false);
    resize(units.Size(162, 94));

    // Group boxes first, so that the fields and labels lie above them.
    AddGroup(units, this, tr("Workspace dimensions"), 4, 4, 154, 51);
    AddGroup(units, this, tr("Cube dimensions"), 4, 57, 154, 33);

    AddLabel(units, this, tr("Width"), 48, 17, 20, 8);
    m_widthEdit = AddField(units, 74, 14, &m_widthSpin, &m_widthRange);
    AddLabel(units, this, tr("Height"), 46, 39, 22, 8);
    m_heightEdit = AddField(units, 74, 36, &m_heightSpin, &m_heightRange);
    AddLabel(units, this, tr("Cube size"), 36, 73, 32, 8);
    m_cubeSizeEdit = AddField(units, 74, 70, &m_cubeSizeSpin, &m_cubeSizeRange);
    // The labels are painted: the fields and their arrows carry the names themselves.
    const std::pair<QLineEdit *, CUpDown *> fields[] = {{m_widthEdit, m_widthSpin},
                                                        {m_heightEdit, m_heightSpin},
                                                        {m_cubeSizeEdit, m_cubeSizeSpin}};
    const QString names[] = {tr("Width"), tr("Height"), tr("Cube size")};
    for (int i = 0; i < 3; ++i) {
        fields[i].first->setAccessibleName(names[i]);
        fields[i].second->SetAccessibleName(names[i]);
    }
}

QLineEdit *CDimensionsPage::AddField(const CDialogUnits &units, int x, int y, CUpDown **spin, QLabel **range)
{
    auto *edit = new QLineEdit(this);
    edit->setGeometry(units.Rect(x, y, 40, 14));
    *spin = new CUpDown(this);
    (*spin)->resize(units.X(11), edit->height());
    (*spin)->SetBuddy(edit);
    // After the up-down control, up to the group's edge.
    *range = new QLabel(this);
    (*range)->setGeometry(units.Rect(x + 52, y + 3, 154 - x - 52, 8));
    (*range)->hide();
    return edit;
}

QLabel *CDimensionsPage::RangeLabel(const QLineEdit *edit) const
{
    if (edit == m_widthEdit)
        return m_widthRange;
    if (edit == m_heightEdit)
        return m_heightRange;
    return edit == m_cubeSizeEdit ? m_cubeSizeRange : nullptr;
}

void CDimensionsPage::ShowRange(QLineEdit *edit, int minimum, int maximum, bool valid)
{
    QLabel *label = RangeLabel(edit);
    if (!label)
        return;
    edit->setToolTip(tr("From %1 to %2").arg(minimum).arg(maximum));
    label->setText(tr("%1 to %2").arg(minimum).arg(maximum));
    label->setVisible(!valid);
}
