// SPDX-License-Identifier: GPL-3.0-or-later
// The writer: text form of a tree, and replacing a file safely.

#include "files/xmlelement.h"
#include "support/failingtarget.h"

#include <QTemporaryDir>
#include "support/testfiles.h"

#include <QtTest>

Q_DECLARE_METATYPE(CFailingTarget::Kind)

namespace {

CXmlElement Leaf(const QByteArray &name, const QByteArray &text = QByteArray())
{
    CXmlElement e;
    e.Name = name;
    e.Text = text;
    return e;
}

} // namespace

class TestXmlWriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void getXmlText_data();
    void getXmlText();
    void readsBack();
    void saveToFile();
    void saveFailures_data();
    void saveFailures();
};

void TestXmlWriter::getXmlText_data()
{
    QTest::addColumn<CXmlElement>("element");
    QTest::addColumn<bool>("newLines");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("lone element") << Leaf("NAME") << true << QByteArray("<NAME/>\r\n");
    QTest::newRow("lone element, flag clear") << Leaf("NAME") << false << QByteArray("<NAME/>\r\n");
    QTest::newRow("text") << Leaf("a", "text") << true << QByteArray("<a>\r\ntext\r\n</a>\r\n");
    QTest::newRow("text, flag clear") << Leaf("a", "text") << false << QByteArray("<a>text</a>");

    CXmlElement withEmptyChild = Leaf("a", "text");
    withEmptyChild.AddChild("b");
    QTest::newRow("empty child still ends its line") << withEmptyChild << false << QByteArray("<a>text<b/>\r\n</a>");

    CXmlElement attributes = Leaf("name");
    attributes.SetAttributeInt("a", 1);
    attributes.SetAttributeInt("b", 2);
    attributes.AddChild("c").Text = "x";
    QTest::newRow("attributes and children")
        << attributes << true << QByteArray("<name a=\"1\" b=\"2\">\r\n<c>\r\nx\r\n</c>\r\n</name>\r\n");

    CXmlElement cube = Leaf("Cube");
    cube.SetAttributeInt("Col", 2);
    cube.SetAttributeInt("Row", 0);
    cube.SetAttributeInt("Index", 7);
    QTest::newRow("empty form with attributes")
        << cube << true << QByteArray("<Cube Col=\"2\" Row=\"0\" Index=\"7\"/>\r\n");

    CXmlElement version = Leaf("xml");
    version.AddChild("Version").Text = "1.0";
    QTest::newRow("five lines") << version << true
                                << QByteArray("<xml>\r\n<Version>\r\n1.0\r\n</Version>\r\n</xml>\r\n");

    CXmlElement raw = Leaf("a", "<&\">");
    raw.Attributes << "odd entry";
    QTest::newRow("nothing escaped") << raw << false << QByteArray("<a odd entry><&\"></a>");
}

void TestXmlWriter::getXmlText()
{
    QFETCH(CXmlElement, element);
    QFETCH(bool, newLines);
    QTEST(element.GetXmlText(newLines), "expected");
}

void TestXmlWriter::readsBack()
{
    CXmlElement root = Leaf("xml");
    CXmlElement &settings = root.AddChild("Settings");
    settings.AddChild("Color1").Text = "255";
    settings.AddChild("Empty");
    CXmlElement &ws = root.AddChild("Workspace");
    for (int i = 0; i < 3; ++i) {
        CXmlElement &cube = ws.AddChild("Cube");
        cube.SetAttributeInt("Col", i);
        cube.SetAttribute("Note", "a > b");
    }
    CXmlElement back;
    QVERIFY(back.ParseDocument(root.GetXmlText(true)));
    // Names come back in upper case; everything else as written.
    QCOMPARE(back.Name, QByteArray("XML"));
    QCOMPARE(back.GetChild("settings").GetChild("color1").Text, QByteArray("255"));
    QVERIFY(back.GetChild("settings").FindChild("EMPTY"));
    QCOMPARE(back.GetChild("workspace").Children.size(), size_t(3));
    QCOMPARE(back.GetChild("workspace").Children[2].Attributes, ws.Children[2].Attributes);
}

void TestXmlWriter::saveToFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.xml");
    CXmlElement first = Leaf("a", "first version, rather longer than the second");
    QString error;
    QVERIFY2(first.SaveToFile(path, &error), qPrintable(error));
    QCOMPARE(ReadFile(path), first.GetXmlText(true));
    // Saving again replaces the file completely.
    const CXmlElement second = Leaf("b");
    QVERIFY2(second.SaveToFile(path, &error), qPrintable(error));
    QCOMPARE(ReadFile(path), QByteArray("<b/>\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.xml"});
}

void TestXmlWriter::saveFailures_data()
{
    QTest::addColumn<CFailingTarget::Kind>("kind");
    QTest::addColumn<QByteArray>("previous");
    QTest::newRow("missing folder") << CFailingTarget::Kind::MissingFolder << QByteArray();
    QTest::newRow("unwritable folder") << CFailingTarget::Kind::UnwritableFolder << QByteArray("<old/>\r\n");
    QTest::newRow("read-only file system") << CFailingTarget::Kind::ReadOnlyFileSystem << QByteArray("<old/>\r\n");
    QTest::newRow("disk full") << CFailingTarget::Kind::DiskFull << QByteArray("<old/>\r\n");
    QTest::newRow("disk full, no previous file") << CFailingTarget::Kind::DiskFull << QByteArray();
    QTest::newRow("file size limit") << CFailingTarget::Kind::FileSizeLimit << QByteArray("<old/>\r\n");
}

void TestXmlWriter::saveFailures()
{
    QFETCH(CFailingTarget::Kind, kind);
    QFETCH(QByteArray, previous);
    // A tree large enough not to fit in the room the target leaves.
    CXmlElement root = Leaf("xml");
    CXmlElement &ws = root.AddChild("Workspace");
    for (int i = 0; i < 20000; ++i) {
        CXmlElement &cube = ws.AddChild("Cube");
        cube.SetAttributeInt("Col", i);
        cube.SetAttributeInt("Row", i);
        cube.SetAttributeInt("Index", 63);
    }
    const qint64 size = root.GetXmlText(true).size();
    CFailingTarget target(kind, "figure.xml", previous, size);
    if (!target.SkipReason().isEmpty())
        QSKIP(qPrintable(target.SkipReason()));
    QString error;
    target.Arm();
    const bool saved = root.SaveToFile(target.Path(), &error);
    target.Disarm();
    QVERIFY(!saved);
    QVERIFY(!error.isEmpty());
    QVERIFY2(error.contains(target.Path()), qPrintable(error));
    QString why;
    QVERIFY2(target.Untouched(&why), qPrintable(why));
}

QTEST_APPLESS_MAIN(TestXmlWriter)
#include "tst_xmlwriter.moc"
