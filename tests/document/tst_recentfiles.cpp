// SPDX-License-Identifier: GPL-3.0-or-later
// The list of recent figure files in the settings store: order, limit, repeats,
// removal, and what a hand-edited store may hold.

#include "document/recentfiles.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <climits>

class TestRecentFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_store = std::make_unique<QSettings>(m_dir.filePath(QStringLiteral("store.ini")), QSettings::IniFormat);
        m_store->clear();
    }

    void addKeepsNewestFirst_data()
    {
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("one") << QStringList{"/f/a.xml"} << QStringList{"/f/a.xml"};
        QTest::newRow("newest first") << QStringList{"/f/a.xml", "/f/b.xml", "/f/c.xml"}
                                      << QStringList{"/f/c.xml", "/f/b.xml", "/f/a.xml"};
        QTest::newRow("again moves to the front")
            << QStringList{"/f/a.xml", "/f/b.xml", "/f/a.xml"} << QStringList{"/f/a.xml", "/f/b.xml"};
        QTest::newRow("same file spelt otherwise")
            << QStringList{"/f/a.xml", "/f/x/../a.xml", "/f//a.xml"} << QStringList{"/f/a.xml"};
        QTest::newRow("resources and empty names are no user files")
            << QStringList{"/f/a.xml", ":/examples/impossible-cube.xml", ""} << QStringList{"/f/a.xml"};
        QStringList twelve, lastTen;
        for (int i = 0; i < 12; ++i)
            twelve << QStringLiteral("/f/%1.xml").arg(i);
        for (int i = 11; i >= 2; --i)
            lastTen << QStringLiteral("/f/%1.xml").arg(i);
        QTest::newRow("limit drops the oldest") << twelve << lastTen;
    }

    void addKeepsNewestFirst()
    {
        QFETCH(QStringList, added);
        QFETCH(QStringList, expected);
        CRecentFiles files(m_store.get());
        for (const QString &path : added)
            files.Add(path);
        QCOMPARE(files.Files(), expected);
        // Kept in the store in a group of its own, read afresh by another list.
        QCOMPARE(CRecentFiles(m_store.get()).Files(), expected);
        QCOMPARE(m_store->childGroups(), QStringList{CRecentFiles::Group});
    }

    void relativeNamesBecomeAbsolute()
    {
        CRecentFiles files(m_store.get());
        files.Add(QStringLiteral("figure.xml"));
        QCOMPARE(files.Files(), QStringList{QDir::current().absoluteFilePath(QStringLiteral("figure.xml"))});
    }

    void removeAndClear()
    {
        CRecentFiles files(m_store.get());
        for (const char *path : {"/f/a.xml", "/f/b.xml", "/f/c.xml"})
            files.Add(QString::fromLatin1(path));
        files.Remove(QStringLiteral("/f/b.xml"));
        files.Remove(QStringLiteral("/f/not-listed.xml"));
        QCOMPARE(files.Files(), (QStringList{"/f/c.xml", "/f/a.xml"}));
        files.Clear();
        QVERIFY(files.Files().isEmpty());
    }

    void handEditedStoreIsTidied()
    {
        m_store->beginGroup(QLatin1String(CRecentFiles::Group));
        m_store->setValue(QStringLiteral("File1"), QStringLiteral("/f/a.xml"));
        m_store->setValue(QStringLiteral("File3"), QStringLiteral("relative.xml"));
        m_store->setValue(QStringLiteral("File4"), QStringLiteral("/f/a.xml"));
        m_store->setValue(QStringLiteral("File5"), QStringLiteral("/f/b.xml"));
        m_store->setValue(QStringLiteral("File6"), QStringLiteral("/f/") + QString(PATH_MAX, QLatin1Char('x')));
        m_store->setValue(QStringLiteral("File7"), QStringLiteral("/f/") + QString(PATH_MAX / 2, QChar(0x00E9)));
        m_store->setValue(QStringLiteral("File11"), QStringLiteral("/f/beyond.xml"));
        m_store->endGroup();
        CRecentFiles files(m_store.get());
        QCOMPARE(files.Files(), (QStringList{"/f/a.xml", "/f/b.xml"}));
        files.Add(QStringLiteral("/f/c.xml"));
        QCOMPARE(files.Files(), (QStringList{"/f/c.xml", "/f/a.xml", "/f/b.xml"}));
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<QSettings> m_store;
};

QTEST_GUILESS_MAIN(TestRecentFiles)
#include "tst_recentfiles.moc"
