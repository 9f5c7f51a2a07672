// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/options/optionsdlg.h"

#include "document/tarvexdoc.h"
#include "ui/options/colorbutton.h"
#include "ui/options/colorspage.h"
#include "ui/options/dialogunits.h"
#include "ui/options/dimensionspage.h"
#include "ui/options/updown.h"

#include <QFrame>
#include <QPushButton>
#include <QStyle>
#include <QTabBar>

namespace {

// The value of a size field, or the fallback when its text is no whole number
// within the control's range.
int ReadSize(const CUpDown *spin, int fallback)
{
    bool ok = false;
    const int value = spin->Pos(&ok);
    return ok ? value : fallback;
}

} // namespace

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
    m_tab->setGeometry(tabArea.left(), tabArea.top(), qMin(tabs.width(), tabArea.width()),
                       tabs.height());
    const int overlap = style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, m_tab);
    const int frameTop = tabArea.top() + tabs.height() - overlap;
    m_tabFrame = new QFrame(this);
    m_tabFrame->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    m_tabFrame->setGeometry(tabArea.left(), frameTop, tabArea.width(),
                            tabArea.bottom() + 1 - frameTop);
    m_tab->raise();

    // A hidden frame that marks where the pages are shown.
    m_placeholder = new QFrame(this);
    m_placeholder->setGeometry(units.Rect(13, 24, 169, 99));
    m_placeholder->hide();

    // The pages are children of the dialog, not of the tab control.
    m_dimensions = new CDimensionsPage(units, this);
    m_colors = new CColorsPage(units, this);
    m_pages = { m_dimensions, m_colors };
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

    setTabOrder(m_tab, m_dimensions);
}

COptionsDlg::~COptionsDlg() = default;

bool COptionsDlg::RunModal(CTarvexDoc &doc, QWidget *parent)
{
    COptionsDlg dlg(parent);
    dlg.SetDocument(&doc);
    return dlg.exec() == QDialog::Accepted;
}

void COptionsDlg::SetDocument(CTarvexDoc *doc)
{
    m_doc = doc;
    m_colors->SetDocument(doc);
}

void COptionsDlg::OnInitDialog()
{
    m_initialised = true;
    m_colors->SetDocument(m_doc);

    m_dimensions->WidthUpDown()->SetRange(CTarvexDoc::MinGridWidth, CTarvexDoc::MaxGridWidth);
    m_dimensions->HeightUpDown()->SetRange(CTarvexDoc::MinGridHeight, CTarvexDoc::MaxGridHeight);
    m_dimensions->CubeSizeUpDown()->SetRange(CTarvexDoc::MinCubeSize, CTarvexDoc::MaxCubeSize);
    if (m_doc) {
        m_colors->BkColorButton()->SetColor(m_doc->BkColor);
        m_colors->Color1Button()->SetColor(m_doc->Color1);
        m_colors->Color2Button()->SetColor(m_doc->Color2);
        m_colors->Color3Button()->SetColor(m_doc->Color3);
        const QSize grid = m_doc->GetGridSize();
        m_dimensions->WidthUpDown()->SetPos(grid.width());
        m_dimensions->HeightUpDown()->SetPos(grid.height());
        m_dimensions->CubeSizeUpDown()->SetPos(m_doc->CubeSize);
    }

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
    page->move(area.left() + area.width() / 2 - page->width() / 2,
               area.top() + area.height() / 2 - page->height() / 2);
    page->show();
    page->raise();
    page->update();
}

void COptionsDlg::OnDefaultSettings()
{
    m_colors->BkColorButton()->SetColor(CTarvexDoc::DefaultBkColor);
    m_colors->Color1Button()->SetColor(CTarvexDoc::DefaultColor1);
    m_colors->Color2Button()->SetColor(CTarvexDoc::DefaultColor2);
    m_colors->Color3Button()->SetColor(CTarvexDoc::DefaultColor3);
    m_dimensions->WidthUpDown()->SetPos(CTarvexDoc::DefaultWidth);
    m_dimensions->HeightUpDown()->SetPos(CTarvexDoc::DefaultHeight);
    m_dimensions->CubeSizeUpDown()->SetPos(CTarvexDoc::DefaultCubeSize);
}

void COptionsDlg::OnOK()
{
    if (m_doc) {
        const int width = ReadSize(m_dimensions->WidthUpDown(), FallbackWidth);
        const int height = ReadSize(m_dimensions->HeightUpDown(), FallbackHeight);
        const int cubeSize = ReadSize(m_dimensions->CubeSizeUpDown(), FallbackCubeSize);

        m_doc->ApplyOptions(width, height, cubeSize, m_colors->BkColorButton()->GetColor(),
                            m_colors->Color1Button()->GetColor(), m_colors->Color2Button()->GetColor(),
                            m_colors->Color3Button()->GetColor());
    }
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
