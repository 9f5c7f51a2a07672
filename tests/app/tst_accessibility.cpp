// SPDX-License-Identifier: GPL-3.0-or-later
// What assistive technology and keyboard users meet: every control of the main window
// named, each library cell saying what its kind cuts, and both pickers working from
// the keyboard.

#include "app/mainframe.h"
#include "document/tarvexdoc.h"
#include "support/shownwidget.h"
#include "support/testdocument.h"
#include "ui/selection/cubeconstructor.h"
#include "ui/selection/cubeselectionpage.h"
#include "ui/selection/cubeslibrary.h"
#include "ui/help/aboutbox.h"
#include "ui/help/helpframe.h"
#include "ui/options/optionsdlg.h"
#include "view/tarvexview.h"
#include "view/tarvexviewaccessible.h"

#include "support/pickertesting.h"

#include <QAccessible>
#include <QAbstractButton>
#include <QToolBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QtTest>

namespace {

// Roles that stand for something a user works with (containers and decoration are
// left out: they need no name of their own).
bool IsControl(const QAccessibleInterface *iface)
{
    switch (iface->role()) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::List:
    case QAccessible::ListItem:
    case QAccessible::PageTab:
    case QAccessible::PageTabList:
    case QAccessible::ToolBar:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::ComboBox:
        return true;
    default:
        return iface->state().focusable;
    }
}

void Walk(QAccessibleInterface *iface, const QString &path, QStringList &unnamed, int &controls)
{
    if (!iface || !iface->isValid() || iface->state().invisible)
        return;
    const QString here = path + QLatin1Char('/') + QString::number(int(iface->role()), 16);
    if (IsControl(iface)) {
        ++controls;
        if (iface->text(QAccessible::Name).trimmed().isEmpty() || iface->role() == QAccessible::NoRole)
            unnamed << here + QLatin1Char(' ')
                           + QString::fromLatin1(iface->object() ? iface->object()->metaObject()->className() : "item");
    }
    for (int i = 0; i < iface->childCount(); ++i)
        Walk(iface->child(i), here, unnamed, controls);
}

// Walks a window with each page of its tab widgets shown in turn.
QStringList UnnamedControls(QWidget *window, int &controls)
{
    QStringList unnamed;
    const QList<QTabWidget *> tabs = window->findChildren<QTabWidget *>();
    QTabWidget *pages = tabs.isEmpty() ? nullptr : tabs.first();
    for (int page = 0; page < (pages ? pages->count() : 1); ++page) {
        if (pages)
            pages->setCurrentIndex(page);
        Walk(QAccessible::queryAccessibleInterface(window), QString(), unnamed, controls);
    }
    return unnamed;
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyControlIsNamed();
    void everyDialogControlIsNamed_data();
    void everyDialogControlIsNamed();
    void workspaceSaysWhatIsUnderTheCursor_data();
    void workspaceSaysWhatIsUnderTheCursor();
    void toggleActionEntersTheMode();
    void constructorPartsSayTheirState();
    void libraryCellsSayWhatIsCut_data();
    void libraryCellsSayWhatIsCut();
    void pickersWorkFromTheKeyboard();
};

void TestAccessibility::everyControlIsNamed()
{
    CTestDocument doc;
    CMainFrame frame(doc);
    QVERIFY(Shown(frame));
    QStringList unnamed;
    int controls = 0;
    Walk(QAccessible::queryAccessibleInterface(&frame), QString(), unnamed, controls);
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QLatin1Char('\n'))));
    // Ten toolbar buttons, two tabs, the library and its 65 cells, the workspace.
    QVERIFY2(controls >= 10 + 2 + 1 + 65 + 1, qPrintable(QString::number(controls)));
}

void TestAccessibility::libraryCellsSayWhatIsCut_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");
    QTest::newRow("whole") << 0 << "Cube 0: whole cube, no corner cut";
    QTest::newRow("top and lower right") << 5 << "Cube 5, cut corners: top, lower right";
    QTest::newRow("all") << 63 << "Cube 63, cut corners: top, upper right, lower right, bottom, lower left, upper left";
    QTest::newRow("empty") << 64 << "Empty cube: erases";
}

void TestAccessibility::libraryCellsSayWhatIsCut()
{
    QFETCH(int, kind);
    QFETCH(QString, name);
    CCubesLibrary library;
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(&library);
    QVERIFY(list);
    QCOMPARE(list->role(), QAccessible::List);
    QCOMPARE(list->childCount(), CCubesLibrary::CellCount);
    QAccessibleInterface *cell = list->child(kind);
    QCOMPARE(cell->role(), QAccessible::ListItem);
    QCOMPARE(cell->text(QAccessible::Name), name);
    QCOMPARE(list->indexOfChild(cell), kind);
    QCOMPARE(cell->parent(), list);
}

void TestAccessibility::pickersWorkFromTheKeyboard()
{
    CTestDocument doc;
    CMainFrame frame(doc);
    QVERIFY(Shown(frame));
    CCubeSelectionPage *page = frame.SelectionPage();
    CCubesLibrary *library = page->Library();
    // Tab reaches the library; arrows move the outline, Space picks.
    library->setFocus(Qt::TabFocusReason);
    QVERIFY(library->hasFocus());
    QTest::keyClick(library, Qt::Key_Down);
    QTest::keyClick(library, Qt::Key_Right);
    QTest::keyClick(library, Qt::Key_Right);
    QCOMPARE(library->GetFocusIndex(), 7);
    // The keyboard's cell is outlined in the highlight colour, no other cell is.
    const QRgb highlight = library->palette().color(QPalette::Active, QPalette::Highlight).rgb();
    const QImage shown = library->grab().toImage();
    QVERIFY(CountPixels(shown, highlight, library->CellRect(7)) > 20);
    QCOMPARE(CountPixels(shown, highlight, library->CellRect(0)), 0);
    QCOMPARE(frame.GetCurrentCube(), 0);
    QTest::keyClick(library, Qt::Key_Space);
    QCOMPARE(frame.GetCurrentCube(), 7);
    QTest::keyClick(library, Qt::Key_End);
    QTest::keyClick(library, Qt::Key_Return);
    QCOMPARE(frame.GetCurrentCube(), int(EmptyCubeIndex));

    // The constructor: the outline walks the parts; Enter on the centre gives back the
    // whole cube, then on the lower right corner cuts it.
    page->Tabs()->setCurrentIndex(1);
    CCubeConstructor *constructor = page->Constructor();
    constructor->setFocus(Qt::TabFocusReason);
    QCOMPARE(constructor->GetFocusPart(), int(Top));
    QTest::keyClick(constructor, Qt::Key_Left);
    QCOMPARE(constructor->GetFocusPart(), int(Centre));
    QVERIFY(CountPixels(constructor->grab().toImage(), highlight) > 20);
    QTest::keyClick(constructor, Qt::Key_Enter);
    QCOMPARE(frame.GetCurrentCube(), 0);
    QTest::keyClick(constructor, Qt::Key_Right);
    QTest::keyClick(constructor, Qt::Key_Right);
    QTest::keyClick(constructor, Qt::Key_Right);
    QTest::keyClick(constructor, Qt::Key_Space);
    QCOMPARE(frame.GetCurrentCube(), 4);
    QCOMPARE(library->GetSelectedIndex(), 4);
}

void TestAccessibility::everyDialogControlIsNamed_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("least"); // controls at least
    QTest::newRow("options") << "options" << 3 + 6 + 4;
    QTest::newRow("about") << "about" << 1;
    QTest::newRow("help") << "help" << 3;
}

void TestAccessibility::everyDialogControlIsNamed()
{
    QFETCH(QString, window);
    QFETCH(int, least);
    std::unique_ptr<QWidget> shown;
    CHelpFrame *help = nullptr;
    if (window == QLatin1String("options"))
        shown = std::make_unique<COptionsDlg>();
    else if (window == QLatin1String("about"))
        shown = std::make_unique<CAboutBox>();
    else
        shown.reset(CHelpFrame::ShowHelp(help));
    QVERIFY(shown && Shown(*shown));
    int controls = 0;
    const QStringList unnamed = UnnamedControls(shown.get(), controls);
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QLatin1Char('\n'))));
    QVERIFY2(controls >= least, qPrintable(QString::number(controls)));
    if (window == QLatin1String("options")) {
        // The fields take their labels' names; colour buttons say what they paint.
        QStringList names;
        for (QWidget *child : shown->findChildren<QWidget *>())
            names << child->accessibleName();
        for (const char *name : {"Width", "Height", "Cube size", "Width: up", "Cube size: down"})
            QVERIFY2(names.contains(QLatin1String(name)), name);
        QVERIFY2(names.filter(QStringLiteral("Right faces: red ")).size() == 1,
                 qPrintable(names.join(QLatin1Char('|'))));
    }
}

void TestAccessibility::workspaceSaysWhatIsUnderTheCursor_data()
{
    // Keys on the workspace (kind 5 picked), then the cursor's item and the summary.
    QTest::addColumn<QList<QKeySequence>>("keys");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("summary");
    const QString empty = QStringLiteral("Figure of 20 × 15 cells, cubes: 0");
    QTest::newRow("start") << QList<QKeySequence>{} << "column 1, row 1: empty" << empty;
    QTest::newRow("moved") << QList<QKeySequence>{Qt::Key_Right, Qt::Key_Right, Qt::Key_Down}
                           << "column 3, row 3: empty" << empty;
    QTest::newRow("placed") << QList<QKeySequence>{Qt::Key_Right, Qt::Key_Space}
                            << "column 2, row 1: cube 5, cut corners: top, lower right"
                            << "Figure of 20 × 15 cells, cubes: 1";
    QTest::newRow("erased") << QList<QKeySequence>{Qt::Key_Space, Qt::Key_Delete} << "column 1, row 1: empty" << empty;
    QTest::newRow("undone") << QList<QKeySequence>{Qt::Key_Space, Qt::Key_Delete, QKeySequence(Qt::CTRL | Qt::Key_Z)}
                            << "column 1, row 1: cube 5, cut corners: top, lower right"
                            << "Figure of 20 × 15 cells, cubes: 1";
    QTest::newRow("selected") << QList<QKeySequence>{Qt::Key_Space, Qt::Key_S, Qt::Key_Space}
                              << "column 1, row 1: cube 5, cut corners: top, lower right, selected"
                              << "Figure of 20 × 15 cells, cubes: 1; select-and-move mode, selected: 1";
}

void TestAccessibility::workspaceSaysWhatIsUnderTheCursor()
{
    QFETCH(QList<QKeySequence>, keys);
    QFETCH(QString, current);
    QFETCH(QString, summary);
    CTestDocument doc(20, 15);
    CMainFrame frame(doc);
    frame.show();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    CCubesLibrary *library = frame.SelectionPage()->Library();
    library->setFocus(Qt::TabFocusReason);
    QTest::keyClick(library, Qt::Key_Down);
    QTest::keyClick(library, Qt::Key_Space);
    QCOMPARE(frame.GetCurrentCube(), 5);
    CTarvexView *view = frame.GetView();
    view->setFocus(Qt::TabFocusReason);
    for (const QKeySequence &key : keys)
        QTest::keySequence(view, key);
    QAccessibleInterface *workspace = QAccessible::queryAccessibleInterface(view);
    QCOMPARE(workspace->role(), QAccessible::List);
    QCOMPARE(workspace->text(QAccessible::Name), QStringLiteral("Workspace"));
    QCOMPARE(workspace->text(QAccessible::Description), summary);
    QAccessibleInterface *item = workspace->focusChild();
    QVERIFY(item);
    QCOMPARE(item->role(), QAccessible::ListItem);
    QCOMPARE(item->text(QAccessible::Name), current);
    QVERIFY(item->state().focused);
    QCOMPARE(workspace->child(workspace->indexOfChild(item)), item);
    // The text: the summary, the cursor's cell, then every cube.
    QAccessibleTextInterface *text = workspace->textInterface();
    QVERIFY(text);
    QVERIFY(text->text(0, -1).startsWith(summary + QLatin1Char('\n') + current));
}

void TestAccessibility::toggleActionEntersTheMode()
{
    CTestDocument doc({QPoint(2, 2)});
    CMainFrame frame(doc);
    QVERIFY(Shown(frame));
    QWidget *button = frame.ToolBar()->widgetForAction(frame.Action(CMainFrame::ID_SELECT_MOVE));
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(button);
    QAccessibleActionInterface *actions = iface->actionInterface();
    QVERIFY(actions);
    QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    actions->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(doc.IsSelectMode());
    QVERIFY(frame.Action(CMainFrame::ID_SELECT_MOVE)->isChecked());
    actions->doAction(QAccessibleActionInterface::pressAction());
    QTRY_VERIFY(!doc.IsSelectMode());
    QVERIFY(!static_cast<QAbstractButton *>(button)->isChecked());
}

void TestAccessibility::constructorPartsSayTheirState()
{
    CTestDocument doc;
    CMainFrame frame(doc);
    QVERIFY(Shown(frame));
    CCubeSelectionPage *page = frame.SelectionPage();
    page->Tabs()->setCurrentIndex(1);
    CCubeConstructor *constructor = page->Constructor();
    constructor->setFocus(Qt::TabFocusReason);
    QAccessibleInterface *group = QAccessible::queryAccessibleInterface(constructor);
    QCOMPARE(group->childCount(), 7);
    QCOMPARE(group->child(0)->text(QAccessible::Name), QStringLiteral("Top corner: kept"));
    QCOMPARE(group->child(6)->text(QAccessible::Name), QStringLiteral("Centre: whole cube"));
    QTest::keyClick(constructor, Qt::Key_Right);
    QTest::keyClick(constructor, Qt::Key_Space);
    QAccessibleInterface *part = group->focusChild();
    QCOMPARE(group->indexOfChild(part), 1);
    QCOMPARE(part->role(), QAccessible::CheckBox);
    QCOMPARE(part->text(QAccessible::Name), QStringLiteral("Upper right corner: cut"));
    QVERIFY(part->state().checked);
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
