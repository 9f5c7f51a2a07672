#include "ui/selection/cubeselectionbar.h"
#include "ui/selection/cubeselectionpage.h"
#include "ui/selection/cubeslibrary.h"
#include "ui/selection/cubeconstructor.h"

#include <QtTest>
#include <QTabWidget>
#include <QTabBar>
#include <QApplication>

class TestCubeSelectionBar : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void screenshots();
};

void TestCubeSelectionBar::screenshots()
{
    CCubeSelectionBar bar;
    bar.resize(bar.width(), 420);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    CCubesLibrary *library = bar.Page()->Library();
    QTest::mouseClick(library, Qt::LeftButton, {}, library->CellRect(7).center());
    QTest::mouseMove(library, library->CellRect(12).center());
    bar.grab().save("/tmp/bar_cubes.png");
    bar.Page()->Tabs()->setCurrentIndex(1);
    bar.grab().save("/tmp/bar_constructor.png");
    qDebug() << QApplication::font() << bar.Page()->Tabs()->tabBar()->sizeHint() << bar.Page()->Tabs()->tabBar()->tabRect(1) << library->GetHoverIndex() << library->GetSelectedIndex() << bar.size() << library->geometry();
}

QTEST_MAIN(TestCubeSelectionBar)
#include "tst_cubeselectionbar.moc"
