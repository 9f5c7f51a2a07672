// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/help/helpframe.h"
#include "ui/help/picturestrip.h"

#include "ui/help/examplelist.h"
#include "ui/help/htmlctrl.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QToolBar>

#include <memory>

namespace {

const QString NavigationStrip = QStringLiteral(":/help/helpnav.png");
const QString DenseNavigationStrip = QStringLiteral(":/help/helpnav@2x.png");
const QString WindowIcon = QStringLiteral(":/help/helpicon.png");
const QSize ButtonSize(33, 32);

} // namespace

// The resources live in the editor library, a static library: registering them from
// code that is linked in anyway keeps the linker from dropping them.
static void RegisterHelpResources()
{
    Q_INIT_RESOURCE(help);
}

void CHelpFrame::InitResources()
{
    static const bool registered = (RegisterHelpResources(), true);
    Q_UNUSED(registered);
}

QUrl CHelpFrame::StartPage()
{
    return QUrl(QStringLiteral("qrc:/help/index.htm"));
}

QString CHelpFrame::ExampleFigure(const QString &command)
{
    const QLatin1String prefix("example:");
    return command.startsWith(prefix) ? CExampleList::FigurePath(command.mid(prefix.size())) : QString();
}

CHelpFrame::CHelpFrame(CHelpFrame **backPointer)
    : QMainWindow(nullptr)
    , m_ppBackPointer(backPointer)
{
    InitResources();
    setAttribute(Qt::WA_DeleteOnClose);
    // The help window alone never keeps the program running.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(tr("Tarvex help"));
    setContextMenuPolicy(Qt::NoContextMenu);
}

CHelpFrame::~CHelpFrame()
{
    DetachBackPointer();
}

void CHelpFrame::DetachBackPointer()
{
    if (m_ppBackPointer && *m_ppBackPointer == this)
        *m_ppBackPointer = nullptr;
    m_ppBackPointer = nullptr;
}

bool CHelpFrame::Create()
{
    const QImage strip(NavigationStrip);
    if (strip.width() < 2 * CPictureStrip::PictureSize.width() || strip.height() < CPictureStrip::PictureSize.height())
        return false;
    if (!QFile::exists(QLatin1Char(':') + StartPage().path()))
        return false;

    setWindowIcon(QIcon(WindowIcon));
    const QImage denseStrip(DenseNavigationStrip);

    m_pToolBar = new QToolBar(this);
    m_pToolBar->setObjectName(QStringLiteral("HelpToolBar"));
    m_pToolBar->setAccessibleName(tr("Navigation"));
    m_pToolBar->setMovable(false);
    m_pToolBar->setFloatable(false);
    m_pToolBar->setIconSize(CPictureStrip::PictureSize);
    m_pToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    addToolBar(Qt::TopToolBarArea, m_pToolBar);

    m_pBack = m_pToolBar->addAction(CPictureStrip::Icon(strip, denseStrip, 0), tr("Back"));
    m_pBack->setToolTip(tr("Back"));
    m_pBack->setStatusTip(tr("Back"));
    connect(m_pBack, &QAction::triggered, this, &CHelpFrame::OnBack);
    m_pForward = m_pToolBar->addAction(CPictureStrip::Icon(strip, denseStrip, 1), tr("Forward"));
    m_pForward->setToolTip(tr("Forward"));
    m_pForward->setStatusTip(tr("Forward"));
    connect(m_pForward, &QAction::triggered, this, &CHelpFrame::OnForward);
    for (QAction *action : {m_pBack, m_pForward}) {
        if (QWidget *button = m_pToolBar->widgetForAction(action))
            button->setFixedSize(ButtonSize);
    }

    m_pBrowser = new CHtmlCtrl(this);
    m_pBrowser->setObjectName(QStringLiteral("HelpBrowser"));
    setCentralWidget(m_pBrowser);
    connect(m_pBrowser, &CHtmlCtrl::AppCommandRequested, this, [this](const QString &command) {
        const QString path = ExampleFigure(command);
        if (!path.isEmpty())
            Q_EMIT OpenFigureRequested(path);
    });
    m_pBrowser->setSource(StartPage());
    // Escape closes the window, as it closes a dialog.
    auto *close = new QAction(this);
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
    return true;
}

void CHelpFrame::OnBack()
{
    // At the start of the history the browser has nothing to go back to and stays.
    if (m_pBrowser)
        m_pBrowser->backward();
}

void CHelpFrame::OnForward()
{
    if (m_pBrowser)
        m_pBrowser->forward();
}

void CHelpFrame::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    // The window is deleted later; from now on the next Help command makes a new one.
    if (event->isAccepted())
        DetachBackPointer();
}

QRect CHelpFrame::HelpRect(const QRect &screen)
{
    const int width = screen.width();
    const int height = screen.height();
    const int left = width / 2;
    const int bottom = height / 2;
    return QRect(screen.x() + left, screen.y(), width - left, bottom);
}

CHelpFrame *CHelpFrame::ShowHelp(CHelpFrame *&slot)
{
    if (slot) {
        slot->setWindowState(slot->windowState() & ~Qt::WindowMinimized);
        slot->show();
        slot->raise();
        slot->activateWindow();
        return slot;
    }

    auto frame = std::make_unique<CHelpFrame>(&slot);
    if (!frame->Create())
        return nullptr;
    QScreen *screen = QGuiApplication::primaryScreen();
    const QRect rect = screen ? HelpRect(screen->geometry()) : QRect();
    if (rect.isValid()) {
        // move() places the outer frame; resize() sizes the inside.
        frame->move(rect.topLeft());
        frame->resize(rect.size());
    }
    slot = frame.release();
    slot->show();
    // Once the window system has framed the window, the frame too fits the quarter.
    const QSize frameExtra = slot->frameGeometry().size() - slot->geometry().size();
    if (rect.isValid() && !frameExtra.isNull())
        slot->resize(rect.size() - frameExtra);
    slot->raise();
    slot->activateWindow();
    return slot;
}

void CHelpFrame::CloseHelp(CHelpFrame *&slot)
{
    // Deleted at once, not later: the owner of slot may be going away.
    delete slot;
    slot = nullptr;
}
