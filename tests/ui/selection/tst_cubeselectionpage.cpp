// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/selection/cubeselectionpage.h"
#include "ui/selection/palettestrip.h"

#include "ui/selection/cubeconstructor.h"
#include "ui/selection/cubeslibrary.h"

#include "support/pickertesting.h"

#include <QScreen>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

namespace {

// Clicks a part of the constructor's sample cube as it is currently fitted.
void ClickPart(CCubeConstructor *constructor, int part)
{
    constructor->UpdateGeometry();
    QTest::mouseClick(constructor, Qt::LeftButton, {}, PointInPart(constructor->Sample(), part));
}

void ClickCell(CCubesLibrary *library, int cell)
{
    QTest::mouseClick(library, Qt::LeftButton, {}, library->CellRect(cell).center());
}

} // namespace

class TestCubeSelectionPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void layoutAndStart();
    void libraryPickReachesConstructor();
    void constructorPickReachesLibrary();
    void emptyCube_data();
    void emptyCube();
    void colorsReachBothPickers_data();
    void colorsReachBothPickers();
    void constructorLeavesNoRemnants();
    void paletteByKeyboard_data();
    void paletteByKeyboard();

private:
    std::unique_ptr<CCubeSelectionPage> m_page;
    CCubesLibrary *m_library = nullptr;
    CCubeConstructor *m_constructor = nullptr;
};

void TestCubeSelectionPage::init()
{
    m_page = std::make_unique<CCubeSelectionPage>();
    m_page->InitPage();
    m_library = m_page->Library();
    m_constructor = m_page->Constructor();
}

void TestCubeSelectionPage::cleanup()
{
    m_page.reset();
}

void TestCubeSelectionPage::layoutAndStart()
{
    QTabWidget *tabs = m_page->Tabs();
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(tabs->tabText(0), QStringLiteral("Cubes"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("Constructor"));

    const QRect library = m_library->geometry();
    QCOMPARE(library.x(), 7);
    QCOMPARE(library.size(), QSize(134, 342));
    QCOMPARE(m_library->GetImageSize(), 24);
    QCOMPARE(m_constructor->geometry(), library);
    // Below the tab headers.
    QVERIFY(library.top() > tabs->tabBar()->sizeHint().height());

    // The palette strip under the pickers, as wide as they are; the page ends 8 below it.
    const QRect strip = m_page->Strip()->geometry();
    QCOMPARE(strip.left(), library.left());
    QCOMPARE(strip.width(), library.width());
    QVERIFY(strip.top() > library.bottom());
    QCOMPARE(m_page->size(), QSize(149, strip.bottom() + 1 + 8));
    QCOMPARE(tabs->geometry(), m_page->rect());
    // Both headers fit into the page's width.
    QVERIFY(tabs->tabBar()->sizeHint().width() <= 149);

    // Laying out again changes nothing.
    m_page->InitPage();
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(m_library->geometry(), library);

    // At start the "Cubes" tab shows the library with the whole cube picked.
    QCOMPARE(tabs->currentIndex(), 0);
    QVERIFY(m_library->isVisibleTo(m_page.get()));
    QVERIFY(!m_constructor->isVisibleTo(m_page.get()));
    QCOMPARE(m_page->CurrentCube(), 0);
    QCOMPARE(m_library->GetSelectedIndex(), 0);
    QCOMPARE(m_constructor->GetCubeIndex(), 0);
}

void TestCubeSelectionPage::libraryPickReachesConstructor()
{
    QSignalSpy changes(m_page.get(), &CCubeSelectionPage::CurrentCubeChanged);
    QSignalSpy constructorPicks(m_constructor, &CCubeConstructor::CubeSelected);
    ClickCell(m_library, 7);
    QCOMPARE(m_page->CurrentCube(), 7);
    QCOMPARE(m_constructor->GetCubeIndex(), 7);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(changes.at(0).at(0).toInt(), 7);
    QCOMPARE(constructorPicks.count(), 0);

    // Picking the same kind again is no change.
    ClickCell(m_library, 7);
    QCOMPARE(changes.count(), 1);
}

void TestCubeSelectionPage::constructorPickReachesLibrary()
{
    ClickCell(m_library, 7);
    m_page->Tabs()->setCurrentIndex(1);
    QSignalSpy libraryPicks(m_library, &CCubesLibrary::CubeSelected);
    ClickPart(m_constructor, Top);
    QCOMPARE(m_constructor->GetCubeIndex(), 6);
    QCOMPARE(m_library->GetSelectedIndex(), 6);
    QCOMPARE(libraryPicks.count(), 0);

    // Switching tabs back and forth leaves the kind alone.
    for (int tab : {0, 1, 0}) {
        m_page->Tabs()->setCurrentIndex(tab);
        QCOMPARE(m_library->isVisibleTo(m_page.get()), tab == 0);
        QCOMPARE(m_constructor->isVisibleTo(m_page.get()), tab == 1);
        QCOMPARE(m_page->CurrentCube(), 6);
        QCOMPARE(m_library->GetSelectedIndex(), 6);
        QCOMPARE(m_constructor->GetCubeIndex(), 6);
    }
}

void TestCubeSelectionPage::emptyCube_data()
{
    QTest::addColumn<bool>("fromLibrary");
    QTest::newRow("library's last cell") << true;
    QTest::newRow("constructor's centre") << false;
}

void TestCubeSelectionPage::emptyCube()
{
    QFETCH(bool, fromLibrary);
    ClickCell(m_library, 30);
    if (fromLibrary) {
        ClickCell(m_library, 64);
    } else {
        m_page->Tabs()->setCurrentIndex(1);
        ClickPart(m_constructor, Centre);
    }
    QCOMPARE(m_page->CurrentCube(), int(EmptyCubeIndex));
    QCOMPARE(m_library->GetSelectedIndex(), int(EmptyCubeIndex));
    QCOMPARE(m_constructor->GetCubeIndex(), int(EmptyCubeIndex));

    // The centre turns the empty cube into the whole cube, also in the library.
    m_page->Tabs()->setCurrentIndex(1);
    ClickPart(m_constructor, Centre);
    QCOMPARE(m_page->CurrentCube(), 0);
    QCOMPARE(m_library->GetSelectedIndex(), 0);
}

void TestCubeSelectionPage::colorsReachBothPickers_data()
{
    QTest::addColumn<int>("tab");
    QTest::newRow("cubes tab visible") << 0;
    QTest::newRow("constructor tab visible") << 1;
}

void TestCubeSelectionPage::colorsReachBothPickers()
{
    QFETCH(int, tab);
    m_page->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
    m_page->Tabs()->setCurrentIndex(tab);

    const QRgb top = qRgb(0x11, 0x22, 0x33), right = qRgb(0x44, 0x55, 0x66), left = qRgb(0x77, 0x88, 0x99);
    m_page->SetCubeColors(RefFromColor(top), RefFromColor(right), RefFromColor(left));

    // Whichever picker is hidden shows the new colours once its tab is opened.
    for (int shown : {tab, 1 - tab}) {
        m_page->Tabs()->setCurrentIndex(shown);
        QWidget *picker = shown == 0 ? static_cast<QWidget *>(m_library) : m_constructor;
        QVERIFY(picker->isVisible());
        const QImage image = m_page->grab().toImage();
        const QRect area = picker->geometry();
        for (QRgb c : {top, right, left})
            QVERIFY2(CountPixels(image, c, area) > 50, qPrintable(QString::number(c, 16)));
        for (QRgb old : {qRgb(255, 0, 0), qRgb(0, 238, 0), qRgb(0, 0, 255)})
            QCOMPARE(CountPixels(image, old, area), 0);
    }
}

void TestCubeSelectionPage::constructorLeavesNoRemnants()
{
    // What reaches the screen after a pick shrinks the cube to its wire frame must be
    // what a fresh paint of the page gives: nothing of the former faces remains.
    m_page->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
    m_page->Tabs()->setCurrentIndex(1);
    QCoreApplication::processEvents();
    ClickPart(m_constructor, Centre);
    QCOMPARE(m_constructor->GetCubeIndex(), int(EmptyCubeIndex));

    const QRect area = m_constructor->geometry();
    QScreen *screen = m_page->screen();
    auto onScreen = [&] {
        return screen->grabWindow(m_page->winId()).toImage().copy(area).convertToFormat(QImage::Format_RGB32);
    };
    const QImage fresh = m_page->grab().toImage().copy(area).convertToFormat(QImage::Format_RGB32);
    QTRY_COMPARE(onScreen(), fresh);
    QCOMPARE(CountPixels(fresh, qRgb(255, 0, 0)), 0);
}

void TestCubeSelectionPage::paletteByKeyboard_data()
{
    // Keys pressed in a strip of four colourings (a row of them, then the "+"), from
    // colouring 0: the colouring picked after them, and how many times the chooser
    // was asked (three faces per edit; the "+" opens a menu, no chooser).
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("picked");
    QTest::addColumn<int>("asked");
    QTest::newRow("right twice") << QList<int>{Qt::Key_Right, Qt::Key_Right} << 2 << 0;
    QTest::newRow("left stops at the first") << QList<int>{Qt::Key_Left} << 0 << 0;
    QTest::newRow("end is the plus, the pick stays") << QList<int>{Qt::Key_Right, Qt::Key_End} << 1 << 0;
    QTest::newRow("end then left") << QList<int>{Qt::Key_End, Qt::Key_Left} << 3 << 0;
    QTest::newRow("down a row, none below") << QList<int>{Qt::Key_Down} << 0 << 0;
    QTest::newRow("enter edits") << QList<int>{Qt::Key_Right, Qt::Key_Return} << 1 << 3;
    QTest::newRow("space edits") << QList<int>{Qt::Key_Space} << 0 << 3;
}

void TestCubeSelectionPage::paletteByKeyboard()
{
    QFETCH(QList<int>, keys);
    QFETCH(int, picked);
    QFETCH(int, asked);
    CPaletteStrip *strip = m_page->Strip();
    strip->SetColourings(QVector<CColouring>(4, CColouring{0x102030, 0x405060, 0x708090}));
    int chooserCalls = 0;
    strip->SetColorChooser([&](const QColor &initial, const QString &, QWidget *) -> std::optional<QColor> {
        ++chooserCalls;
        return initial;
    });
    QSignalSpy edited(strip, &CPaletteStrip::ColouringEdited);
    for (int key : keys)
        QTest::keyClick(strip, Qt::Key(key));
    QCOMPARE(strip->Current(), picked);
    QCOMPARE(chooserCalls, asked);
    QCOMPARE(edited.count(), asked > 0 ? 1 : 0);
    QCOMPARE(strip->focusPolicy(), Qt::TabFocus);
}

QTEST_MAIN(TestCubeSelectionPage)
#include "tst_cubeselectionpage.moc"
