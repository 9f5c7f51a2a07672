// SPDX-License-Identifier: GPL-3.0-or-later
// Recovery copies: written while the figure is unsaved (also during continuous work),
// removed once it is saved, never taken from an editor that still runs, offered newest
// first and restored (or discarded) when their editor has ended; what a killed write
// or a hostile folder leaves is settled at start.

#include "app/recoverymanager.h"
#include "document/documentcommands.h"
#include "document/tarvexdoc.h"
#include "support/scriptedui.h"
#include "support/testfiles.h"
#include "support/testdocument.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using Answer = CDocumentUi::Answer;

namespace {

const QString Question = QStringLiteral("Tarvex: Tarvex was closed without saving a figure. Restore it?");

// Short delays, so the tests do not wait on the editor's real ones.
constexpr CRecoveryManager::Delays Quick{20, 50};

// One editor: a document with scripted answers and its recovery manager.
struct Editor
{
    explicit Editor(const QString &folder, QList<Answer> answers = {}, CRecoveryManager::Delays delays = Quick)
    {
        ui.answers = answers;
        recovery = std::make_unique<CRecoveryManager>(doc, folder, delays);
    }
    void Place(int column, int row, int kind) { doc.PlaceCube(QPoint(column, row), kind); }
    CTestDocument doc;
    CScriptedUi &ui = doc.ui;
    std::unique_ptr<CRecoveryManager> recovery;
};

QStringList Copies(const QString &folder)
{
    return QDir(folder).entryList({"*.xml"}, QDir::Files);
}

// A figure file with one cube: "A" at (3, 3), "B" at (4, 4).
QByteArray FigureFile(const QString &folder, char which)
{
    CTestDocument doc({which == 'A' ? QPoint(3, 3) : QPoint(4, 4)}, 5);
    const QString path = folder + "/figure-" + which;
    return doc.SaveFigureXml(path) ? ReadFile(path) : QByteArray();
}

} // namespace

class TestRecoveryManager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }
    void copyFollowsTheSavedState();
    void endedEditorsCopyIsOffered_data();
    void endedEditorsCopyIsOffered();
    void failedWriteSaysSoOnce();
    void continuousWorkIsCopied();
    void leftoversAreSettled_data();
    void leftoversAreSettled();

private:
    // Leaves a copy as an editor that ended without saving would (its lock released).
    void LeaveCopy(const QString &pathName, QByteArray &left);
    QString Folder() const { return m_dir->filePath("recovery"); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestRecoveryManager::LeaveCopy(const QString &pathName, QByteArray &left)
{
    Editor ended(Folder());
    ended.recovery->Start();
    ended.doc.PlaceCube(QPoint(3, 3), 5);
    ended.doc.TakeFigure(ended.doc.Figure(), pathName, false);
    Q_EMIT ended.doc.UpdateAllViews();
    // Written a short while after the change.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(ended.recovery->CopyPath()), 10000);
    left = ReadFile(ended.recovery->CopyPath());
}

void TestRecoveryManager::copyFollowsTheSavedState()
{
    Editor editor(Folder());
    QVERIFY(!editor.recovery->Start());
    QVERIFY(editor.ui.questions.isEmpty());
    editor.doc.PlaceCube(QPoint(1, 1), 0);
    Q_EMIT editor.doc.UpdateAllViews();
    const QString copy = editor.recovery->CopyPath();
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(copy), 10000);
    // The copy is the figure file.
    const QString saved = m_dir->filePath("fig.xml");
    QVERIFY(editor.doc.SaveFigureXml(saved));
    QCOMPARE(ReadFile(copy), ReadFile(saved));
    // A second editor leaves a running editor's copy alone and keeps its own.
    {
        Editor other(Folder());
        QVERIFY(!other.recovery->Start());
        QVERIFY(other.ui.questions.isEmpty());
        QVERIFY(other.recovery->CopyPath() != copy);
    }
    QVERIFY(QFile::exists(copy));
    // Saving removes the copy; undoing back past the save makes one again.
    editor.ui.saveNames << saved;
    CDocumentCommands(editor.doc).OnSaveFigure();
    QVERIFY(!QFile::exists(copy));
    editor.doc.PlaceCube(QPoint(5, 5), 0);
    Q_EMIT editor.doc.UpdateAllViews();
    QVERIFY(editor.recovery->WriteCopy());
    editor.doc.OnEditUndo(); // back to the saved figure
    QVERIFY(!QFile::exists(copy));
    QCOMPARE(Copies(Folder()), QStringList());
}

void TestRecoveryManager::endedEditorsCopyIsOffered_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("pathName");
    QTest::newRow("restore with its file name") << Answer::Yes << "/figures/stairs.xml";
    QTest::newRow("restore a new figure") << Answer::Yes << "";
    QTest::newRow("restore an example") << Answer::Yes << ":/examples/impossible-triangle.xml";
    QTest::newRow("discard") << Answer::No << "/figures/stairs.xml";
    QTest::newRow("neither: kept for later") << Answer::Cancel << "";
}

void TestRecoveryManager::endedEditorsCopyIsOffered()
{
    QFETCH(Answer, answer);
    QFETCH(QString, pathName);
    QByteArray left;
    LeaveCopy(pathName, left);
    QVERIFY(!left.isEmpty());
    Editor editor(Folder(), {answer});
    const bool restored = editor.recovery->Start();
    QCOMPARE(editor.ui.questions, QStringList{Question});
    QCOMPARE(restored, answer == Answer::Yes);
    QCOMPARE(editor.doc.Figure().IsEmpty(), !restored);
    QCOMPARE(Copies(Folder()).size(), answer == Answer::No ? 0 : 1);
    if (!restored)
        return;
    // An unsaved figure that Save offers to write under its own name again.
    QCOMPARE(editor.doc.Figure().Cell(3, 3), 5);
    QCOMPARE(editor.doc.IsSaved(), 0);
    // An example's resource path is never kept: Save offers its name in a real folder.
    const bool example = pathName.startsWith(':');
    QCOMPARE(editor.doc.PathName(), example ? QString() : pathName);
    QVERIFY(!editor.doc.SaveName().startsWith(':'));
    QCOMPARE(QFileInfo(editor.doc.SaveName()).fileName(), QFileInfo(pathName).fileName());
    // The copy is now this editor's: still there, then gone once the figure is saved.
    QCOMPARE(ReadFile(editor.recovery->CopyPath()), left);
    editor.ui.saveNames << m_dir->filePath("saved.xml");
    const QString offered = editor.doc.SaveName();
    CDocumentCommands(editor.doc).OnSaveFigure();
    QCOMPARE(editor.ui.suggestedNames, pathName.isEmpty() ? QStringList() : QStringList{offered});
    QCOMPARE(ReadFile(m_dir->filePath("saved.xml")), left);
    QCOMPARE(Copies(Folder()), QStringList());
}

void TestRecoveryManager::failedWriteSaysSoOnce()
{
    // The folder cannot be made: a file is in its way.
    QVERIFY(WriteFile(Folder(), "in the way"));
    Editor editor(Folder());
    editor.recovery->Start();
    editor.doc.PlaceCube(QPoint(1, 1), 0);
    QVERIFY(!editor.recovery->WriteCopy());
    QVERIFY(!editor.recovery->WriteCopy());
    QCOMPARE(editor.ui.messages.size(), 1);
    QCOMPARE(editor.ui.messages[0].icon, CDocumentUi::Icon::Exclamation);
    QCOMPARE(ReadFile(Folder()), QByteArray("in the way"));
}

void TestRecoveryManager::continuousWorkIsCopied()
{
    // The quiet delay never passes, yet every change reaches the copy within the
    // longest delay.
    Editor editor(Folder(), {}, {60 * 60 * 1000, 30});
    editor.recovery->Start();
    for (int column = 1; column <= 4; ++column) {
        editor.Place(column, 1, 5);
        CTestDocument copy;
        QTRY_VERIFY_WITH_TIMEOUT(LoadFigure(copy, editor.recovery->CopyPath()) && copy.Figure().Cell(column, 1) == 5,
                                 10000);
    }
}

void TestRecoveryManager::leftoversAreSettled_data()
{
    // Entries of the folder, oldest first: "NAME=A" a figure file, "NAME=B-" the first
    // half of one, "NAME>" a link to a file of the user's, "NAME|" a pipe, "NAME@" a
    // lock written on another machine.
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<char>("offered"); // the figure restored by the first Restore; 0 none
    QTest::newRow("newest of two copies first") << QStringList{"old.xml=A", "new.xml=B"} << 'B';
    QTest::newRow("complete temporary newer") << QStringList{"e.xml=A", "e.xml.Ab12Cd=B"} << 'B';
    QTest::newRow("cut temporary") << QStringList{"e.xml=A", "e.xml.Ab12Cd=B-"} << 'A';
    QTest::newRow("only a temporary") << QStringList{"e.name.Xy34Zw=A", "e.xml.Ab12Cd=B"} << 'B';
    QTest::newRow("nothing complete") << QStringList{"e.xml=A-", "e.xml.Ab12Cd=B-"} << '\0';
    QTest::newRow("lock of another machine") << QStringList{"e.xml=A", "e.lock@"} << 'A';
    QTest::newRow("pipe as name and lock") << QStringList{"e.xml=A", "e.name|", "e.lock|"} << 'A';
    QTest::newRow("link as copy") << QStringList{"e.xml>"} << '\0';
    QTest::newRow("link as name") << QStringList{"e.xml=B", "e.name>"} << 'B';
}

void TestRecoveryManager::leftoversAreSettled()
{
    QFETCH(QStringList, entries);
    QFETCH(char, offered);
    QVERIFY(QDir().mkpath(Folder()));
    const QString user = m_dir->filePath("user.xml");
    QVERIFY(WriteFile(user, "the user's own file"));
    const QDateTime start = QDateTime::currentDateTime().addSecs(-100);
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString entry = entries[i];
        const QString name = entry.section(QRegularExpression("[=>|@]"), 0, 0);
        const QString path = Folder() + '/' + name;
        const QChar kind = entry.at(name.size());
        if (kind == '=') {
            QByteArray data = FigureFile(m_dir->path(), entry.at(name.size() + 1).toLatin1());
            if (entry.endsWith('-'))
                data.truncate(data.size() / 2);
            QVERIFY(WriteFile(path, data));
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY(file.setFileTime(start.addSecs(i), QFileDevice::FileModificationTime));
        } else if (kind == '>') {
            QVERIFY(QFile::link(user, path));
        } else if (kind == '|') {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else {
            QVERIFY(WriteFile(path, "999999\ntarvex\nelsewhere\n0123456789abcdef0123456789abcdef\nboot\n"));
        }
    }
    Editor editor(Folder(), {Answer::Yes});
    QCOMPARE(editor.recovery->Start(), offered != 0); // a pipe would block here for good
    QCOMPARE(editor.ui.questions.size(), offered != 0 ? 1 : 0);
    if (offered)
        QCOMPARE(editor.doc.Figure().Cell(offered == 'A' ? 3 : 4, offered == 'A' ? 3 : 4), 5);
    QCOMPARE(editor.doc.PathName(), QString());
    // Nothing but regular files of this editor and the copies still waiting is left.
    QCOMPARE(ReadFile(user), QByteArray("the user's own file"));
    for (const QFileInfo &info : QDir(Folder()).entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        QVERIFY2(info.isFile() && !info.isSymLink(), qPrintable(info.fileName()));
        QVERIFY2(!info.fileName().contains(".xml."), qPrintable(info.fileName()));
    }
}

QTEST_MAIN(TestRecoveryManager)
#include "tst_recoverymanager.moc"
