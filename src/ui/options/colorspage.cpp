// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/options/colorspage.h"

#include "ui/options/colorbutton.h"
#include "ui/options/dialogunits.h"
#include "ui/options/transparentlabel.h"

#include <QColorDialog>
#include <QGroupBox>
#include <QLabel>

CColorsPage::CColorsPage(const CDialogUnits &units, QWidget *parent)
    : QWidget(parent)
    , m_chooser(&CColorsPage::RunColorDialog)
{
    setAutoFillBackground(false);
    resize(units.Size(160, 94));

    auto *group = new QGroupBox(tr("Colors"), this);
    group->setGeometry(units.Rect(4, 4, 152, 86));

    m_bkColor = AddColorRow(units, tr("Workspace color"), true, 19, 18, 55, 15);
    m_color1 = AddColorRow(units, tr("Cube top color"), false, 27, 36, 47, 33);
    // Each side's field is named by the face it paints: Color2 fills the right-hand
    // side faces, Color3 the left-hand ones.
    m_color2 = AddColorRow(units, tr("Cube right color"), false, 24, 56, 50, 52);
    m_color3 = AddColorRow(units, tr("Cube left color"), false, 28, 73, 46, 70);
    // Assistive technology hears what each button paints and its colour.
    m_bkColor->SetFaceName(tr("Workspace background"));
    m_color1->SetFaceName(tr("Top faces"));
    m_color2->SetFaceName(tr("Right faces"));
    m_color3->SetFaceName(tr("Left faces"));
}

CColorButton *CColorsPage::AddColorRow(const CDialogUnits &units, const QString &text, bool ownLabel, int labelX,
                                       int labelY, int labelWidth, int buttonY)
{
    QWidget *label = nullptr;
    if (ownLabel) {
        label = new CTransparentLabel(text, this);
    } else {
        auto *plain = new QLabel(text, this);
        plain->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label = plain;
    }
    label->setGeometry(units.LabelRect(labelX, labelY, labelWidth, 8, label->sizeHint().width()));

    auto *button = new CColorButton(this);
    button->setGeometry(units.Rect(88, buttonY, 50, 14));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, button] { PickColor(button); });
    return button;
}

void CColorsPage::SetColorChooser(ColorChooser chooser)
{
    m_chooser = chooser ? std::move(chooser) : ColorChooser(&CColorsPage::RunColorDialog);
}

std::optional<QColor> CColorsPage::RunColorDialog(const QColor &initial, QWidget *parent)
{
    // Qt's own dialog, because a native chooser would not offer Qt's custom colours.
    QColorDialog dialog(initial, parent);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedColor();
}

void CColorsPage::PickColor(CColorButton *button)
{
    if (!button)
        return;
    // QColorDialog keeps one set of custom colours for the whole program (and stores
    // it in its own settings file); the figure settings' set is the one that counts.
    const int slotCount = qMin(int(QColorDialog::customCount()), 16);
    for (int i = 0; i < slotCount; ++i)
        QColorDialog::setCustomColor(i, ColorFromRef(m_customColors[size_t(i)]));
    const std::optional<QColor> chosen = m_chooser(ColorFromRef(button->GetColor()), window());
    // Custom colours defined in the chooser are kept even when it was cancelled.
    for (int i = 0; i < slotCount; ++i)
        m_customColors[size_t(i)] = RefFromColor(QColorDialog::customColor(i));
    if (chosen && chosen->isValid())
        button->SetColor(RefFromColor(*chosen));
}
