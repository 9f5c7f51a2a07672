// SPDX-License-Identifier: GPL-3.0-or-later
// Figure files: the exact text written, what loading accepts, refuses and skips.

#include "document/tarvexdoc.h"
#include "files/figurexml.h"

#include <QRandomGenerator>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include "support/testfiles.h"
#include "support/testdocument.h"

#include <QtTest>

namespace {

QByteArray Settings(int width = 20, int height = 40, int cubeSize = 32)
{
    return "<Settings>\r\n<Color1>\r\n255\r\n</Color1>\r\n<Color2>\r\n60928\r\n</Color2>\r\n"
           "<Color3>\r\n16711680\r\n</Color3>\r\n<BkColor>\r\n16777215\r\n</BkColor>\r\n"
           "<WorkspaceWidth>\r\n"
           + QByteArray::number(width)
           + "\r\n</WorkspaceWidth>\r\n"
             "<WorkspaceHeight>\r\n"
           + QByteArray::number(height)
           + "\r\n</WorkspaceHeight>\r\n"
             "<CubeSize>\r\n"
           + QByteArray::number(cubeSize) + "\r\n</CubeSize>\r\n</Settings>\r\n";
}

QByteArray Figure(const QByteArray &workspace, const QByteArray &settings = Settings(),
                  const QByteArray &application = "Tarvex", const QByteArray &version = "1.0")
{
    return "<xml>\r\n<Application>\r\n" + application + "\r\n</Application>\r\n<Version>\r\n" + version
           + "\r\n</Version>\r\n" + settings + "<Workspace>\r\n" + workspace + "</Workspace>\r\n</xml>\r\n";
}

QByteArray Cube(int col, int row, int index)
{
    return "<Cube Col=\"" + QByteArray::number(col) + "\" Row=\"" + QByteArray::number(row) + "\" Index=\""
           + QByteArray::number(index) + "\"/>\r\n";
}

// The settings with a Palette element holding colourings of the given entries.
QByteArray PaletteSettings(const QList<QByteArray> &colourings)
{
    QByteArray palette = "<Palette>\r\n";
    for (const QByteArray &faces : colourings)
        palette += "<Colouring " + faces + "/>\r\n";
    return Settings().replace("</Settings>", palette + "</Palette>\r\n</Settings>");
}

QByteArray PaintedCube(int col, int row, int index, int paint)
{
    return Cube(col, row, index).replace("/>", " Paint=\"" + QByteArray::number(paint) + "\"/>");
}

// Every occupied cell as "column,row=value", in row order.
QStringList Cells(const CTarvexDoc &doc)
{
    QStringList cells;
    const CubeGrid &grid = doc.Figure().Grid;
    for (int r = 0; r < grid.size(); ++r)
        for (int c = 0; c < grid[r].size(); ++c)
            if (grid[r][c] >= 0)
                cells << QStringLiteral("%1,%2=%3").arg(c).arg(r).arg(grid[r][c]);
    return cells;
}

} // namespace

class TestFigureXml : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void writesExampleExactly();
    void readsExample();
    void oneCubeLine();
    void roundTrip_data();
    void roundTrip();
    void load_data();
    void load();
    void colorsKeepTheirLow24Bits_data();
    void colorsKeepTheirLow24Bits();
    void refusedFileChangesNothing_data();
    void refusedFileChangesNothing();
    void loadAnnouncesColoursAndStoresSettings();
    void saveReportsFailure();

private:
    QTemporaryDir m_dir;
};

void TestFigureXml::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
}

void TestFigureXml::writesExampleExactly()
{
    CTestDocument doc({{3, 0}}, 12);
    PlaceCube(doc, 2, 1, 63);
    const QString path = m_dir.filePath("example.xml");
    QString error;
    QVERIFY2(doc.SaveFigureXml(path, &error), qPrintable(error));
    QCOMPARE(ReadFile(path), ReadFile(TARVEX_TEST_DATA "/figures/example.xml"));
}

void TestFigureXml::readsExample()
{
    CTestDocument doc(50, 50, {}, 0, 100);
    EditFigure(doc, [&](CFigure &f) { f.Color1 = 1; });
    doc.Reset();
    QString error;
    QVERIFY2(LoadFigure(doc, TARVEX_TEST_DATA "/figures/example.xml", &error), qPrintable(error));
    QCOMPARE(doc.Figure().GridSize(), QSize(20, 40));
    QCOMPARE(doc.Figure().CubeSize, 32);
    QCOMPARE(doc.Figure().Color1, ColorRef(255));
    QCOMPARE(doc.Figure().Color2, ColorRef(60928));
    QCOMPARE(doc.Figure().Color3, ColorRef(16711680));
    QCOMPARE(doc.Figure().BkColor, ColorRef(16777215));
    QCOMPARE(Cells(doc), (QStringList{"3,0=12", "2,1=63"}));
}

void TestFigureXml::oneCubeLine()
{
    CTestDocument doc({{0, 0}}, 5);
    const QString path = m_dir.filePath("one.xml");
    QVERIFY(doc.SaveFigureXml(path, nullptr));
    QVERIFY(ReadFile(path).endsWith(
        "<Workspace>\r\n<Cube Col=\"0\" Row=\"0\" Index=\"5\"/>\r\n</Workspace>\r\n</xml>\r\n"));
}

void TestFigureXml::roundTrip_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("cubeSize");
    QTest::addColumn<int>("fill"); // percent of cells placed
    QTest::addColumn<int>("colourings");
    QTest::newRow("smallest, full") << 10 << 10 << 16 << 100 << 1;
    QTest::newRow("largest, full") << 100 << 100 << 200 << 100 << 1;
    QTest::newRow("odd sizes, sparse") << 37 << 11 << 77 << 20 << 1;
    QTest::newRow("empty") << 20 << 40 << 32 << 0 << 1;
    QTest::newRow("two colourings") << 21 << 13 << 40 << 60 << 2;
    QTest::newRow("largest, sixteen colourings") << 100 << 100 << 200 << 100 << 16;
    QTest::newRow("a palette, no cube in it") << 20 << 40 << 32 << 0 << 3;
}

void TestFigureXml::roundTrip()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, cubeSize);
    QFETCH(int, fill);
    QFETCH(int, colourings);
    QRandomGenerator random(uint(width * 1000 + height));
    CTestDocument doc(width, height, {}, 0, cubeSize);
    EditFigure(doc, [&](CFigure &f) { f.Color1 = 0x123456; });
    EditFigure(doc, [&](CFigure &f) { f.Color2 = 0xFFFFFF; });
    EditFigure(doc, [&](CFigure &f) { f.Color3 = 0; });
    EditFigure(doc, [&](CFigure &f) { f.BkColor = 0x010203; });
    for (int i = 1; i < colourings; ++i)
        doc.AddColouring(CColouring{ColorRef(i), 0xFFFFFF, ColorRef(0x10000 * i)});
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < RowLength(width, r); ++c)
            if (int(random.bounded(100)) < fill)
                PlaceCube(doc, c, r, CellValue(int(random.bounded(64)), int(random.bounded(colourings))));
    const QString path = m_dir.filePath("roundtrip.xml");
    QString error;
    QVERIFY2(doc.SaveFigureXml(path, &error), qPrintable(error));

    CTestDocument back;
    QVERIFY2(LoadFigure(back, path, &error), qPrintable(error));
    QCOMPARE(back.Figure().GridSize(), doc.Figure().GridSize());
    QCOMPARE(back.Figure().CubeSize, doc.Figure().CubeSize);
    QCOMPARE(back.Figure().Color1, doc.Figure().Color1);
    QCOMPARE(back.Figure().Color2, doc.Figure().Color2);
    QCOMPARE(back.Figure().Color3, doc.Figure().Color3);
    QCOMPARE(back.Figure().BkColor, doc.Figure().BkColor);
    QCOMPARE(back.Figure().Palette, doc.Figure().Palette);
    QCOMPARE(back.Figure().Grid, doc.Figure().Grid);
    // Without a palette the file is exactly what earlier versions wrote.
    QCOMPARE(ReadFile(path).contains("Palette") || ReadFile(path).contains("Paint"), colourings > 1);
    // Saving what was loaded gives the same bytes.
    const QString again = m_dir.filePath("again.xml");
    QVERIFY(back.SaveFigureXml(again, &error));
    QCOMPARE(ReadFile(again), ReadFile(path));
}

void TestFigureXml::load_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QStringList>("cells");

    const QByteArray two = Cube(3, 0, 12) + Cube(2, 1, 63);
    const QStringList twoCells{"3,0=12", "2,1=63"};
    QTest::newRow("example") << Figure(two) << true << twoCells;
    QTest::newRow("application in capitals") << Figure(two, Settings(), "TARVEX") << true << twoCells;
    QTest::newRow("other application") << Figure(two, Settings(), "Drawer") << false << QStringList();
    QTest::newRow("version 1.00") << Figure(two, Settings(), "Tarvex", "1.00") << false << QStringList();
    QTest::newRow("version 2.0") << Figure(two, Settings(), "Tarvex", "2.0") << false << QStringList();
    QTest::newRow("version with spaces") << Figure(two, Settings(), "Tarvex", "1.0 ") << false << QStringList();
    QByteArray shuffled = Settings().toLower();
    shuffled.replace("<color1>\r\n255\r\n</color1>\r\n", "");
    shuffled.replace("</settings>", "<color1>255</color1></settings>");
    QTest::newRow("settings reordered, lower case") << Figure(two, shuffled) << true << twoCells;
    QByteArray otherRoot = Figure(two);
    otherRoot.replace("<xml>", "<figure>").replace("</xml>", "</figure>");
    QTest::newRow("root with another name") << otherRoot << true << twoCells;
    QByteArray noCubeSize = Figure(two);
    noCubeSize.replace("<CubeSize>\r\n32\r\n</CubeSize>\r\n", "");
    QTest::newRow("missing setting") << noCubeSize << false << QStringList();
    QByteArray noWorkspace = Figure(two);
    noWorkspace.replace("<Workspace>", "<Work>").replace("</Workspace>", "</Work>");
    QTest::newRow("missing workspace") << noWorkspace << false << QStringList();
    QByteArray noVersion = Figure(two);
    noVersion.replace("<Version>\r\n1.0\r\n</Version>\r\n", "");
    QTest::newRow("missing version") << noVersion << false << QStringList();
    QTest::newRow("not closed") << Figure(two).chopped(8) << false << QStringList();
    QTest::newRow("declaration first") << "<?xml version=\"1.0\"?>\r\n" + Figure(two) << false << QStringList();

    // Sizes outside what the program can show are refused; the limits themselves load.
    QTest::newRow("width 9") << Figure(two, Settings(9)) << false << QStringList();
    QTest::newRow("width 101") << Figure(two, Settings(101)) << false << QStringList();
    QTest::newRow("height 9") << Figure(two, Settings(20, 9)) << false << QStringList();
    QTest::newRow("height 101") << Figure(two, Settings(20, 101)) << false << QStringList();
    QTest::newRow("cube size 15") << Figure(two, Settings(20, 40, 15)) << false << QStringList();
    QTest::newRow("cube size 201") << Figure(two, Settings(20, 40, 201)) << false << QStringList();
    QTest::newRow("huge width") << Figure(two, Settings(20, 40).replace("\r\n20\r\n", "\r\n99999999999\r\n")) << false
                                << QStringList();
    QTest::newRow("non-numeric size") << Figure(two, Settings(20, 40).replace("\r\n32\r\n", "\r\nbig\r\n")) << false
                                      << QStringList();
    QTest::newRow("limits 10, 10, 16") << Figure(two, Settings(10, 10, 16)) << true << twoCells;
    QTest::newRow("limits 100, 100, 200") << Figure(two, Settings(100, 100, 200)) << true << twoCells;

    // Cubes that do not fit are skipped; the rest of the file still loads.
    QTest::newRow("row past the grid") << Figure(Cube(0, 40, 1) + Cube(5, 5, 63)) << true << QStringList{"5,5=63"};
    QTest::newRow("negative column") << Figure(Cube(-1, 2, 1) + Cube(5, 5, 63)) << true << QStringList{"5,5=63"};
    QTest::newRow("odd row is one shorter")
        << Figure(Cube(19, 1, 63) + Cube(19, 2, 63)) << true << QStringList{"19,2=63"};
    QTest::newRow("index 64 skipped") << Figure(Cube(1, 1, 64) + Cube(5, 5, 0)) << true << QStringList{"5,5=0"};
    QTest::newRow("index -1 empties the cell") << Figure(Cube(5, 5, 7) + Cube(5, 5, -1)) << true << QStringList();
    QTest::newRow("index -2 skipped") << Figure(Cube(5, 5, 7) + Cube(5, 5, -2)) << true << QStringList{"5,5=7"};
    QTest::newRow("huge index skipped") << Figure(Cube(5, 5, 1000)) << true << QStringList();
    QTest::newRow("last duplicate wins") << Figure(Cube(5, 5, 7) + Cube(5, 5, 63)) << true << QStringList{"5,5=63"};
    QTest::newRow("missing attributes read as 0")
        << Figure("<Cube/>\r\n<Cube Col=\"4\"/>\r\n") << true << QStringList{"0,0=0", "4,0=0"};
    QTest::newRow("cube with text and children") << Figure("<cube row=\"2\" col=\"3\" index=\"63\">\r\nx\r\n</cube>\r\n"
                                                           "<CUBE Row=\"4\" Col=\"1\" Index=\"63\"><b/></CUBE>\r\n")
                                                 << true << QStringList{"3,2=63", "1,4=63"};
    QTest::newRow("other children skipped")
        << Figure("<Block Col=\"1\" Row=\"1\" Index=\"1\"/>\r\n" + Cube(2, 2, 63)) << true << QStringList{"2,2=63"};
    QTest::newRow("empty workspace") << Figure(QByteArray()) << true << QStringList();
    // Neighbours placed later cut the corners of earlier cubes, as clicks do.
    QTest::newRow("placing cuts neighbours")
        << Figure(Cube(5, 4, 0) + Cube(5, 5, 0)) << true << QStringList{"5,4=4", "5,5=0"};

    // Colourings: the Paint of a cube names one of the palette; bad palette data is refused.
    const QByteArray green = "Color1=\"1\" Color2=\"65280\" Color3=\"16777215\"";
    QTest::newRow("paint 1") << Figure(PaintedCube(5, 5, 7, 1) + Cube(6, 6, 7), PaletteSettings({green})) << true
                             << QStringList{"5,5=263", "6,6=7"};
    QTest::newRow("paint 0 written out") << Figure(PaintedCube(5, 5, 7, 0), PaletteSettings({green})) << true
                                         << QStringList{"5,5=7"};
    QTest::newRow("cuts keep the paint") << Figure(PaintedCube(5, 4, 0, 1) + Cube(5, 5, 0), PaletteSettings({green}))
                                         << true << QStringList{"5,4=260", "5,5=0"};
    QTest::newRow("paint beyond the palette")
        << Figure(PaintedCube(5, 5, 7, 2), PaletteSettings({green})) << false << QStringList();
    QTest::newRow("paint without a palette") << Figure(PaintedCube(5, 5, 7, 1)) << false << QStringList();
    QTest::newRow("negative paint") << Figure(PaintedCube(5, 5, 7, -1), PaletteSettings({green})) << false
                                    << QStringList();
    QTest::newRow("fifteen further colourings")
        << Figure(PaintedCube(5, 5, 7, 15), PaletteSettings(QList<QByteArray>(15, green))) << true
        << QStringList{"5,5=3847"};
    QTest::newRow("sixteen further colourings")
        << Figure(Cube(5, 5, 7), PaletteSettings(QList<QByteArray>(16, green))) << false << QStringList();
    QTest::newRow("colour above 0xFFFFFF")
        << Figure(Cube(5, 5, 7), PaletteSettings({"Color1=\"16777216\" Color2=\"0\" Color3=\"0\""})) << false
        << QStringList();
    QTest::newRow("negative colour") << Figure(Cube(5, 5, 7),
                                               PaletteSettings({"Color1=\"0\" Color2=\"-5\" Color3=\"0\""}))
                                     << false << QStringList();
}

void TestFigureXml::load()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, ok);
    const QString path = m_dir.filePath("load.xml");
    QVERIFY(WriteFile(path, text));
    CTestDocument doc;
    QString error;
    QCOMPARE(LoadFigure(doc, path, &error), ok);
    QCOMPARE(error.isEmpty(), ok);
    if (ok)
        QTEST(Cells(doc), "cells");
    // The in-memory path gives the same answer.
    CFigure fromData;
    QCOMPARE(CFigureXml::LoadFromData(text, fromData, &error), ok);
    if (ok)
        QCOMPARE(fromData, doc.Figure());
}

void TestFigureXml::colorsKeepTheirLow24Bits_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<uint>("color");
    QTest::newRow("in range") << QByteArray("16711680") << 0xFF0000u;
    QTest::newRow("-1") << QByteArray("-1") << 0xFFFFFFu;
    QTest::newRow("above 24 bits") << QByteArray("16777471") << 0x0000FFu;
    QTest::newRow("lowest") << QByteArray("-2147483648") << 0x000000u;
}

// As the drawing uses them, so what is copied can be pasted.
void TestFigureXml::colorsKeepTheirLow24Bits()
{
    QFETCH(QByteArray, stored);
    QFETCH(uint, color);
    QByteArray settings = Settings();
    for (const QByteArray &value :
         {QByteArray("255"), QByteArray("60928"), QByteArray("16711680"), QByteArray("16777215")})
        settings.replace("\r\n" + value + "\r\n", "\r\n" + stored + "\r\n");
    CFigure figure;
    QString error;
    QVERIFY2(CFigureXml::LoadFromData(Figure(Cube(1, 1, 0), settings), figure, &error), qPrintable(error));
    QCOMPARE(figure.Color1, ColorRef(color));
    QCOMPARE(figure.Color2, ColorRef(color));
    QCOMPARE(figure.Color3, ColorRef(color));
    QCOMPARE(figure.BkColor, ColorRef(color));
}

void TestFigureXml::refusedFileChangesNothing_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("width out of range") << Figure(Cube(1, 1, 1), Settings(101, 40, 50));
    QTest::newRow("cube size out of range") << Figure(Cube(1, 1, 1), Settings(30, 30, 8));
    QTest::newRow("wrong version") << Figure(Cube(1, 1, 1), Settings(30, 30, 50), "Tarvex", "1.1");
    QTest::newRow("missing setting") << Figure(Cube(1, 1, 1),
                                               QByteArray(Settings(30, 30, 50)).replace("Color3", "Colour3"));
}

void TestFigureXml::refusedFileChangesNothing()
{
    QFETCH(QByteArray, text);
    const QString path = m_dir.filePath("refused.xml");
    QVERIFY(WriteFile(path, text));
    CTestDocument doc(12, 14, {}, 0, 40);
    EditFigure(doc, [&](CFigure &f) { f.Color1 = 7; });
    EditFigure(doc, [&](CFigure &f) { f.BkColor = 9; });
    QSignalSpy colours(&doc, &CTarvexDoc::BarColorsChanged);
    QSignalSpy views(&doc, &CTarvexDoc::UpdateAllViews);
    QString error;
    QVERIFY(!LoadFigure(doc, path, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(doc.Figure().GridSize(), QSize(12, 14));
    QCOMPARE(doc.Figure().CubeSize, 40);
    QCOMPARE(doc.Figure().Color1, ColorRef(7));
    QCOMPARE(doc.Figure().BkColor, ColorRef(9));
    QVERIFY(doc.Figure().IsEmpty());
    QCOMPARE(colours.count(), 0);
    QCOMPARE(views.count(), 0);
}

void TestFigureXml::loadAnnouncesColoursAndStoresSettings()
{
    QByteArray settings = Settings(30, 20, 48);
    settings.replace("\r\n255\r\n", "\r\n1\r\n")
        .replace("\r\n60928\r\n", "\r\n2\r\n")
        .replace("\r\n16711680\r\n", "\r\n3\r\n");
    const QString path = m_dir.filePath("colours.xml");
    QVERIFY(WriteFile(path, Figure(Cube(1, 1, 1), settings)));

    QSettings store("Brellow", "Tarvex");
    store.clear();
    store.sync();
    {
        // A document without the store never writes it.
        CTestDocument batch;
        QVERIFY(LoadFigure(batch, path, nullptr));
        QSettings check("Brellow", "Tarvex");
        QVERIFY(check.allKeys().isEmpty());
    }
    CTarvexDoc doc(true);
    QSignalSpy colours(&doc, &CTarvexDoc::BarColorsChanged);
    QVERIFY(LoadFigure(doc, path, nullptr));
    QCOMPARE(colours.count(), 1);
    QCOMPARE(colours.at(0).at(0).value<ColorRef>(), ColorRef(1));
    QCOMPARE(colours.at(0).at(1).value<ColorRef>(), ColorRef(2));
    QCOMPARE(colours.at(0).at(2).value<ColorRef>(), ColorRef(3));
    QSettings check("Brellow", "Tarvex");
    QCOMPARE(check.value("Settings/Width").toInt(), 30);
    QCOMPARE(check.value("Settings/Height").toInt(), 20);
    QCOMPARE(check.value("Settings/CubeSize").toInt(), 48);
    QCOMPARE(check.value("Settings/Color2").toInt(), 2);
    check.clear();
}

void TestFigureXml::saveReportsFailure()
{
    CTestDocument doc({{1, 1}}, 1);
    QString error;
    QVERIFY(!doc.SaveFigureXml(m_dir.filePath("no/such/folder/f.xml"), &error));
    QVERIFY(error.contains("f.xml"));
}

QTEST_GUILESS_MAIN(TestFigureXml)
#include "tst_figurexml.moc"
