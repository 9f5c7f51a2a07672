// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/shownwidget.h"
#include "ui/selection/cubeselectionbar.h"

#include "ui/selection/cubeconstructor.h"
#include "ui/selection/cubeselectionpage.h"
#include "ui/selection/cubeslibrary.h"

#include <QDir>
#include <QHBoxLayout>
#include <QTabWidget>
#include <QtTest>

class TestCubeSelectionBar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fixedWidthFullHeight();
    void screenshots();
};

void TestCubeSelectionBar::fixedWidthFullHeight()
{
    QWidget window;
    auto *layout = new QHBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *bar = new CCubeSelectionBar;
    layout->addWidget(bar);
    layout->addWidget(new QWidget, 1);
    QVERIFY(Shown(window, {700, 520}));

    QCOMPARE(bar->Page()->pos(), QPoint(0, 0));
    QCOMPARE(bar->Page()->width(), 149);
    QCOMPARE(bar->geometry(), QRect(0, 0, 149, 520));

    // Below the page the bar shows the button face.
    const QImage image = bar->grab().toImage();
    QVERIFY(bar->Page()->height() < 500);
    QCOMPARE(image.pixel(70, 510) | 0xFF000000, bar->palette().color(QPalette::Button).rgb());
}

// Writes pictures of the bar on both tabs, with a picked and a hovered cell, into the
// folder named by TARVEX_SCREENSHOT_DIR (tools/bar-screenshots.sh sets it).
void TestCubeSelectionBar::screenshots()
{
    const QString folder = qEnvironmentVariable("TARVEX_SCREENSHOT_DIR");
    if (folder.isEmpty())
        QSKIP("TARVEX_SCREENSHOT_DIR is not set");
    QVERIFY(QDir().mkpath(folder));

    CCubeSelectionBar bar;
    bar.resize(bar.width(), 420);
    QVERIFY(Shown(bar));
    CCubesLibrary *library = bar.Page()->Library();
    QTest::mouseClick(library, Qt::LeftButton, {}, library->CellRect(7).center());
    QTest::mouseMove(library, library->CellRect(12).center());
    QCOMPARE(library->GetHoverIndex(), 12);
    QVERIFY(bar.grab().save(QDir(folder).filePath("bar-cubes.png")));

    // The selected cell hovered: plain background, sunken frame.
    QTest::mouseMove(library, library->CellRect(7).center());
    QVERIFY(bar.grab().save(QDir(folder).filePath("bar-cubes-selected-hovered.png")));

    bar.Page()->Tabs()->setCurrentIndex(1);
    QVERIFY(bar.grab().save(QDir(folder).filePath("bar-constructor.png")));
}

QTEST_MAIN(TestCubeSelectionBar)
#include "tst_cubeselectionbar.moc"
