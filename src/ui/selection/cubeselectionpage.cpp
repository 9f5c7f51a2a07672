// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/selection/cubeselectionpage.h"

#include "ui/selection/cubeconstructor.h"
#include "ui/selection/cubeslibrary.h"
#include "ui/selection/palettestrip.h"

#include <QTabBar>
#include <QTabWidget>

namespace {

constexpr int LibraryImageSize = 24;
constexpr int LibraryLeft = 7; // the library's left edge in the page
constexpr int PageMargin = 8;  // room right of and below the pickers
constexpr int HeaderGap = 8;   // between the tab headers and the pickers
constexpr qreal MinimumHeaderPoints = 6.0;
constexpr int MinimumHeaderPixels = 8;
constexpr int StripGap = 6; // between the pickers and the palette strip

} // namespace

CCubeSelectionPage::CCubeSelectionPage(QWidget *parent)
    : QWidget(parent)
{
    // The tab control covers the whole page and paints it; the pickers lie above it.
    m_tabs = new QTabWidget(this);
    // The tabs are reached with Tab (arrows then switch pages); clicks leave the keys
    // with the workspace.
    m_tabs->setFocusPolicy(Qt::NoFocus);
    m_tabs->tabBar()->setFocusPolicy(Qt::TabFocus);
    m_tabs->tabBar()->setAccessibleName(tr("Cube pickers"));
    m_tabs->tabBar()->setExpanding(false);
    m_tabs->setUsesScrollButtons(false);
    m_tabs->setElideMode(Qt::ElideNone);
    m_library = new CCubesLibrary(this);
    m_constructor = new CCubeConstructor(this);
    m_strip = new CPaletteStrip(this);

    connect(m_library, &CCubesLibrary::CubeSelected, this, &CCubeSelectionPage::OnLibraryPicked);
    connect(m_constructor, &CCubeConstructor::CubeSelected, this, &CCubeSelectionPage::OnConstructorPicked);
    connect(m_strip, &CPaletteStrip::CurrentChanged, this, &CCubeSelectionPage::ShowPickedColouring);
    connect(m_strip, &CPaletteStrip::ColouringEdited, this, &CCubeSelectionPage::ColouringEdited);
    connect(m_strip, &CPaletteStrip::ColouringAdded, this, &CCubeSelectionPage::ColouringAdded);
}

CCubeSelectionPage::~CCubeSelectionPage() = default;

void CCubeSelectionPage::InitPage()
{
    if (m_tabs->count() == 0) {
        // The tab pages stay empty: both pickers belong to the page itself and are
        // shown and hidden as the tabs change.
        m_tabs->addTab(new QWidget, tr("Cubes"));
        m_tabs->addTab(new QWidget, tr("Constructor"));
        connect(m_tabs, &QTabWidget::currentChanged, this, &CCubeSelectionPage::OnTabChanged);
    }

    m_library->SetCubeSize(LibraryImageSize);

    // The page is only as wide as the library and its margins; both headers must fit.
    const int pageWidth = LibraryLeft + m_library->width() + PageMargin;
    FitTabHeaders(pageWidth);

    // The library goes below the tab headers at x = 7; the constructor takes the very
    // same rectangle.
    const int top = m_tabs->tabBar()->sizeHint().height() + HeaderGap;
    const QRect rect(QPoint(LibraryLeft, top), m_library->size());
    m_library->setGeometry(rect);
    m_constructor->setGeometry(rect);

    // The palette strip lies under the pickers, as wide as they are.
    const int stripTop = rect.y() + rect.height() + StripGap;
    m_strip->setGeometry(rect.x(), stripTop, rect.width(), m_strip->HeightForWidth(rect.width()));
    m_strip->raise();

    // The page ends eight pixels beyond the strip's right and bottom edges.
    const QSize pageSize(pageWidth, stripTop + m_strip->height() + PageMargin);
    setFixedSize(pageSize);
    m_tabs->setGeometry(0, 0, pageSize.width(), pageSize.height());

    OnTabChanged();
}

void CCubeSelectionPage::FitTabHeaders(int width)
{
    // With a large system font "Cubes" and "Constructor" side by side are wider than
    // the page; their font then shrinks step by step until they fit (or get small).
    QTabBar *bar = m_tabs->tabBar();
    bar->setFont(QFont());
    QFont font = bar->font();
    while (bar->sizeHint().width() > width) {
        if (font.pointSizeF() > 0) {
            if (font.pointSizeF() <= MinimumHeaderPoints)
                break;
            font.setPointSizeF(font.pointSizeF() - 0.5);
        } else {
            if (font.pixelSize() <= MinimumHeaderPixels)
                break;
            font.setPixelSize(font.pixelSize() - 1);
        }
        bar->setFont(font);
    }
}

void CCubeSelectionPage::OnTabChanged()
{
    if (m_tabs->currentIndex() != 0) {
        m_library->hide();
        m_constructor->show();
    } else {
        m_library->show();
        m_constructor->hide();
    }
}

void CCubeSelectionPage::OnLibraryPicked(int kind)
{
    SetCurrentCube(kind);
    m_constructor->SetCubeIndex(kind);
}

void CCubeSelectionPage::OnConstructorPicked(int kind)
{
    SetCurrentCube(kind);
    m_library->SetSelectedCube(kind);
}

void CCubeSelectionPage::SetCurrentCube(int kind)
{
    if (kind == m_currentCube)
        return;
    m_currentCube = kind;
    Q_EMIT CurrentCubeChanged(kind);
}

int CCubeSelectionPage::CurrentPaint() const
{
    return m_strip->Current();
}

qint32 CCubeSelectionPage::CurrentValue() const
{
    return m_currentCube >= 0 && m_currentCube < CubeKindCount ? CellValue(m_currentCube, CurrentPaint())
                                                               : m_currentCube;
}

void CCubeSelectionPage::SetCurrentPaint(int index)
{
    m_strip->SetCurrent(index);
}

void CCubeSelectionPage::SetCubeColors(ColorRef color1, ColorRef color2, ColorRef color3)
{
    QVector<CColouring> colourings = m_strip->Colourings();
    colourings[0] = CColouring{color1, color2, color3};
    SetPalette(colourings);
}

void CCubeSelectionPage::SetPalette(const QVector<CColouring> &colourings)
{
    m_strip->SetColourings(colourings);
    ShowPickedColouring();
}

void CCubeSelectionPage::ShowPickedColouring()
{
    const CColouring &c = m_strip->Colourings()[m_strip->Current()];
    m_library->SetCubeColors(c.Top, c.Right, c.Left);
    m_constructor->SetCubeColors(c.Top, c.Right, c.Left);
}
