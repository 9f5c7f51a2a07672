// SPDX-License-Identifier: GPL-3.0-or-later
// Pipes, devices and folders are never read and never replaced by a written file, even
// when one takes a file's place while it is being opened; symbolic links to regular
// files are followed.

#include "document/documentcommands.h"
#include "document/tarvexdoc.h"
#include "support/pipewatchdog.h"
#include "support/testfiles.h"
#include "support/testdocument.h"

#include "files/figurexml.h"
#include "geometry/figure.h"

#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

const char *const Example = TARVEX_TEST_DATA "/figures/example.xml";

bool IsFifo(const QString &path)
{
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISFIFO(info.st_mode);
}

} // namespace

class TestSpecialFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void refused_data();
    void refused();
    void linkToRegularFileIsFollowed();
    void pathSwappedForPipe();

private:
    QTemporaryDir m_dir;
    CTarvexDoc m_doc{false};
};

void TestSpecialFiles::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(LoadFigure(m_doc, Example));
    QCOMPARE(::mkfifo(QFile::encodeName(m_dir.filePath("pipe")).constData(), 0600), 0);
    QVERIFY(QDir(m_dir.path()).mkdir("folder.xml"));
    QVERIFY(QFile::link(m_dir.filePath("pipe"), m_dir.filePath("link.xml")));
}

void TestSpecialFiles::refused_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("write"); // devices are only read: a fault would replace one
    QTest::newRow("pipe") << m_dir.filePath("pipe") << "a pipe" << true;
    QTest::newRow("link to a pipe") << m_dir.filePath("link.xml") << "a pipe" << true;
    QTest::newRow("folder") << m_dir.filePath("folder.xml") << "a folder" << true;
    QTest::newRow("device") << "/dev/null"
                            << "a device" << false;
}

void TestSpecialFiles::refused()
{
    QFETCH(QString, path);
    QFETCH(QString, kind);
    QFETCH(bool, write);
    const QString reason = path + " is " + kind + ", not a regular file";
    QString error;
    CTestDocument doc;
    {
        // A pipe opened with blocking would wait here for a writer.
        const CPipeWatchdog watchdog(m_dir.filePath("pipe"));
        QVERIFY(!LoadFigure(doc, path, &error));
        QVERIFY(!watchdog.Hung());
    }
    QVERIFY2(error.startsWith(reason), qPrintable(error));
    if (!write)
        return;
    error.clear();
    QVERIFY(!m_doc.SaveFigureXml(path, &error));
    QVERIFY2(error.startsWith(reason), qPrintable(error));
    error.clear();
    QVERIFY(!m_doc.ExportBitmap(path, &error));
    QVERIFY2(error.startsWith(reason), qPrintable(error));
    QVERIFY(IsFifo(m_dir.filePath("pipe")));
    QVERIFY(QFileInfo(m_dir.filePath("link.xml")).isSymLink());
    QVERIFY(QFileInfo(m_dir.filePath("folder.xml")).isDir());
}

void TestSpecialFiles::linkToRegularFileIsFollowed()
{
    const QString target = m_dir.filePath("target.xml");
    const QString link = m_dir.filePath("to-target.xml");
    QVERIFY(WriteFile(target, "old"));
    QVERIFY(QFile::link(target, link));
    QVERIFY(m_doc.SaveFigureXml(link));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(ReadFile(target), ReadFile(Example));
    CTestDocument doc;
    QVERIFY(LoadFigure(doc, link));
    QCOMPARE(doc.Figure().Grid, m_doc.Figure().Grid);
}

void TestSpecialFiles::pathSwappedForPipe()
{
    // A helper links a figure file and a pipe to the path in turn while it is read
    // again and again: every read ends at once, with the figure or a refusal.
    auto name = [this](const char *file) {
        return QFile::encodeName(m_dir.filePath(file));
    };
    const QByteArray path = name("swapped.xml"), pipe = name("swap-pipe"), file = name("swap-file");
    QVERIFY(WriteFile(QFile::decodeName(file), ReadFile(Example)));
    QCOMPARE(::mkfifo(pipe.constData(), 0600), 0);
    QCOMPARE(::link(file.constData(), path.constData()), 0);
    std::atomic<bool> done{false};
    std::atomic<int> swaps{0};
    std::thread swapper([&] {
        const QByteArray next = name("swap-next");
        for (int i = 0; !done; ++i) {
            if (::link(i % 2 ? file.constData() : pipe.constData(), next.constData()) == 0)
                ::rename(next.constData(), path.constData());
            ++swaps;
        }
    });
    // Past its limit a reader is waiting on the pipe: a writer lets it go, and the
    // test fails instead of hanging.
    CPipeWatchdog watchdog(QFile::decodeName(pipe), 30000);
    int read = 0;
    for (int run = 0; run < 300; ++run) {
        // Every run meets the helper at another point of its work.
        for (const int seen = swaps; swaps == seen;)
            std::this_thread::yield();
        // The loader and the document's Open, in turn.
        CFigure loaded;
        CTestDocument doc;
        if (run % 2 ? CDocumentCommands(doc).Open(QFile::decodeName(path), CDocumentCommands::OpenAs::Direct)
                    : CFigureXml::Load(QFile::decodeName(path), loaded, nullptr))
            ++read;
    }
    done = true;
    swapper.join();
    QVERIFY(!watchdog.Hung());
    QVERIFY(read > 0);
}

QTEST_GUILESS_MAIN(TestSpecialFiles)
#include "tst_specialfiles.moc"
