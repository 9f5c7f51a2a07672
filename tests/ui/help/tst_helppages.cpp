// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/help/examplelist.h"
#include "ui/help/helpframe.h"
#include "ui/help/htmlctrl.h"
#include "ui/help/picturestrip.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

// Every help page and the About page, as the program's resources hold them: each one
// loads, each link and picture in it resolves, and the pictures are the size the
// pages say.

namespace {

const QString Base = QStringLiteral("qrc:/help/");
const QStringList HelpPages = {"index.htm",    "gui.htm",   "select.htm", "options.htm",
                               "examples.htm", "files.htm", "keys.htm"};
const QStringList AllPages = HelpPages + QStringList{"about.htm"};

QString ReadPage(const QString &page)
{
    QFile file(QStringLiteral(":/help/") + page);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

// The values of one attribute (href or src) in the page's tags, in order.
QStringList AttributeValues(const QString &html, const QString &attribute)
{
    QStringList values;
    const QRegularExpression pattern(QStringLiteral("\\b%1\\s*=\\s*\"([^\"]*)\"").arg(attribute),
                                     QRegularExpression::CaseInsensitiveOption);
    for (auto it = pattern.globalMatch(html); it.hasNext();)
        values << it.next().captured(1);
    return values;
}

// The resource file a relative address of a page names, or an empty string when the
// address leaves the program's resources.
QString ResourceFor(const QString &page, const QString &address)
{
    const QUrl url = QUrl(Base + page).resolved(QUrl(address));
    if (url.scheme() != QLatin1String("qrc"))
        return QString();
    return QLatin1Char(':') + url.path();
}

} // namespace

class TestHelpPages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { CHelpFrame::InitResources(); }

    void pageHasTitle_data();
    void pageHasTitle();
    void linksAndPicturesResolve_data();
    void linksAndPicturesResolve();
    void picturesLoadInTheBrowser_data();
    void picturesLoadInTheBrowser();
    void helpPagesShareTheHeader_data();
    void helpPagesShareTheHeader();
    void userInterfaceLinksToTheOtherPages();
    void examplesPageShowsEveryExample();
    void aboutPageHasItsParts();
    void pictureSizes_data();
    void pictureSizes();
};

void TestHelpPages::pageHasTitle_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("title");
    QTest::newRow("index") << "index.htm"
                           << "About";
    QTest::newRow("gui") << "gui.htm"
                         << "User interface";
    QTest::newRow("select") << "select.htm"
                            << "Select and Move";
    QTest::newRow("options") << "options.htm"
                             << "Options dialog";
    QTest::newRow("examples") << "examples.htm"
                              << "Examples";
    QTest::newRow("files") << "files.htm"
                           << "Files and formats";
    QTest::newRow("keys") << "keys.htm"
                          << "Keys";
    QTest::newRow("about") << "about.htm"
                           << "About Tarvex";
}

void TestHelpPages::pageHasTitle()
{
    QFETCH(QString, page);
    QFETCH(QString, title);
    CHtmlCtrl browser;
    browser.setSource(QUrl(Base + page));
    QCOMPARE(browser.source(), QUrl(Base + page));
    QCOMPARE(browser.documentTitle(), title);
    if (page != QLatin1String("about.htm"))
        QVERIFY(browser.toPlainText().contains(title));
}

void TestHelpPages::linksAndPicturesResolve_data()
{
    QTest::addColumn<QString>("page");
    for (const QString &page : AllPages)
        QTest::newRow(qPrintable(page)) << page;
}

void TestHelpPages::linksAndPicturesResolve()
{
    QFETCH(QString, page);
    const QString html = ReadPage(page);
    QVERIFY(!html.isEmpty());

    const QStringList links = AttributeValues(html, QStringLiteral("href"));
    const QStringList pictures = AttributeValues(html, QStringLiteral("src"));
    QVERIFY(!links.isEmpty());
    for (const QString &link : links) {
        if (CHtmlCtrl::IsAppCommand(QUrl(link)))
            continue;
        const QString file = ResourceFor(page, link);
        QVERIFY2(!file.isEmpty(), qPrintable(page + ": link leaves the program: " + link));
        QVERIFY2(file.endsWith(QLatin1String(".htm")), qPrintable(page + ": " + link));
        QVERIFY2(QFile::exists(file), qPrintable(page + ": broken link " + link));
        const QString fragment = QUrl(link).fragment();
        if (!fragment.isEmpty()) {
            const QString target = file.mid(file.lastIndexOf(QLatin1Char('/')) + 1);
            QVERIFY2(AttributeValues(ReadPage(target), QStringLiteral("name")).contains(fragment),
                     qPrintable(page + ": no anchor for " + link));
        }
    }
    for (const QString &picture : pictures) {
        const QString file = ResourceFor(page, picture);
        QVERIFY2(!file.isEmpty() && QFile::exists(file), qPrintable(page + ": missing picture " + picture));
        QVERIFY2(!QImage(file).isNull(), qPrintable(page + ": unreadable picture " + picture));
    }
}

void TestHelpPages::picturesLoadInTheBrowser_data()
{
    linksAndPicturesResolve_data();
}

void TestHelpPages::picturesLoadInTheBrowser()
{
    QFETCH(QString, page);
    CHtmlCtrl browser;
    browser.setSource(QUrl(Base + page));
    QTextDocument *document = browser.document();

    // Every picture the page shows, found in the laid-out document, loads through the
    // browser and has the size written in the page.
    int pictures = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat())
                continue;
            const QTextImageFormat image = format.toImageFormat();
            const QVariant data = document->resource(QTextDocument::ImageResource, QUrl(image.name()));
            QImage loaded = data.value<QImage>();
            if (loaded.isNull())
                loaded.loadFromData(data.toByteArray());
            QVERIFY2(!loaded.isNull(), qPrintable(page + ": " + image.name()));
            QCOMPARE(QSize(int(image.width()), int(image.height())), loaded.size());
            ++pictures;
        }
    }
    QCOMPARE(pictures, AttributeValues(ReadPage(page), QStringLiteral("src")).size());
}

void TestHelpPages::helpPagesShareTheHeader_data()
{
    QTest::addColumn<QString>("page");
    for (const QString &page : HelpPages)
        QTest::newRow(qPrintable(page)) << page;
}

void TestHelpPages::helpPagesShareTheHeader()
{
    QFETCH(QString, page);
    const QString html = ReadPage(page);
    // The same table first on every page, one cell for each way in.
    QString cells;
    const QStringList targets = {"index.htm", "gui.htm", "examples.htm", "files.htm", "keys.htm"};
    const QStringList titles = {"About", "User interface", "Examples", "Files and formats", "Keys"};
    // Titles of several words are kept on one line.
    for (int i = 0; i < targets.size(); ++i)
        cells += QStringLiteral("<td[^>]*><a href=\"%1\"><b>%2</b></a></td>\\s*")
                     .arg(targets[i], QString(titles[i]).replace(QLatin1Char(' '), QLatin1String("&nbsp;")));
    const QRegularExpression header(
        QStringLiteral("<body[^>]*>\\s*<table[^>]*>\\s*<tr>\\s*%1</tr>\\s*</table>").arg(cells));
    QVERIFY2(header.match(html).hasMatch(), qPrintable(page));
}

void TestHelpPages::userInterfaceLinksToTheOtherPages()
{
    const QStringList links = AttributeValues(ReadPage(QStringLiteral("gui.htm")), QStringLiteral("href"));
    QVERIFY(links.contains(QStringLiteral("select.htm")));
    QVERIFY(links.contains(QStringLiteral("options.htm")));
    // Every toolbar button picture appears on it.
    const QStringList pictures = AttributeValues(ReadPage(QStringLiteral("gui.htm")), QStringLiteral("src"));
    for (const char *button : {"select", "new", "open", "save", "print", "options", "undo", "redo", "help", "about"})
        QVERIFY2(pictures.contains(QStringLiteral("btn_%1.png").arg(QLatin1String(button))), button);
    QVERIFY(pictures.contains(QStringLiteral("mainwin.png")));
    QVERIFY(pictures.contains(QStringLiteral("mainwin2.png")));
}

void TestHelpPages::examplesPageShowsEveryExample()
{
    // Every installed example is listed, and the page shows and opens each one.
    const QString html = ReadPage(QStringLiteral("examples.htm"));
    const QStringList links = AttributeValues(html, QStringLiteral("href"));
    const QStringList pictures = AttributeValues(html, QStringLiteral("src"));
    QStringList listed;
    for (const CExampleList::Example &example : CExampleList::All()) {
        listed << example.name + QStringLiteral(".xml");
        QVERIFY2(!CExampleList::FigurePath(example.name).isEmpty(), qPrintable(example.name));
        QVERIFY2(!QImage(CExampleList::PicturePath(example.name)).isNull(), qPrintable(example.name));
        QVERIFY2(links.contains(QStringLiteral("app:example:") + example.name), qPrintable(example.name));
        QVERIFY2(pictures.contains(QStringLiteral("ex_%1.png").arg(example.name)), qPrintable(example.name));
        QVERIFY2(html.contains(QStringLiteral("<h3>%1</h3>").arg(example.title)), qPrintable(example.title));
    }
    const QDir installed(QStringLiteral(TARVEX_TEST_DATA "/../../examples"));
    QCOMPARE(installed.entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Name), [&] {
        listed.sort();
        return listed;
    }());
    QVERIFY(CExampleList::FigurePath(QStringLiteral("../help/index")).isEmpty());
}

void TestHelpPages::aboutPageHasItsParts()
{
    CHtmlCtrl browser;
    browser.setSource(QUrl(Base + QStringLiteral("about.htm")));
    const QString text = browser.toPlainText();
    QVERIFY(text.contains(QStringLiteral("Tarvex")));
    QVERIFY(text.contains(QStringLiteral("Version 1.25")));
    QVERIFY(text.contains(QStringLiteral("The Tarvex authors")));
    QCOMPARE(browser.document()->rootFrame()->frameFormat().background().color(), QColor(Qt::black));
    const QString html = ReadPage(QStringLiteral("about.htm"));
    QVERIFY(html.contains(QStringLiteral("<a href=\"app:ok\"><img src=\"okbutton.png\"")));
    QVERIFY(AttributeValues(html, QStringLiteral("src")).contains(QStringLiteral("door.png")));
}

void TestHelpPages::pictureSizes_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QSize>("size");
    // The pages show the toolbar buttons as large as the toolbar does; the help
    // window's Back and Forward strips hold two whole button pictures, the dense one
    // at twice the pixels.
    const QSize button = CPictureStrip::PictureSize;
    for (const char *name : {"select", "new", "open", "save", "print", "options", "undo", "redo", "help", "about"})
        QTest::newRow(name) << QStringLiteral("btn_%1.png").arg(QLatin1String(name)) << button;
    QTest::newRow("help toolbar") << "helpnav.png" << QSize(2 * button.width(), button.height());
    QTest::newRow("dense help toolbar") << "helpnav@2x.png" << QSize(4 * button.width(), 2 * button.height());
}

void TestHelpPages::pictureSizes()
{
    QFETCH(QString, picture);
    QFETCH(QSize, size);
    QCOMPARE(QImage(QStringLiteral(":/help/") + picture).size(), size);
}

QTEST_MAIN(TestHelpPages)
#include "tst_helppages.moc"
