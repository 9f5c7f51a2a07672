// SPDX-License-Identifier: GPL-3.0-or-later
// The reader: the scanning primitives, Parse on hand-written texts, and LoadFromFile.

#include "files/fileexception.h"
#include "files/xmlelement.h"

#include <QTemporaryDir>
#include "support/testfiles.h"

#include <QtTest>

namespace {

// A compact picture of a tree: NAME[entry|entry]"text"{child,child}.
QByteArray Dump(const CXmlElement &e)
{
    QByteArray out = e.Name;
    if (!e.Attributes.isEmpty())
        out += '[' + e.Attributes.join('|') + ']';
    if (!e.Text.isEmpty())
        out += '"' + e.Text + '"';
    if (!e.Children.empty()) {
        out += '{';
        for (size_t i = 0; i < e.Children.size(); ++i)
            out += (i ? "," : "") + Dump(e.Children[i]);
        out += '}';
    }
    return out;
}

QByteArray Nested(int depth)
{
    return QByteArray("<a>").repeated(depth) + QByteArray("</a>").repeated(depth);
}

} // namespace

class TestXmlReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void skipSpaceAndComments_data();
    void skipSpaceAndComments();
    void readTag_data();
    void readTag();
    void splitTag_data();
    void splitTag();
    void readClosingTag_data();
    void readClosingTag();
    void parse_data();
    void parse();
    void parseStopsAfterRoot();
    void nestingLimit();
    void largeInputs();
    void loadFromFile_data();
    void loadFromFile();
    void loadMissingFile();
};

void TestXmlReader::skipSpaceAndComments_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("expected");
    QTest::newRow("six whitespace bytes") << QByteArray("\x00\x08\n\r\x1B <a>", 9) << 0 << 6;
    QTest::newRow("tab is not whitespace") << QByteArray("\t<a>") << 0 << 0;
    QTest::newRow("comment") << QByteArray("<!-- x --> <a>") << 0 << 11;
    QTest::newRow("shortest comment") << QByteArray("<!--><a>") << 0 << 5;
    QTest::newRow("two comments") << QByteArray(" <!--a--> <!--b-->x") << 0 << 18;
    QTest::newRow("unclosed comment") << QByteArray("<!-- x <a>") << 0 << -1;
    QTest::newRow("comment at end") << QByteArray("<!-- x -->") << 0 << -1;
    QTest::newRow("spaces to end") << QByteArray("a   ") << 1 << -1;
    QTest::newRow("already at end") << QByteArray("abc") << 3 << 3;
    QTest::newRow("past end") << QByteArray("abc") << 7 << 7;
    QTest::newRow("not a comment") << QByteArray("<!- x -->") << 0 << 0;
    QTest::newRow("comment start at tail") << QByteArray("  <!--") << 0 << -1;
}

void TestXmlReader::skipSpaceAndComments()
{
    QFETCH(QByteArray, text);
    QFETCH(int, start);
    int position = start;
    CXmlElement::SkipSpaceAndComments(text, position);
    QTEST(position, "expected");
}

void TestXmlReader::readTag_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<QByteArray>("tag");
    QTest::addColumn<int>("end");
    QTest::newRow("simple") << QByteArray("<a>x") << 0 << QByteArray("<a>") << 3;
    QTest::newRow("quoted >") << QByteArray("<Cube Note=\"a > b\"/>z") << 0 << QByteArray("<Cube Note=\"a > b\"/>")
                              << 20;
    QTest::newRow("not at <") << QByteArray("x<a>") << 0 << QByteArray() << 0;
    QTest::newRow("unterminated") << QByteArray("<a b") << 0 << QByteArray() << 4;
    QTest::newRow("open quote hides >") << QByteArray("<a \">") << 0 << QByteArray() << 5;
    QTest::newRow("from middle") << QByteArray("xx<b/>") << 2 << QByteArray("<b/>") << 6;
    QTest::newRow("negative position") << QByteArray("<a>") << -1 << QByteArray() << -1;
}

void TestXmlReader::readTag()
{
    QFETCH(QByteArray, text);
    QFETCH(int, start);
    int position = start;
    QTEST(CXmlElement::ReadTag(text, position), "tag");
    QTEST(position, "end");
}

void TestXmlReader::splitTag_data()
{
    QTest::addColumn<QByteArray>("tag");
    QTest::addColumn<QByteArrayList>("tokens");
    QTest::addColumn<bool>("balanced");
    QTest::newRow("name only") << QByteArray("<a>") << QByteArrayList{"a"} << true;
    QTest::newRow("spaces around =") << QByteArray("<Cube Row = \"3\">") << QByteArrayList{"Cube", "Row", "=", "\"3\""}
                                     << true;
    QTest::newRow("slash stays on token")
        << QByteArray("<Cube Index=\"7\"/>") << QByteArrayList{"Cube", "Index=\"7\"/"} << true;
    QTest::newRow("quoted spaces") << QByteArray("<a b=\"x  y\">") << QByteArrayList{"a", "b=\"x  y\""} << true;
    QTest::newRow("tab joins") << QByteArray("<Cube\tRow=\"1\"/>") << QByteArrayList{"Cube\tRow=\"1\"/"} << true;
    QTest::newRow("many separators") << QByteArray("< \r\n a \x1B b >") << QByteArrayList{"a", "b"} << true;
    QTest::newRow("open quote") << QByteArray("<Cube Row=\"1>") << QByteArrayList{"Cube", "Row=\"1"} << false;
    QTest::newRow("empty") << QByteArray("<>") << QByteArrayList{} << true;
    QTest::newRow("blank") << QByteArray("<   >") << QByteArrayList{} << true;
}

void TestXmlReader::splitTag()
{
    QFETCH(QByteArray, tag);
    QByteArrayList tokens{"stale"};
    QTEST(CXmlElement::SplitTag(tag, tokens), "balanced");
    QTEST(tokens, "tokens");
}

void TestXmlReader::readClosingTag_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("tag");
    QTest::addColumn<int>("end");
    QTest::newRow("end tag") << QByteArray("</a>x") << QByteArray("</a>") << 4;
    QTest::newRow("start tag") << QByteArray("<a>") << QByteArray() << 0;
    QTest::newRow("too short") << QByteArray("</") << QByteArray() << 0;
    QTest::newRow("bare") << QByteArray("</>") << QByteArray("</>") << 3;
    QTest::newRow("unterminated") << QByteArray("</a") << QByteArray() << 0;
}

void TestXmlReader::readClosingTag()
{
    QFETCH(QByteArray, text);
    int position = 0;
    QTEST(CXmlElement::ReadClosingTag(text, position), "tag");
    QTEST(position, "end");
}

void TestXmlReader::parse_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QByteArray>("tree");

    QTest::newRow("empty root") << QByteArray("<xml/>") << true << QByteArray("XML");
    QTest::newRow("end tag ignores case") << QByteArray("<xml></XML>") << true << QByteArray("XML");
    QTest::newRow("text") << QByteArray("<Color1>255</Color1>") << true << QByteArray("COLOR1\"255\"");
    QTest::newRow("text on own line") << QByteArray("<Color1>\r\n255\r\n</Color1>\r\n") << true
                                      << QByteArray("COLOR1\"255\"");
    QTest::newRow("spaces around text") << QByteArray("<Color1>  255  </Color1>") << true
                                        << QByteArray("COLOR1\"255  \"");
    QTest::newRow("mixed line ends dropped") << QByteArray("<a>x \n\r\n\r</a>") << true << QByteArray("A\"x \"");
    QTest::newRow("comment splits text") << QByteArray("<A>abc<!-- note -->def</A>") << true << QByteArray("A\"def\"");
    QTest::newRow("text before child") << QByteArray("<A>abc<B/></A>") << false << QByteArray("A\"abc\"");
    QTest::newRow("text after child") << QByteArray("<A><B/>abc</A>") << true << QByteArray("A\"abc\"{B}");
    QTest::newRow("stray end tag") << QByteArray("<A><B></C></B></A>") << true << QByteArray("A{B}");
    QTest::newRow("quoted > in tag") << QByteArray("<Cube Note=\"a > b\"/>") << true
                                     << QByteArray("CUBE[Note=\"a > b\"]");
    QTest::newRow("open quote") << QByteArray("<Cube Row=\"1>") << false << QByteArray();
    QTest::newRow("tab joins name") << QByteArray("<Cube\tRow=\"1\"/>") << true << QByteArray("CUBE\tROW=\"1\"");
    QTest::newRow("empty form, spaced slash")
        << QByteArray("<Cube Row=\"1\" />") << true << QByteArray("CUBE[Row=\"1\"]");
    QTest::newRow("empty form, joined slash")
        << QByteArray("<Cube Row=\"1\"/>") << true << QByteArray("CUBE[Row=\"1\"]");
    QTest::newRow("empty form, name only") << QByteArray("<Workspace/>") << true << QByteArray("WORKSPACE");
    QTest::newRow("unquoted entries kept as written") << QByteArray("<c Row=3 x/>") << true << QByteArray("C[Row=3|x]");
    QTest::newRow("children in order") << QByteArray("<r><a/><b>t</b><a x=\"1\"/></r>") << true
                                       << QByteArray("R{A,B\"t\",A[x=\"1\"]}");
    QTest::newRow("leading comments and space") << QByteArray(" <!-- c -->\r\n<a/>") << true << QByteArray("A");
    QTest::newRow("empty text") << QByteArray("") << false << QByteArray();
    QTest::newRow("no <") << QByteArray("hello") << false << QByteArray();
    QTest::newRow("empty tag") << QByteArray("<>") << false << QByteArray();
    QTest::newRow("root not closed") << QByteArray("<a><b/>") << false << QByteArray("A{B}");
    QTest::newRow("text runs to end") << QByteArray("<a>text") << false << QByteArray("A\"text\"");
    QTest::newRow("only start tag") << QByteArray("<a>") << false << QByteArray("A");
    QTest::newRow("child not closed") << QByteArray("<a><b></a>") << false << QByteArray("A{B}");
    QTest::newRow("declaration is not understood")
        << QByteArray("<?xml version=\"1.0\"?><a/>") << false << QByteArray("?XML[version=\"1.0\"?]{A}");
    QTest::newRow("bare slash name") << QByteArray("</>") << true << QByteArray("");
    QTest::newRow("second text replaces first") << QByteArray("<a>one<!---->two</a>") << true << QByteArray("A\"two\"");
    QTest::newRow("text then child after comment")
        << QByteArray("<a>one<!----><b/></a>") << false << QByteArray("A\"one\"");
    QTest::newRow("tab in text kept") << QByteArray("<a>\tx\t</a>") << true << QByteArray("A\"\tx\t\"");
}

void TestXmlReader::parse()
{
    QFETCH(QByteArray, text);
    CXmlElement root;
    int position = 0;
    QTEST(root.Parse(text, position), "ok");
    QTEST(Dump(root), "tree");
}

void TestXmlReader::parseStopsAfterRoot()
{
    const QByteArray text("<a/> trailing <garbage");
    CXmlElement root;
    int position = 0;
    QVERIFY(root.Parse(text, position));
    QCOMPARE(position, 4);
    QVERIFY(CXmlElement().ParseDocument(text));
}

void TestXmlReader::nestingLimit()
{
    CXmlElement ok;
    QVERIFY(ok.ParseDocument(Nested(CXmlElement::MaxDepth)));
    CXmlElement tooDeep;
    QVERIFY(!tooDeep.ParseDocument(Nested(CXmlElement::MaxDepth + 1)));
    // Far deeper than the stack could take if the reader recursed without a limit.
    CXmlElement hostile;
    QVERIFY(!hostile.ParseDocument(QByteArray("<a>").repeated(2000000)));
    QVERIFY(!hostile.ParseDocument(QByteArray("<a x=\"1\">").repeated(200000)));
}

void TestXmlReader::largeInputs()
{
    // Shapes that would cost quadratic time in a careless scanner; each must finish.
    const int n = 400000;
    const int children = CXmlElement::MaxElements - 1; // the most the reader takes
    CXmlElement siblings;
    QVERIFY(siblings.ParseDocument("<w>" + QByteArray("<c/>").repeated(children) + "</w>"));
    QCOMPARE(siblings.Children.size(), size_t(children));
    // One element more is refused with a reason, before the tree grows any further.
    CXmlElement tooMany;
    QVERIFY_THROWS_EXCEPTION(CFileException, tooMany.ParseDocument("<w>" + QByteArray("<c/>").repeated(n) + "</w>"));
    QVERIFY(tooMany.Children.size() <= size_t(CXmlElement::MaxElements));
    CXmlElement strays;
    QVERIFY(strays.ParseDocument("<w>" + QByteArray("</x>").repeated(n) + "</w>"));
    CXmlElement segments;
    QVERIFY(segments.ParseDocument("<w>" + QByteArray("ab<!---->").repeated(n) + "</w>"));
    QCOMPARE(segments.Text, QByteArray("ab"));
    CXmlElement openTags;
    QVERIFY(!openTags.ParseDocument("<w>" + QByteArray("<").repeated(n)));
    CXmlElement openComments;
    QVERIFY(!openComments.ParseDocument("<w>" + QByteArray("<!--").repeated(n)));
    CXmlElement quotes;
    QVERIFY(!quotes.ParseDocument("<w " + QByteArray("\"").repeated(n + 1) + ">"));
    // Attributes count toward the same limit, so one tag of tiny ones cannot take
    // hundreds of MB either.
    CXmlElement attributes;
    const int most = CXmlElement::MaxElements - 1; // and the element itself
    QVERIFY(attributes.ParseDocument("<w" + QByteArray(" a=\"1\"").repeated(most) + "/>"));
    QCOMPARE(attributes.Attributes.size(), qsizetype(most));
    CXmlElement tooManyAttributes;
    QVERIFY_THROWS_EXCEPTION(CFileException,
                             tooManyAttributes.ParseDocument("<w" + QByteArray(" a").repeated(n) + "/>"));
}

void TestXmlReader::loadFromFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QByteArray>("tree");
    QTest::newRow("figure-like") << QByteArray("<xml>\r\n<Version>\r\n1.0\r\n</Version>\r\n</xml>\r\n") << true
                                 << QByteArray("XML{VERSION\"1.0\"}");
    QTest::newRow("zero byte ends text") << QByteArray("<a/>\0garbage", 12) << true << QByteArray("A");
    QTest::newRow("zero byte cuts root") << QByteArray("<a>x\0</a>", 9) << false << QByteArray("A\"x\"");
    QTest::newRow("empty file") << QByteArray() << false << QByteArray();
    QTest::newRow("no <") << QByteArray("just text") << false << QByteArray();
    QTest::newRow("root not closed") << QByteArray("<a><b/>") << false << QByteArray("A{B}");
}

void TestXmlReader::loadFromFile()
{
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString path = dir.filePath("f.xml");
    QVERIFY(WriteFile(path, content));
    CXmlElement root;
    QString error;
    QTEST(root.LoadFromFile(path, &error), "ok");
    QTEST(Dump(root), "tree");
    QFETCH(bool, ok);
    QCOMPARE(error.isEmpty(), ok);
}

void TestXmlReader::loadMissingFile()
{
    QTemporaryDir dir;
    CXmlElement root;
    QString error;
    QVERIFY(!root.LoadFromFile(dir.filePath("missing.xml"), &error));
    QVERIFY2(error.contains("missing.xml"), qPrintable(error));
    // A folder is not a file.
    QVERIFY(!root.LoadFromFile(dir.path(), &error));
    // Larger than any figure file: refused before being read into memory.
    const QString big = dir.filePath("big.xml");
    QFile file(big);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.resize(CXmlElement::MaxFileSize + 1));
    file.close();
    QVERIFY(!root.LoadFromFile(big, &error));
    QVERIFY2(error.contains("too large"), qPrintable(error));
}

QTEST_APPLESS_MAIN(TestXmlReader)
#include "tst_xmlreader.moc"
