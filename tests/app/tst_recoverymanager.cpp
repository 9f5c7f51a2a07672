// SPDX-License-Identifier: GPL-3.0-or-later
// Recovery copies: written while the figure is unsaved (also during continuous work),
// removed once it is saved, never taken from an editor that still runs, offered newest
// first and restored (or discarded) when their editor has ended; what a killed write
// leaves is settled at start; nothing of the user's is ever removed or followed.

#include "app/recoverymanager.h"
#include "document/documentcommands.h"
#include "document/tarvexdoc.h"
#include "support/pipewatchdog.h"
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
    void continuousWorkIsCopied_data();
    void continuousWorkIsCopied();
    void leftoversAreSettled_data();
    void leftoversAreSettled();
    void linkedFolderIsNotUsed();

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

void TestRecoveryManager::continuousWorkIsCopied_data()
{
    QTest::addColumn<int>("quietMs");
    QTest::addColumn<int>("longestMs");
    QTest::newRow("short delays") << 60 * 60 * 1000 << 100;
    const CRecoveryManager::Delays own;
    QTest::newRow("the editor's own delays") << own.QuietMs << own.LongestMs;
}

void TestRecoveryManager::continuousWorkIsCopied()
{
    // Changes come faster than the quiet delay, without a pause, yet the copy is
    // written within the longest delay after the first of them (and the editor's own
    // longest delay is a few seconds).
    QFETCH(int, quietMs);
    QFETCH(int, longestMs);
    Editor editor(Folder(), {}, {quietMs, longestMs});
    editor.recovery->Start();
    QElapsedTimer clock;
    clock.start();
    for (int change = 0; !QFile::exists(editor.recovery->CopyPath()); ++change) {
        QVERIFY2(clock.elapsed() < qMin(longestMs, 5000) + 2000, qPrintable(QString::number(clock.elapsed())));
        editor.Place(1 + change % 8, 1 + change / 8 % 8, change % 2 ? 5 : 3);
        QTest::qWait(qMin(quietMs, 20));
    }
    CTestDocument copy;
    QTRY_VERIFY_WITH_TIMEOUT(LoadFigure(copy, editor.recovery->CopyPath()), 5000);
}

void TestRecoveryManager::leftoversAreSettled_data()
{
    // Entries of the folder, oldest first: "NAME=A" a figure file, "NAME=B-" the first
    // half of one, "NAME=*" a file of other contents, "NAME>" a link to a file of the
    // user's, "NAME|" a pipe, "NAME@" a lock written on another machine.
    // Every entry of a name or contents this program does not write is left as it is.
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<char>("offered");     // the figure restored by the first Restore; 0 none
    QTest::addColumn<QStringList>("kept"); // the entries left as they were
    QTest::newRow("newest of two copies first") << QStringList{"1-1.xml=A", "2-2.xml=B"} << 'B' << QStringList();
    QTest::newRow("complete temporary newer") << QStringList{"1-1.xml=A", "1-1.xml.Ab12Cd=B"} << 'B' << QStringList();
    QTest::newRow("cut temporary") << QStringList{"1-1.xml=A", "1-1.xml.Ab12Cd=B-"} << 'A' << QStringList();
    QTest::newRow("only a temporary") << QStringList{"1-1.name.Xy34Zw=A", "1-1.xml.Ab12Cd=B"} << 'B' << QStringList();
    QTest::newRow("nothing complete") << QStringList{"1-1.xml=A-", "1-1.xml.Ab12Cd=B-"} << '\0' << QStringList();
    QTest::newRow("lock of another machine") << QStringList{"1-1.xml=A", "1-1.lock@"} << 'A' << QStringList();
    QTest::newRow("pipe as name and lock")
        << QStringList{"1-1.xml=A", "1-1.name|", "1-1.lock|"} << '\0' << QStringList{"1-1.xml", "1-1.name", "1-1.lock"};
    QTest::newRow("link as copy") << QStringList{"1-1.xml>"} << '\0' << QStringList{"1-1.xml"};
    QTest::newRow("link as name") << QStringList{"1-1.xml=B", "1-1.name>"} << '\0'
                                  << QStringList{"1-1.xml", "1-1.name"};
    QTest::newRow("the user's files") << QStringList{"mine.xml=A",       "mine.name=A", "mine.xml.Ab12Cd=B-",
                                                     "2-2.xml.Ab12Cd=*", "notes|",      "1-1.xml=B"}
                                      << 'B'
                                      << QStringList{"mine.xml", "mine.name", "mine.xml.Ab12Cd", "2-2.xml.Ab12Cd",
                                                     "notes"};
}

// Fills folder with entries as leftoversAreSettled_data describes them; user is a
// file of the user's that links point at.
static void MakeEntries(const QString &folder, const QString &work, const QStringList &entries, const QString &user)
{
    const QDateTime start = QDateTime::currentDateTime().addSecs(-100);
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString entry = entries[i];
        const QString name = entry.section(QRegularExpression("[=>|@]"), 0, 0);
        const QString path = folder + '/' + name;
        const QChar kind = entry.at(name.size());
        if (kind == '=') {
            const char which = entry.at(name.size() + 1).toLatin1();
            QByteArray data = which == '*' ? QByteArray("a note of the user's") : FigureFile(work, which);
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
}

// Every entry of the folder with what it is and holds, to compare before and after.
static QStringList Snapshot(const QString &folder, const QStringList &names)
{
    QStringList result;
    for (const QString &name : names) {
        const QFileInfo info(folder + '/' + name);
        result << name
                      + (info.isSymLink() ? " link to " + info.symLinkTarget()
                         : info.isFile()  ? " file " + QString::fromLatin1(ReadFile(info.filePath()).toHex())
                                          : QString(" other %1").arg(info.exists()));
    }
    return result;
}

void TestRecoveryManager::leftoversAreSettled()
{
    QFETCH(QStringList, entries);
    QFETCH(char, offered);
    QFETCH(QStringList, kept);
    QVERIFY(QDir().mkpath(Folder()));
    const QString user = m_dir->filePath("user.xml");
    QVERIFY(WriteFile(user, "the user's own file"));
    MakeEntries(Folder(), m_dir->path(), entries, user);
    const QStringList before = Snapshot(Folder(), kept);
    Editor editor(Folder(), {Answer::Yes});
    {
        // A pipe opened with blocking would wait here for a writer.
        const CPipeWatchdog watchdog(Folder() + "/notes");
        const CPipeWatchdog lockWatchdog(Folder() + "/1-1.lock");
        QCOMPARE(editor.recovery->Start(), offered != 0);
        QVERIFY(!watchdog.Hung() && !lockWatchdog.Hung());
    }
    QCOMPARE(editor.ui.questions.size(), offered != 0 ? 1 : 0);
    if (offered)
        QCOMPARE(editor.doc.Figure().Cell(offered == 'A' ? 3 : 4, offered == 'A' ? 3 : 4), 5);
    QCOMPARE(editor.doc.PathName(), QString());
    QCOMPARE(ReadFile(user), QByteArray("the user's own file"));
    QCOMPARE(Snapshot(Folder(), kept), before);
    // Of this program's own entries only regular files are left, and no temporary.
    const QRegularExpression own("^[0-9]+-[0-9]+\\.");
    for (const QFileInfo &info : QDir(Folder()).entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        if (kept.contains(info.fileName()) || !own.match(info.fileName()).hasMatch())
            continue;
        QVERIFY2(info.isFile() && !info.isSymLink(), qPrintable(info.fileName()));
        QVERIFY2(!info.fileName().contains(".xml."), qPrintable(info.fileName()));
    }
}

// A recovery folder that is a link (here to a folder of the user's, with a figure, its
// name, cut files, a pipe and a link of the user's) is not used: the editor says so
// once, works without copies, and every entry comes through untouched.
void TestRecoveryManager::linkedFolderIsNotUsed()
{
    const QString users = m_dir->filePath("user folder");
    QVERIFY(QDir().mkpath(users));
    const QString user = m_dir->filePath("user.xml");
    QVERIFY(WriteFile(user, "the user's own file"));
    const QStringList entries{"1-1.xml=A", "1-1.name=A", "2-2.xml=B-", "2-2.xml.Ab12Cd=A-",
                              "3-3.lock@", "pipe|",      "4-4.xml>"};
    MakeEntries(users, m_dir->path(), entries, user);
    QStringList names;
    for (const QString &entry : entries)
        names << entry.section(QRegularExpression("[=>|@]"), 0, 0);
    const QStringList before = Snapshot(users, names);
    QVERIFY(QFile::link(users, Folder()));
    Editor editor(Folder(), {Answer::Yes, Answer::No});
    {
        const CPipeWatchdog watchdog(users + "/pipe");
        QVERIFY(!editor.recovery->Start());
        QVERIFY(!watchdog.Hung());
    }
    QVERIFY(!editor.recovery->IsActive());
    QVERIFY(editor.ui.questions.isEmpty());
    QCOMPARE(editor.ui.messages.size(), 1);
    QVERIFY2(editor.ui.messages[0].text.contains("works without them"), qPrintable(editor.ui.messages[0].text));
    editor.Place(2, 2, 0);
    QVERIFY(!editor.recovery->WriteCopy());
    QTest::qWait(2 * Quick.LongestMs);
    QCOMPARE(editor.ui.messages.size(), 1);
    QCOMPARE(Snapshot(users, names), before);
    QCOMPARE(QDir(users).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size(), names.size());
    QCOMPARE(ReadFile(user), QByteArray("the user's own file"));
}

QTEST_MAIN(TestRecoveryManager)
#include "tst_recoverymanager.moc"
