// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/settingsstore.h"
#include "document/tarvexdoc.h"
#include "support/pipewatchdog.h"
#include "support/testdocument.h"

#include <QtTest>
#include <QSettings>
#include <QTemporaryDir>

#include <sys/stat.h>

// Each test works on a settings store of its own under a temporary XDG_CONFIG_HOME.
class TestSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void defaultsOnFirstStart();
    void customColorsNeedExactly64Bytes_data();
    void customColorsNeedExactly64Bytes();
    void sizesAreKeptInRange_data();
    void sizesAreKeptInRange();
    void saveWritesEverything();
    void documentWithoutStoreNeverWrites();
    void colorsKeepTheirLow24Bits_data();
    void colorsKeepTheirLow24Bits();
    // Last: from it on the run's settings live in a private store.
    void pipeAsSettingsFileGivesDefaults();

private:
    QSettings *Store();
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QSettings> m_store;
};

void TestSettings::initTestCase()
{
    // The store's location is fixed on first use: one private store for the whole run,
    // emptied before every test.
    m_dir = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", m_dir->path().toLocal8Bit());
}

void TestSettings::init()
{
    QSettings("Brellow", "Tarvex").clear();
}

void TestSettings::cleanup()
{
    m_store.reset();
}

QSettings *TestSettings::Store()
{
    m_store = std::make_unique<QSettings>("Brellow", "Tarvex");
    m_store->beginGroup("Settings");
    return m_store.get();
}

void TestSettings::defaultsOnFirstStart()
{
    CTarvexDoc doc;
    QCOMPARE(doc.Figure().BkColor, ColorRef(0xFFFFFF));
    QCOMPARE(doc.Figure().Color1, ColorRef(0x0000FF));
    QCOMPARE(doc.Figure().Color2, ColorRef(0x00EE00));
    QCOMPARE(doc.Figure().Color3, ColorRef(0xFF0000));
    QCOMPARE(doc.Figure().CubeSize, 32);
    QCOMPARE(doc.Figure().GridSize(), QSize(20, 40));
    for (ColorRef c : doc.CustomColors())
        QCOMPARE(c, ColorRef(0xFFFFFF));
    QCOMPARE(doc.IsSaved(), 1);
    QVERIFY(!doc.IsSelectMode());
    QVERIFY(!Store()->contains("BkColor")); // reading alone writes nothing
}

void TestSettings::customColorsNeedExactly64Bytes_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("used");
    QTest::newRow("63") << 63 << false;
    QTest::newRow("64") << 64 << true;
    QTest::newRow("65") << 65 << false;
    QTest::newRow("0") << 0 << false;
}

void TestSettings::customColorsNeedExactly64Bytes()
{
    QFETCH(int, length);
    QFETCH(bool, used);
    QByteArray bytes(length, '\0');
    for (int i = 0; i < length; ++i)
        bytes[i] = char(i + 1);
    Store()->setValue("CustomColors", bytes);
    Store()->setValue("BkColor", 0x123456);
    m_store.reset();
    CTarvexDoc doc;
    QCOMPARE(doc.Figure().BkColor, ColorRef(0x123456));
    QCOMPARE(doc.CustomColors()[0], used ? ColorRef(0x04030201) : ColorRef(0xFFFFFF));
    QCOMPARE(doc.CustomColors()[15], used ? ColorRef(0x403F3E3D) : ColorRef(0xFFFFFF));
}

void TestSettings::sizesAreKeptInRange_data()
{
    QTest::addColumn<QVariant>("width");
    QTest::addColumn<QVariant>("height");
    QTest::addColumn<QVariant>("cubeSize");
    QTest::addColumn<QSize>("grid");
    QTest::addColumn<int>("size");
    QTest::newRow("in range") << QVariant(33) << QVariant(77) << QVariant(50) << QSize(33, 77) << 50;
    QTest::newRow("zero") << QVariant(0) << QVariant(0) << QVariant(0) << QSize(10, 10) << 16;
    QTest::newRow("negative") << QVariant(-5) << QVariant(-1) << QVariant(-100) << QSize(10, 10) << 16;
    QTest::newRow("huge") << QVariant(1000000) << QVariant(2147483647) << QVariant(5000) << QSize(100, 100) << 200;
    QTest::newRow("text") << QVariant("wide") << QVariant("x") << QVariant("big") << QSize(20, 40) << 32;
    QTest::newRow("limits") << QVariant(100) << QVariant(10) << QVariant(200) << QSize(100, 10) << 200;
}

void TestSettings::sizesAreKeptInRange()
{
    QFETCH(QVariant, width);
    QFETCH(QVariant, height);
    QFETCH(QVariant, cubeSize);
    QFETCH(QSize, grid);
    QFETCH(int, size);
    Store()->setValue("Width", width);
    Store()->setValue("Height", height);
    Store()->setValue("CubeSize", cubeSize);
    m_store.reset();
    CTarvexDoc doc;
    QCOMPARE(doc.Figure().GridSize(), grid);
    QCOMPARE(doc.Figure().CubeSize, size);
}

void TestSettings::saveWritesEverything()
{
    {
        CTarvexDoc doc;
        COptions options = doc.Options();
        options.BkColor = 0x010203;
        options.Color1 = 0x040506;
        options.Color2 = 0x070809;
        options.Color3 = 0x0A0B0C;
        options.CubeSize = 50;
        options.Width = 30;
        options.Height = 60;
        options.CustomColors[3] = 0xABCDEF;
        doc.SetOptions(options);
    }
    QSettings *store = Store();
    QCOMPARE(store->value("BkColor").toInt(), 0x010203);
    QCOMPARE(store->value("Color3").toInt(), 0x0A0B0C);
    QCOMPARE(store->value("CubeSize").toInt(), 50);
    QCOMPARE(store->value("Width").toInt(), 30);
    QCOMPARE(store->value("Height").toInt(), 60);
    const QByteArray custom = store->value("CustomColors").toByteArray();
    QCOMPARE(custom.size(), 64);
    QCOMPARE(custom.mid(12, 4), QByteArray("\xEF\xCD\xAB\x00", 4));
    m_store.reset();
    // The next start begins with them.
    CTarvexDoc next;
    QCOMPARE(next.Figure().Color2, ColorRef(0x070809));
    QCOMPARE(next.Figure().CubeSize, 50);
    QCOMPARE(next.Figure().GridSize(), QSize(30, 60));
    QCOMPARE(next.CustomColors()[3], ColorRef(0xABCDEF));
}

void TestSettings::documentWithoutStoreNeverWrites()
{
    Store()->setValue("CubeSize", 64);
    m_store.reset();
    CTarvexDoc doc(false);
    QCOMPARE(doc.Figure().CubeSize, 32); // defaults, not the store
    COptions options = doc.Options();
    options.CubeSize = 100;
    doc.SetOptions(options);
    doc.Undo(false);
    QCOMPARE(Store()->value("CubeSize").toInt(), 64);
}

void TestSettings::colorsKeepTheirLow24Bits_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<uint>("color");
    QTest::newRow("in range") << QVariant(0x123456) << 0x123456u;
    QTest::newRow("-1") << QVariant(-1) << 0xFFFFFFu;
    QTest::newRow("above 24 bits") << QVariant(qint64(0x7F000010)) << 0x000010u;
    QTest::newRow("beyond 32 bits") << QVariant(qint64(0x1FF00FF00)) << 0x00FF00u;
}

// As the drawing uses them, so what is copied can be pasted.
void TestSettings::colorsKeepTheirLow24Bits()
{
    QFETCH(QVariant, stored);
    QFETCH(uint, color);
    for (const char *key : {"Color1", "Color2", "Color3", "BkColor"})
        Store()->setValue(key, stored);
    m_store.reset();
    CTarvexDoc doc;
    QCOMPARE(doc.Figure().Color1, ColorRef(color));
    QCOMPARE(doc.Figure().Color2, ColorRef(color));
    QCOMPARE(doc.Figure().Color3, ColorRef(color));
    QCOMPARE(doc.Figure().BkColor, ColorRef(color));
}

// Qt's reader would wait on a pipe for good: the program starts with the defaults,
// says why, and leaves the pipe alone.
void TestSettings::pipeAsSettingsFileGivesDefaults()
{
    Store()->setValue("CubeSize", 64);
    m_store.reset();
    const QString file = m_dir->filePath("Brellow/Tarvex.conf");
    QVERIFY(QFile::remove(file));
    QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    QString problem;
    {
        const CPipeWatchdog watchdog(file);
        problem = CSettingsStore::CheckFiles();
        CTarvexDoc doc;
        QCOMPARE(doc.Figure().CubeSize, CFigure::DefaultCubeSize);
        COptions options = doc.Options();
        options.CubeSize = 100;
        doc.SetOptions(options);
        QCOMPARE(CTarvexDoc().Figure().CubeSize, 100);
        QVERIFY(!watchdog.Hung());
    }
    QVERIFY2(problem.startsWith("The settings file " + file + " is a pipe, not a regular file."), qPrintable(problem));
    struct stat info;
    QVERIFY(::lstat(QFile::encodeName(file).constData(), &info) == 0 && S_ISFIFO(info.st_mode));
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
