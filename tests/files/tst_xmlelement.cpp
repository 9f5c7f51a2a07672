// SPDX-License-Identifier: GPL-3.0-or-later
// The element tree: attribute entries, lookups, integer conversions.

#include "files/fileexception.h"
#include "files/xmlelement.h"

#include <QtTest>

class TestXmlElement : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void splitNameValue_data();
    void splitNameValue();
    void getAttribute_data();
    void getAttribute();
    void setAttribute_data();
    void setAttribute();
    void attributeInt_data();
    void attributeInt();
    void textToInt_data();
    void textToInt();
    void intToText_data();
    void intToText();
    void childLookup();
    void childReferenceSurvivesGrandchildren();
};

void TestXmlElement::splitNameValue_data()
{
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<bool>("unquote");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("value");
    QTest::newRow("quoted") << QByteArray("Row=\"3\"") << true << QByteArray("Row") << QByteArray("3");
    QTest::newRow("quoted kept") << QByteArray("Row=\"3\"") << false << QByteArray("Row") << QByteArray("\"3\"");
    QTest::newRow("bare value") << QByteArray("Row=3") << true << QByteArray("Row") << QByteArray("3");
    QTest::newRow("empty quotes") << QByteArray("Row=\"\"") << true << QByteArray("Row") << QByteArray("");
    QTest::newRow("lone quote") << QByteArray("Row=\"") << true << QByteArray("Row") << QByteArray("\"");
    QTest::newRow("no equals") << QByteArray("x") << true << QByteArray("") << QByteArray("x");
    QTest::newRow("first equals") << QByteArray("a=b=c") << true << QByteArray("a") << QByteArray("b=c");
    QTest::newRow("one pair only") << QByteArray("a=\"\"x\"\"") << true << QByteArray("a") << QByteArray("\"x\"");
    QTest::newRow("open quote") << QByteArray("a=\"x") << true << QByteArray("a") << QByteArray("\"x");
    QTest::newRow("empty value") << QByteArray("a=") << true << QByteArray("a") << QByteArray("");
}

void TestXmlElement::splitNameValue()
{
    QFETCH(QByteArray, entry);
    QFETCH(bool, unquote);
    QByteArray name("junk"), value("junk");
    CXmlElement::SplitNameValue(entry, unquote, &name, &value);
    QTEST(name, "name");
    QTEST(value, "value");
}

void TestXmlElement::getAttribute_data()
{
    QTest::addColumn<QByteArrayList>("entries");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("ignores case") << QByteArrayList{"Row=\"3\""} << QByteArray("row") << QByteArray("3");
    QTest::newRow("unquoted") << QByteArrayList{"Row=3"} << QByteArray("Row") << QByteArray("3");
    QTest::newRow("empty gives default") << QByteArrayList{"Row=\"\""} << QByteArray("Row") << QByteArray("x");
    QTest::newRow("lone quote") << QByteArrayList{"Row=\""} << QByteArray("Row") << QByteArray("\"");
    QTest::newRow("missing") << QByteArrayList{"Col=\"1\""} << QByteArray("Row") << QByteArray("x");
    QTest::newRow("first match wins") << QByteArrayList{"Row=\"\"", "Row=\"5\""} << QByteArray("Row")
                                      << QByteArray("x");
    QTest::newRow("bare token matches empty name") << QByteArrayList{"tok"} << QByteArray("") << QByteArray("tok");
    QTest::newRow("no entries") << QByteArrayList{} << QByteArray("Row") << QByteArray("x");
}

void TestXmlElement::getAttribute()
{
    QFETCH(QByteArrayList, entries);
    QFETCH(QByteArray, name);
    CXmlElement e;
    e.Attributes = entries;
    QTEST(e.GetAttribute(name, "x"), "expected");
}

void TestXmlElement::setAttribute_data()
{
    QTest::addColumn<QByteArrayList>("before");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArrayList>("after");
    QTest::newRow("append") << QByteArrayList{} << QByteArray("Row") << QByteArray("3") << QByteArrayList{"Row=\"3\""};
    QTest::newRow("empty value on new") << QByteArrayList{} << QByteArray("Row") << QByteArray("") << QByteArrayList{};
    QTest::newRow("empty value keeps old")
        << QByteArrayList{"Row=\"3\""} << QByteArray("Row") << QByteArray("") << QByteArrayList{"Row=\"3\""};
    QTest::newRow("replace in place, new case")
        << QByteArrayList{"Col=\"1\"", "Row=\"3\"", "Index=\"2\""} << QByteArray("ROW") << QByteArray("5")
        << QByteArrayList{"Col=\"1\"", "ROW=\"5\"", "Index=\"2\""};
    QTest::newRow("replace unquoted entry")
        << QByteArrayList{"Row=3"} << QByteArray("row") << QByteArray("4") << QByteArrayList{"row=\"4\""};
    QTest::newRow("no escaping") << QByteArrayList{} << QByteArray("A") << QByteArray("a\"<b")
                                 << QByteArrayList{"A=\"a\"<b\""};
    QTest::newRow("first of duplicates replaced")
        << QByteArrayList{"A=1", "A=2"} << QByteArray("A") << QByteArray("3") << QByteArrayList{"A=\"3\"", "A=2"};
}

void TestXmlElement::setAttribute()
{
    QFETCH(QByteArrayList, before);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, value);
    CXmlElement e;
    e.Attributes = before;
    e.SetAttribute(name, value);
    QTEST(e.Attributes, "after");
}

void TestXmlElement::attributeInt_data()
{
    QTest::addColumn<QByteArrayList>("entries");
    QTest::addColumn<int>("expected");
    QTest::newRow("missing") << QByteArrayList{} << 7;
    QTest::newRow("empty") << QByteArrayList{"Index=\"\""} << 7;
    QTest::newRow("non-numeric") << QByteArrayList{"Index=\"abc\""} << 0;
    QTest::newRow("number") << QByteArrayList{"index=\"42\""} << 42;
    QTest::newRow("negative") << QByteArrayList{"Index=\"-1\""} << -1;
    QTest::newRow("trailing junk") << QByteArrayList{"Index=\"12px\""} << 12;
}

void TestXmlElement::attributeInt()
{
    QFETCH(QByteArrayList, entries);
    CXmlElement e;
    e.Attributes = entries;
    QTEST(int(e.GetAttributeInt("Index", 7)), "expected");
}

void TestXmlElement::textToInt_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("plain") << QByteArray("255") << 255;
    QTest::newRow("leading space and tab") << QByteArray(" \t\r\n42") << 42;
    QTest::newRow("plus") << QByteArray("+17") << 17;
    QTest::newRow("minus") << QByteArray("-17") << -17;
    QTest::newRow("stops at non-digit") << QByteArray("1.0") << 1;
    QTest::newRow("no digits") << QByteArray("abc") << 0;
    QTest::newRow("sign only") << QByteArray("-") << 0;
    QTest::newRow("double sign") << QByteArray("--5") << 0;
    QTest::newRow("space after sign") << QByteArray("- 5") << 0;
    QTest::newRow("empty") << QByteArray("") << 0;
    QTest::newRow("max") << QByteArray("2147483647") << INT_MAX;
    QTest::newRow("min") << QByteArray("-2147483648") << INT_MIN;
    QTest::newRow("too large saturates") << QByteArray("99999999999999999999999") << INT_MAX;
    QTest::newRow("too small saturates") << QByteArray("-99999999999999999999999") << INT_MIN;
    QTest::newRow("leading zeros") << QByteArray("0007") << 7;
}

void TestXmlElement::textToInt()
{
    QFETCH(QByteArray, text);
    QTEST(int(CXmlElement::TextToInt(text)), "expected");
}

void TestXmlElement::intToText_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("zero") << 0 << QByteArray("0");
    QTest::newRow("negative") << -1 << QByteArray("-1");
    QTest::newRow("colour") << 16711680 << QByteArray("16711680");
    QTest::newRow("min") << INT_MIN << QByteArray("-2147483648");
}

void TestXmlElement::intToText()
{
    QFETCH(int, value);
    QTEST(CXmlElement::IntToText(value), "expected");
    CXmlElement e;
    e.SetAttributeInt("Index", value);
    QCOMPARE(e.Attributes, QByteArrayList{"Index=\"" + CXmlElement::IntToText(value) + '"'});
    QCOMPARE(e.GetAttributeInt("Index", 12345), value);
}

void TestXmlElement::childLookup()
{
    CXmlElement root;
    root.AddChild("SETTINGS").Text = "first";
    root.AddChild("Settings").Text = "second";
    root.AddChild("Other");
    QCOMPARE(root.Children.size(), size_t(3));
    QVERIFY(root.FindChild("settings"));
    QCOMPARE(root.FindChild("settings")->Text, QByteArray("first"));
    QCOMPARE(root.GetChild("Settings").Text, QByteArray("first"));
    QVERIFY(!root.FindChild("Workspace"));
    QVERIFY(!root.FindChild(""));
    bool thrown = false;
    try {
        root.GetChild("Workspace");
    } catch (const CFileException &e) {
        thrown = true;
        QVERIFY(e.Reason().contains("Workspace"));
    }
    QVERIFY(thrown);
}

void TestXmlElement::childReferenceSurvivesGrandchildren()
{
    // Filling a child's own subtree through its reference is safe.
    CXmlElement root;
    CXmlElement &ws = root.AddChild("Workspace");
    for (int i = 0; i < 1000; ++i)
        ws.AddChild("Cube").SetAttributeInt("Index", i);
    QCOMPARE(root.Children.size(), size_t(1));
    QCOMPARE(root.Children[0].Children.size(), size_t(1000));
    QCOMPARE(root.Children[0].Children[999].GetAttributeInt("Index", -1), 999);
}

QTEST_APPLESS_MAIN(TestXmlElement)
#include "tst_xmlelement.moc"
