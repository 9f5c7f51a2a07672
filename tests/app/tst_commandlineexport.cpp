// SPDX-License-Identifier: GPL-3.0-or-later
// `tarvex --export OUT FILE` run as a user runs it: the built program, no display,
// a settings folder of its own that must stay empty.

#include "app/commandlineexport.h"
#include "document/tarvexdoc.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include "support/testfiles.h"
#include "support/testdocument.h"

#include <QtTest>

#include <array>
#include <cstdio>
#include <sys/stat.h>

namespace {

const char *const Example = TARVEX_TEST_DATA "/figures/example.xml";

} // namespace

class TestCommandLineExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void run_data();
    void run();
    void exportsAsTheEditorDoes();
    void helpAndVersion();
    void namesNotUtf8_data();
    void namesNotUtf8();

private:
    int Run(const QStringList &arguments, QByteArray *out = nullptr, QByteArray *err = nullptr);

    QTemporaryDir m_dir;
    QString m_config;
};

void TestCommandLineExport::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QFile::exists(TARVEX_BINARY_DIR "/src/tarvex"));
    m_config = m_dir.filePath("config");
    QVERIFY(QDir().mkpath(m_config));
    QVERIFY(WriteFile(m_dir.filePath("empty.xml"), ReadFile(Example)
                                                       .replace("<Cube Col=\"3\" Row=\"0\" Index=\"12\"/>\r\n", "")
                                                       .replace("<Cube Col=\"2\" Row=\"1\" Index=\"63\"/>\r\n", "")));
    QVERIFY(WriteFile(m_dir.filePath("broken.xml"), "<xml><Application>Tarvex</Application>"));
    QCOMPARE(::mkfifo(QFile::encodeName(m_dir.filePath("pipe.xml")).constData(), 0600), 0);
    QVERIFY(WriteFile(m_dir.filePath("wide.xml"), ReadFile(Example).replace("\r\n20\r\n", "\r\n500\r\n")));
}

int TestCommandLineExport::Run(const QStringList &arguments, QByteArray *out, QByteArray *err)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // No display of any kind, and a settings store that must stay empty.
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    env.insert("XDG_CONFIG_HOME", m_config);
    env.insert("HOME", m_dir.path());
    process.setProcessEnvironment(env);
    process.start(TARVEX_BINARY_DIR "/src/tarvex", arguments);
    if (!process.waitForFinished(60000))
        return -100;
    if (out)
        *out = process.readAllStandardOutput();
    if (err)
        *err = process.readAllStandardError();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -200;
}

void TestCommandLineExport::run_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");

    const QString dir = m_dir.path() + '/';
    QTest::newRow("figure to figure") << "copy.xml" << Example << 0 << QString();
    QTest::newRow("figure to bitmap") << "picture.bmp" << Example << 0 << QString();
    QTest::newRow("extension case ignored") << "PICTURE.BMP" << Example << 0 << QString();
    QTest::newRow("figure to png") << "picture.PNG" << Example << 0 << QString();
    QTest::newRow("figure to svg") << "drawing.svg" << Example << 0 << QString();
    QTest::newRow("figure to pdf") << "document.Pdf" << Example << 0 << QString();
    QTest::newRow("missing figure") << "out.bmp" << dir + "nothing.xml" << 1 << "Error loading XML file\nCannot open";
    QTest::newRow("broken figure") << "out.bmp" << dir + "broken.xml" << 1 << "Error loading XML file\n";
    QTest::newRow("width out of range") << "out.xml" << dir + "wide.xml" << 1 << "WorkspaceWidth is 500";
    QTest::newRow("empty figure") << "out.bmp" << dir + "empty.xml" << 1
                                  << "There's no blocks at the workspace so it is impossible to save empty image.";
    QTest::newRow("unknown extension")
        << "out.v2" << Example << 2 << "Tarvex cannot save files of type .v2. Choose .xml, .png, .svg, .pdf or .bmp.";
    QTest::newRow("jpeg") << "out.jpg" << Example << 2 << "cannot save files of type .jpg";
    QTest::newRow("no extension") << "out" << Example << 2 << "cannot save files without an extension";
    QTest::newRow("folder missing") << "no/such/folder/out.bmp" << Example << 1 << "could not be saved";
    // Figures come from regular files only: a pipe is refused without waiting on it.
    QTest::newRow("pipe") << "out.bmp" << dir + "pipe.xml" << 1 << "pipe.xml is a pipe, not a regular file";
    QTest::newRow("standard input") << "out.bmp"
                                    << "/dev/stdin" << 1 << "is a pipe, not a regular file";
    QTest::newRow("dash") << "out.bmp"
                          << "-" << 1 << "not read from standard input";
}

void TestCommandLineExport::run()
{
    QFETCH(QString, output);
    QFETCH(QString, input);
    QFETCH(int, code);
    QFETCH(QString, message);
    const QString out = m_dir.filePath(output);
    QFile::remove(out);
    QByteArray err;
    QCOMPARE(Run({"--export", out, input}, nullptr, &err), code);
    if (code == 0) {
        QVERIFY2(err.isEmpty(), err.constData());
        QVERIFY(QFile::exists(out));
    } else {
        QVERIFY2(QString::fromLocal8Bit(err).contains(message), err.constData());
        QVERIFY(!QFile::exists(out));
    }
    // The user's settings store is never written.
    QCOMPARE(QDir(m_config).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    // Nor is a recovery copy (or anything else) written to the user's data folder.
    QVERIFY(!QFileInfo::exists(m_dir.filePath(".local")));
}

void TestCommandLineExport::exportsAsTheEditorDoes()
{
    const QString xml = m_dir.filePath("same.xml");
    const QString bmp = m_dir.filePath("same.bmp");
    QCOMPARE(Run({"--export", xml, Example}), 0);
    QCOMPARE(ReadFile(xml), ReadFile(Example));
    QCOMPARE(Run({"--export=" + bmp, Example}), 0);
    CTestDocument doc;
    QVERIFY(LoadFigure(doc, Example, nullptr));
    const QString expected = m_dir.filePath("expected.bmp");
    QVERIFY(doc.ExportBitmap(expected, nullptr));
    QCOMPARE(ReadFile(bmp), ReadFile(expected));
    // --transparent gives a PNG with an alpha channel, the same as the editor's.
    const QString png = m_dir.filePath("clear.png");
    QCOMPARE(Run({"--export", png, "--transparent", Example}), 0);
    QVERIFY(doc.SaveFigureAs(m_dir.filePath("clear-expected.png"), true));
    QCOMPARE(ReadFile(png), ReadFile(m_dir.filePath("clear-expected.png")));
    QVERIFY(QImage(png).hasAlphaChannel());
    // A file name after "--" may start with a dash.
    QVERIFY(QFile::copy(Example, m_dir.filePath("-dash.xml")));
    const QString current = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
    const int code = Run({"--export", bmp, "--", "-dash.xml"});
    QDir::setCurrent(current);
    QCOMPARE(code, 0);
}

void TestCommandLineExport::helpAndVersion()
{
    QByteArray out, err;
    QCOMPARE(Run({"--help"}, &out), 0);
    QVERIFY(out.contains("--export"));
    QVERIFY(out.contains("--transparent"));
    QVERIFY(out.contains("--thumbnail <SIZE>"));
    for (const char *type : {".xml", ".png", ".svg", ".pdf", ".bmp"})
        QVERIFY2(out.contains(type), type);
    QCOMPARE(Run({"--export", m_dir.filePath("x.bmp"), "--help"}, &out), 0);
    QVERIFY(out.contains("--export"));
    QCOMPARE(Run({"--version"}, &out), 0);
    QVERIFY(out.startsWith("Tarvex "));
    QCOMPARE(Run({"--export", m_dir.filePath("x.bmp"), "--bogus", Example}, nullptr, &err), 1);
    QVERIFY(err.contains("Unknown option"));
    QCOMPARE(Run({"--export", m_dir.filePath("x.bmp")}, nullptr, &err), 2);
    QVERIFY(err.contains("exactly one figure file"));
    QCOMPARE(Run({"--export", m_dir.filePath("x.bmp"), Example, Example}, nullptr, &err), 2);
    QVERIFY(!QFile::exists(m_dir.filePath("x.bmp")));
    // After "--" every argument is a file name, even one spelled like an option.
    char program[] = "tarvex", dashes[] = "--", option[] = "--export";
    char *argv[] = {program, dashes, option};
    QVERIFY(!CCommandLineExport::IsRequested(3, argv));
    QVERIFY(CCommandLineExport::IsRequested(2, std::array<char *, 2>{program, option}.data()));
}

void TestCommandLineExport::namesNotUtf8_data()
{
    // Byte strings as printf writes them; \377 is never part of UTF-8.
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("thumbnail"); // "yes": --thumbnail 64 INPUT OUTPUT
    QTest::newRow("output name") << "bad\\377.png"
                                 << "in.xml"
                                 << "";
    QTest::newRow("input name") << "out.png"
                                << "in\\377.xml"
                                << "";
    QTest::newRow("thumbnail output") << "bad\\377.png"
                                      << "in.xml"
                                      << "yes";
}

void TestCommandLineExport::namesNotUtf8()
{
    // Such a name is refused with a message; another file (its bytes replaced) is never
    // read or written, even when it exists.
    QFETCH(QString, output);
    QFETCH(QString, input);
    QFETCH(QString, thumbnail);
    QTemporaryDir dir;
    QVERIFY(QFile::copy(Example, dir.filePath("in.xml")));
    QVERIFY(QFile::copy(Example, dir.filePath(QString("in%1.xml").arg(QChar(QChar::ReplacementCharacter)))));
    std::FILE *raw = std::fopen(QFile::encodeName(dir.path()) + "/in\377.xml", "wb");
    QVERIFY(raw);
    const QByteArray figure = ReadFile(Example);
    QCOMPARE(std::fwrite(figure.constData(), 1, size_t(figure.size()), raw), size_t(figure.size()));
    std::fclose(raw);
    const QStringList before = QDir(dir.path()).entryList(QDir::Files);
    QProcess process;
    const QString script = thumbnail.isEmpty()
                               ? QStringLiteral(
                                   "cd \"$2\" && exec \"$1\" --export \"$(printf \"$3\")\" \"$(printf \"$4\")\"")
                               : QStringLiteral(
                                   "cd \"$2\" && exec \"$1\" --thumbnail 64 \"$(printf \"$4\")\" \"$(printf \"$3\")\"");
    process.start("/bin/sh", {"-c", script, "sh", TARVEX_BINARY_DIR "/src/tarvex", dir.path(), output, input});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 2);
    QVERIFY2(process.readAllStandardError().contains("is not valid UTF-8"), "no message");
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), before);
}

QTEST_GUILESS_MAIN(TestCommandLineExport)
#include "tst_commandlineexport.moc"
