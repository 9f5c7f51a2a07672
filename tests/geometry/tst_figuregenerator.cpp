// SPDX-License-Identifier: GPL-3.0-or-later
// The generated impossible figures against their golden files, two sizes each.
// TARVEX_WRITE_GOLDEN=1 writes the golden files from the figures made now.

#include "files/figurexml.h"
#include "geometry/figuregenerator.h"
#include "geometry/workspacerenderer.h"
#include "support/imagecompare.h"

#include <QImage>
#include <QtTest>

using G = CFigureGenerator;

class TestFigureGenerator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void golden_data();
    void golden();
    void tribarPicture();
    void grownGridAndLimits();

private:
    static bool Writing() { return qEnvironmentVariableIntValue("TARVEX_WRITE_GOLDEN") == 1; }
    static QString Golden(const QString &name) { return QStringLiteral(TARVEX_TEST_DATA "/generated/") + name; }
    static CFigure Base()
    {
        CFigure base;
        base.Resize(CFigure::DefaultWidth, CFigure::DefaultHeight);
        return base;
    }
};

void TestFigureGenerator::golden_data()
{
    QTest::addColumn<int>("shape");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("thickness"); // or the step height of the stairs
    QTest::addColumn<int>("sides");
    QTest::newRow("tribar-8-1") << int(G::Tribar) << 8 << 1 << 0;
    QTest::newRow("tribar-14-3") << int(G::Tribar) << 14 << 3 << 0;
    QTest::newRow("stairs-3-1") << int(G::PenroseStairs) << 3 << 1 << 0;
    QTest::newRow("stairs-4-2") << int(G::PenroseStairs) << 4 << 2 << 0;
    QTest::newRow("cube-8-1") << int(G::CubeFrame) << 8 << 1 << 0;
    QTest::newRow("cube-12-2") << int(G::CubeFrame) << 12 << 2 << 0;
    QTest::newRow("frame-4-8-1") << int(G::PolygonFrame) << 8 << 1 << 4;
    QTest::newRow("frame-6-9-2") << int(G::PolygonFrame) << 9 << 2 << 6;
    QTest::newRow("reutersvard-4") << int(G::ReutersvardTriangle) << 4 << 1 << 0;
    QTest::newRow("reutersvard-9") << int(G::ReutersvardTriangle) << 9 << 1 << 0;
}

void TestFigureGenerator::golden()
{
    QFETCH(int, shape);
    QFETCH(int, size);
    QFETCH(int, thickness);
    QFETCH(int, sides);
    G::Params params;
    params.shape = G::Shape(shape);
    params.size = size;
    params.thickness = thickness;
    params.stepHeight = thickness;
    params.sides = sides;
    const std::optional<CFigure> made = G::Make(params, Base());
    QVERIFY(made);
    QVERIFY(!made->IsEmpty());
    const QString path = Golden(QString::fromLatin1(QTest::currentDataTag()) + ".xml");
    if (Writing())
        QVERIFY(CFigureXml::Save(*made, path, nullptr));
    CFigure golden;
    QString error;
    QVERIFY2(CFigureXml::Load(path, golden, &error), qPrintable(error));
    QCOMPARE(made->GridSize(), golden.GridSize());
    QVERIFY(*made == golden);
}

void TestFigureGenerator::tribarPicture()
{
    G::Params params;
    params.size = 10;
    params.thickness = 2;
    const std::optional<CFigure> tribar = G::Make(params, Base());
    QVERIFY(tribar);
    QImage image(tribar->GetWorkspaceSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    CWorkspaceRenderer::Params draw;
    draw.CubeSize = tribar->CubeSize;
    CWorkspaceRenderer().DrawImage(image, *tribar, draw);
    const QString path = Golden(QStringLiteral("tribar-10-2.png"));
    if (Writing())
        QVERIFY(image.save(path));
    QVERIFY2(ImageDifference(image, QImage(path)).isEmpty(), qPrintable(ImageDifference(image, QImage(path))));
}

// A figure larger than the grid asked for grows it, and every shape at its largest
// sizes still fits the largest grid.
void TestFigureGenerator::grownGridAndLimits()
{
    G::Params params;
    params.size = 30;
    params.thickness = 3;
    const std::optional<CFigure> large = G::Make(params, Base());
    QVERIFY(large);
    QVERIFY(large->GridSize().height() > CFigure::DefaultHeight);
    for (int shape = 0; shape < G::ShapeCount; ++shape) {
        params.shape = G::Shape(shape);
        params.size = G::SizeRange(params.shape).max;
        params.thickness = G::ThicknessRange().max;
        params.stepHeight = G::StepHeightRange().max;
        for (int sides = G::SidesRange().min; sides <= G::SidesRange().max; ++sides) {
            params.sides = sides;
            const std::optional<CFigure> made = G::Make(params, Base());
            QVERIFY2(made, qPrintable(G::Name(params.shape)));
            QVERIFY(made->GridSize().width() <= CFigure::MaxGridWidth);
            QVERIFY(made->GridSize().height() <= CFigure::MaxGridHeight);
        }
    }
}

QTEST_GUILESS_MAIN(TestFigureGenerator)
#include "tst_figuregenerator.moc"
