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

#include "support/pickertesting.h"

#include <QAccessible>
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

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyControlIsNamed();
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

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
