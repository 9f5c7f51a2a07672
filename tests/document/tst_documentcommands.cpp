// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/documentcommands.h"
#include "document/tarvexdoc.h"
#include "support/pipewatchdog.h"
#include "support/scriptedui.h"
#include "support/testfiles.h"
#include "support/testdocument.h"

#include <QtTest>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <sys/stat.h>

using Answer = CDocumentUi::Answer;

namespace {

const QString AskText = QStringLiteral("Warning: Your figure not saved. Do you want to save it?");
const QString EmptyText = QStringLiteral("There's no blocks at the workspace so it is impossible to save empty image.");

} // namespace

class TestDocumentCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void newOnEmptyFigureNeverAsks();
    void newAsksAndHonoursTheAnswer_data();
    void newAsksAndHonoursTheAnswer();
    void saveEmptyFigureShowsMessage();
    void saveDispatchesByExtension_data();
    void saveDispatchesByExtension();
    void saveOffersTheFiguresOwnFile_data();
    void saveOffersTheFiguresOwnFile();
    void failedSaveIsReportedAndKeepsFigureUnsaved();
    void openPaths();
    void openFailures_data();
    void openFailures();
    void saveOverAFileChangedOnDisk_data();
    void saveOverAFileChangedOnDisk();
    void closePrompt_data();
    void closePrompt();
    void optionsOkAndCancel();
    void savedState_data();
    void savedState();

private:
    QTemporaryDir m_configDir;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString Path(const QString &name) const { return m_dir->filePath(name); }
};

void TestDocumentCommands::initTestCase()
{
    // The store's location is fixed on first use: one private store for the whole run,
    // emptied before every test.
    qputenv("XDG_CONFIG_HOME", m_configDir.path().toLocal8Bit());
}

void TestDocumentCommands::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QSettings("Brellow", "Tarvex").clear();
}

void TestDocumentCommands::newOnEmptyFigureNeverAsks()
{
    CTestDocument doc;
    // Unsaved, yet empty: a cube placed and erased again.
    doc.PlaceCube(QPoint(1, 1), 0);
    doc.PlaceCube(QPoint(1, 1), EmptyCell);
    QVERIFY(!doc.IsSaved());
    QVERIFY(CDocumentCommands(doc).OnNewDocument());
    QVERIFY(doc.ui.questions.isEmpty());
}

void TestDocumentCommands::newAsksAndHonoursTheAnswer_data()
{
    QTest::addColumn<QList<Answer>>("answers");
    QTest::addColumn<QStringList>("saveNames");
    QTest::addColumn<bool>("started");
    QTest::newRow("cancel") << QList<Answer>{Answer::Cancel} << QStringList() << false;
    QTest::newRow("no") << QList<Answer>{Answer::No} << QStringList() << true;
    QTest::newRow("yes, save dialog cancelled") << QList<Answer>{Answer::Yes} << QStringList() << false;
    QTest::newRow("yes, saved") << QList<Answer>{Answer::Yes} << QStringList{"fig.xml"} << true;
}

void TestDocumentCommands::newAsksAndHonoursTheAnswer()
{
    QFETCH(QList<Answer>, answers);
    QFETCH(QStringList, saveNames);
    QFETCH(bool, started);
    CTestDocument doc(30, 50, {}, 0, 40);
    doc.PlaceCube(QPoint(2, 2), 0);
    doc.ui.answers = answers;
    for (const QString &name : saveNames)
        doc.ui.saveNames << Path(name);
    QSignalSpy colours(&doc, &CTarvexDoc::BarColorsChanged);
    QCOMPARE(CDocumentCommands(doc).OnNewDocument(), started);
    QCOMPARE(doc.ui.questions, QStringList{AskText});
    QCOMPARE(colours.count(), 1);
    QCOMPARE(doc.Figure().IsEmpty(), started);
    QCOMPARE(doc.CanUndo(), !started);
    // A new figure keeps the sizes and colours.
    QCOMPARE(doc.Figure().CubeSize, 40);
    QCOMPARE(doc.Figure().GridSize(), QSize(30, 50));
    if (!saveNames.isEmpty())
        QVERIFY(QFile::exists(Path(saveNames.first())));
}

void TestDocumentCommands::saveEmptyFigureShowsMessage()
{
    CTestDocument doc;
    CDocumentCommands(doc).OnSaveFigure();
    QCOMPARE(doc.ui.saveDialogs, 0);
    QCOMPARE(doc.ui.messages.size(), 1);
    QCOMPARE(doc.ui.messages[0].text, EmptyText);
    QCOMPARE(doc.ui.messages[0].caption, QStringLiteral("Tarvex"));
    QCOMPARE(doc.ui.messages[0].icon, CDocumentUi::Icon::Stop);
}

void TestDocumentCommands::saveDispatchesByExtension_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("start"); // first bytes of the written file; empty: none
    QTest::addColumn<QString>("refusal");  // the message for a type Tarvex cannot write
    QTest::newRow("xml capitals") << "FIGURE.XML" << QByteArray("<xml>\r\n") << QString();
    QTest::newRow("bmp mixed case") << "picture.BmP" << QByteArray("BM") << QString();
    QTest::newRow("png") << "picture.Png" << QByteArray("\x89PNG\r\n") << QString();
    QTest::newRow("svg") << "drawing.svg" << QByteArray("<?xml") << QString();
    QTest::newRow("pdf") << "document.PDF" << QByteArray("%PDF-") << QString();
    QTest::newRow("unknown extension")
        << "fig.v2" << QByteArray() << "Tarvex cannot save files of type .v2. Choose .xml, .png, .svg, .pdf or .bmp.";
    QTest::newRow("no extension")
        << "picture" << QByteArray()
        << "Tarvex cannot save files without an extension. Choose .xml, .png, .svg, .pdf or .bmp.";
}

void TestDocumentCommands::saveDispatchesByExtension()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, start);
    QFETCH(QString, refusal);
    CTestDocument doc({{1, 1}});
    doc.ui.saveNames << Path(name);
    CDocumentCommands(doc).OnSaveFigure();
    QFile file(Path(name));
    QCOMPARE(file.exists(), !start.isEmpty());
    if (!start.isEmpty()) {
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith(start));
    }
    if (!refusal.isEmpty()) {
        // A type Tarvex cannot write is refused aloud and the figure stays unsaved,
        // so the next New asks.
        QCOMPARE(doc.ui.messages.size(), 1);
        QCOMPARE(doc.ui.messages[0].text, refusal);
        QCOMPARE(doc.ui.messages[0].caption, QStringLiteral("Tarvex"));
        QCOMPARE(doc.IsSaved(), 0);
        QVERIFY(!CDocumentCommands(doc).OnNewDocument());
        QCOMPARE(doc.ui.questions.size(), 1);
        return;
    }
    QVERIFY(doc.ui.messages.isEmpty());
    // Only a figure file holds the figure: after a picture New still asks, and the
    // figure keeps no picture's name.
    const bool figure = name.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive);
    QCOMPARE(doc.IsSaved(), figure);
    QCOMPARE(doc.PathName(), figure ? Path(name) : QString());
    QCOMPARE(CDocumentCommands(doc).OnNewDocument(), figure);
    QCOMPARE(doc.ui.questions.size(), figure ? 0 : 1);
}

void TestDocumentCommands::saveOffersTheFiguresOwnFile_data()
{
    QTest::addColumn<QString>("opened");    // "" for a new figure
    QTest::addColumn<QString>("suggested"); // "" for none; "docs:" the documents folder
    QTest::newRow("new figure") << QString() << QString();
    QTest::newRow("opened file") << "own.xml"
                                 << "own.xml";
}

void TestDocumentCommands::saveOffersTheFiguresOwnFile()
{
    QFETCH(QString, opened);
    QFETCH(QString, suggested);
    CTestDocument doc({{2, 2}});
    if (!opened.isEmpty()) {
        const QString path = opened.startsWith(':') ? opened : Path(opened);
        if (!opened.startsWith(':'))
            QVERIFY(doc.SaveFigureXml(path));
        QVERIFY(CDocumentCommands(doc).Open(path, CDocumentCommands::OpenAs::AfterQuestion));
        // A resource is never the figure's file name.
        QCOMPARE(doc.PathName(), opened.startsWith(':') ? QString() : path);
        doc.PlaceCube(QPoint(1, 1), 0);
    }
    CDocumentCommands(doc).OnSaveFigure();
    QCOMPARE(doc.ui.saveDialogs, 1);
    if (suggested.isEmpty()) {
        QVERIFY(doc.ui.suggestedNames.isEmpty());
    } else if (suggested.startsWith("docs:")) {
        QCOMPARE(doc.ui.suggestedNames.size(), 1);
        QCOMPARE(QFileInfo(doc.ui.suggestedNames[0]).fileName(), suggested.mid(5));
        QVERIFY(!doc.ui.suggestedNames[0].startsWith(':'));
    } else {
        QCOMPARE(doc.ui.suggestedNames, QStringList{Path(suggested)});
    }
}

void TestDocumentCommands::failedSaveIsReportedAndKeepsFigureUnsaved()
{
    CTestDocument doc({{1, 1}});
    doc.ui.saveNames << Path("missing/folder/fig.xml") << Path("missing/folder/fig.bmp");
    CDocumentCommands(doc).OnSaveFigure();
    CDocumentCommands(doc).OnSaveFigure();
    QCOMPARE(doc.IsSaved(), 0);
    QCOMPARE(doc.ui.messages.size(), 2);
    for (const auto &m : doc.ui.messages) {
        QCOMPARE(m.caption, QStringLiteral("Tarvex"));
        QVERIFY(m.text.contains(QStringLiteral("fig.")));
    }
    QVERIFY(!QFile::exists(Path("missing")));
}

void TestDocumentCommands::openPaths()
{
    CTarvexDoc doc;
    CScriptedUi ui;
    doc.SetUi(&ui);
    EditFigure(doc, [&](CFigure &f) { f.CubeSize = 50; });
    doc.ResizeGrid(25, 30);
    PlaceCube(doc, 3, 3, 9);
    ui.saveNames << Path("a.xml");
    CDocumentCommands(doc).OnSaveFigure();
    QCOMPARE(doc.IsSaved(), 1);
    EditFigure(doc, [&](CFigure &f) { f.CubeSize = 32; });
    doc.ResizeGrid(20, 40);
    PlaceCube(doc, 3, 3, -1);
    PlaceCube(doc, 5, 5, 0);
    doc.TakeSnapshot();
    // Unsaved changes: the question first; Cancel keeps everything.
    ui.answers << Answer::Cancel;
    CDocumentCommands(doc).OnOpenFigure();
    QCOMPARE(ui.openDialogs, 0);
    QCOMPARE(doc.Figure().Cell(5, 5), 0);
    // No: the open dialog, then the file replaces the figure and counts as saved.
    ui.answers << Answer::No;
    ui.openNames << Path("a.xml");
    QSignalSpy updates(&doc, &CTarvexDoc::UpdateAllViews);
    CDocumentCommands(doc).OnOpenFigure();
    QVERIFY(updates.count() >= 1);
    QCOMPARE(doc.Figure().CubeSize, 50);
    QCOMPARE(doc.Figure().GridSize(), QSize(25, 30));
    QCOMPARE(doc.Figure().Cell(3, 3), 9);
    QCOMPARE(doc.Figure().Cell(5, 5), -1);
    QCOMPARE(doc.IsSaved(), 1);
    QVERIFY(!doc.CanUndo());
    // The opened settings are the user's settings now.
    QSettings store("Brellow", "Tarvex");
    QCOMPARE(store.value("Settings/CubeSize").toInt(), 50);
    // A file opened directly (as from the command line) counts as saved too.
    CTestDocument other;
    QVERIFY(CDocumentCommands(other).Open(Path("a.xml"), CDocumentCommands::OpenAs::Direct));
    QVERIFY(other.IsSaved());
    QCOMPARE(other.Figure().Cell(3, 3), 9);
}

void TestDocumentCommands::openFailures_data()
{
    QTest::addColumn<QByteArray>("content"); // "" with a name: no such file; "|": a pipe
    QTest::addColumn<QString>("message");    // how the message starts
    QTest::newRow("not a figure") << QByteArray("<xml><Application>Something else</Application></xml>")
                                  << "Error loading XML file\n\n";
    QTest::newRow("broken XML") << QByteArray("<xml><Application>Tarvex") << "Error loading XML file\n\n";
    QTest::newRow("missing file") << QByteArray() << "Cannot open the file";
    QTest::newRow("pipe") << QByteArray("|") << "Cannot open the file";
}

// Whatever goes wrong, the figure on screen, its history and its saved state stay.
void TestDocumentCommands::openFailures()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    const QString path = Path("bad.xml");
    if (content == "|")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (!content.isEmpty())
        QVERIFY(WriteFile(path, content));
    CTestDocument doc(30, 30, {{4, 4}});
    QVERIFY(doc.SaveFigureXml(Path("own.xml")));
    QVERIFY(CDocumentCommands(doc).Open(Path("own.xml"), CDocumentCommands::OpenAs::Direct));
    doc.PlaceCube(QPoint(6, 6), 3);
    doc.ui.answers << Answer::No;
    doc.ui.openNames << path;
    {
        // A pipe opened with blocking would wait here for a writer.
        const CPipeWatchdog watchdog(path);
        CDocumentCommands(doc).OnOpenFigure();
        QVERIFY(!watchdog.Hung());
    }
    QCOMPARE(doc.ui.messages.size(), 1);
    QVERIFY2(doc.ui.messages[0].text.startsWith(message), qPrintable(doc.ui.messages[0].text));
    QCOMPARE(doc.ui.messages[0].caption, QStringLiteral("Tarvex"));
    QCOMPARE(doc.Figure().Cell(4, 4), 0);
    QCOMPARE(doc.Figure().Cell(6, 6), 3);
    QCOMPARE(doc.IsSaved(), 0);
    QCOMPARE(doc.UndoCount(), 1);
    QCOMPARE(doc.PathName(), Path("own.xml"));
    doc.OnEditUndo();
    QCOMPARE(doc.IsSaved(), 1);
}

void TestDocumentCommands::saveOverAFileChangedOnDisk_data()
{
    QTest::addColumn<QByteArray>("change"); // written over the file meanwhile; "touch": same bytes, new time
    QTest::addColumn<QList<Answer>>("answers");
    QTest::addColumn<QString>("written"); // the file that gets the figure; "" none
    QTest::addColumn<int>("questions");
    const QByteArray other("another editor's figure");
    QTest::newRow("unchanged") << QByteArray() << QList<Answer>() << "own.xml" << 0;
    QTest::newRow("touched only") << QByteArray("touch") << QList<Answer>() << "own.xml" << 0;
    QTest::newRow("changed, overwrite") << other << QList<Answer>{Answer::Yes} << "own.xml" << 1;
    QTest::newRow("changed, elsewhere") << other << QList<Answer>{Answer::No} << "elsewhere.xml" << 1;
    QTest::newRow("changed, cancel") << other << QList<Answer>{Answer::Cancel} << "" << 1;
}

// Another editor saved the same file meanwhile: writing over it asks first.
void TestDocumentCommands::saveOverAFileChangedOnDisk()
{
    QFETCH(QByteArray, change);
    QFETCH(QList<Answer>, answers);
    QFETCH(QString, written);
    QFETCH(int, questions);
    const QString own = Path("own.xml");
    {
        CTestDocument first({{2, 2}});
        QVERIFY(first.SaveFigureXml(own));
    }
    CTestDocument doc;
    QVERIFY(CDocumentCommands(doc).Open(own, CDocumentCommands::OpenAs::Direct));
    doc.PlaceCube(QPoint(5, 5), 0);
    const QByteArray before = ReadFile(own);
    if (change == "touch") {
        QFile file(own);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
    } else if (!change.isEmpty()) {
        QVERIFY(WriteFile(own, change));
    }
    doc.ui.answers = answers;
    doc.ui.saveNames << own << Path("elsewhere.xml");
    CDocumentCommands(doc).OnSaveFigure();
    QCOMPARE(doc.ui.questions.size(), questions);
    if (questions)
        QVERIFY(doc.ui.questions[0].contains(own + " has been changed by another program"));
    QCOMPARE(doc.IsSaved(), !written.isEmpty());
    QCOMPARE(doc.PathName(), written.isEmpty() ? own : Path(written));
    if (written != "own.xml")
        QCOMPARE(ReadFile(own), change.isEmpty() ? before : change);
    if (written.isEmpty())
        return;
    CTestDocument reread;
    QVERIFY(LoadFigure(reread, Path(written)));
    QCOMPARE(reread.Figure().Cell(5, 5), 0);
    // What this editor wrote is its file now: the next save does not ask.
    doc.PlaceCube(QPoint(7, 7), 0);
    doc.ui.saveNames = QStringList{Path(written)};
    CDocumentCommands(doc).OnSaveFigure();
    QCOMPARE(doc.ui.questions.size(), questions);
    QCOMPARE(doc.IsSaved(), 1);
}

void TestDocumentCommands::closePrompt_data()
{
    QTest::addColumn<bool>("empty");
    QTest::addColumn<int>("saved");
    QTest::addColumn<QList<Answer>>("answers");
    QTest::addColumn<QStringList>("saveNames");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<int>("questions");
    QTest::newRow("empty") << true << 0 << QList<Answer>() << QStringList() << true << 0;
    QTest::newRow("saved") << false << 1 << QList<Answer>() << QStringList() << true << 0;
    QTest::newRow("cancel") << false << 0 << QList<Answer>{Answer::Cancel} << QStringList() << false << 1;
    QTest::newRow("no") << false << 0 << QList<Answer>{Answer::No} << QStringList() << true << 1;
    QTest::newRow("yes, dialog cancelled") << false << 0 << QList<Answer>{Answer::Yes} << QStringList() << false << 1;
    QTest::newRow("yes, saved") << false << 0 << QList<Answer>{Answer::Yes} << QStringList{"c.xml"} << true << 1;
}

void TestDocumentCommands::closePrompt()
{
    QFETCH(bool, empty);
    QFETCH(int, saved);
    QFETCH(QList<Answer>, answers);
    QFETCH(QStringList, saveNames);
    QFETCH(bool, closes);
    QFETCH(int, questions);
    CTestDocument doc;
    if (!empty)
        PlaceCube(doc, 1, 1, 0);
    if (saved)
        MarkSaved(doc);
    doc.ui.answers = answers;
    for (const QString &name : saveNames)
        doc.ui.saveNames << Path(name);
    QCOMPARE(CDocumentCommands(doc).CanCloseFrame(), closes);
    QCOMPARE(doc.ui.questions.size(), questions);
}

void TestDocumentCommands::optionsOkAndCancel()
{
    CTarvexDoc doc;
    CScriptedUi ui;
    doc.SetUi(&ui);
    PlaceCube(doc, 1, 1, 0);
    doc.PlaceCube(QPoint(2, 2), 0);
    doc.Undo(true);
    QCOMPARE(doc.RedoCount(), 1);
    // Cancel, and OK with nothing changed: everything as before, history included.
    ui.saveNames << Path("o.xml");
    CDocumentCommands(doc).OnSaveFigure();
    for (bool ok : {false, true}) {
        ui.options = [ok](const COptions &current) {
            return ok ? std::optional<COptions>(current) : std::nullopt;
        };
        CDocumentCommands(doc).OnOptions();
        QVERIFY(doc.IsSaved());
        QCOMPARE(doc.Figure().CubeSize, 32);
        QCOMPARE(doc.Figure().GridSize(), QSize(20, 40));
        QCOMPARE(doc.UndoCount(), 0);
        QCOMPARE(doc.RedoCount(), 1);
    }
    // OK: one undo step, settings stored, colours handed on.
    ui.options = [](COptions options) {
        options.Color1 = 0x00FFFF;
        options.CubeSize = 48;
        return std::optional<COptions>(options);
    };
    QSignalSpy colours(&doc, &CTarvexDoc::BarColorsChanged);
    CDocumentCommands(doc).OnOptions();
    QCOMPARE(doc.UndoCount(), 1);
    QCOMPARE(colours.count(), 1);
    QCOMPARE(colours.first().at(0).value<ColorRef>(), ColorRef(0x00FFFF));
    // The figure file holds the settings: the figure now differs from it.
    QCOMPARE(doc.IsSaved(), 0);
    QSettings store("Brellow", "Tarvex");
    QCOMPARE(store.value("Settings/CubeSize").toInt(), 48);
    QVERIFY(!CDocumentCommands(doc).CanCloseFrame()); // asks (the script answers Cancel)
    doc.OnEditUndo();
    QCOMPARE(doc.IsSaved(), 1);
    QCOMPARE(doc.Figure().CubeSize, 32);
    QCOMPARE(doc.Figure().Color1, ColorRef(0x0000FF));
    store.sync();
    QCOMPARE(store.value("Settings/CubeSize").toInt(), 32);
}

void TestDocumentCommands::savedState_data()
{
    // Steps: p = place a cube (one undo step), s = save, u = undo, r = redo,
    // o = Options confirmed with a new cube size, c = Options cancelled.
    // The figure counts as saved exactly when it equals the last saved file.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("saved");
    QTest::newRow("undo after save") << "p s u"
                                     << "0 1 0";
    QTest::newRow("redo back to the save") << "p s u r"
                                           << "0 1 0 1";
    QTest::newRow("undo past the save and redo") << "p p s u u r r"
                                                 << "0 0 1 0 0 0 1";
    QTest::newRow("undo back to a later save") << "p p u s r u"
                                               << "0 0 0 1 0 1";
    QTest::newRow("new edit after undo loses the save") << "p s u p u r"
                                                        << "0 1 0 0 0 0";
    QTest::newRow("options change and undo") << "p s o u r"
                                             << "0 1 0 1 0";
    QTest::newRow("options cancelled") << "p s c"
                                       << "0 1 1";
}

void TestDocumentCommands::savedState()
{
    QFETCH(QString, steps);
    QFETCH(QString, saved);
    CTestDocument doc;
    int column = 1;
    QStringList flags;
    for (const QString &step : steps.split(' ')) {
        if (step == "p") {
            doc.PlaceCube(QPoint(column++, 1), 0);
        } else if (step == "s") {
            doc.ui.saveNames << Path("s.xml");
            CDocumentCommands(doc).OnSaveFigure();
        } else if (step == "u") {
            doc.OnEditUndo();
        } else if (step == "r") {
            doc.OnEditRedo();
        } else {
            doc.ui.options = [ok = step == "o"](COptions options) {
                options.CubeSize += 2;
                return ok ? std::optional<COptions>(options) : std::nullopt;
            };
            CDocumentCommands(doc).OnOptions();
        }
        flags << QString::number(doc.IsSaved());
    }
    QCOMPARE(flags.join(' '), saved);
    // The question about unsaved changes follows the flag (the script answers Cancel).
    QCOMPARE(CDocumentCommands(doc).CanCloseFrame(), doc.IsSaved() == 1 || doc.Figure().IsEmpty());
}

QTEST_GUILESS_MAIN(TestDocumentCommands)
#include "tst_documentcommands.moc"
