// SPDX-License-Identifier: GPL-3.0-or-later
// The toolbar pictures, the help window's Back/Forward pictures and the view's cursors
// on dense screens (this test also runs with QT_SCALE_FACTOR 2): at the screen's ratio
// each has a picture of its own at device pixels, drawn at that resolution rather than
// blown up from the plain one, and showing the same thing in the same place.

#include "app/mainframe.h"
#include "document/tarvexdoc.h"
#include "ui/help/helpframe.h"
#include "view/tarvexview.h"

#include <QAction>
#include <QApplication>
#include <QToolBar>
#include <QtTest>

#include <memory>

namespace {

const QSize PictureSize(25, 24);

bool Opaque(const QImage &image, int x, int y)
{
    return qAlpha(image.pixel(x, y)) != 0;
}

// The dense picture is not the plain one blown up into blocks, and it covers the same
// shape: nearly every plain pixel is opaque exactly where most of its block is.
void CheckDense(const QImage &plain, const QImage &dense)
{
    QCOMPARE(dense.size(), plain.size() * 2);
    const QImage blocks = plain.scaled(dense.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation)
                              .convertToFormat(QImage::Format_ARGB32);
    QVERIFY2(blocks != dense.convertToFormat(QImage::Format_ARGB32), "the dense picture is the plain one blown up");
    int agree = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x) {
            const int cover = Opaque(dense, 2 * x, 2 * y) + Opaque(dense, 2 * x + 1, 2 * y)
                              + Opaque(dense, 2 * x, 2 * y + 1) + Opaque(dense, 2 * x + 1, 2 * y + 1);
            agree += Opaque(plain, x, y) == (cover >= 2);
        }
    QVERIFY2(agree * 10 >= plain.width() * plain.height() * 9, "the dense picture shows another shape");
}

} // namespace

class TestDensePictures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void buttonPictures_data();
    void buttonPictures();
    void cursors_data();
    void cursors();

private:
    std::unique_ptr<CTarvexDoc> m_doc;
    std::unique_ptr<CMainFrame> m_frame;
    std::unique_ptr<CHelpFrame> m_help;
};

void TestDensePictures::initTestCase()
{
    m_doc = std::make_unique<CTarvexDoc>(false);
    m_frame = std::make_unique<CMainFrame>(*m_doc);
    m_help = std::make_unique<CHelpFrame>();
    QVERIFY(m_help->Create());
}

void TestDensePictures::cleanupTestCase()
{
    m_help.reset();
    m_frame.reset();
    m_doc.reset();
}

void TestDensePictures::buttonPictures_data()
{
    QTest::addColumn<QIcon>("icon");
    int i = 0;
    for (QAction *action : m_frame->ToolBar()->actions())
        if (!action->icon().isNull())
            QTest::addRow("toolbar %d %s", i++, qPrintable(action->toolTip())) << action->icon();
    QVERIFY(i >= 10);
    QVERIFY(m_help->BackAction() && m_help->ForwardAction());
    QTest::newRow("help Back") << m_help->BackAction()->icon();
    QTest::newRow("help Forward") << m_help->ForwardAction()->icon();
}

void TestDensePictures::buttonPictures()
{
    QFETCH(QIcon, icon);
    // What a button on this screen asks for.
    const qreal ratio = qApp->devicePixelRatio();
    const QPixmap shown = icon.pixmap(PictureSize, ratio);
    QCOMPARE(shown.deviceIndependentSize(), QSizeF(PictureSize));
    QCOMPARE(shown.size(), (QSizeF(PictureSize) * ratio).toSize());
    if (ratio == 2.0)
        CheckDense(icon.pixmap(PictureSize, 1.0).toImage(), shown.toImage());
}

void TestDensePictures::cursors_data()
{
    QTest::addColumn<int>("id");
    QTest::newRow("cube") << int(CTarvexView::CubeCursor);
    QTest::newRow("no cell") << int(CTarvexView::NoCellCursor);
    QTest::newRow("copy") << int(CTarvexView::CopyCursor);
    QTest::newRow("arrow") << int(CTarvexView::ArrowCursor);
}

void TestDensePictures::cursors()
{
    QFETCH(int, id);
    const auto cursorId = CTarvexView::CursorId(id);
    const qreal ratio = qApp->devicePixelRatio();
    const QCursor plain = CTarvexView::CursorFor(cursorId);
    const QCursor shown = CTarvexView::CursorFor(cursorId, ratio);
    // The hot spot stays in logical pixels, the same point of the same picture (on X11
    // alone the view scales it to the picture's pixels, as that platform takes it).
    QCOMPARE(shown.hotSpot(), plain.hotSpot());
    QCOMPARE(shown.pixmap().deviceIndependentSize(), plain.pixmap().deviceIndependentSize());
    if (ratio != 2.0)
        return;
    QCOMPARE(shown.pixmap().devicePixelRatio(), 2.0);
    const QImage small = plain.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage dense = shown.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    CheckDense(small, dense);
    // The hot spot's device pixel shows what the plain cursor shows at its hot spot.
    const QPoint hot = plain.hotSpot();
    QCOMPARE(dense.pixel(hot * 2), small.pixel(hot));
}

QTEST_MAIN(TestDensePictures)
#include "tst_densepictures.moc"
