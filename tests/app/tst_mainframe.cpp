// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: layout, title, the toolbar's entries and accelerators, command
// states, the message boxes and file dialogs it answers the document with, closing,
// and the drag format name.

#include "app/clipboardreader.h"
#include "app/mainframe.h"
#include "app/recentmenu.h"
#include "document/tarvexdoc.h"
#include "files/figurefragment.h"
#include "support/shownwidget.h"
#include "ui/help/aboutbox.h"
#include "ui/help/examplelist.h"
#include "ui/help/helpframe.h"
#include "ui/help/htmlctrl.h"
#include "ui/options/optionsdlg.h"
#include "ui/selection/cubeselectionbar.h"
#include "ui/selection/cubeselectionpage.h"
#include "ui/selection/cubeslibrary.h"
#include "view/boxtool.h"
#include "view/placecubehandler.h"
#include "view/tarvexview.h"
#include "support/testdocument.h"
#include "support/workspaceorigin.h"
#include "view/zoombox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QMessageBox>
#include <QMimeData>
#include <QPrintPreviewDialog>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <functional>

namespace {

using Answer = CDocumentUi::Answer;

// Runs check on the next modal dialog that opens (once the event loop turns).
void OnNextModal(std::function<void(QWidget *)> check)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, check] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            check(modal);
            // A failed check leaves the dialog open: close it so the test ends.
            if (QApplication::activeModalWidget() == modal)
                modal->close();
        }
    });
    timer->start();
}

void Click(CMainFrame &frame, int column, int row)
{
    CTarvexView *view = frame.GetView();
    const CTarvexDoc &doc = frame.GetDocument();
    const int h = doc.Figure().CubeSize / 2;
    const QPoint p = doc.Figure().GetCellOrigin(column, row) + QPoint(h, h) + WorkspaceOrigin(*view);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, p);
}

// The window shown (at size, when given) and active, its document answering through
// the scripted interface.
bool ActiveWithUi(CMainFrame &frame, CTestDocument &doc, const QSize &size = QSize())
{
    doc.SetUi(&doc.ui);
    if (size.isValid())
        frame.resize(size);
    frame.show();
    return QTest::qWaitForWindowActive(&frame);
}

} // namespace

class TestMainFrame : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void layoutWithoutMenuOrStatusBar();
    void barAlongTheWholeLeftEdge();
    void pickedCubeIsPlaced_data();
    void pickedCubeIsPlaced();
    void barShowsTheDocumentColours();
    void previewHidesTheBar();
    void helpWindowIsOneAndClosesWithTheFrame();
    void aboutBoxIsModal();
    void optionsCommandRunsTheDialog();
    void titleStaysTarvex();
    void toolbarEntries_data();
    void toolbarEntries();
    void newControlsFollowTheSpecifiedButtons();
    void recentFigures();
    void keysPageListsEveryShortcut();
    void accelerators_data();
    void accelerators();
    void acceleratorsRunTheirCommands();
    void everyCommandHasAKeyOrAKeyboardPath();
    void toolbarFromTheKeyboard();
    void keysCloseTheirWindows_data();
    void keysCloseTheirWindows();
    void commandStatesFollowTheDocument();
    void messageBoxes_data();
    void messageBoxes();
    void saveDialogIsReused();
    void openDialogFilter();
    void closeAsksAboutUnsavedChanges_data();
    void closeAsksAboutUnsavedChanges();
    void dragFormatName_data();
    void dragFormatName();
    void opensShowingTheWholeWorkspace();
    void clipboardOfferWithinItsLimit_data();
    void clipboardOfferWithinItsLimit();
    void refusedPasteSaysWhy_data();
    void refusedPasteSaysWhy();
};

void TestMainFrame::initTestCase()
{
    QApplication::setApplicationName(QStringLiteral("Tarvex"));
    QApplication::setOrganizationName(QStringLiteral("Brellow"));
}

void TestMainFrame::layoutWithoutMenuOrStatusBar()
{
    CTestDocument doc;
    CMainFrame frame(doc);
    QVERIFY(Shown(frame));
    QCOMPARE(frame.menuWidget(), nullptr);
    QCOMPARE(frame.findChild<QMenuBar *>(), nullptr);
    QCOMPARE(frame.findChild<QStatusBar *>(), nullptr);
    // The toolbar spans the top of the area the view fills below it.
    const QRect tools = frame.ToolBar()->geometry();
    const QRect view = frame.GetView()->geometry();
    QCOMPARE(tools.left(), view.left());
    QCOMPARE(tools.right(), view.right());
    QCOMPARE(tools.bottom() + 1, view.top());
    QCOMPARE(view.bottom(), frame.centralWidget()->height() - 1);
    QCOMPARE(view.right(), frame.centralWidget()->width() - 1);
}

void TestMainFrame::barAlongTheWholeLeftEdge()
{
    CTestDocument doc;
    CMainFrame frame(doc);
    QVERIFY(Shown(frame));
    const QRect bar = frame.SelectionBar()->geometry();
    const QRect tools = frame.ToolBar()->geometry();
    QCOMPARE(bar.topLeft(), QPoint(0, 0));
    QCOMPARE(bar.height(), frame.centralWidget()->height());
    QCOMPARE(bar.width(), frame.SelectionPage()->width());
    QCOMPARE(tools.left(), bar.right() + 1);
    QCOMPARE(tools.top(), 0);
}

void TestMainFrame::pickedCubeIsPlaced_data()
{
    QTest::addColumn<int>("picked");
    QTest::addColumn<int>("placed");
    QTest::newRow("kind 17") << 17 << 17;
    QTest::newRow("kind 63") << 63 << 63;
    QTest::newRow("empty cube erases") << 64 << -1;
}

void TestMainFrame::pickedCubeIsPlaced()
{
    QFETCH(int, picked);
    QFETCH(int, placed);
    CTestDocument doc({{3, 3}}, 5);
    CMainFrame frame(doc);
    QVERIFY(Shown(frame));
    CCubesLibrary *library = frame.SelectionPage()->Library();
    QTest::mouseClick(library, Qt::LeftButton, {}, library->CellRect(picked).center());
    QCOMPARE(frame.GetCurrentCube(), picked);
    Click(frame, 3, 3);
    QCOMPARE(doc.Figure().Cell(3, 3), placed);
}

void TestMainFrame::barShowsTheDocumentColours()
{
    // Colours that differ from the pickers' own start colours.
    CTestDocument doc;
    EditFigure(doc, [&](CFigure &f) { f.Color1 = 0x00FFFF; });
    CMainFrame frame(doc);
    QVERIFY(Shown(frame));
    auto shows = [&frame](ColorRef colour) {
        const QImage picture = frame.SelectionPage()->Library()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRgb wanted = ColorFromRef(colour).rgb();
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (picture.pixel(x, y) == wanted)
                    return true;
        return false;
    };
    QVERIFY(shows(0x00FFFF));
    // Later changes come through the document's hand-over.
    EditFigure(doc, [&](CFigure &f) { f.Color1 = 0xFF00FF; });
    doc.UpdateBarColors();
    QVERIFY(shows(0xFF00FF));
    QVERIFY(!shows(0x00FFFF));
}

void TestMainFrame::previewHidesTheBar()
{
    CTestDocument doc({{2, 2}});
    CMainFrame frame(doc);
    QVERIFY(Shown(frame));
    bool hidden = false;
    OnNextModal([&](QWidget *modal) {
        QVERIFY(qobject_cast<QPrintPreviewDialog *>(modal));
        hidden = frame.SelectionBar()->isHidden();
        modal->close();
    });
    frame.Action(CMainFrame::ID_FILE_PRINT_PREVIEW)->trigger();
    QVERIFY(hidden);
    QVERIFY(frame.SelectionBar()->isVisible());
}

void TestMainFrame::helpWindowIsOneAndClosesWithTheFrame()
{
    CTestDocument doc;
    CMainFrame frame(doc);
    QVERIFY(Shown(frame));
    QVERIFY(!frame.HelpFrame());
    frame.Action(CMainFrame::ID_HELP)->trigger();
    QPointer<CHelpFrame> help = frame.HelpFrame();
    QVERIFY(help);
    QVERIFY(help->isVisible());
    frame.Action(CMainFrame::ID_HELP)->trigger();
    QCOMPARE(frame.HelpFrame(), help.data());
    const QWidgetList windows = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(windows.begin(), windows.end(),
                           [](QWidget *w) { return qobject_cast<CHelpFrame *>(w) != nullptr; }),
             1);
    QVERIFY(frame.close());
    QVERIFY(!frame.HelpFrame());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!help);
}

void TestMainFrame::aboutBoxIsModal()
{
    CTestDocument doc;
    CMainFrame frame(doc);
    frame.show();
    bool shown = false;
    OnNextModal([&](QWidget *modal) {
        shown = qobject_cast<CAboutBox *>(modal) != nullptr;
        modal->close();
    });
    frame.Action(CMainFrame::ID_APP_ABOUT)->trigger();
    QVERIFY(shown);
}

void TestMainFrame::optionsCommandRunsTheDialog()
{
    CTestDocument doc({{2, 2}});
    doc.ClearHistory();
    CMainFrame frame(doc);
    frame.show();
    bool shown = false;
    OnNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<COptionsDlg *>(modal);
        shown = dialog != nullptr;
        dialog->reject();
    });
    frame.Action(CMainFrame::ID_OPTIONS)->trigger();
    QVERIFY(shown);
    // Cancelled: nothing changed and no undo step is left behind.
    QCOMPARE(doc.Figure().CubeSize, 32);
    QVERIFY(!doc.CanUndo());
    QVERIFY(!frame.Action(CMainFrame::ID_EDIT_UNDO)->isEnabled());
}

void TestMainFrame::titleStaysTarvex()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    CTestDocument doc;
    CMainFrame frame(doc);
    doc.SetUi(&doc.ui);
    frame.show();
    QCOMPARE(frame.windowTitle(), QStringLiteral("Tarvex"));
    Click(frame, 2, 2);
    doc.ui.saveNames = {dir.filePath(QStringLiteral("figure.xml"))};
    frame.Action(CMainFrame::ID_SAVE_FIGURE)->trigger();
    QCOMPARE(frame.windowTitle(), QStringLiteral("Tarvex"));
    doc.ui.openNames = {dir.filePath(QStringLiteral("figure.xml"))};
    frame.Action(CMainFrame::ID_FILE_OPEN)->trigger();
    QCOMPARE(frame.windowTitle(), QStringLiteral("Tarvex"));
    frame.Action(CMainFrame::ID_FILE_NEW)->trigger();
    QCOMPARE(frame.windowTitle(), QStringLiteral("Tarvex"));
}

void TestMainFrame::toolbarEntries_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("id"); // 0: separator
    QTest::addColumn<QString>("tip");
    const QList<QPair<int, QString>> entries = {{32775, "Select and move"},
                                                {0, ""},
                                                {0, ""},
                                                {57600, "New figure"},
                                                {57601, "Open figure"},
                                                {32772, "Save figure"},
                                                {57609, "Preview and print"},
                                                {0, ""},
                                                {32774, "Options"},
                                                {0, ""},
                                                {57643, "Undo"},
                                                {57644, "Redo"},
                                                {0, ""},
                                                {57670, "Help"},
                                                {57664, "About"}};
    for (int i = 0; i < entries.size(); ++i)
        QTest::addRow("entry %d", i + 1) << i << entries[i].first << entries[i].second;
}

void TestMainFrame::toolbarEntries()
{
    QFETCH(int, position);
    QFETCH(int, id);
    QFETCH(QString, tip);
    CTestDocument doc;
    CMainFrame frame(doc);
    const QList<QAction *> actions = frame.ToolBar()->actions();
    QVERIFY(actions.size() > 15);
    QAction *action = actions[position];
    if (id == 0) {
        QVERIFY(action->isSeparator());
        return;
    }
    QCOMPARE(action, frame.Action(id));
    QCOMPARE(action->toolTip(), tip);
    QCOMPARE(frame.ToolBar()->iconSize(), QSize(25, 24));
    const QImage picture = action->icon().pixmap(QSize(25, 24)).toImage();
    QCOMPARE(picture.size(), QSize(25, 24));
    // Magenta is transparent: no magenta pixel is left, and some pixels show through.
    bool seeThrough = false;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = picture.pixel(x, y);
            QVERIFY(qAlpha(p) == 0 || (p & 0xFFFFFF) != 0xFF00FF);
            seeThrough = seeThrough || qAlpha(p) == 0;
        }
    QVERIFY(seeThrough);
    QCOMPARE(frame.ToolBar()->widgetForAction(action)->size(), QSize(33, 32));
}

void TestMainFrame::newControlsFollowTheSpecifiedButtons()
{
    // After the About button: a separator, the recent figures button dropping down its
    // menu at once, another separator and the zoom box; then the beam thickness, which
    // follows the keys; then a separator, Mirror (enabled only with cubes selected) and
    // the generators; the box tool, last.
    CTestDocument doc({{3, 4}});
    CMainFrame frame(doc);
    const QList<QAction *> actions = frame.ToolBar()->actions();
    QCOMPARE(actions.size(), 25);
    QVERIFY(actions[15]->isSeparator());
    QCOMPARE(frame.ToolBar()->widgetForAction(actions[16]), frame.RecentButton());
    QCOMPARE(frame.RecentButton()->popupMode(), QToolButton::InstantPopup);
    QCOMPARE(frame.RecentButton()->menu(), frame.RecentMenu());
    QVERIFY(!frame.RecentButton()->toolTip().isEmpty());
    QVERIFY(actions[17]->isSeparator());
    QCOMPARE(frame.ToolBar()->widgetForAction(actions[18]), frame.ZoomBox());
    QVERIFY(frame.ZoomBox()->toolTip().contains(QStringLiteral("Ctrl+0")));
    QVERIFY(actions[19]->isSeparator());
    QCOMPARE(frame.ToolBar()->widgetForAction(actions[20]), frame.BeamThicknessBox());
    QTest::keyClick(frame.GetView(), Qt::Key_3);
    QCOMPARE(frame.BeamThicknessBox()->value(), 3);
    frame.BeamThicknessBox()->setValue(2);
    QCOMPARE(frame.GetView()->PlaceCube()->BeamThickness(), 2);
    QVERIFY(actions[21]->isSeparator());
    QCOMPARE(actions[22]->objectName(), QStringLiteral("MirrorAction"));
    QCOMPARE(actions[23]->objectName(), QStringLiteral("GeneratorAction"));
    QVERIFY(!actions[22]->isEnabled());
    doc.ToggleSelectMode();
    doc.SelectAll();
    QVERIFY(actions[22]->isEnabled());
    actions[22]->trigger(); // one cube mirrored stays where it is, as one undo step
    QCOMPARE(doc.UndoCount(), 1);
    QCOMPARE(doc.Figure().Cell(3, 4), 0);
    // The box tool leaves select-and-move mode and is the drawing tool while checked;
    // the mode puts it away again.
    QAction *box = actions[24];
    QCOMPARE(box, frame.Action(CMainFrame::ID_BOX_TOOL));
    box->trigger();
    QVERIFY(!doc.IsSelectMode());
    QCOMPARE(frame.GetView()->ActiveTool(), frame.BoxTool());
    doc.ToggleSelectMode();
    QVERIFY(!box->isChecked());
    doc.ToggleSelectMode();
    QCOMPARE(frame.GetView()->ActiveTool(), frame.GetView()->PlaceCube());
}

void TestMainFrame::recentFigures()
{
    QTemporaryDir dir;
    CTestDocument doc;
    CMainFrame frame(doc);
    doc.SetUi(&doc.ui);
    CRecentFiles &recent = frame.RecentMenu()->Files();
    recent.Clear();
    const QString first = dir.filePath(QStringLiteral("first.xml"));
    const QString second = dir.filePath(QStringLiteral("second.xml"));

    // Saving as a figure file lists it; a picture is no figure file.
    Click(frame, 2, 2);
    doc.ui.saveNames = {first, second, dir.filePath(QStringLiteral("picture.png"))};
    for (int i = 0; i < 3; ++i)
        frame.Action(CMainFrame::ID_SAVE_FIGURE)->trigger();
    QCOMPARE(recent.Files(), (QStringList{second, first}));
    // Opening from the list puts the file first.
    QVERIFY(frame.OpenRecentFile(first));
    QCOMPARE(recent.Files(), (QStringList{first, second}));

    // The menu: the files newest first, then the examples with their pictures.
    frame.RecentMenu()->Rebuild();
    QStringList listed;
    for (QAction *action : frame.RecentMenu()->actions())
        if (!action->data().toString().isEmpty())
            listed << action->data().toString();
    QCOMPARE(listed, (QStringList{first, second}));
    const QList<QAction *> examples = frame.RecentMenu()->ExamplesMenu()->actions();
    QCOMPARE(examples.size(), CExampleList::All().size());
    for (QAction *action : examples)
        QVERIFY(!action->icon().isNull());

    // A file that has gone: a message, off the list, the figure on screen untouched.
    QVERIFY(QFile::remove(second));
    Click(frame, 4, 4);
    const bool saved = doc.IsSaved();
    QVERIFY(!frame.OpenRecentFile(second));
    QCOMPARE(doc.ui.messages.size(), 1);
    QVERIFY(doc.ui.messages.first().text.contains(QDir::toNativeSeparators(second)));
    QVERIFY(doc.ui.questions.isEmpty());
    QCOMPARE(doc.IsSaved(), saved);
    QCOMPARE(recent.Files(), QStringList{first});

    // An example asks about the unsaved figure first, like Open; it is no recent file.
    doc.ui.answers = {CDocumentUi::Answer::Cancel, CDocumentUi::Answer::No};
    examples.first()->trigger();
    QCOMPARE(doc.ui.questions.size(), 1);
    QVERIFY(!doc.IsSaved());
    examples.first()->trigger();
    QCOMPARE(doc.ui.questions.size(), 2);
    QVERIFY(doc.IsSaved());
    QVERIFY(!doc.Figure().IsEmpty());
    // The example's resource path is never its file name; Save offers a real folder.
    QVERIFY(doc.PathName().isEmpty());
    QVERIFY(!doc.SaveName().startsWith(QLatin1Char(':')));
    QVERIFY(doc.SaveName().endsWith(QLatin1String(".xml")));
    QCOMPARE(recent.Files(), QStringList{first});
}

void TestMainFrame::keysPageListsEveryShortcut()
{
    CTestDocument doc;
    CMainFrame frame(doc);
    QFile page(QStringLiteral(":/help/keys.htm"));
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(page.readAll());
    // The window's own commands (the save dialog's keys are Qt's).
    for (QAction *action : frame.ToolBar()->actions() + frame.actions())
        for (const QKeySequence &key : action->shortcuts())
            QVERIFY2(text.contains(QStringLiteral("<td>") + key.toString())
                         || text.contains(QStringLiteral(", ") + key.toString()),
                     qPrintable(key.toString()));
}

void TestMainFrame::accelerators_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QList<QKeySequence>>("keys");
    QTest::newRow("select all") << 32778 << QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_A)};
    QTest::newRow("new") << 57600 << QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_N)};
    QTest::newRow("open") << 57601 << QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_O)};
    QTest::newRow("preview") << 57609 << QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_P)};
    QTest::newRow("save") << 32772 << QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_S)};
    QTest::newRow("undo") << 57643
                          << QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Z),
                                                 QKeySequence(Qt::ALT | Qt::Key_Backspace)};
    QTest::newRow("help") << 57670 << QList<QKeySequence>{QKeySequence(Qt::Key_F1)};
    QTest::newRow("select and move") << 32775 << QList<QKeySequence>{QKeySequence(Qt::Key_S)};
    QTest::newRow("options") << 32774 << QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Comma)};
    QTest::newRow("redo") << 57644
                          << QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y),
                                                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};
    QTest::newRow("about") << 57664 << QList<QKeySequence>{QKeySequence(Qt::SHIFT | Qt::Key_F1)};
    QTest::newRow("quit") << 57665 << QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Q)};
    QTest::newRow("toolbar") << 59392 << QList<QKeySequence>{QKeySequence(Qt::Key_F10)};
    QTest::newRow("copy") << 57634 << QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_C)};
    QTest::newRow("cut") << 57635 << QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_X)};
    QTest::newRow("paste") << 57637 << QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_V)};
    QTest::newRow("box tool") << 33004 << QList<QKeySequence>{QKeySequence(Qt::Key_B)};
}

void TestMainFrame::accelerators()
{
    QFETCH(int, id);
    QFETCH(QList<QKeySequence>, keys);
    CTestDocument doc;
    CMainFrame frame(doc);
    QVERIFY(frame.Action(id));
    QCOMPARE(frame.Action(id)->shortcuts(), keys);
}

void TestMainFrame::acceleratorsRunTheirCommands()
{
    CTestDocument doc;
    CMainFrame frame(doc);
    QVERIFY(ActiveWithUi(frame, doc));
    Click(frame, 1, 1);
    Click(frame, 3, 3);
    QCOMPARE(doc.UndoCount(), 2);
    QTest::keySequence(&frame, QKeySequence(Qt::CTRL | Qt::Key_Z));
    QCOMPARE(doc.Figure().Cell(3, 3), -1);
    QTest::keySequence(&frame, QKeySequence(Qt::ALT | Qt::Key_Backspace));
    QVERIFY(doc.Figure().IsEmpty());
    // Ctrl+S asks for a file name, Ctrl+O (after the question) for a file to open.
    doc.OnEditRedo();
    QTest::keySequence(&frame, QKeySequence(Qt::CTRL | Qt::Key_S));
    QCOMPARE(doc.ui.saveDialogs, 1);
    doc.ui.answers = {Answer::No};
    QTest::keySequence(&frame, QKeySequence(Qt::CTRL | Qt::Key_O));
    QCOMPARE(doc.ui.openDialogs, 1);
    // Ctrl+A selects every cube, in select-and-move mode.
    Click(frame, 4, 4);
    frame.Action(CMainFrame::ID_SELECT_MOVE)->trigger();
    QTest::keySequence(&frame, QKeySequence(Qt::CTRL | Qt::Key_A));
    QCOMPARE(doc.Selection()->Count(), 2);
    // Ctrl+N starts a new figure (after the question).
    doc.ui.answers = {Answer::No};
    QTest::keySequence(&frame, QKeySequence(Qt::CTRL | Qt::Key_N));
    QVERIFY(doc.Figure().IsEmpty());
    QVERIFY(!doc.IsSelectMode());
}

void TestMainFrame::everyCommandHasAKeyOrAKeyboardPath()
{
    CTestDocument doc({QPoint(2, 2)});
    CMainFrame frame(doc);
    frame.resize(1600, 700); // every control on the toolbar itself
    frame.show();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    // Every command of the table has a key...
    for (int id : frame.CommandIds())
        QVERIFY2(!frame.Action(id)->shortcuts().isEmpty(), qPrintable(QString::number(id)));
    // ...and every other toolbar control is a stop of F10's walk; the zoom box is also
    // in the tab chain.
    frame.FocusToolBar();
    QList<QWidget *> reached;
    for (int i = 0; i < 20 && !reached.contains(QApplication::focusWidget()); ++i) {
        reached.append(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    }
    for (QAction *action : frame.ToolBar()->actions())
        if (QWidget *widget = frame.ToolBar()->widgetForAction(action);
            widget && widget->isEnabled() && !action->isSeparator())
            QVERIFY2(reached.contains(widget), qPrintable(action->toolTip() + widget->objectName()));
    QVERIFY(frame.ZoomBox()->focusPolicy() & Qt::TabFocus);
    QCOMPARE(frame.ZoomBox()->accessibleName(), QStringLiteral("Zoom"));
}

void TestMainFrame::toolbarFromTheKeyboard()
{
    CTestDocument doc;
    CMainFrame frame(doc);
    QVERIFY(ActiveWithUi(frame, doc, QSize(1600, 700))); // every control on the toolbar itself
    Click(frame, 2, 2);
    QTest::keyClick(&frame, Qt::Key_F10);
    QWidget *first = frame.ToolBar()->widgetForAction(frame.Action(CMainFrame::ID_SELECT_MOVE));
    QCOMPARE(QApplication::focusWidget(), first);
    // Enter presses the button: the mode switches, as S does.
    QTest::keyClick(first, Qt::Key_Return);
    QVERIFY(doc.IsSelectMode());
    QTest::keyClick(first, Qt::Key_Space);
    QVERIFY(!doc.IsSelectMode());
    QTest::keyClick(frame.GetView(), Qt::Key_S);
    QVERIFY(doc.IsSelectMode());
    // Left from the first goes round to the last control; Escape gives the view the keyboard.
    QTest::keyClick(first, Qt::Key_Left);
    QCOMPARE(QApplication::focusWidget(), frame.ToolBar()->widgetForAction(frame.ToolBar()->actions().last()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(QApplication::focusWidget(), frame.GetView());
    // Ctrl+Q closes the window after the question about unsaved changes.
    doc.ui.answers = {Answer::Cancel};
    QTest::keySequence(&frame, QKeySequence(Qt::CTRL | Qt::Key_Q));
    QVERIFY(frame.isVisible());
    doc.ui.answers = {Answer::No};
    QTest::keySequence(&frame, QKeySequence(Qt::CTRL | Qt::Key_Q));
    QVERIFY(!frame.isVisible());
}

void TestMainFrame::keysCloseTheirWindows_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("answer"); // of the recovery question
    QTest::newRow("about, Return") << "about" << int(Qt::Key_Return) << 0;
    QTest::newRow("about, Enter") << "about" << int(Qt::Key_Enter) << 0;
    QTest::newRow("help, Escape") << "help" << int(Qt::Key_Escape) << 0;
    QTest::newRow("recovery, Escape keeps the copy") << "recovery" << int(Qt::Key_Escape) << int(Answer::Cancel);
    QTest::newRow("recovery, Return restores") << "recovery" << int(Qt::Key_Return) << int(Answer::Yes);
}

void TestMainFrame::keysCloseTheirWindows()
{
    QFETCH(QString, window);
    QFETCH(int, key);
    QFETCH(int, answer);
    CTestDocument doc;
    CMainFrame frame(doc);
    frame.show();
    if (window == QLatin1String("help")) {
        frame.Action(CMainFrame::ID_HELP)->trigger();
        QVERIFY(QTest::qWaitForWindowActive(frame.HelpFrame()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QTRY_VERIFY(!frame.HelpFrame());
        return;
    }
    bool closed = false;
    OnNextModal([&](QWidget *modal) {
        if (window == QLatin1String("about")) {
            // OK has the keyboard, outlined, from the start.
            auto *about = qobject_cast<CAboutBox *>(modal);
            QVERIFY(about);
            QVERIFY(about->HtmlCtrl()->textCursor().hasSelection());
        }
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : modal, Qt::Key(key));
        closed = !modal->isVisible();
    });
    if (window == QLatin1String("about")) {
        frame.Action(CMainFrame::ID_APP_ABOUT)->trigger();
    } else {
        QCOMPARE(int(frame.AskRestoreDiscard(QStringLiteral("Restore?"), QStringLiteral("Tarvex"))), answer);
    }
    QVERIFY(closed);
}

void TestMainFrame::commandStatesFollowTheDocument()
{
    CTestDocument doc;
    CMainFrame frame(doc);
    doc.SetUi(&doc.ui);
    QVERIFY(Shown(frame));
    QAction *selectMove = frame.Action(CMainFrame::ID_SELECT_MOVE);
    QAction *undo = frame.Action(CMainFrame::ID_EDIT_UNDO);
    QAction *redo = frame.Action(CMainFrame::ID_EDIT_REDO);
    QVERIFY(selectMove->isCheckable());
    QVERIFY(!selectMove->isEnabled());
    QVERIFY(!undo->isEnabled());
    QVERIFY(!redo->isEnabled());

    Click(frame, 2, 2);
    QVERIFY(selectMove->isEnabled());
    QVERIFY(undo->isEnabled());
    QVERIFY(!redo->isEnabled());

    undo->trigger();
    QVERIFY(!undo->isEnabled());
    QVERIFY(redo->isEnabled());
    QVERIFY(!selectMove->isEnabled());

    redo->trigger();
    selectMove->trigger();
    QVERIFY(selectMove->isChecked());
    QVERIFY(doc.IsSelectMode());
    selectMove->trigger();
    QVERIFY(!selectMove->isChecked());
    QVERIFY(!doc.IsSelectMode());
}

void TestMainFrame::messageBoxes_data()
{
    QTest::addColumn<bool>("question");
    QTest::addColumn<int>("icon"); // CDocumentUi::Icon of a message
    QTest::addColumn<int>("boxIcon");
    QTest::addColumn<int>("button"); // clicked
    QTest::addColumn<int>("answer"); // of a question
    const int warning = int(QMessageBox::Warning);
    QTest::newRow("question, yes") << true << 0 << warning << int(QMessageBox::Yes) << int(Answer::Yes);
    QTest::newRow("question, no") << true << 0 << warning << int(QMessageBox::No) << int(Answer::No);
    QTest::newRow("question, cancel") << true << 0 << warning << int(QMessageBox::Cancel) << int(Answer::Cancel);
    QTest::newRow("message, stop") << false << int(CDocumentUi::Icon::Stop) << int(QMessageBox::Critical)
                                   << int(QMessageBox::Ok) << 0;
    QTest::newRow("message, exclamation")
        << false << int(CDocumentUi::Icon::Exclamation) << warning << int(QMessageBox::Ok) << 0;
}

void TestMainFrame::messageBoxes()
{
    QFETCH(bool, question);
    QFETCH(int, icon);
    QFETCH(int, boxIcon);
    QFETCH(int, button);
    QFETCH(int, answer);
    const QString text = question ? QStringLiteral("Your figure not saved. Do you want to save it?")
                                  : QStringLiteral("Error loading XML file");
    const QString caption = question ? QStringLiteral("Warning") : QStringLiteral("Tarvex");
    CTestDocument doc;
    CMainFrame frame(doc);
    frame.show();
    bool checked = false;
    OnNextModal([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        QCOMPARE(box->text(), text);
        QCOMPARE(box->windowTitle(), caption);
        QCOMPARE(int(box->icon()), boxIcon);
        QCOMPARE(box->standardButtons(), question ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel
                                                  : QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(box->parentWidget(), &frame);
        checked = true;
        box->button(QMessageBox::StandardButton(button))->click();
    });
    if (question)
        QCOMPARE(int(frame.AskYesNoCancel(text, caption)), answer);
    else
        frame.ShowMessage(text, caption, CDocumentUi::Icon(icon));
    QVERIFY(checked);
}

void TestMainFrame::saveDialogIsReused()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    CTestDocument doc;
    CMainFrame frame(doc);
    frame.show();
    QFileDialog *dialog = frame.SaveDialog();
    QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
    QCOMPARE(dialog->nameFilters(),
             QStringList({QStringLiteral("Tarvex figure (*.xml)"), QStringLiteral("PNG picture (*.png)"),
                          QStringLiteral("SVG drawing (*.svg)"), QStringLiteral("PDF document (*.pdf)"),
                          QStringLiteral("Windows bitmap (*.bmp)")}));
    // A new dialog starts at the figure file, the one type that saves the figure.
    QCOMPARE(dialog->selectedNameFilter(), QStringLiteral("Tarvex figure (*.xml)"));
    QCOMPARE(dialog->defaultSuffix(), QStringLiteral("xml"));
    auto *transparent = dialog->findChild<QCheckBox *>(QStringLiteral("transparentBackground"));
    QVERIFY(transparent);
    QVERIFY(!frame.TransparentBackground());
    QVERIFY(!dialog->testOption(QFileDialog::DontConfirmOverwrite));
    QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));

    // Each type adds its extension to a name typed without one; a typed extension stays.
    const QList<QPair<QString, QString>> saves = {
        {QStringLiteral("PNG picture (*.png)"), QStringLiteral("first.png")},
        {QStringLiteral("SVG drawing (*.svg)"), QStringLiteral("first.svg")},
        {QStringLiteral("PDF document (*.pdf)"), QStringLiteral("first.pdf")},
        {QStringLiteral("Windows bitmap (*.bmp)"), QStringLiteral("first.bmp")},
        {QStringLiteral("PNG picture (*.png)"), QStringLiteral("typed.v2")},
        {QStringLiteral("Tarvex figure (*.xml)"), QStringLiteral("first.xml")},
    };
    for (const auto &save : saves) {
        OnNextModal([&](QWidget *modal) {
            QCOMPARE(modal, dialog);
            dialog->setDirectory(dir.path());
            dialog->selectNameFilter(save.first);
            Q_EMIT dialog->filterSelected(save.first);
            // The name is typed, as a user would.
            auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            name->clear();
            QTest::keyClicks(name,
                             save.second.startsWith(QLatin1String("typed")) ? save.second : QStringLiteral("first"));
            transparent->setChecked(save.first.startsWith(QLatin1String("PNG")));
            static_cast<QDialog *>(dialog)->accept();
        });
        QCOMPARE(frame.AskSaveFileName(), QDir(dir.path()).filePath(save.second));
        QCOMPARE(frame.TransparentBackground(), save.first.startsWith(QLatin1String("PNG")));
    }

    // The next save starts where the last ended; cancelling gives no name.
    OnNextModal([&](QWidget *modal) {
        QCOMPARE(modal, dialog);
        QCOMPARE(QDir(dialog->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
        QCOMPARE(dialog->selectedNameFilter(), QStringLiteral("Tarvex figure (*.xml)"));
        dialog->reject();
    });
    QCOMPARE(frame.AskSaveFileName(), QString());

    // A figure with a file of its own: the dialog at that file, as a figure file.
    dialog->selectNameFilter(QStringLiteral("Windows bitmap (*.bmp)"));
    frame.SuggestSaveFileName(QDir(dir.path()).filePath(QStringLiteral("own.xml")));
    QCOMPARE(dialog->selectedNameFilter(), QStringLiteral("Tarvex figure (*.xml)"));
    QCOMPARE(dialog->defaultSuffix(), QStringLiteral("xml"));
    QCOMPARE(QFileInfo(dialog->selectedFiles().value(0)).fileName(), QStringLiteral("own.xml"));
}

void TestMainFrame::openDialogFilter()
{
    CTestDocument doc;
    CMainFrame frame(doc);
    frame.show();
    bool checked = false;
    OnNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        QVERIFY(dialog);
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
        QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
        QCOMPARE(dialog->nameFilters(), QStringList{QStringLiteral("XML files (*.xml)")});
        checked = true;
        dialog->reject();
    });
    QCOMPARE(frame.AskOpenFileName(), QString());
    QVERIFY(checked);
}

void TestMainFrame::closeAsksAboutUnsavedChanges_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("closes");
    QTest::newRow("cancel keeps the window") << int(QMessageBox::Cancel) << false;
    QTest::newRow("no closes it") << int(QMessageBox::No) << true;
}

void TestMainFrame::closeAsksAboutUnsavedChanges()
{
    QFETCH(int, button);
    QFETCH(bool, closes);
    CTestDocument doc;
    CMainFrame frame(doc);
    QVERIFY(Shown(frame));
    Click(frame, 2, 2);
    OnNextModal([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        box->button(QMessageBox::StandardButton(button))->click();
    });
    QCOMPARE(frame.close(), closes);
    QCOMPARE(frame.isVisible(), !closes);
    QCOMPARE(doc.Figure().Cell(2, 2), 0);
}

void TestMainFrame::dragFormatName_data()
{
    QTest::addColumn<quint64>("id");
    QTest::addColumn<QString>("name");
    QTest::newRow("small") << quint64(4194311) << "application/x-tarvex-DragCube4194311";
    QTest::newRow("high bit: negative") << quint64(0x80000001u) << "application/x-tarvex-DragCube-2147483647";
}

void TestMainFrame::dragFormatName()
{
    QFETCH(quint64, id);
    QFETCH(QString, name);
    QCOMPARE(CMainFrame::DragCubeFormatFor(WId(id)), name);

    // Two windows register different formats.
    CTestDocument doc;
    CMainFrame first(doc);
    CMainFrame second(doc);
    QVERIFY(first.DragCubeFormat().isEmpty());
    first.RegisterDragFormat();
    second.RegisterDragFormat();
    QVERIFY(first.DragCubeFormat().startsWith(QStringLiteral("application/x-tarvex-DragCube")));
    QVERIFY(first.DragCubeFormat() != second.DragCubeFormat());
}

void TestMainFrame::opensShowingTheWholeWorkspace()
{
    CTestDocument doc(12, 20);
    CMainFrame frame(doc);
    frame.resize(frame.PreferredSize());
    QVERIFY(Shown(frame));
    CTarvexView *view = frame.GetView();
    QCOMPARE(view->horizontalScrollBar()->maximum(), 0);
    QCOMPARE(view->verticalScrollBar()->maximum(), 0);
    QCOMPARE(view->viewport()->size(), doc.Figure().GetWorkspaceSize());
    // A workspace larger than the screen gets a window that still fits on it.
    doc.ResizeGrid(100, 100);
    const QSize big = frame.PreferredSize();
    QVERIFY(big.width() <= frame.screen()->availableGeometry().width());
    QVERIFY(big.height() <= frame.screen()->availableGeometry().height());
}

void TestMainFrame::clipboardOfferWithinItsLimit_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("result");
    const QString ours = QStringLiteral("application/x-tarvex-fragment");
    QTest::newRow("at the limit") << ours << 100 << int(CClipboardReader::Result::Read);
    QTest::newRow("a byte over") << ours << 101 << int(CClipboardReader::Result::TooLarge);
    QTest::newRow("another type") << QStringLiteral("text/plain") << 10 << int(CClipboardReader::Result::Missing);
}

void TestMainFrame::clipboardOfferWithinItsLimit()
{
    QFETCH(QString, type);
    QFETCH(int, size);
    QFETCH(int, result);
    auto *offer = new QMimeData;
    offer->setData(type, QByteArray(size, '['));
    QGuiApplication::clipboard()->setMimeData(offer);
    QByteArray out("left over");
    QCOMPARE(int(CClipboardReader::Read(QStringLiteral("application/x-tarvex-fragment"), 100, out)), result);
    QCOMPARE(out.size(), result == int(CClipboardReader::Result::Read) ? size : 0);
}

void TestMainFrame::refusedPasteSaysWhy_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("message");
    const QString ours = QString::fromLatin1(CFigureFragment::MimeType);
    QTest::newRow("unreadable") << ours << 40 << "cannot be read";
    QTest::newRow("larger than any figure") << ours << int(CFigureFragment::MaxBytes) + 1 << "more cubes";
    QTest::newRow("nothing of ours") << QStringLiteral("text/plain") << 10 << QString();
}

void TestMainFrame::refusedPasteSaysWhy()
{
    QFETCH(QString, type);
    QFETCH(int, size);
    QFETCH(QString, message);
    CTestDocument doc;
    CMainFrame frame(doc);
    QVERIFY(ActiveWithUi(frame, doc));
    Click(frame, 2, 2);
    const CFigure before = doc.Figure();
    auto *offer = new QMimeData;
    offer->setData(type, QByteArray(size, '['));
    QGuiApplication::clipboard()->setMimeData(offer);
    QTest::keySequence(&frame, QKeySequence(Qt::CTRL | Qt::Key_V));
    QCOMPARE(doc.ui.messages.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QVERIFY2(doc.ui.messages.first().text.contains(message), qPrintable(doc.ui.messages.first().text));
    QVERIFY(doc.Figure() == before);
    QCOMPARE(doc.UndoCount(), 1);
}

QTEST_MAIN(TestMainFrame)
#include "tst_mainframe.moc"
