// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/help/helpframe.h"
#include "ui/help/htmlctrl.h"

#include "linkclick.h"

#include <QDialog>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace {

// Records the commands instead of acting on them.
class CRecordingHtmlCtrl : public CHtmlCtrl
{
public:
    using CHtmlCtrl::CHtmlCtrl;
    QStringList Commands;

protected:
    void OnAppCommand(const QString &command) override { Commands << command; }
};

const QUrl IndexPage(QStringLiteral("qrc:/help/index.htm"));

// A dialog holding an HTML control that shows the help start page.
struct DialogWithPage
{
    QDialog dialog;
    CHtmlCtrl *html = nullptr;

    DialogWithPage()
    {
        html = new CHtmlCtrl(&dialog);
        auto *layout = new QVBoxLayout(&dialog);
        layout->addWidget(html);
        dialog.resize(500, 400);
        html->setSource(IndexPage);
        dialog.show();
    }
};

} // namespace

class TestHtmlCtrl : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { CHelpFrame::InitResources(); }

    void appCommandClosesDialog_data();
    void appCommandClosesDialog();
    void commandTextIsTheRestOfTheAddress_data();
    void commandTextIsTheRestOfTheAddress();
    void ordinaryLinksAreFollowed();
    void appCommandOutsideDialogDoesNothing();
    void missingPageSaysSo();
};

void TestHtmlCtrl::appCommandClosesDialog_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("click"); // a click on the link, or a direct navigation
    QTest::addColumn<int>("result"); // -1: the dialog stays open

    const struct
    {
        const char *name;
        const char *address;
        int result;
    } rows[] = {
        {"ok", "app:ok", QDialog::Accepted},
        {"OK in capitals", "APP:OK", QDialog::Accepted},
        {"mixed case", "App:Ok", QDialog::Accepted},
        {"cancel", "app:cancel", QDialog::Rejected},
        {"CANCEL in capitals", "APP:CANCEL", QDialog::Rejected},
        {"unknown command", "app:close", -1},
        {"no command", "app:", -1},
        {"ok with more", "app:okay", -1},
        {"ok with a space", "app: ok", -1},
    };
    for (const auto &row : rows) {
        for (bool click : {false, true})
            QTest::addRow("%s, %s", row.name, click ? "clicked" : "navigated")
                << QString::fromLatin1(row.address) << click << row.result;
    }
}

void TestHtmlCtrl::appCommandClosesDialog()
{
    QFETCH(QString, address);
    QFETCH(bool, click);
    QFETCH(int, result);

    DialogWithPage page;
    QDialog &dialog = page.dialog;
    CHtmlCtrl *html = page.html;
    html->setHtml(QStringLiteral("<p>Press <a href=\"%1\">here</a> now.</p>").arg(address));
    dialog.setResult(-1);
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QString before = html->toPlainText();
    QSignalSpy sourceChanged(html, &QTextBrowser::sourceChanged);

    if (click)
        QVERIFY(ClickLink(*html, address));
    else
        html->setSource(QUrl(address));

    // An app: address is never navigated to, whatever the command.
    QCOMPARE(sourceChanged.count(), 0);
    QCOMPARE(html->toPlainText(), before);
    QVERIFY(!html->isBackwardAvailable());
    QCOMPARE(dialog.result(), result);
    QCOMPARE(dialog.isVisible(), result == -1);
}

void TestHtmlCtrl::commandTextIsTheRestOfTheAddress_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QStringList>("commands");

    QTest::newRow("lower case") << "app:ok" << QStringList{"ok"};
    QTest::newRow("capitals kept") << "APP:Print" << QStringList{"Print"};
    QTest::newRow("empty") << "app:" << QStringList{""};
    QTest::newRow("not a command") << "apps:ok" << QStringList{};
    QTest::newRow("page") << "gui.htm" << QStringList{};
}

void TestHtmlCtrl::commandTextIsTheRestOfTheAddress()
{
    QFETCH(QString, address);
    QFETCH(QStringList, commands);

    CRecordingHtmlCtrl html;
    html.setSource(IndexPage);
    html.setSource(QUrl(address));
    QCOMPARE(html.Commands, commands);
}

void TestHtmlCtrl::ordinaryLinksAreFollowed()
{
    DialogWithPage page;
    QVERIFY(QTest::qWaitForWindowExposed(&page.dialog));
    QVERIFY(ClickLink(*page.html, QStringLiteral("gui.htm")));
    QCOMPARE(page.html->source(), QUrl(QStringLiteral("qrc:/help/gui.htm")));
    QCOMPARE(page.html->documentTitle(), QStringLiteral("User interface"));
    QVERIFY(page.dialog.isVisible());
    QVERIFY(page.html->isBackwardAvailable());
}

void TestHtmlCtrl::appCommandOutsideDialogDoesNothing()
{
    QWidget window;
    auto *html = new CHtmlCtrl(&window);
    html->setSource(IndexPage);
    window.show();
    html->setSource(QUrl(QStringLiteral("app:ok")));
    QVERIFY(window.isVisible());
    QCOMPARE(html->source(), IndexPage);

    CHtmlCtrl alone;
    alone.show();
    alone.setSource(QUrl(QStringLiteral("app:cancel")));
    QVERIFY(alone.isVisible());
}

void TestHtmlCtrl::missingPageSaysSo()
{
    CHtmlCtrl html;
    html.setSource(QUrl(QStringLiteral("qrc:/help/nowhere.htm")));
    QVERIFY(html.toPlainText().contains(QStringLiteral("cannot be found")));
    QVERIFY(html.toPlainText().contains(QStringLiteral("nowhere.htm")));
}

QTEST_MAIN(TestHtmlCtrl)
#include "tst_htmlctrl.moc"
