// SPDX-License-Identifier: GPL-3.0-or-later
// `tarvex --thumbnail SIZE IN OUT`: a PNG within SIZE x SIZE showing the whole figure,
// drawn at a smaller cube size (scaled only when even the smallest cube is too
// large); bad input leaves no output file and a non-zero exit.

#include "app/thumbnailer.h"
#include "document/tarvexdoc.h"
#include "support/testfiles.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString Program = QStringLiteral(TARVEX_BINARY_DIR "/src/tarvex");
const QString Example = QStringLiteral(TARVEX_TEST_DATA "/../../examples/impossible-square.xml");

int RunThumbnailer(const QStringList &args)
{
    QProcess process;
    process.start(Program, QStringList{QStringLiteral("--thumbnail")} + args);
    process.waitForFinished(30000);
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

} // namespace

class TestThumbnailer : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_largest;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // The largest figure the program allows: every cell of a 100 x 100 grid, cube 200.
        CTarvexDoc doc(false);
        doc.ResizeGrid(CTarvexDoc::MaxGridWidth, CTarvexDoc::MaxGridHeight);
        doc.CubeSize = CTarvexDoc::MaxCubeSize;
        for (int r = 0; r < CTarvexDoc::MaxGridHeight; ++r)
            for (int c = 0; c < RowLength(CTarvexDoc::MaxGridWidth, r); ++c)
                doc.PlaceCube(c, r, 0);
        m_largest = m_dir.filePath(QStringLiteral("largest.xml"));
        QVERIFY(doc.SaveFigureXml(m_largest));
    }

    void writesPictureWithinSize_data()
    {
        QTest::addColumn<QString>("figure");
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("crisp");   // drawn at a cube size, not scaled down
        QTest::newRow("small figure, 256") << Example << 256 << true;
        QTest::newRow("small figure, 64") << Example << 64 << true;
        QTest::newRow("largest figure, 256") << QString() << 256 << false;
        QTest::newRow("largest figure, 1024") << QString() << 1024 << true;
    }

    void writesPictureWithinSize()
    {
        QFETCH(QString, figure);
        QFETCH(int, size);
        QFETCH(bool, crisp);
        if (figure.isEmpty())
            figure = m_largest;
        const QString out = m_dir.filePath(QStringLiteral("out.png"));
        QFile::remove(out);
        QCOMPARE(RunThumbnailer({QString::number(size), figure, out}), 0);
        const QImage image(out, "PNG");
        QVERIFY(!image.isNull());
        QVERIFY(image.width() <= size && image.height() <= size);
        // The whole figure fills the picture in one direction at least.
        QVERIFY(image.width() > size / 2 || image.height() > size / 2);

        CTarvexDoc doc(false);
        QVERIFY(doc.LoadFigureXml(figure));
        const int cube = CThumbnailer::FittingCubeSize(doc.Figure(), size);
        QVERIFY(cube >= CThumbnailer::MinCubeSize && cube <= doc.CubeSize);
        if (!crisp) {
            QCOMPARE(cube, CThumbnailer::MinCubeSize);
        } else {
            // Exactly the figure's picture at that cube size, pixel for pixel.
            doc.CubeSize = cube;
            const CTarvexDoc::Bounds b = doc.GetFigureBounds();
            QCOMPARE(image.size(), QSize(b.right - b.left, b.bottom - b.top));
        }
    }

    void badInputWritesNothing_data()
    {
        QTest::addColumn<QByteArray>("content");   // empty: the file does not exist
        QTest::addColumn<QString>("size");
        QTest::newRow("missing file") << QByteArray() << QStringLiteral("128");
        QTest::newRow("not XML") << QByteArray("\x89PNG garbage") << QStringLiteral("128");
        QTest::newRow("empty figure") << ReadFile(Example).replace(QByteArray("<Cube "), QByteArray("<Gone "))
                                      << QStringLiteral("128");
        QTest::newRow("bad size") << ReadFile(Example) << QStringLiteral("zero");
    }

    void badInputWritesNothing()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, size);
        const QString in = m_dir.filePath(QStringLiteral("in.xml"));
        const QString out = m_dir.filePath(QStringLiteral("bad.png"));
        QFile::remove(in);
        QFile::remove(out);
        if (!content.isEmpty())
            QVERIFY(WriteFile(in, content));
        QVERIFY(RunThumbnailer({size, in, out}) != 0);
        QVERIFY(!QFile::exists(out));
        QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("bad*")}, QDir::Files).size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestThumbnailer)
#include "tst_thumbnailer.moc"
