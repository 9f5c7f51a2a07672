// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainframe.h"
#include "app/clipboardreader.h"

#include "app/recentmenu.h"
#include "app/toolbarkeys.h"

#include "document/documentcommands.h"
#include "document/tarvexdoc.h"
#include "files/figurefragment.h"
#include "files/figurewriter.h"
#include "files/regularfile.h"
#include "geometry/dragoffset.h"
#include "view/boxtool.h"
#include "view/placecubehandler.h"
#include "view/selectmovehandler.h"
#include "view/tarvexview.h"
#include "view/zoombox.h"

#include "ui/generator/generatordialog.h"
#include "ui/help/aboutbox.h"
#include "ui/help/helpframe.h"
#include "ui/help/htmlctrl.h"
#include "ui/help/picturestrip.h"
#include "ui/options/optionsdlg.h"
#include "ui/selection/cubeselectionbar.h"
#include "ui/selection/cubeselectionpage.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QCheckBox>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QMimeData>
#include <QUrl>
#include <QGuiApplication>
#include <QImage>
#include <QMessageBox>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrintPreviewDialog>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>

namespace {

const char *const AppTitle = "Tarvex";
const QSize ButtonSize(33, 32);

// Gives the main window the keyboard back when a dialog it opened closes. A window
// manager does not always return the focus to the window below a closing dialog (a
// file dialog's own question closing with it leaves none focused), and then the next
// shortcut would reach no window.
class CFocusReturn
{
public:
    explicit CFocusReturn(QWidget *window)
        : m_window(window)
    {
    }
    ~CFocusReturn()
    {
        if (m_window->isVisible() && !QApplication::activeModalWidget()) {
            m_window->raise();
            m_window->activateWindow();
        }
    }
    CFocusReturn(const CFocusReturn &) = delete;
    CFocusReturn &operator=(const CFocusReturn &) = delete;

private:
    QWidget *m_window;
};

} // namespace

// The toolbar strips live in the editor library, a static library:
// registering them from code that is linked in anyway keeps the linker from dropping them.
void InitMainWindowResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(mainwin);
        return true;
    }();
    Q_UNUSED(registered);
}

CMainFrame::CMainFrame(CTarvexDoc &doc, QWidget *parent)
    : QMainWindow(parent)
    , m_doc(doc)
{
    InitMainWindowResources();
    CHelpFrame::InitResources();
    // The help page's table of file types comes from the writer's own table.
    CHtmlCtrl::SetPageText(QStringLiteral("file-types"), CFigureWriter::HelpRows());
    CHtmlCtrl::SetPageText(QStringLiteral("file-suffixes"), CFigureWriter::SuffixList());
    setWindowTitle(QString::fromLatin1(AppTitle));
    setWindowIcon(ApplicationIcon());
    // Figure files dropped from a file manager (the view passes on drops it does not own).
    setAcceptDrops(true);

    auto *central = new QWidget(this);
    auto *columns = new QHBoxLayout(central);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(0);
    m_bar = new CCubeSelectionBar(central);
    columns->addWidget(m_bar);
    auto *right = new QVBoxLayout;
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(0);
    columns->addLayout(right, 1);
    m_toolBar = new QToolBar(central);
    m_toolBar->setAccessibleName(tr("Toolbar"));
    m_view = new CTarvexView(m_doc, central);
    m_view->SetCurrentCubeSource([this] { return GetCurrentCube(); });
    right->addWidget(m_toolBar);
    right->addWidget(m_view, 1);
    setCentralWidget(central);
    CreateToolBar();

    auto *selectAll = new QAction(this);
    selectAll->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    connect(selectAll, &QAction::triggered, this, &CMainFrame::OnSelectAll);
    addAction(selectAll);
    m_actions.insert(ID_SELECT_ALL, selectAll);
    // Quitting asks about unsaved changes as closing the window does.
    auto *quit = new QAction(this);
    quit->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Q)});
    connect(quit, &QAction::triggered, this, &QWidget::close);
    addAction(quit);
    m_actions.insert(ID_APP_EXIT, quit);
    auto *toolBarKeys = new QAction(this);
    toolBarKeys->setShortcut(QKeySequence(Qt::Key_F10));
    connect(toolBarKeys, &QAction::triggered, this, &CMainFrame::FocusToolBar);
    addAction(toolBarKeys);
    m_actions.insert(ID_TOOLBAR_KEYS, toolBarKeys);
    // The clipboard's commands and "Paint selection" have keys only, no buttons.
    const struct
    {
        int Id;
        QKeySequence Key;
        void (CMainFrame::*Slot)();
    } keyCommands[] = {{ID_EDIT_COPY, QKeySequence(Qt::CTRL | Qt::Key_C), &CMainFrame::OnEditCopy},
                       {ID_EDIT_CUT, QKeySequence(Qt::CTRL | Qt::Key_X), &CMainFrame::OnEditCut},
                       {ID_EDIT_PASTE, QKeySequence(Qt::CTRL | Qt::Key_V), &CMainFrame::OnEditPaste},
                       {ID_PAINT_SELECTION, QKeySequence(Qt::Key_P), &CMainFrame::OnPaintSelection}};
    for (const auto &command : keyCommands) {
        auto *action = new QAction(this);
        action->setShortcut(command.Key);
        connect(action, &QAction::triggered, this, command.Slot);
        addAction(action);
        m_actions.insert(command.Id, action);
    }

    m_saveDialog = std::make_unique<QFileDialog>(this);
    m_saveDialog->setOption(QFileDialog::DontUseNativeDialog);
    m_saveDialog->setAcceptMode(QFileDialog::AcceptSave);
    m_saveDialog->setFileMode(QFileDialog::AnyFile);
    m_saveDialog->setNameFilters(SaveFilters());
    // A new dialog starts at the figure file, the only type that saves the figure: a
    // bare name typed into it keeps the work, a picture type has to be chosen.
    const QString figureFilter = CFigureWriter::FilterOf(CFigureWriter::Format::Xml);
    m_saveDialog->selectNameFilter(figureFilter);
    m_saveDialog->setDefaultSuffix(SuffixOfFilter(figureFilter));
    // A name typed without extension gets the one of the chosen file type.
    connect(m_saveDialog.get(), &QFileDialog::filterSelected, this,
            [this](const QString &filter) { m_saveDialog->setDefaultSuffix(SuffixOfFilter(filter)); });
    // The transparent background choice sits below the dialog's own rows (the dialog
    // is Qt's own, so its layout is a grid); it keeps its state between saves.
    m_transparent = new QCheckBox(tr("Transparent background (PNG and SVG)"), m_saveDialog.get());
    m_transparent->setObjectName(QStringLiteral("transparentBackground"));
    if (auto *grid = qobject_cast<QGridLayout *>(m_saveDialog->layout()))
        grid->addWidget(m_transparent, grid->rowCount(), 0, 1, grid->columnCount());

    connect(&m_doc, &CTarvexDoc::UpdateAllViews, this, &CMainFrame::UpdateCommandUi);
    connect(&m_doc, &CTarvexDoc::FigureFileUsed, this, &CMainFrame::AddRecentFile);
    connect(&m_doc, &CTarvexDoc::BarColorsChanged, SelectionPage(), &CCubeSelectionPage::SetCubeColors);
    connect(&m_doc, &CTarvexDoc::PaletteChanged, SelectionPage(), &CCubeSelectionPage::SetPalette);
    connect(SelectionPage(), &CCubeSelectionPage::ColouringEdited, &m_doc, &CTarvexDoc::SetColouring);
    connect(SelectionPage(), &CCubeSelectionPage::ColouringAdded, this, [this](const CColouring &colouring) {
        const int index = m_doc.AddColouring(colouring);
        if (index >= 0)
            SelectionPage()->SetCurrentPaint(index);
    });
    m_doc.SetUi(this);
    // The pickers show the document's colours from the start.
    m_doc.UpdateBarColors();
    UpdateCommandUi();
    resize(PreferredSize());
    // Keys such as Ctrl (the cursor) and Delete go to the workspace.
    m_view->setFocus();
}

QIcon CMainFrame::ApplicationIcon()
{
    CHelpFrame::InitResources();
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/tarvex-%1.png").arg(size), QSize(size, size));
    return icon;
}

CMainFrame::~CMainFrame()
{
    // The view outlives this window's members: it must not keep the box tool.
    m_view->SetDrawingTool(nullptr);
    CHelpFrame::CloseHelp(m_pHelpFrame);
    if (m_doc.Ui() == this)
        m_doc.SetUi(nullptr);
}

CCubeSelectionPage *CMainFrame::SelectionPage() const
{
    return m_bar->Page();
}

int CMainFrame::GetCurrentCube() const
{
    return SelectionPage()->CurrentValue();
}

QAction *CMainFrame::Action(int id) const
{
    return m_actions.value(id, nullptr);
}

// ---------------------------------------------------------------- toolbar and commands

QAction *CMainFrame::AddCommand(int id, const QString &text, int picture, void (CMainFrame::*slot)())
{
    static const QImage strip(QStringLiteral(":/pictures/toolbar.png"));
    static const QImage denseStrip(QStringLiteral(":/pictures/toolbar@2x.png"));
    // The string-table text: the status prompt, a line feed, the tooltip.
    const int lineFeed = text.indexOf(QLatin1Char('\n'));
    auto *action = new QAction(CPictureStrip::Icon(strip, denseStrip, picture),
                               lineFeed >= 0 ? text.mid(lineFeed + 1) : QString(), this);
    if (lineFeed >= 0)
        action->setStatusTip(text.left(lineFeed));
    if (slot)
        connect(action, &QAction::triggered, this, slot);
    m_toolBar->addAction(action);
    if (QWidget *button = m_toolBar->widgetForAction(action))
        button->setFixedSize(ButtonSize);
    m_actions.insert(id, action);
    return action;
}

void CMainFrame::CreateToolBar()
{
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setIconSize(CPictureStrip::PictureSize);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolBar->setContentsMargins(0, 0, 0, 0);

    QAction *selectMove = AddCommand(ID_SELECT_MOVE, tr("Select and move cubes\nSelect and move"), 0, nullptr);
    selectMove->setCheckable(true);
    selectMove->setShortcut(QKeySequence(Qt::Key_S));
    // Every way to press the button switches the mode: a click or S (the action's
    // check) and a Toggle from assistive technology, which checks only the button.
    connect(selectMove, &QAction::toggled, this, &CMainFrame::OnSelectMoveToggled);
    if (auto *button = qobject_cast<QAbstractButton *>(m_toolBar->widgetForAction(selectMove)))
        connect(button, &QAbstractButton::toggled, this, &CMainFrame::OnSelectMoveToggled);
    m_toolBar->addSeparator();
    m_toolBar->addSeparator();
    AddCommand(ID_FILE_NEW, tr("Create a new figure\nNew figure"), 1, &CMainFrame::OnFileNew)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    AddCommand(ID_FILE_OPEN, tr("Open a figure file\nOpen figure"), 2, &CMainFrame::OnFileOpen)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    AddCommand(ID_SAVE_FIGURE, tr("Save as BMP or WMF\nSave figure"), 3, &CMainFrame::OnSaveFigure)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    AddCommand(ID_FILE_PRINT_PREVIEW, tr("Preview and print\nPreview and print"), 4, &CMainFrame::OnFilePrintPreview)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    m_toolBar->addSeparator();
    AddCommand(ID_OPTIONS, tr("Options of the program\nOptions"), 5, &CMainFrame::OnOptions)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    m_toolBar->addSeparator();
    AddCommand(ID_EDIT_UNDO, tr("Undo the last action\nUndo"), 6, &CMainFrame::OnEditUndo)
        ->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)});
    // Redo also answers to the keys other editors use for it.
    AddCommand(ID_EDIT_REDO, tr("Redo the previously undone action\nRedo"), 7, &CMainFrame::OnEditRedo)
        ->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    m_toolBar->addSeparator();
    AddCommand(ID_HELP, tr("Help\nHelp"), 8, &CMainFrame::OnHelp)->setShortcut(QKeySequence(Qt::Key_F1));
    AddCommand(ID_APP_ABOUT, tr("Display program information, version number and copyright\nAbout"), 9,
               &CMainFrame::OnAppAbout)
        ->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1));

    // After the specified buttons: the recent figures and examples, then the zoom.
    m_toolBar->addSeparator();
    m_recentMenu = new CRecentMenu(this);
    m_recentButton = new QToolButton(m_toolBar);
    m_recentButton->setObjectName(QStringLiteral("RecentButton"));
    m_recentButton->setIcon(CPictureStrip::Icon(QImage(QStringLiteral(":/pictures/recent.png")),
                                                QImage(QStringLiteral(":/pictures/recent@2x.png")), 0));
    m_recentButton->setToolTip(tr("Recent figures and examples"));
    m_recentButton->setAccessibleName(m_recentButton->toolTip());
    m_recentButton->setStatusTip(tr("Open a figure worked on lately, or an example"));
    m_recentButton->setPopupMode(QToolButton::InstantPopup);
    m_recentButton->setMenu(m_recentMenu);
    m_recentButton->setAutoRaise(true);
    m_recentButton->setFixedHeight(ButtonSize.height());
    m_toolBar->addWidget(m_recentButton);
    connect(m_recentMenu, &CRecentMenu::FileChosen, this, &CMainFrame::OpenRecentFile);
    connect(m_recentMenu, &CRecentMenu::ExampleChosen, this, &CMainFrame::OpenFigureFile);
    m_toolBar->addSeparator();
    m_zoomBox = new CZoomBox(*m_view, m_toolBar);
    m_toolBar->addWidget(m_zoomBox);
    // Then how thick a Shift+click beam is; the keys 1, 2 and 3 in the workspace set it too.
    m_toolBar->addSeparator();
    m_beamThickness = new QSpinBox(m_toolBar);
    m_beamThickness->setObjectName(QStringLiteral("BeamThickness"));
    m_beamThickness->setRange(1, CPlaceCubeHandler::MaxBeamThickness);
    m_beamThickness->setToolTip(tr("Beam thickness in cubes (keys 1, 2, 3)"));
    m_beamThickness->setAccessibleName(tr("Beam thickness"));
    m_beamThickness->setFixedHeight(ButtonSize.height());
    m_toolBar->addWidget(m_beamThickness);
    CPlaceCubeHandler *placer = m_view->PlaceCube();
    connect(m_beamThickness, &QSpinBox::valueChanged, this, [placer](int value) { placer->SetBeamThickness(value); });
    placer->SetBeamThicknessListener([this](int value) { m_beamThickness->setValue(value); });

    // Then mirroring the selection and the figure generators, as text buttons.
    m_toolBar->addSeparator();
    auto *mirror = new QAction(tr("Mirror"), this);
    mirror->setObjectName(QStringLiteral("MirrorAction"));
    mirror->setToolTip(tr("Mirror the selected cubes (M); R and Shift+R turn them a third of a turn"));
    connect(mirror, &QAction::triggered, this, &CMainFrame::OnMirror);
    m_toolBar->addAction(mirror);
    // M mirrors in select-and-move mode; as a window key it works wherever the keyboard is.
    mirror->setShortcut(QKeySequence(Qt::Key_M));
    m_actions.insert(ID_MIRROR, mirror);
    auto *generator = new QAction(tr("Generator..."), this);
    generator->setObjectName(QStringLiteral("GeneratorAction"));
    generator->setToolTip(tr("New from generator: a classic impossible figure made from its sizes"));
    connect(generator, &QAction::triggered, this, &CMainFrame::OnNewFromGenerator);
    m_toolBar->addAction(generator);
    generator->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
    m_actions.insert(ID_NEW_FROM_GENERATOR, generator);
    // Then the box tool, checked while it is the drawing tool.
    m_boxTool = std::make_unique<CBoxTool>(m_doc, *m_view);
    m_boxTool->SetCurrentCubeSource([this] { return GetCurrentCube(); });
    auto *box = new QAction(tr("Box"), this);
    box->setObjectName(QStringLiteral("BoxAction"));
    box->setCheckable(true);
    box->setToolTip(tr("Box tool: drag out a box of cubes, with Shift its height (B)"));
    box->setShortcut(QKeySequence(Qt::Key_B));
    connect(box, &QAction::toggled, this, &CMainFrame::OnBoxToolToggled);
    m_toolBar->addAction(box);
    if (auto *button = qobject_cast<QAbstractButton *>(m_toolBar->widgetForAction(box)))
        connect(button, &QAbstractButton::toggled, box, &QAction::setChecked);
    m_actions.insert(ID_BOX_TOOL, box);
    // A window too narrow for every control shows the rest behind the toolbar's
    // extension button, which assistive technology should name too.
    if (auto *more = m_toolBar->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(tr("More toolbar controls"));

    m_toolBarKeys = new CToolBarKeys(*m_toolBar, [this] { m_view->setFocus(Qt::ShortcutFocusReason); });
}

void CMainFrame::FocusToolBar()
{
    m_toolBarKeys->Enter();
}

void CMainFrame::UpdateCommandUi()
{
    QAction *selectMove = Action(ID_SELECT_MOVE);
    selectMove->setChecked(m_doc.IsSelectModeChecked());
    selectMove->setEnabled(m_doc.IsSelectModeEnabled());
    // Select-and-move mode puts the box tool away.
    if (m_doc.IsSelectMode())
        Action(ID_BOX_TOOL)->setChecked(false);
    const bool anySelected = m_doc.Selection() && !m_doc.Selection()->IsEmpty();
    Action(ID_MIRROR)->setEnabled(anySelected);
    Action(ID_PAINT_SELECTION)->setEnabled(anySelected);
    Action(ID_EDIT_UNDO)->setEnabled(m_doc.CanUndo());
    Action(ID_EDIT_REDO)->setEnabled(m_doc.CanRedo());
}

void CMainFrame::RunCommand(void (CTarvexDoc::*command)())
{
    (m_doc.*command)();
    UpdateCommandUi();
}

void CMainFrame::RunCommand(void (CDocumentCommands::*command)())
{
    CDocumentCommands commands(m_doc);
    (commands.*command)();
    UpdateCommandUi();
}

void CMainFrame::OnSelectMove()
{
    RunCommand(&CTarvexDoc::ToggleSelectMode);
}

void CMainFrame::OnSelectMoveToggled(bool checked)
{
    if (checked != m_doc.IsSelectModeChecked())
        OnSelectMove();
    else
        UpdateCommandUi();
}

void CMainFrame::OnFileNew()
{
    CDocumentCommands(m_doc).OnNewDocument();
    UpdateCommandUi();
}

void CMainFrame::OnFileOpen()
{
    RunCommand(&CDocumentCommands::OnOpenFigure);
}

void CMainFrame::OnSaveFigure()
{
    RunCommand(&CDocumentCommands::OnSaveFigure);
}

void CMainFrame::OnOptions()
{
    RunCommand(&CDocumentCommands::OnOptions);
}

void CMainFrame::OnEditUndo()
{
    RunCommand(&CTarvexDoc::OnEditUndo);
}

void CMainFrame::OnEditRedo()
{
    RunCommand(&CTarvexDoc::OnEditRedo);
}

void CMainFrame::OnSelectAll()
{
    RunCommand(&CTarvexDoc::SelectAll);
}

void CMainFrame::OnEditCopy()
{
    const CCubeSelection *selection = m_doc.Selection();
    const bool selected = selection && !selection->IsEmpty();
    const CFigureFragment fragment = CFigureFragment::FromFigure(m_doc.Figure(),
                                                                 selected ? &selection->Cells() : nullptr);
    if (fragment.IsEmpty())
        return;
    QGuiApplication::clipboard()->setMimeData(fragment.ToMimeData());
}

void CMainFrame::OnEditCut()
{
    if (!m_doc.IsSelectMode())
        return;
    const CCubeSelection *selection = m_doc.Selection();
    OnEditCopy();
    if (selection && !selection->IsEmpty())
        RunCommand(&CTarvexDoc::DeleteSelection);
}

void CMainFrame::OnEditPaste()
{
    // An offer larger than any fragment of the largest grid is refused unread; a
    // refused offer is said so, an empty clipboard is not.
    QByteArray offer;
    CFigureFragment fragment;
    const CClipboardReader::Result read = CClipboardReader::Read(QString::fromLatin1(CFigureFragment::MimeType),
                                                                 CFigureFragment::MaxBytes, offer);
    if (read == CClipboardReader::Result::Missing)
        return;
    QString refusal;
    if (read == CClipboardReader::Result::TooLarge)
        refusal = tr("The clipboard holds more cubes than a figure can take. Nothing was pasted.");
    else if (!CFigureFragment::Decode(offer, fragment))
        refusal = tr("The cubes on the clipboard cannot be read. Nothing was pasted.");
    if (!refusal.isEmpty()) {
        if (CDocumentUi *ui = m_doc.Ui())
            ui->ShowMessage(refusal, QString::fromLatin1(AppTitle), Icon::Exclamation);
        return;
    }
    if (fragment.IsEmpty())
        return;
    // Under the pointer when it is over the workspace, otherwise at its own cells.
    const QPoint offset = CDragOffset::PasteOffset(fragment.Cells, m_view->CellUnderPointer(),
                                                   m_doc.Figure().GridSize());
    QVector<CPlacedCube> cubes;
    for (int i = 0; i < fragment.Cells.size(); ++i)
        cubes.append({CDragOffset::DropTarget(fragment.Cells[i], offset), fragment.Values[i]});
    // The fragment's colourings come along, found in or added to the palette.
    const QVector<CColouring> colourings = fragment.ToFigure().Colourings();
    m_doc.PasteCubes(cubes, &colourings);
    UpdateCommandUi();
}

void CMainFrame::OnPaintSelection()
{
    // The selected cubes take the colouring picked in the palette.
    m_doc.PaintSelection(SelectionPage()->CurrentPaint());
    UpdateCommandUi();
}

void CMainFrame::OnMirror()
{
    m_doc.TransformSelection(CGridTransform::Mirror);
    UpdateCommandUi();
}

void CMainFrame::OnNewFromGenerator()
{
    static CFigureGenerator::Params last;
    CGeneratorDialog dialog(m_doc.Figure(), this);
    dialog.SetParams(last);
    if (dialog.exec() != QDialog::Accepted || !dialog.Figure())
        return;
    last = dialog.Params();
    m_doc.ReplaceFigure(*dialog.Figure());
    UpdateCommandUi();
}

void CMainFrame::OnBoxToolToggled(bool checked)
{
    m_view->SetDrawingTool(checked ? m_boxTool.get() : nullptr);
    if (checked && m_doc.IsSelectMode())
        OnSelectMove();
}

void CMainFrame::OnFilePrintPreview()
{
    // The preview shows the page alone: the bar is hidden while it is open.
    m_bar->hide();
    const CFocusReturn focus(this);
    QPrinter printer;
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, m_view, &CTarvexView::PrintPage);
    preview.exec();
    m_bar->show();
}

void CMainFrame::OnHelp()
{
    if (CHelpFrame *help = CHelpFrame::ShowHelp(m_pHelpFrame))
        connect(help, &CHelpFrame::OpenFigureRequested, this, &CMainFrame::OpenFigureFile, Qt::UniqueConnection);
}

bool CMainFrame::OpenFigureFile(const QString &path)
{
    CDocumentCommands commands(m_doc);
    if (!commands.PromptSaveChanges())
        return false;
    const bool opened = commands.Open(path, CDocumentCommands::OpenAs::AfterQuestion);
    UpdateCommandUi();
    if (opened) {
        raise();
        activateWindow();
    }
    return opened;
}

bool CMainFrame::OpenRecentFile(const QString &path)
{
    // A file that has gone is said so before anything else, and leaves the list.
    if (!QFileInfo(path).isFile()) {
        m_recentMenu->Files().Remove(path);
        if (CDocumentUi *ui = m_doc.Ui())
            ui->ShowMessage(tr("The figure file %1 cannot be found. It is taken off the list of recent figures.")
                                .arg(QDir::toNativeSeparators(path)),
                            QString::fromLatin1(AppTitle), Icon::Exclamation);
        return false;
    }
    return OpenFigureFile(path);
}

void CMainFrame::AddRecentFile(const QString &path)
{
    m_recentMenu->Files().Add(path);
}

QString CMainFrame::DroppedFigure(const QMimeData *data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return QString();
    const QUrl url = data->urls().constFirst();
    if (!url.isLocalFile())
        return QString();
    // Nothing is looked into here: the file goes the way a file chosen in the Open
    // dialog goes, which accepts every figure file and reports anything else.
    return url.toLocalFile();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent *event)
{
    if (DroppedFigure(event->mimeData()).isEmpty()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void CMainFrame::dropEvent(QDropEvent *event)
{
    const QString path = DroppedFigure(event->mimeData());
    if (path.isEmpty()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // The question about unsaved changes must not run inside the platform's drop.
    QMetaObject::invokeMethod(
        this, [this, path] { OpenFigureFile(path); }, Qt::QueuedConnection);
}

void CMainFrame::OnAppAbout()
{
    const CFocusReturn focus(this);
    CAboutBox about(this);
    about.exec();
}

// ---------------------------------------------------------------- window

QSize CMainFrame::PreferredSize() const
{
    // The workspace in the view's frame, the toolbar above it and the bar beside both.
    const QSize workspace = m_doc.Figure().GetWorkspaceSize();
    const int frame = 2 * m_view->frameWidth();
    QSize size(workspace.width() + frame, workspace.height() + frame + m_toolBar->sizeHint().height());
    size.rwidth() += m_bar->sizeHint().width();
    size = size.expandedTo(minimumSizeHint());
    if (const QScreen *s = screen()) {
        // Leave room for the window's own frame and title.
        const QSize room = s->availableGeometry().size() - QSize(16, 48);
        size = size.boundedTo(room);
    }
    return size;
}

void CMainFrame::closeEvent(QCloseEvent *event)
{
    if (!CDocumentCommands(m_doc).CanCloseFrame()) {
        event->ignore();
        return;
    }
    event->accept();
    // The help window goes with the main window.
    CHelpFrame::CloseHelp(m_pHelpFrame);
}

QString CMainFrame::DragCubeFormatFor(WId windowId)
{
    // The id is written as a signed 32-bit number, as window handles were.
    return QStringLiteral("application/x-tarvex-DragCube%1").arg(qint32(quint32(windowId)));
}

void CMainFrame::RegisterDragFormat()
{
    m_dragCubeFormat = DragCubeFormatFor(winId());
    m_view->SelectMove()->SetDragFormat(m_dragCubeFormat);
}

// ---------------------------------------------------------------- CDocumentUi

CDocumentUi::Answer CMainFrame::AskYesNoCancel(const QString &text, const QString &caption)
{
    const CFocusReturn focus(this);
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                    this);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

void CMainFrame::ShowMessage(const QString &text, const QString &caption, Icon icon)
{
    const CFocusReturn focus(this);
    QMessageBox box(icon == Icon::Stop ? QMessageBox::Critical : QMessageBox::Warning, caption, text, QMessageBox::Ok,
                    this);
    box.exec();
}

QString CMainFrame::AskSaveFileName()
{
    const CFocusReturn focus(this);
    if (m_saveDialog->exec() != QDialog::Accepted)
        return QString();
    const QStringList files = m_saveDialog->selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

bool CMainFrame::TransparentBackground() const
{
    return m_transparent->isChecked();
}

QStringList CMainFrame::SaveFilters()
{
    return CFigureWriter::Filters();
}

QString CMainFrame::SuffixOfFilter(const QString &filter)
{
    const int star = filter.indexOf(QLatin1String("(*."));
    const int close = filter.indexOf(QLatin1Char(')'), star);
    return star < 0 || close < 0 ? QString() : filter.mid(star + 3, close - star - 3);
}

QString CMainFrame::AskOpenFileName()
{
    const CFocusReturn focus(this);
    QFileDialog dialog(this);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(tr("XML files (*.xml)"));
    dialog.setDefaultSuffix(QStringLiteral("xml"));
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

std::optional<COptions> CMainFrame::AskOptions(const COptions &current)
{
    const CFocusReturn focus(this);
    CustomColorSet custom = current.CustomColors;
    const std::optional<COptions> chosen = COptionsDlg::Ask(current, custom, this);
    // Custom colours defined in the colour chooser are kept even when Options is cancelled.
    if (!chosen && custom != current.CustomColors)
        m_doc.SetCustomColors(custom);
    return chosen;
}

CDocumentUi::Answer CMainFrame::AskRestoreDiscard(const QString &text, const QString &caption)
{
    const CFocusReturn focus(this);
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::NoButton, this);
    QPushButton *restore = box.addButton(tr("Restore"), QMessageBox::AcceptRole);
    QPushButton *discard = box.addButton(tr("Discard"), QMessageBox::DestructiveRole);
    // Return restores; closing the box any other way (Escape, the title bar) keeps the
    // copy for later: a message box closes that way only through a button of its own.
    QPushButton *later = box.addButton(QMessageBox::Cancel);
    later->hide();
    box.setEscapeButton(later);
    box.setDefaultButton(restore);
    box.exec();
    if (box.clickedButton() == restore)
        return Answer::Yes;
    if (box.clickedButton() == discard)
        return Answer::No;
    return Answer::Cancel;
}

CDocumentUi::Answer CMainFrame::AskOverwriteChanged(const QString &text, const QString &caption)
{
    const CFocusReturn focus(this);
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::NoButton, this);
    QPushButton *overwrite = box.addButton(tr("&Overwrite"), QMessageBox::DestructiveRole);
    QPushButton *elsewhere = box.addButton(tr("Save &Elsewhere..."), QMessageBox::AcceptRole);
    QPushButton *cancel = box.addButton(QMessageBox::Cancel);
    // Return keeps the other program's file: the figure goes elsewhere.
    box.setDefaultButton(elsewhere);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == overwrite)
        return Answer::Yes;
    if (box.clickedButton() == elsewhere)
        return Answer::No;
    return Answer::Cancel;
}

void CMainFrame::SuggestSaveFileName(const QString &path)
{
    CFigureWriter::Format format = CFigureWriter::FormatOf(path);
    if (format == CFigureWriter::Format::Unknown)
        format = CFigureWriter::Format::Xml;
    const QString filter = CFigureWriter::FilterOf(format);
    m_saveDialog->selectNameFilter(filter);
    m_saveDialog->setDefaultSuffix(SuffixOfFilter(filter));
    m_saveDialog->setDirectory(QFileInfo(path).absolutePath());
    m_saveDialog->selectFile(QFileInfo(path).fileName());
}
