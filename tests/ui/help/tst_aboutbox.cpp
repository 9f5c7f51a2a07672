// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/shownwidget.h"
#include "ui/help/aboutbox.h"
#include "ui/help/htmlctrl.h"
#include "ui/options/dialogunits.h"

#include "linkclick.h"

#include <QScrollBar>
#include <QTest>
#include <QTimer>

class TestAboutBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void looksAsDesigned();
    void okPictureClosesAccepted();
    void closeBoxClosesRejected();
    void otherCommandsKeepItOpen();
    void grabScreenshot();
};

void TestAboutBox::looksAsDesigned()
{
    CAboutBox box;
    QCOMPARE(box.windowTitle(), QStringLiteral("About "));
    QVERIFY(box.isModal());
    QCOMPARE(box.size(), CDialogUnits(box.font()).Size(249, 125));
    QVERIFY(box.width() > box.height());

    QVERIFY(Shown(box));
    CHtmlCtrl *page = box.HtmlCtrl();
    QCOMPARE(page->source(), CAboutBox::AboutPage());
    QCOMPARE(page->geometry(), box.rect());
    // The page fills the box with nothing to scroll.
    QCOMPARE(page->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(page->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(page->verticalScrollBar()->maximum(), 0);
    QCOMPARE(page->horizontalScrollBar()->maximum(), 0);
    QVERIFY(FindLink(*page, QStringLiteral("app:ok")).x() >= 0);
}

void TestAboutBox::okPictureClosesAccepted()
{
    CAboutBox box;
    bool clicked = false;
    QTimer::singleShot(0, &box, [&] {
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        clicked = ClickLink(*box.HtmlCtrl(), QStringLiteral("app:ok"));
        if (!clicked)
            box.done(-1);
    });
    QCOMPARE(box.exec(), int(QDialog::Accepted));
    QVERIFY(clicked);
    QVERIFY(!box.isVisible());
    QCOMPARE(box.HtmlCtrl()->source(), CAboutBox::AboutPage());
}

void TestAboutBox::closeBoxClosesRejected()
{
    CAboutBox box;
    QTimer::singleShot(0, &box, [&] { box.close(); });
    QCOMPARE(box.exec(), int(QDialog::Rejected));
}

void TestAboutBox::otherCommandsKeepItOpen()
{
    CAboutBox box;
    box.show();
    box.HtmlCtrl()->setSource(QUrl(QStringLiteral("app:help")));
    QVERIFY(box.isVisible());
    QCOMPARE(box.HtmlCtrl()->source(), CAboutBox::AboutPage());
    box.HtmlCtrl()->setSource(QUrl(QStringLiteral("APP:CANCEL")));
    QVERIFY(!box.isVisible());
    QCOMPARE(box.result(), int(QDialog::Rejected));
}

void TestAboutBox::grabScreenshot()
{
    // Set TARVEX_GRAB_DIR to look at the box.
    const QString dir = qEnvironmentVariable("TARVEX_GRAB_DIR");
    if (dir.isEmpty())
        QSKIP("TARVEX_GRAB_DIR not set");
    CAboutBox box;
    QVERIFY(Shown(box));
    QVERIFY(box.grab().save(dir + QStringLiteral("/about.png")));
}

QTEST_MAIN(TestAboutBox)
#include "tst_aboutbox.moc"
