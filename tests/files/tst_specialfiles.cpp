// SPDX-License-Identifier: GPL-3.0-or-later
// Pipes, devices and folders are never opened for reading and never replaced by a
// written file; symbolic links to regular files are followed.

#include "document/tarvexdoc.h"
#include "support/testfiles.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

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

private:
    QTemporaryDir m_dir;
    CTarvexDoc m_doc{false};
};

void TestSpecialFiles::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(m_doc.LoadFigureXml(Example));
    QCOMPARE(::mkfifo(QFile::encodeName(m_dir.filePath("pipe")).constData(), 0600), 0);
    QVERIFY(QDir(m_dir.path()).mkdir("folder.xml"));
    QVERIFY(QFile::link(m_dir.filePath("pipe"), m_dir.filePath("link.xml")));
}

void TestSpecialFiles::refused_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("write");   // devices are only read: a fault would replace one
    QTest::newRow("pipe") << m_dir.filePath("pipe") << "a pipe" << true;
    QTest::newRow("link to a pipe") << m_dir.filePath("link.xml") << "a pipe" << true;
    QTest::newRow("folder") << m_dir.filePath("folder.xml") << "a folder" << true;
    QTest::newRow("device") << "/dev/null" << "a device" << false;
}

void TestSpecialFiles::refused()
{
    QFETCH(QString, path);
    QFETCH(QString, kind);
    QFETCH(bool, write);
    const QString reason = path + " is " + kind + ", not a regular file";
    QString error;
    CTarvexDoc doc(false);
    QVERIFY(!doc.LoadFigureXml(path, &error));   // a pipe would block here for good
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
    CTarvexDoc doc(false);
    QVERIFY(doc.LoadFigureXml(link));
    QCOMPARE(doc.Figure().Grid, m_doc.Figure().Grid);
}

QTEST_GUILESS_MAIN(TestSpecialFiles)
#include "tst_specialfiles.moc"
