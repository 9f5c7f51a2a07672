// SPDX-License-Identifier: GPL-3.0-or-later
// `tarvex --thumbnail SIZE IN OUT`: a PNG within SIZE x SIZE showing the whole figure
// with its proportions; bad input leaves no output file and a non-zero exit.

#include "app/thumbnailer.h"
#include "document/tarvexdoc.h"
#include "geometry/workspacerenderer.h"
#include "support/filesizelimit.h"
#include "support/testfiles.h"
#include "support/testdocument.h"

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
        CTestDocument doc(CFigure::MaxGridWidth, CFigure::MaxGridHeight, {}, 0, CFigure::MaxCubeSize);
        for (int r = 0; r < CFigure::MaxGridHeight; ++r)
            for (int c = 0; c < RowLength(CFigure::MaxGridWidth, r); ++c)
                PlaceCube(doc, c, r, 0);
        m_largest = m_dir.filePath(QStringLiteral("largest.xml"));
        QVERIFY(doc.SaveFigureXml(m_largest));
    }

    void writesPictureWithinSize_data()
    {
        QTest::addColumn<QString>("figure");
        QTest::addColumn<int>("size");
        for (int size : {32, 64, 256, 1024}) {
            QTest::addRow("example, %d", size) << Example << size;
            QTest::addRow("largest figure, %d", size) << QString() << size;
        }
    }

    // The whole figure at the zoom that fits it, with its proportions: the longer side
    // fills the size (or the figure's own), the other is its exact share rounded, and
    // the picture is the true drawing seen smaller.
    void writesPictureWithinSize()
    {
        QFETCH(QString, figure);
        QFETCH(int, size);
        const bool largest = figure.isEmpty();
        if (largest)
            figure = m_largest;
        const QString out = m_dir.filePath(QStringLiteral("out.png"));
        QFile::remove(out);
        QCOMPARE(RunThumbnailer({QString::number(size), figure, out}), 0);
        const QImage image = QImage(out, "PNG").convertToFormat(QImage::Format_RGB32);
        QVERIFY(!image.isNull());

        CTestDocument doc;
        QVERIFY(LoadFigure(doc, figure));
        const CFigure drawn = doc.Figure();
        const CFigure::Bounds b = drawn.GetBounds();
        const double zoom = qMin(1.0, qMin(double(size) / b.Width(), double(size) / b.Height()));
        const QSizeF exact = QSizeF(b.Width(), b.Height()) * zoom;
        QVERIFY2(qAbs(image.width() - exact.width()) <= 1.0 && qAbs(image.height() - exact.height()) <= 1.0,
                 qPrintable(QString("%1x%2, exact %3x%4")
                                .arg(image.width())
                                .arg(image.height())
                                .arg(exact.width())
                                .arg(exact.height())));
        if (qMin(exact.width(), exact.height()) >= 50) {
            const double aspect = double(image.width()) / image.height();
            QVERIFY(qAbs(aspect / (exact.width() / exact.height()) - 1.0) <= 0.02);
        }
        if (largest)
            return;
        // Against the true drawing smoothed down to the same size: equal but along
        // the faces' edges.
        QImage truth(b.Width(), b.Height(), QImage::Format_RGB32);
        truth.fill(ColorFromRef(drawn.BkColor));
        CWorkspaceRenderer::Params params;
        params.CubeSize = drawn.CubeSize;
        params.Offset = QPoint(-b.left, -b.top);
        CWorkspaceRenderer().DrawImage(truth, drawn, params);
        const QImage expected = truth.scaled(image.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        double difference = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                difference += qAbs(qGray(image.pixel(x, y)) - qGray(expected.pixel(x, y)));
        QVERIFY2(difference / (image.width() * image.height()) < 24.0,
                 qPrintable(QString::number(difference / (image.width() * image.height()))));
    }

    void writesIntoAnOutputKeptOpen_data();
    void writesIntoAnOutputKeptOpen();

    void badInputWritesNothing_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: the file does not exist
        QTest::addColumn<QString>("size");
        QTest::newRow("missing file") << QByteArray() << QStringLiteral("128");
        QTest::newRow("not XML") << QByteArray("\x89PNG garbage") << QStringLiteral("128");
        QTest::newRow("empty figure") << ReadFile(Example).replace(QByteArray("<Cube "), QByteArray("<Gone "))
                                      << QStringLiteral("128");
        QTest::newRow("bad size") << ReadFile(Example) << QStringLiteral("zero");
        QTest::newRow("size above the largest") << ReadFile(Example) << QStringLiteral("4097");
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

void TestThumbnailer::writesIntoAnOutputKeptOpen_data()
{
    QTest::addColumn<QByteArray>("old");  // what OUT holds before
    QTest::addColumn<qint64>("diskRoom"); // bytes a file may grow to; 0 no limit
    QTest::newRow("empty") << QByteArray() << qint64(0);
    QTest::newRow("longer old preview") << QByteArray(1 << 20, 'x') << qint64(0);
    QTest::newRow("disk full") << QByteArray("the old preview") << qint64(200);
}

// As tumbler does: OUT is made first and kept open, and the preview read back through
// that descriptor, so it must arrive in the same file, exactly; a disk that cannot
// take the new preview leaves the old one whole.
void TestThumbnailer::writesIntoAnOutputKeptOpen()
{
    QFETCH(QByteArray, old);
    QFETCH(qint64, diskRoom);
    const QString fresh = m_dir.filePath(QStringLiteral("fresh.png"));
    QFile::remove(fresh);
    QCOMPARE(RunThumbnailer({QStringLiteral("128"), Example, fresh}), 0);
    QVERIFY(ReadFile(fresh).size() > diskRoom);
    const QString out = m_dir.filePath(QStringLiteral("kept-open.png"));
    QVERIFY(WriteFile(out, old));
    QFile held(out);
    QVERIFY(held.open(QIODevice::ReadOnly));
    if (diskRoom) {
        // The limit is inherited by the thumbnailer, and a write past it fails as on
        // a full disk.
        const CFileSizeLimit limit(diskRoom);
        QVERIFY(limit.IsActive());
        QVERIFY(RunThumbnailer({QStringLiteral("128"), Example, out}) != 0);
        QCOMPARE(held.readAll(), old);
        return;
    }
    QCOMPARE(RunThumbnailer({QStringLiteral("128"), Example, out}), 0);
    const QByteArray png = held.readAll();
    QCOMPARE(png, ReadFile(fresh));
    QCOMPARE(ReadFile(out), png);
}

QTEST_GUILESS_MAIN(TestThumbnailer)
#include "tst_thumbnailer.moc"
