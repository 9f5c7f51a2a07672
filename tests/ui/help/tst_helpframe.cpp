// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/help/helpframe.h"
#include "ui/help/htmlctrl.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QTextDocument>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

// The help resources are registered by the editor library; these let the test take
// them away and bring them back.
static void RemoveHelpResources()
{
    Q_CLEANUP_RESOURCE(help);
}

static void RestoreHelpResources()
{
    Q_INIT_RESOURCE(help);
}

namespace {

QUrl Page(const char *name)
{
    return QUrl(QStringLiteral("qrc:/help/") + QLatin1String(name));
}

int HelpWindowCount()
{
    int count = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (qobject_cast<CHelpFrame *>(widget) && widget->isVisible())
            ++count;
    return count;
}

void ProcessDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestHelpFrame : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { CHelpFrame::InitResources(); }
    void cleanup();

    void opensOnStartPageAtUpperRightQuarter();
    void toolbarHasBackAndForward();
    void backAndForwardAtBothEnds();
    void secondHelpActivatesSameWindow();
    void closingClearsPointerAndReopensOnStartPage();
    void closeHelpDestroysAtOnce();
    void failedCreationShowsNothing();
    void helpRect_data();
    void helpRect();
    void grabScreenshot();

private:
    CHelpFrame *m_pHelp = nullptr;
};

void TestHelpFrame::cleanup()
{
    CHelpFrame::CloseHelp(m_pHelp);
    ProcessDeferredDeletes();
    QCOMPARE(HelpWindowCount(), 0);
}

void TestHelpFrame::opensOnStartPageAtUpperRightQuarter()
{
    CHelpFrame *frame = CHelpFrame::ShowHelp(m_pHelp);
    QVERIFY(frame);
    QCOMPARE(m_pHelp, frame);
    QVERIFY(frame->isVisible());
    QVERIFY(frame->testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(frame->windowTitle(), QStringLiteral("Tarvex help"));
    QVERIFY(!frame->windowIcon().isNull());
    QCOMPARE(frame->Browser()->source(), CHelpFrame::StartPage());
    QCOMPARE(frame->Browser()->documentTitle(), QStringLiteral("About"));

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(frame->frameGeometry(), CHelpFrame::HelpRect(screen));
}

void TestHelpFrame::toolbarHasBackAndForward()
{
    CHelpFrame *frame = CHelpFrame::ShowHelp(m_pHelp);
    QVERIFY(frame);
    const QList<QAction *> actions = frame->ToolBar()->actions();
    QCOMPARE(actions.size(), 2);
    QCOMPARE(actions[0], frame->BackAction());
    QCOMPARE(actions[1], frame->ForwardAction());
    QCOMPARE(actions[0]->toolTip(), QStringLiteral("Back"));
    QCOMPARE(actions[1]->toolTip(), QStringLiteral("Forward"));
    for (QAction *action : actions) {
        QWidget *button = frame->ToolBar()->widgetForAction(action);
        QVERIFY(button);
        QCOMPARE(button->size(), QSize(33, 32));

        // Our own 25 x 24 pictures, with the magenta background made transparent.
        const QImage picture = action->icon().pixmap(QSize(25, 24)).toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(picture.size(), QSize(25, 24));
        int transparent = 0;
        int opaque = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const QRgb pixel = picture.pixel(x, y);
                QVERIFY2(qAlpha(pixel) == 0 || (pixel & 0xFFFFFF) != 0xFF00FF, "magenta left visible");
                (qAlpha(pixel) == 0 ? transparent : opaque) += 1;
            }
        QVERIFY(transparent > 0);
        QVERIFY(opaque > 0);
    }

    // Back points left and Forward right: the tip in the middle row reaches further
    // out than the shaft near the top.
    auto extent = [](QAction *action, int row, bool fromLeft) {
        const QImage picture = action->icon().pixmap(QSize(25, 24)).toImage().convertToFormat(QImage::Format_ARGB32);
        for (int i = 0; i < picture.width(); ++i) {
            const int x = fromLeft ? i : picture.width() - 1 - i;
            if (qAlpha(picture.pixel(x, row)) != 0)
                return i;
        }
        return picture.width();
    };
    QVERIFY(extent(frame->BackAction(), 12, true) < extent(frame->BackAction(), 9, true));
    QVERIFY(extent(frame->ForwardAction(), 12, false) < extent(frame->ForwardAction(), 9, false));
}

void TestHelpFrame::backAndForwardAtBothEnds()
{
    CHelpFrame *frame = CHelpFrame::ShowHelp(m_pHelp);
    QVERIFY(frame);
    CHtmlCtrl *browser = frame->Browser();

    // Back on the first page stays there.
    frame->BackAction()->trigger();
    QCOMPARE(browser->source(), Page("index.htm"));
    // So does Forward with nothing ahead.
    frame->ForwardAction()->trigger();
    QCOMPARE(browser->source(), Page("index.htm"));

    browser->setSource(Page("gui.htm"));
    browser->setSource(Page("select.htm"));

    frame->BackAction()->trigger();
    QCOMPARE(browser->source(), Page("gui.htm"));
    frame->BackAction()->trigger();
    QCOMPARE(browser->source(), Page("index.htm"));
    frame->BackAction()->trigger();
    QCOMPARE(browser->source(), Page("index.htm"));

    frame->ForwardAction()->trigger();
    QCOMPARE(browser->source(), Page("gui.htm"));
    frame->ForwardAction()->trigger();
    QCOMPARE(browser->source(), Page("select.htm"));
    frame->ForwardAction()->trigger();
    QCOMPARE(browser->source(), Page("select.htm"));
    QCOMPARE(browser->documentTitle(), QStringLiteral("Select and Move"));

    // The extra presses did not disturb the history.
    frame->BackAction()->trigger();
    QCOMPARE(browser->source(), Page("gui.htm"));
}

void TestHelpFrame::secondHelpActivatesSameWindow()
{
    CHelpFrame *first = CHelpFrame::ShowHelp(m_pHelp);
    QVERIFY(first);
    first->Browser()->setSource(Page("options.htm"));
    first->showMinimized();
    QVERIFY(first->isMinimized());

    CHelpFrame *second = CHelpFrame::ShowHelp(m_pHelp);
    QCOMPARE(second, first);
    QCOMPARE(m_pHelp, first);
    QVERIFY(!first->isMinimized());
    QVERIFY(first->isVisible());
    QCOMPARE(HelpWindowCount(), 1);
    // Still on the page it was showing.
    QCOMPARE(first->Browser()->source(), Page("options.htm"));
}

void TestHelpFrame::closingClearsPointerAndReopensOnStartPage()
{
    QPointer<CHelpFrame> first = CHelpFrame::ShowHelp(m_pHelp);
    QVERIFY(first);
    first->Browser()->setSource(Page("select.htm"));

    QVERIFY(first->close());
    // Cleared at once, although the window is only deleted when events run.
    QCOMPARE(m_pHelp, nullptr);
    ProcessDeferredDeletes();
    QVERIFY(first.isNull());
    QCOMPARE(HelpWindowCount(), 0);

    CHelpFrame *second = CHelpFrame::ShowHelp(m_pHelp);
    QVERIFY(second);
    QCOMPARE(m_pHelp, second);
    QCOMPARE(second->Browser()->source(), CHelpFrame::StartPage());
    QCOMPARE(second->frameGeometry(), CHelpFrame::HelpRect(QGuiApplication::primaryScreen()->geometry()));
    QCOMPARE(HelpWindowCount(), 1);
}

void TestHelpFrame::closeHelpDestroysAtOnce()
{
    QPointer<CHelpFrame> frame = CHelpFrame::ShowHelp(m_pHelp);
    QVERIFY(frame);
    CHelpFrame::CloseHelp(m_pHelp);
    QCOMPARE(m_pHelp, nullptr);
    QVERIFY(frame.isNull());
    // Nothing to do the second time.
    CHelpFrame::CloseHelp(m_pHelp);
    QCOMPARE(m_pHelp, nullptr);

    // A window deleted by anyone clears the pointer too.
    CHelpFrame::ShowHelp(m_pHelp);
    QVERIFY(m_pHelp);
    delete m_pHelp;
    QCOMPARE(m_pHelp, nullptr);
}

void TestHelpFrame::failedCreationShowsNothing()
{
    RemoveHelpResources();
    CHelpFrame *frame = CHelpFrame::ShowHelp(m_pHelp);
    RestoreHelpResources();
    QCOMPARE(frame, nullptr);
    QCOMPARE(m_pHelp, nullptr);
    QCOMPARE(HelpWindowCount(), 0);

    // The next Help command tries again.
    frame = CHelpFrame::ShowHelp(m_pHelp);
    QVERIFY(frame);
    QCOMPARE(m_pHelp, frame);
    QCOMPARE(frame->Browser()->documentTitle(), QStringLiteral("About"));
}

void TestHelpFrame::helpRect_data()
{
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QRect>("expected");

    QTest::newRow("1024 x 768") << QRect(0, 0, 1024, 768) << QRect(512, 0, 512, 384);
    QTest::newRow("odd width") << QRect(0, 0, 1025, 768) << QRect(512, 0, 513, 384);
    QTest::newRow("odd height") << QRect(0, 0, 800, 601) << QRect(400, 0, 400, 300);
    QTest::newRow("screen not at origin") << QRect(1920, 0, 1280, 1024) << QRect(2560, 0, 640, 512);
}

void TestHelpFrame::helpRect()
{
    QFETCH(QRect, screen);
    QFETCH(QRect, expected);
    QCOMPARE(CHelpFrame::HelpRect(screen), expected);
}

void TestHelpFrame::grabScreenshot()
{
    // Set TARVEX_GRAB_DIR to look at the window.
    const QString dir = qEnvironmentVariable("TARVEX_GRAB_DIR");
    if (dir.isEmpty())
        QSKIP("TARVEX_GRAB_DIR not set");
    CHelpFrame *frame = CHelpFrame::ShowHelp(m_pHelp);
    QVERIFY(frame);
    frame->resize(640, 520);
    for (const char *page : {"index.htm", "gui.htm", "select.htm", "options.htm"}) {
        frame->Browser()->setSource(Page(page));
        const QString name = dir + QStringLiteral("/help-") + QLatin1String(page);
        QVERIFY(frame->grab().save(name + QStringLiteral(".png")));
        // The whole page at the window's width.
        QTextDocument *document = frame->Browser()->document();
        QImage whole(document->size().toSize(), QImage::Format_RGB32);
        whole.fill(Qt::white);
        QPainter painter(&whole);
        document->drawContents(&painter);
        painter.end();
        QVERIFY(whole.save(name + QStringLiteral("-whole.png")));
    }
}

QTEST_MAIN(TestHelpFrame)
#include "tst_helpframe.moc"
