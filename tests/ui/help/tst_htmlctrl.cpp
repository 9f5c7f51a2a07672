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
    void appCommandFromClickedLink_data();
    void appCommandFromClickedLink();
    void commandTextIsTheRestOfTheAddress_data();
    void commandTextIsTheRestOfTheAddress();
    void ordinaryLinksAreFollowed();
    void appCommandOutsideDialogDoesNothing();
    void missingPageSaysSo();
};

void TestHtmlCtrl::appCommandClosesDialog_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("result");   // -1: the dialog stays open

    QTest::newRow("ok") << "app:ok" << int(QDialog::Accepted);
    QTest::newRow("OK in capitals") << "APP:OK" << int(QDialog::Accepted);
    QTest::newRow("mixed case") << "App:Ok" << int(QDialog::Accepted);
    QTest::newRow("cancel") << "app:cancel" << int(QDialog::Rejected);
    QTest::newRow("CANCEL in capitals") << "APP:CANCEL" << int(QDialog::Rejected);
    QTest::newRow("unknown command") << "app:close" << -1;
    QTest::newRow("no command") << "app:" << -1;
    QTest::newRow("ok with more") << "app:okay" << -1;
    QTest::newRow("ok with a space") << "app: ok" << -1;
}

void TestHtmlCtrl::appCommandClosesDialog()
{
    QFETCH(QString, address);
    QFETCH(int, result);

    DialogWithPage page;
    QSignalSpy sourceChanged(page.html, &QTextBrowser::sourceChanged);
    page.dialog.setResult(-1);
    page.html->setSource(QUrl(address));

    // An app: address is never navigated to, whatever the command.
    QCOMPARE(page.html->source(), IndexPage);
    QCOMPARE(sourceChanged.count(), 0);
    QVERIFY(!page.html->isBackwardAvailable());
    QCOMPARE(page.dialog.result(), result);
    QCOMPARE(page.dialog.isVisible(), result == -1);
}

void TestHtmlCtrl::appCommandFromClickedLink_data()
{
    QTest::addColumn<QString>("href");
    QTest::addColumn<int>("result");

    QTest::newRow("ok") << "app:ok" << int(QDialog::Accepted);
    QTest::newRow("OK in capitals") << "APP:OK" << int(QDialog::Accepted);
    QTest::newRow("cancel") << "app:Cancel" << int(QDialog::Rejected);
    QTest::newRow("unknown") << "app:nothing" << -1;
}

void TestHtmlCtrl::appCommandFromClickedLink()
{
    QFETCH(QString, href);
    QFETCH(int, result);

    QDialog dialog;
    auto *html = new CHtmlCtrl(&dialog);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(html);
    dialog.resize(300, 200);
    html->setHtml(QStringLiteral("<p>Press <a href=\"%1\">here</a> now.</p>").arg(href));
    dialog.setResult(-1);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    const QString before = html->toPlainText();
    QVERIFY(ClickLink(*html, href));
    QCOMPARE(dialog.result(), result);
    QCOMPARE(html->toPlainText(), before);
    QVERIFY(!html->isBackwardAvailable());
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
