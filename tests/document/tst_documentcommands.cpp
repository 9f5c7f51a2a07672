// The document's commands (New, Open, Save, Options, closing) with scripted answers:
// when the question about unsaved changes is asked, what each answer does, which
// file format a save writes, and the saved-flag rules.

#include "document/tarvexdoc.h"
#include "support/scriptedui.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString AskSaveQuestion = QStringLiteral("Warning: Your figure not saved. Do you want to save it?");
const QString EmptyFigureText =
    QStringLiteral("There's no blocks at the workspace so it is impossible to save empty image.");
const QString LoadErrorText = QStringLiteral("Error loading XML file");

using Answer = CDocumentUi::Answer;

// A document with a small unsaved figure and a history of two clicks.
void Draw(CTarvexDoc &doc)
{
    doc.TakeSnapshot();
    doc.PlaceCube(2, 2, 0);
    doc.TakeSnapshot();
    doc.PlaceCube(3, 4, 17);
}

QByteArray Head(const QString &path, int n)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.read(n);
}

} // namespace

class TestDocumentCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void askOnlyForUnsavedCubes_data();
    void askOnlyForUnsavedCubes();
    void newAnswers_data();
    void newAnswers();
    void saveEmptyFigureRefuses();
    void saveDispatchesByExtension_data();
    void saveDispatchesByExtension();
    void saveFailureKeepsTheFigureUnsaved();
    void savedFigureDoesNotAskAgain();
    void openPaths();
    void openUnreadableFile();
    void openNotAFigureFile();
    void openFigureFile();
    void closeAnswers_data();
    void closeAnswers();
    void optionsConfirmedOrCancelled_data();
    void optionsConfirmedOrCancelled();
};

void TestDocumentCommands::askOnlyForUnsavedCubes_data()
{
    QTest::addColumn<bool>("cubes");
    QTest::addColumn<int>("saved");
    QTest::addColumn<bool>("asked");
    QTest::newRow("empty, unsaved") << false << 0 << false;
    QTest::newRow("cubes, saved") << true << 1 << false;
    QTest::newRow("cubes, unsaved") << true << 0 << true;
}

void TestDocumentCommands::askOnlyForUnsavedCubes()
{
    QFETCH(bool, cubes);
    QFETCH(int, saved);
    QFETCH(bool, asked);
    for (int command = 0; command < 3; ++command) {
        CTarvexDoc doc(false);
        CScriptedUi ui;
        doc.SetUi(&ui);
        if (cubes)
            doc.PlaceCube(1, 1, 0);
        doc.m_bSaved = saved;
        ui.answers = {Answer::Cancel};
        switch (command) {
        case 0:
            doc.OnNewDocument();
            break;
        case 1:
            doc.OnOpenFigure();
            break;
        default:
            doc.CanCloseFrame();
            break;
        }
        QCOMPARE(ui.questions, asked ? QStringList{AskSaveQuestion} : QStringList());
    }
}

void TestDocumentCommands::newAnswers_data()
{
    QTest::addColumn<QList<Answer>>("answers");
    QTest::addColumn<bool>("started");   // a new, empty figure
    QTest::addColumn<int>("saveDialogs");
    QTest::newRow("yes, save dialog cancelled") << QList<Answer>{Answer::Yes} << false << 1;
    QTest::newRow("no") << QList<Answer>{Answer::No} << true << 0;
    QTest::newRow("cancel") << QList<Answer>{Answer::Cancel} << false << 0;
}

void TestDocumentCommands::newAnswers()
{
    QFETCH(QList<Answer>, answers);
    QFETCH(bool, started);
    QFETCH(int, saveDialogs);
    CTarvexDoc doc(false);
    CScriptedUi ui;
    doc.SetUi(&ui);
    doc.ResizeGrid(30, 20);
    doc.CubeSize = 40;
    doc.Color2 = 0x123456;
    Draw(doc);
    ui.answers = answers;
    QSignalSpy colours(&doc, &CTarvexDoc::BarColorsChanged);

    QCOMPARE(doc.OnNewDocument(), started);
    QCOMPARE(ui.saveDialogs, saveDialogs);
    QCOMPARE(colours.count(), 1);
    // Size, cube size and colours stay whatever the answer.
    QCOMPARE(doc.GetGridSize(), QSize(30, 20));
    QCOMPARE(doc.CubeSize, 40);
    QCOMPARE(doc.Color2, ColorRef(0x123456));
    if (started) {
        QVERIFY(doc.IsFigureEmpty());
        QVERIFY(!doc.CanUndo());
        QCOMPARE(doc.m_bSaved, 1);
    } else {
        QCOMPARE(doc.GetCell(3, 4), 17);
        QCOMPARE(doc.UndoCount(), 2);
        QCOMPARE(doc.m_bSaved, 0);
    }
}

void TestDocumentCommands::saveEmptyFigureRefuses()
{
    CTarvexDoc doc(false);
    CScriptedUi ui;
    doc.SetUi(&ui);
    doc.m_bSaved = 0;
    doc.OnSaveFigure();
    QCOMPARE(ui.saveDialogs, 0);
    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(ui.messages[0].text, EmptyFigureText);
    QCOMPARE(ui.messages[0].caption, QStringLiteral("Tarvex"));
    QCOMPARE(ui.messages[0].icon, CDocumentUi::Icon::Stop);
    QCOMPARE(doc.m_bSaved, 0);
}

void TestDocumentCommands::saveDispatchesByExtension_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("head");   // empty: nothing is written
    QTest::addColumn<int>("saved");
    QTest::newRow("xml in capitals") << "figure.XML" << QByteArray("<") << 1;
    QTest::newRow("bmp in mixed case") << "figure.bMp" << QByteArray("BM") << 1;
    QTest::newRow("other extension") << "figure.png" << QByteArray() << 1;
    QTest::newRow("no extension") << "figure" << QByteArray() << 1;
    QTest::newRow("dialog cancelled") << QString() << QByteArray() << 0;
}

void TestDocumentCommands::saveDispatchesByExtension()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, head);
    QFETCH(int, saved);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    CTarvexDoc doc(false);
    CScriptedUi ui;
    doc.SetUi(&ui);
    Draw(doc);
    const QString path = name.isEmpty() ? QString() : dir.filePath(name);
    ui.saveNames = {path};
    doc.OnSaveFigure();
    QCOMPARE(ui.saveDialogs, 1);
    QCOMPARE(ui.messages.size(), 0);
    QCOMPARE(doc.m_bSaved, saved);
    if (head.isEmpty())
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    else
        QCOMPARE(Head(path, head.size()), head);
    // Saving never touches the figure or its history.
    QCOMPARE(doc.GetCell(3, 4), 17);
    QCOMPARE(doc.UndoCount(), 2);
}

void TestDocumentCommands::saveFailureKeepsTheFigureUnsaved()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const QString &name : {QStringLiteral("missing/figure.xml"), QStringLiteral("missing/figure.bmp")}) {
        CTarvexDoc doc(false);
        CScriptedUi ui;
        doc.SetUi(&ui);
        Draw(doc);
        ui.saveNames = {dir.filePath(name)};
        doc.OnSaveFigure();
        QCOMPARE(doc.m_bSaved, 0);
        QCOMPARE(ui.messages.size(), 1);
        QCOMPARE(ui.messages[0].caption, QStringLiteral("Tarvex"));
        QVERIFY(ui.messages[0].text.contains(dir.filePath(name)));
        // Closing still asks, so the figure is not lost.
        ui.answers = {Answer::Cancel};
        QVERIFY(!doc.CanCloseFrame());
    }
}

void TestDocumentCommands::savedFigureDoesNotAskAgain()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    CTarvexDoc doc(false);
    CScriptedUi ui;
    doc.SetUi(&ui);
    Draw(doc);
    // Yes in the question saves and then goes on.
    ui.answers = {Answer::Yes};
    ui.saveNames = {dir.filePath(QStringLiteral("a.xml"))};
    QVERIFY(doc.OnNewDocument());
    QVERIFY(doc.IsFigureEmpty());
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("a.xml"))));
    // Undo, redo and colour changes alone never make the figure unsaved.
    Draw(doc);
    ui.saveNames = {dir.filePath(QStringLiteral("b.xml"))};
    doc.OnSaveFigure();
    doc.OnEditUndo();
    doc.OnEditRedo();
    doc.Color1 = 0x010203;
    QVERIFY(doc.CanCloseFrame());
    QCOMPARE(ui.questions.size(), 1);
}

void TestDocumentCommands::openPaths()
{
    CTarvexDoc doc(false);
    CScriptedUi ui;
    doc.SetUi(&ui);
    Draw(doc);
    // Cancel in the question: no open dialog.
    ui.answers = {Answer::Cancel};
    doc.OnOpenFigure();
    QCOMPARE(ui.openDialogs, 0);
    // No, then the open dialog cancelled: nothing changes.
    ui.answers = {Answer::No};
    doc.OnOpenFigure();
    QCOMPARE(ui.openDialogs, 1);
    QCOMPARE(doc.GetCell(3, 4), 17);
    QCOMPARE(doc.UndoCount(), 2);
    QCOMPARE(doc.m_bSaved, 0);
}

void TestDocumentCommands::openUnreadableFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    CTarvexDoc doc(false);
    CScriptedUi ui;
    doc.SetUi(&ui);
    Draw(doc);
    ui.answers = {Answer::No};
    ui.openNames = {dir.filePath(QStringLiteral("none.xml"))};
    doc.OnOpenFigure();
    // The figure is untouched but counts as saved.
    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(ui.messages[0].caption, QStringLiteral("Tarvex"));
    QCOMPARE(doc.GetCell(3, 4), 17);
    QCOMPARE(doc.m_bSaved, 1);
}

void TestDocumentCommands::openNotAFigureFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("junk.xml"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("this is not a figure\r\n");
    }
    CTarvexDoc doc(false);
    CScriptedUi ui;
    doc.SetUi(&ui);
    doc.ResizeGrid(25, 15);
    Draw(doc);
    ui.answers = {Answer::No};
    ui.openNames = {path};
    QSignalSpy updates(&doc, &CTarvexDoc::UpdateAllViews);
    doc.OnOpenFigure();
    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(ui.messages[0].text, LoadErrorText);
    QCOMPARE(ui.messages[0].caption, QStringLiteral("Tarvex"));
    QCOMPARE(ui.messages[0].icon, CDocumentUi::Icon::Stop);
    // Already reset: an empty workspace of the previous size, no history, saved.
    QVERIFY(doc.IsFigureEmpty());
    QCOMPARE(doc.GetGridSize(), QSize(25, 15));
    QVERIFY(!doc.CanUndo());
    QCOMPARE(doc.m_bSaved, 1);
    QVERIFY(updates.count() >= 1);
}

void TestDocumentCommands::openFigureFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("figure.xml"));
    {
        CTarvexDoc source(false);
        source.ResizeGrid(12, 14);
        source.PlaceCube(4, 5, 9);
        source.PlaceCube(5, 6, 0);
        QVERIFY(source.SaveFigureXml(path));
    }
    CTarvexDoc doc(false);
    CScriptedUi ui;
    doc.SetUi(&ui);
    Draw(doc);
    doc.ToggleSelectMode();
    ui.answers = {Answer::No};
    ui.openNames = {path};
    doc.OnOpenFigure();
    QCOMPARE(ui.messages.size(), 0);
    QCOMPARE(doc.GetGridSize(), QSize(12, 14));
    QVERIFY(doc.GetCell(4, 5) >= 0);
    QVERIFY(doc.GetCell(5, 6) >= 0);
    QCOMPARE(doc.GetCell(3, 4), -1);
    QVERIFY(!doc.CanUndo());
    QVERIFY(!doc.IsSelectMode());
    QCOMPARE(doc.m_bSaved, 1);

    // The same file opened directly (as from the command line) also counts as saved.
    CTarvexDoc direct(false);
    QVERIFY(direct.OnOpenDocument(path));
    QCOMPARE(direct.m_bSaved, 1);
    QVERIFY(direct.CanCloseFrame());
}

void TestDocumentCommands::closeAnswers_data()
{
    QTest::addColumn<QList<Answer>>("answers");
    QTest::addColumn<bool>("saveConfirmed");
    QTest::addColumn<bool>("closes");
    QTest::newRow("cancel") << QList<Answer>{Answer::Cancel} << false << false;
    QTest::newRow("no") << QList<Answer>{Answer::No} << false << true;
    QTest::newRow("yes, save dialog cancelled") << QList<Answer>{Answer::Yes} << false << false;
    QTest::newRow("yes, saved") << QList<Answer>{Answer::Yes} << true << true;
}

void TestDocumentCommands::closeAnswers()
{
    QFETCH(QList<Answer>, answers);
    QFETCH(bool, saveConfirmed);
    QFETCH(bool, closes);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    CTarvexDoc doc(false);
    CScriptedUi ui;
    doc.SetUi(&ui);
    Draw(doc);
    ui.answers = answers;
    if (saveConfirmed)
        ui.saveNames = {dir.filePath(QStringLiteral("closing.xml"))};
    QCOMPARE(doc.CanCloseFrame(), closes);
    QCOMPARE(ui.questions, QStringList{AskSaveQuestion});
    // Closing never changes the figure.
    QCOMPARE(doc.GetCell(3, 4), 17);
}

void TestDocumentCommands::optionsConfirmedOrCancelled_data()
{
    QTest::addColumn<bool>("confirmed");
    QTest::newRow("ok") << true;
    QTest::newRow("cancel") << false;
}

void TestDocumentCommands::optionsConfirmedOrCancelled()
{
    QFETCH(bool, confirmed);
    CTarvexDoc doc(false);
    CScriptedUi ui;
    doc.SetUi(&ui);
    Draw(doc);
    doc.m_bSaved = 1;
    ui.options = [confirmed](CTarvexDoc &d) {
        d.Color1 = 0x00AA00;
        d.CubeSize = 50;
        d.ResizeGrid(40, 30);
        return confirmed;
    };
    QSignalSpy colours(&doc, &CTarvexDoc::BarColorsChanged);
    QSignalSpy updates(&doc, &CTarvexDoc::UpdateAllViews);
    doc.OnOptions();
    QVERIFY(updates.count() >= 1);
    // Options never make the figure unsaved.
    QCOMPARE(doc.m_bSaved, 1);
    if (confirmed) {
        QCOMPARE(doc.Color1, ColorRef(0x00AA00));
        QCOMPARE(doc.CubeSize, 50);
        QCOMPARE(doc.GetGridSize(), QSize(40, 30));
        QCOMPARE(colours.count(), 1);
        QCOMPARE(colours[0][0].value<ColorRef>(), ColorRef(0x00AA00));
        // One undo step brings the old settings back.
        QCOMPARE(doc.UndoCount(), 3);
        doc.OnEditUndo();
        QCOMPARE(doc.CubeSize, 32);
    } else {
        QCOMPARE(doc.Color1, CTarvexDoc::DefaultColor1);
        QCOMPARE(doc.CubeSize, 32);
        QCOMPARE(doc.GetCell(3, 4), 17);
        QCOMPARE(colours.count(), 0);
        QCOMPARE(doc.UndoCount(), 2);
        QVERIFY(!doc.CanRedo());
    }
}

QTEST_GUILESS_MAIN(TestDocumentCommands)
#include "tst_documentcommands.moc"
