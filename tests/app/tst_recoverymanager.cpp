// SPDX-License-Identifier: GPL-3.0-or-later
// Recovery copies: written while the figure is unsaved, removed once it is saved,
// never taken from an editor that still runs, offered and restored (or discarded)
// when their editor has ended.

#include "app/recoverymanager.h"
#include "document/tarvexdoc.h"
#include "support/scriptedui.h"
#include "support/testfiles.h"
#include "support/testdocument.h"

#include <QTemporaryDir>
#include <QtTest>

using Answer = CDocumentUi::Answer;

namespace {

const QString Question = QStringLiteral("Tarvex: Tarvex was closed without saving a figure. Restore it?");

// One editor: a document with scripted answers and its recovery manager.
struct Editor
{
    explicit Editor(const QString &folder, QList<Answer> answers = {})
    {
        doc.SetUi(&ui);
        ui.answers = answers;
        recovery = std::make_unique<CRecoveryManager>(doc, folder);
    }
    CTarvexDoc doc{false};
    CScriptedUi ui;
    std::unique_ptr<CRecoveryManager> recovery;
};

QStringList Copies(const QString &folder)
{
    return QDir(folder).entryList({"*.xml"}, QDir::Files);
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
    editor.doc.OnSaveFigure();
    QVERIFY(!QFile::exists(copy));
    editor.doc.PlaceCube(QPoint(5, 5), 0);
    Q_EMIT editor.doc.UpdateAllViews();
    QVERIFY(editor.recovery->WriteCopy());
    editor.doc.OnEditUndo();   // back to the saved figure
    QVERIFY(!QFile::exists(copy));
    QCOMPARE(Copies(Folder()), QStringList());
}

void TestRecoveryManager::endedEditorsCopyIsOffered_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("pathName");
    QTest::newRow("restore with its file name") << Answer::Yes << "/figures/stairs.xml";
    QTest::newRow("restore a new figure") << Answer::Yes << "";
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
    QCOMPARE(editor.doc.PathName(), pathName);
    QCOMPARE(editor.ui.suggestedNames, pathName.isEmpty() ? QStringList() : QStringList{pathName});
    // The copy is now this editor's: still there, then gone once the figure is saved.
    QCOMPARE(ReadFile(editor.recovery->CopyPath()), left);
    editor.ui.saveNames << m_dir->filePath("saved.xml");
    editor.doc.OnSaveFigure();
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

QTEST_MAIN(TestRecoveryManager)
#include "tst_recoverymanager.moc"
