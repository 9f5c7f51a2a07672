// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/options/optionsdlg.h"

#include "ui/options/colorbutton.h"
#include "ui/options/colorspage.h"
#include "ui/options/dialogunits.h"
#include "ui/options/dimensionspage.h"
#include "ui/options/updown.h"

#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabBar>

#include <utility>

COptionsDlg::COptionsDlg(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Options"));
    const CDialogUnits units(font());
    setFixedSize(units.Size(197, 154));

    // The tab control: the tabs along the top of a framed area that holds the pages.
    const QRect tabArea = units.Rect(7, 7, 183, 122);
    m_tab = new QTabBar(this);
    m_tab->setDrawBase(false);
    m_tab->setExpanding(false);
    m_tab->addTab(tr("Dimensions"));
    m_tab->addTab(tr("Colors"));
    const QSize tabs = m_tab->sizeHint();
    m_tab->setGeometry(tabArea.left(), tabArea.top(), qMin(tabs.width(), tabArea.width()), tabs.height());
    const int overlap = style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, m_tab);
    const int frameTop = tabArea.top() + tabs.height() - overlap;
    m_tabFrame = new QFrame(this);
    m_tabFrame->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    m_tabFrame->setGeometry(tabArea.left(), frameTop, tabArea.width(), tabArea.bottom() + 1 - frameTop);
    m_tab->raise();

    // A hidden frame that marks where the pages are shown.
    m_placeholder = new QFrame(this);
    m_placeholder->setGeometry(units.Rect(13, 24, 169, 99));
    m_placeholder->hide();

    // The pages are children of the dialog, not of the tab control.
    m_dimensions = new CDimensionsPage(units, this);
    m_colors = new CColorsPage(units, this);
    m_pages = {m_dimensions, m_colors};
    for (QWidget *page : m_pages)
        page->hide();

    m_defaults = new QPushButton(tr("Default settings"), this);
    m_defaults->setGeometry(units.Rect(7, 133, 57, 14));
    m_defaults->setAutoDefault(false);
    m_cancel = new QPushButton(tr("Cancel"), this);
    m_cancel->setGeometry(units.Rect(77, 133, 50, 14));
    m_cancel->setAutoDefault(false);
    m_ok = new QPushButton(tr("OK"), this);
    m_ok->setGeometry(units.Rect(140, 133, 50, 14));
    m_ok->setDefault(true);

    connect(m_tab, &QTabBar::currentChanged, this, &COptionsDlg::ShowPage);
    connect(m_defaults, &QPushButton::clicked, this, &COptionsDlg::OnDefaultSettings);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ok, &QPushButton::clicked, this, &COptionsDlg::OnOK);
    for (QLineEdit *edit : {m_dimensions->WidthEdit(), m_dimensions->HeightEdit(), m_dimensions->CubeSizeEdit()})
        connect(edit, &QLineEdit::textChanged, this, &COptionsDlg::UpdateSizeHints);

    setTabOrder(m_tab, m_dimensions);
}

COptionsDlg::~COptionsDlg() = default;

std::optional<COptions> COptionsDlg::Ask(const COptions &current, CustomColorSet &customColors, QWidget *parent)
{
    COptionsDlg dlg(parent);
    dlg.SetOptions(current);
    const bool ok = dlg.exec() == QDialog::Accepted;
    customColors = dlg.Colors()->CustomColors();
    if (!ok)
        return std::nullopt;
    return dlg.Options();
}

COptions COptionsDlg::Options() const
{
    COptions options = m_options;
    // A field that holds no valid size gives the last size set in it (OK is disabled then).
    options.Width = m_dimensions->WidthUpDown()->Pos();
    options.Height = m_dimensions->HeightUpDown()->Pos();
    options.CubeSize = m_dimensions->CubeSizeUpDown()->Pos();
    options.BkColor = m_colors->BkColorButton()->GetColor();
    options.Color1 = m_colors->Color1Button()->GetColor();
    options.Color2 = m_colors->Color2Button()->GetColor();
    options.Color3 = m_colors->Color3Button()->GetColor();
    options.CustomColors = m_colors->CustomColors();
    return options;
}

void COptionsDlg::OnInitDialog()
{
    m_initialised = true;
    m_colors->SetCustomColors(m_options.CustomColors);

    m_dimensions->WidthUpDown()->SetRange(CFigure::MinGridWidth, CFigure::MaxGridWidth);
    m_dimensions->HeightUpDown()->SetRange(CFigure::MinGridHeight, CFigure::MaxGridHeight);
    m_dimensions->CubeSizeUpDown()->SetRange(CFigure::MinCubeSize, CFigure::MaxCubeSize);
    m_colors->BkColorButton()->SetColor(m_options.BkColor);
    m_colors->Color1Button()->SetColor(m_options.Color1);
    m_colors->Color2Button()->SetColor(m_options.Color2);
    m_colors->Color3Button()->SetColor(m_options.Color3);
    m_dimensions->WidthUpDown()->SetPos(m_options.Width);
    m_dimensions->HeightUpDown()->SetPos(m_options.Height);
    m_dimensions->CubeSizeUpDown()->SetPos(m_options.CubeSize);
    UpdateSizeHints();

    const QSignalBlocker block(m_tab);
    m_tab->setCurrentIndex(DimensionsPage);
    ShowPage(DimensionsPage);
}

void COptionsDlg::ShowPage(int index)
{
    if (index < 0 || index >= int(m_pages.size()))
        return;
    for (QWidget *page : m_pages)
        page->hide();
    QWidget *page = m_pages[size_t(index)];
    const QRect area = m_placeholder->geometry();
    page->move(area.left() + area.width() / 2 - page->width() / 2, area.top() + area.height() / 2 - page->height() / 2);
    page->show();
    page->raise();
    page->update();
}

void COptionsDlg::OnDefaultSettings()
{
    m_colors->BkColorButton()->SetColor(CFigure::DefaultBkColor);
    m_colors->Color1Button()->SetColor(CFigure::DefaultColor1);
    m_colors->Color2Button()->SetColor(CFigure::DefaultColor2);
    m_colors->Color3Button()->SetColor(CFigure::DefaultColor3);
    m_dimensions->WidthUpDown()->SetPos(CFigure::DefaultWidth);
    m_dimensions->HeightUpDown()->SetPos(CFigure::DefaultHeight);
    m_dimensions->CubeSizeUpDown()->SetPos(CFigure::DefaultCubeSize);
}

void COptionsDlg::UpdateSizeHints()
{
    const std::pair<QLineEdit *, CUpDown *> fields[] = {
        {m_dimensions->WidthEdit(), m_dimensions->WidthUpDown()},
        {m_dimensions->HeightEdit(), m_dimensions->HeightUpDown()},
        {m_dimensions->CubeSizeEdit(), m_dimensions->CubeSizeUpDown()},
    };
    for (const auto &[edit, spin] : fields) {
        bool ok = false;
        spin->Pos(&ok);
        m_dimensions->ShowRange(edit, spin->Minimum(), spin->Maximum(), ok);
    }
    m_ok->setEnabled(SizesValid());
}

bool COptionsDlg::SizesValid() const
{
    for (const CUpDown *spin :
         {m_dimensions->WidthUpDown(), m_dimensions->HeightUpDown(), m_dimensions->CubeSizeUpDown()}) {
        bool ok = false;
        spin->Pos(&ok);
        if (!ok)
            return false;
    }
    return true;
}

void COptionsDlg::OnOK()
{
    if (SizesValid())
        accept();
}

void COptionsDlg::done(int result)
{
    m_initialised = false;
    QDialog::done(result);
}

void COptionsDlg::showEvent(QShowEvent *event)
{
    if (!m_initialised)
        OnInitDialog();
    QDialog::showEvent(event);
}
