// SPDX-License-Identifier: GPL-3.0-or-later
// The example figures shipped in examples/: each loads, holds cubes, draws something
// other than background, and saves back to exactly the bytes it was read from.

#include "document/tarvexdoc.h"
#include "support/testfiles.h"
#include "support/testdocument.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

class TestExampleFigures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void examples_data()
    {
        QTest::addColumn<QString>("path");
        const QDir dir(QStringLiteral(TARVEX_TEST_DATA "/../../examples"));
        const QStringList names = dir.entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Name);
        QVERIFY2(names.size() >= 6, "at least six example figures");
        for (const QString &name : names)
            QTest::newRow(qPrintable(name)) << dir.filePath(name);
    }

    void examples()
    {
        QFETCH(QString, path);
        CTestDocument doc;
        QString error;
        QVERIFY2(LoadFigure(doc, path, &error), qPrintable(error));
        QVERIFY(!doc.Figure().IsEmpty());

        const CFigure::Bounds b = doc.Figure().GetBounds();
        QImage image(b.right - b.left, b.bottom - b.top, QImage::Format_RGB32);
        const QColor background = ColorFromRef(doc.Figure().BkColor);
        image.fill(background);
        {
            QPainter painter(&image);
            doc.DrawWorkspace(painter, false, 1, -b.left, -b.top, false);
        }
        int drawn = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                drawn += image.pixelColor(x, y) != background;
        QVERIFY2(drawn > image.width() * image.height() / 20, "the figure covers its picture");

        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("copy.xml"));
        QVERIFY2(doc.SaveFigureXml(copy, &error), qPrintable(error));
        QCOMPARE(ReadFile(copy), ReadFile(path));
    }
};

QTEST_GUILESS_MAIN(TestExampleFigures)
#include "tst_examplefigures.moc"
