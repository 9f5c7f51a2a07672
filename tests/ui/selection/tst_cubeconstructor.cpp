// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/shownwidget.h"
#include "ui/selection/cubeconstructor.h"

#include "support/pickertesting.h"

#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

using PartList = QList<int>;
using KindList = QList<int>;

namespace {

// The size the cube selection page gives its pickers.
const QSize PickerSize(134, 342);

// The sample as the control must fit it: the largest square, centred along the
// longer side.
CCubePainter ExpectedSample(const QSize &size, int kind)
{
    CCubePainter cube;
    cube.Size = qMin(size.width(), size.height());
    cube.Left = (size.width() - cube.Size) / 2;
    cube.Top = (size.height() - cube.Size) / 2;
    cube.Index = kind;
    cube.DrawOutline = true;
    cube.DrawPartBorders = true;
    return cube;
}

} // namespace

class TestCubeConstructor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void updateGeometry_data();
    void updateGeometry();
    void clicks_data();
    void clicks();
    void clickOutsideSendsNothing_data();
    void clickOutsideSendsNothing();
    void setCubeIndexSendsNothing();
    void doubleClickTogglesOnce();
    void painting_data();
    void painting();
};

void TestCubeConstructor::updateGeometry_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("square");

    QTest::newRow("picker size") << PickerSize << QRect(0, 104, 134, 134);
    QTest::newRow("wide") << QSize(200, 100) << QRect(50, 0, 100, 100);
    QTest::newRow("odd difference, tall") << QSize(100, 103) << QRect(0, 1, 100, 100);
    QTest::newRow("odd difference, wide") << QSize(103, 100) << QRect(1, 0, 100, 100);
    QTest::newRow("square") << QSize(90, 90) << QRect(0, 0, 90, 90);
}

void TestCubeConstructor::updateGeometry()
{
    QFETCH(QSize, size);
    QFETCH(QRect, square);
    CCubeConstructor constructor;
    constructor.resize(size);
    constructor.SetCubeColors(0x010203, 0x040506, 0x070809);
    constructor.UpdateGeometry();
    const CCubePainter &sample = constructor.Sample();
    QCOMPARE(QRect(sample.Left, sample.Top, sample.Size, sample.Size), square);
    QVERIFY(sample.DrawOutline);
    QVERIFY(sample.DrawPartBorders);
    QCOMPARE(sample.TopColor, ColorRef(0x010203));
    QCOMPARE(sample.RightColor, ColorRef(0x040506));
    QCOMPARE(sample.LeftColor, ColorRef(0x070809));
}

void TestCubeConstructor::clicks_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<PartList>("parts");
    QTest::addColumn<KindList>("sent");

    QTest::newRow("top twice") << 0 << PartList{Top, Top} << KindList{1, 0};
    QTest::newRow("upper right then lower left") << 0 << PartList{UpperRight, LowerLeft} << KindList{2, 18};
    QTest::newRow("centre twice returns to the whole cube") << 45 << PartList{Centre, Centre} << KindList{64, 0};
    QTest::newRow("corners leave the empty cube alone")
        << 64 << PartList{Top, LowerRight, UpperLeft} << KindList{64, 64, 64};
    for (int corner = Top; corner <= UpperLeft; ++corner) {
        QTest::addRow("cut corner %d put back", corner) << 63 << PartList{corner} << KindList{63 - (1 << corner)};
    }
}

void TestCubeConstructor::clicks()
{
    QFETCH(int, start);
    QFETCH(PartList, parts);
    QFETCH(KindList, sent);

    CCubeConstructor constructor;
    constructor.resize(PickerSize);
    constructor.SetCubeIndex(start);
    QSignalSpy picks(&constructor, &CCubeConstructor::CubeSelected);

    const CCubePainter expected = ExpectedSample(PickerSize, start);
    for (int part : parts) {
        const QPoint point = PointInPart(expected, part);
        QCOMPARE(expected.HitPart(point.x(), point.y(), true), part);
        QTest::mouseClick(&constructor, Qt::LeftButton, {}, point);
    }
    KindList received;
    for (const QList<QVariant> &args : picks)
        received << args.at(0).toInt();
    QCOMPARE(received, sent);
    QCOMPARE(constructor.GetCubeIndex(), sent.last());
}

void TestCubeConstructor::clickOutsideSendsNothing_data()
{
    QTest::addColumn<QPoint>("point");

    QTest::newRow("above the square") << QPoint(67, 50);
    QTest::newRow("below the square") << QPoint(67, 300);
    QTest::newRow("square corner outside the hexagon") << QPoint(1, 105);
    QTest::newRow("right of the hexagon") << QPoint(133, 171);
}

void TestCubeConstructor::clickOutsideSendsNothing()
{
    QFETCH(QPoint, point);
    CCubeConstructor constructor;
    constructor.resize(PickerSize);
    constructor.SetCubeIndex(9);
    QSignalSpy picks(&constructor, &CCubeConstructor::CubeSelected);
    QTest::mouseClick(&constructor, Qt::LeftButton, {}, point);
    QCOMPARE(picks.count(), 0);
    QCOMPARE(constructor.GetCubeIndex(), 9);
}

void TestCubeConstructor::setCubeIndexSendsNothing()
{
    CCubeConstructor constructor;
    QSignalSpy picks(&constructor, &CCubeConstructor::CubeSelected);
    QCOMPARE(constructor.GetCubeIndex(), 0);
    constructor.SetCubeIndex(18);
    QCOMPARE(constructor.GetCubeIndex(), 18);
    constructor.SetCubeIndex(EmptyCubeIndex);
    QCOMPARE(constructor.GetCubeIndex(), EmptyCubeIndex);
    // Nothing outside 0..64 is ever shown.
    constructor.SetCubeIndex(65);
    constructor.SetCubeIndex(-1);
    QCOMPARE(constructor.GetCubeIndex(), EmptyCubeIndex);
    QCOMPARE(picks.count(), 0);
}

void TestCubeConstructor::doubleClickTogglesOnce()
{
    CCubeConstructor constructor;
    constructor.resize(PickerSize);
    QVERIFY(Shown(constructor));
    QSignalSpy picks(&constructor, &CCubeConstructor::CubeSelected);
    RealDoubleClick(&constructor, PointInPart(ExpectedSample(PickerSize, 0), Top));
    QCOMPARE(picks.count(), 1);
    QCOMPARE(constructor.GetCubeIndex(), 1);
}

void TestCubeConstructor::painting_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QSize>("size");

    QTest::newRow("whole cube") << 0 << PickerSize;
    QTest::newRow("two corners cut") << 18 << PickerSize;
    QTest::newRow("all corners cut") << 63 << PickerSize;
    QTest::newRow("empty cube") << 64 << PickerSize;
    QTest::newRow("wide control") << 5 << QSize(160, 90);
}

void TestCubeConstructor::painting()
{
    QFETCH(int, kind);
    QFETCH(QSize, size);

    const ColorRef top = 0x203040, right = 0x506070, left = 0x8090A0;
    CCubeConstructor constructor;
    constructor.resize(size);
    constructor.SetCubeIndex(kind);
    constructor.SetCubeColors(top, right, left);

    // The control draws the sample with outline and part borders in the given
    // colours, and nothing else: the rest stays transparent so that the tab page
    // beneath shows.
    QImage expected(size, QImage::Format_ARGB32_Premultiplied);
    expected.fill(Qt::transparent);
    CCubePainter cube = ExpectedSample(size, kind);
    cube.TopColor = top;
    cube.RightColor = right;
    cube.LeftColor = left;
    QPainter painter(&expected);
    cube.Draw(painter);
    painter.end();

    QImage actual(size, expected.format());
    actual.fill(Qt::transparent);
    constructor.render(&actual, QPoint(), QRegion(), QWidget::RenderFlags());
    QCOMPARE(actual, expected);
    if (kind != EmptyCubeIndex)
        QVERIFY(CountPixels(actual, ColorFromRef(top).rgb()) > 100);
}

QTEST_MAIN(TestCubeConstructor)
#include "tst_cubeconstructor.moc"
