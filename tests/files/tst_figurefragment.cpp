// SPDX-License-Identifier: GPL-3.0-or-later
// The clipboard fragment: its round trip, what it refuses, and its pictures.

#include "files/figurefragment.h"
#include "files/pngexport.h"
#include "support/imagecompare.h"

#include <QJsonDocument>
#include <QMimeData>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>

namespace {

CFigure Sample()
{
    CFigure figure;
    figure.Resize(20, 40);
    figure.CubeSize = 40;
    figure.BkColor = 0x102030;
    figure.Color1 = 0x00AA00;
    const QPoint cells[] = {{3, 5}, {3, 4}, {4, 6}, {9, 9}, {0, 0}};
    for (int i = 0; i < 5; ++i)
        figure.PlaceCube(cells[i].x(), cells[i].y(), 7 * i);
    return figure;
}

} // namespace

class TestFigureFragment : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTripKeepsOrderValuesAndColours();
    void refusesWhatItDidNotWrite_data();
    void refusesWhatItDidNotWrite();
    void largestFragmentIsWithinTheLimit();
    void pictureIsThePngExportOfTheCubes();
    void picturesOfAnySize_data();
    void picturesOfAnySize();
};

void TestFigureFragment::roundTripKeepsOrderValuesAndColours()
{
    const CFigure figure = Sample();
    // Cells in the selection's order; an empty one is left out.
    const QVector<QPoint> chosen{{4, 6}, {3, 4}, {8, 8}, {3, 5}};
    const CFigureFragment fragment = CFigureFragment::FromFigure(figure, &chosen);
    QCOMPARE(fragment.Cells, (QVector<QPoint>{{4, 6}, {3, 4}, {3, 5}}));
    QCOMPARE(fragment.Values, (QVector<qint32>{figure.Cell(4, 6), figure.Cell(3, 4), figure.Cell(3, 5)}));

    // Plain compact JSON, as a JSON writer gives it.
    QCOMPARE(QJsonDocument::fromJson(fragment.Encode()).toJson(QJsonDocument::Compact), fragment.Encode());
    std::unique_ptr<QMimeData> data(fragment.ToMimeData());
    QVERIFY(data->hasFormat(QStringLiteral("image/png")));
    QVERIFY(data->hasFormat(QStringLiteral("image/svg+xml")));
    CFigureFragment back;
    QVERIFY(CFigureFragment::FromMimeData(data.get(), back));
    QCOMPARE(back.Cells, fragment.Cells);
    QCOMPARE(back.Values, fragment.Values);
    QCOMPARE(back.CubeSize, 40);
    QCOMPARE(back.BkColor, ColorRef(0x102030));
    QCOMPARE(back.Color1, ColorRef(0x00AA00));

    // Without a list: every cube, in row order.
    QCOMPARE(CFigureFragment::FromFigure(figure).Cells, (QVector<QPoint>{{0, 0}, {3, 4}, {3, 5}, {4, 6}, {9, 9}}));
}

void TestFigureFragment::refusesWhatItDidNotWrite_data()
{
    QTest::addColumn<QByteArray>("data");
    const QByteArray head = R"({"version":1,"cubeSize":32,"colors":[0,1,2,3],"cells":)";
    QTest::newRow("not JSON") << QByteArray("<xml>");
    QTest::newRow("other version") << QByteArray(R"({"version":2,"cubeSize":32,"colors":[0,1,2,3],"cells":[]})");
    QTest::newRow("cube size") << QByteArray(R"({"version":1,"cubeSize":2,"colors":[0,1,2,3],"cells":[]})");
    QTest::newRow("colour") << QByteArray(R"({"version":1,"cubeSize":32,"colors":[0,1,2,-3],"cells":[]})");
    QTest::newRow("kind") << head + "[[1,1,64]]}";
    QTest::newRow("row") << head + "[[1,100,0]]}";
    QTest::newRow("column of an odd row") << head + "[[99,1,0]]}";
    QTest::newRow("fraction") << head + "[[1.5,1,0]]}";
    QTest::newRow("short cell") << head + "[[1,1]]}";
    QTest::newRow("too large") << head + "[" + QByteArray(CFigureFragment::MaxBytes, ' ') + "]}";
    QTest::newRow("more cells than a grid holds")
        << head + "[" + QByteArray("[0,0,0],").repeated(CFigureFragment::MaxCells) + "[0,0,0]]}";
}

void TestFigureFragment::refusesWhatItDidNotWrite()
{
    QFETCH(QByteArray, data);
    CFigureFragment out;
    out.Cells = {{1, 1}};
    QVERIFY(!CFigureFragment::Decode(data, out));
    QCOMPARE(out.Cells, QVector<QPoint>{QPoint(1, 1)});
}

void TestFigureFragment::largestFragmentIsWithinTheLimit()
{
    // Every cell of the largest grid with the longest numbers, every colouring: within
    // the limit a paste reads up to, and that limit no looser than it need be.
    CFigure figure;
    figure.Resize(CFigure::MaxGridWidth, CFigure::MaxGridHeight);
    figure.CubeSize = CFigure::MaxCubeSize;
    figure.BkColor = figure.Color1 = figure.Color2 = figure.Color3 = 0xFFFFFF;
    figure.Palette.fill(CColouring{0xFFFFFF, 0xFFFFFF, 0xFFFFFF}, MaxColourings - 1);
    for (CubeRow &row : figure.Grid)
        row.fill(CellValue(CubeKindCount - 1, MaxColourings - 1));
    const QByteArray largest = CFigureFragment::FromFigure(figure).Encode();
    QVERIFY2(largest.size() <= CFigureFragment::MaxBytes && largest.size() > CFigureFragment::MaxBytes * 0.95,
             qPrintable(QStringLiteral("%1 of %2 bytes").arg(largest.size()).arg(CFigureFragment::MaxBytes)));
    CFigureFragment back;
    QVERIFY(CFigureFragment::Decode(largest, back));
    QCOMPARE(back.Cells.size(), CFigure::MaxGridHeight * CFigure::MaxGridWidth - CFigure::MaxGridHeight / 2);
}

void TestFigureFragment::pictureIsThePngExportOfTheCubes()
{
    // The picture of a fragment equals a transparent PNG export of a figure holding
    // only those cubes: same renderer, same box.
    const CFigure figure = Sample();
    const QVector<QPoint> chosen{{3, 4}, {4, 6}};
    const CFigureFragment fragment = CFigureFragment::FromFigure(figure, &chosen);
    CFigure alone = figure;
    alone.Resize(0, 0);
    alone.Resize(20, 40);
    for (const QPoint &cell : chosen)
        alone.Grid[cell.y()][cell.x()] = figure.Cell(cell.x(), cell.y());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("alone.png"));
    QVERIFY(CPngExport::Export(alone, path, nullptr, true));
    const QImage png = QImage::fromData(fragment.Png(), "PNG");
    const QImage expected(path);
    QCOMPARE(png.convertToFormat(QImage::Format_ARGB32), expected.convertToFormat(QImage::Format_ARGB32));
    QCOMPARE(png.pixel(0, 0), 0u); // transparent corner

    QSvgRenderer svg(fragment.Svg());
    QVERIFY(svg.isValid());
    QCOMPARE(svg.viewBox().size(), png.size());
}

void TestFigureFragment::picturesOfAnySize_data()
{
    QTest::addColumn<QVector<QPoint>>("cells");
    QTest::addColumn<int>("cubeSize");
    QTest::newRow("small, at its own size") << QVector<QPoint>{{3, 4}, {4, 6}} << 40;
    QTest::newRow("last cell of an odd row") << QVector<QPoint>{{8, 1}, {0, 0}} << 32;
    QTest::newRow("largest, opposite corners") << QVector<QPoint>{{0, 0}, {98, 99}} << 200;
}

void TestFigureFragment::picturesOfAnySize()
{
    QFETCH(QVector<QPoint>, cells);
    QFETCH(int, cubeSize);
    CFigure figure;
    figure.Resize(100, 100);
    figure.CubeSize = cubeSize;
    for (const QPoint &cell : cells)
        figure.PlaceCube(cell.x(), cell.y(), 5);
    const CFigureFragment fragment = CFigureFragment::FromFigure(figure, &cells);
    // The fragment's own figure holds every cell with its value.
    const CFigure own = fragment.ToFigure();
    for (const QPoint &cell : cells) {
        QVERIFY(own.HasCell(cell.x(), cell.y()));
        QCOMPARE(own.Cell(cell.x(), cell.y()), figure.Cell(cell.x(), cell.y()));
    }

    // The offer has every format at once, the pictures drawn on request: within
    // 4096 pixels, in the figure's proportions.
    std::unique_ptr<QMimeData> data(fragment.ToMimeData());
    QCOMPARE(data->formats(),
             (QStringList{CFigureFragment::MimeType, CFigureFragment::PngType, CFigureFragment::SvgType}));
    const CFigure::Bounds b = own.GetBounds();
    const QSize full(b.Width(), b.Height());
    const QImage png = QImage::fromData(data->data(CFigureFragment::PngType), "PNG");
    QCOMPARE(qMax(png.width(), png.height()), qMin(4096, qMax(full.width(), full.height())));
    QVERIFY(qAbs(double(png.width()) / png.height() - double(full.width()) / full.height()) < 0.01);
    const QByteArray svgText = data->data(CFigureFragment::SvgType);
    QSvgRenderer svg(svgText);
    QVERIFY(svg.isValid());
    QCOMPARE(svg.viewBox().size(), full);
    // Shown at the picture's size (millimetres at 96 pixels an inch, as browsers take them).
    const QRegularExpressionMatch shown = QRegularExpression(
                                              QStringLiteral(R"(width="([0-9.]+)mm" height="([0-9.]+)mm")"))
                                              .match(QString::fromUtf8(svgText));
    QVERIFY(shown.hasMatch());
    QVERIFY(qAbs(shown.captured(1).toDouble() * 96 / 25.4 - png.width()) <= 1);
    QVERIFY(qAbs(shown.captured(2).toDouble() * 96 / 25.4 - png.height()) <= 1);
}

QTEST_MAIN(TestFigureFragment)
#include "tst_figurefragment.moc"
