// SPDX-License-Identifier: GPL-3.0-or-later
// Opening figure files from outside the editor: one local file dropped on the main
// window goes the way of Open (the unsaved-changes question, then the same figure or
// the same message); other drops do nothing. The Examples help page's links open the example figures the same way.

#include "app/mainframe.h"
#include "document/documentcommands.h"
#include "document/tarvexdoc.h"
#include "support/testfiles.h"
#include "ui/help/examplelist.h"
#include "ui/help/helpframe.h"
#include "support/testdocument.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <sys/stat.h>

namespace {

const QString Example = QStringLiteral(TARVEX_TEST_DATA "/../../examples/impossible-star.xml");

} // namespace

class TestFigureDrop : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    // Drops data on the frame as a file manager would; returns whether it was taken.
    static bool Drop(CMainFrame &frame, QMimeData &data)
    {
        const QPoint at(frame.width() / 2, frame.height() / 2);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&frame, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&frame, &drop);
        QCoreApplication::processEvents();
        return drop.isAccepted();
    }

private Q_SLOTS:
    void drops_data()
    {
        QVERIFY(m_dir.isValid());
        const QString other = m_dir.filePath(QStringLiteral("other.xml"));
        QVERIFY(WriteFile(other, "<?xml version=\"1.0\"?>\n<note>not a figure</note>\n"));
        // Names compare ignoring case: Open takes a root written <XML>, so drop does.
        const QString upper = m_dir.filePath(QStringLiteral("upper.xml"));
        QVERIFY(WriteFile(upper, ReadFile(Example).replace("<xml>", "<XML>").replace("</xml>", "</XML>")));
        const QString pipe = m_dir.filePath(QStringLiteral("pipe.xml"));
        QVERIFY(mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
        QTest::addColumn<QList<QUrl>>("urls");
        QTest::addColumn<QList<CDocumentUi::Answer>>("answers");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<bool>("opens");
        using A = CDocumentUi::Answer;
        auto local = [](const QString &path) {
            return QList<QUrl>{QUrl::fromLocalFile(path)};
        };
        QTest::newRow("one figure file") << local(Example) << QList<A>{A::No} << true << true;
        QTest::newRow("root written <XML>") << local(upper) << QList<A>{A::No} << true << true;
        QTest::newRow("unsaved changes kept") << local(Example) << QList<A>{} << true << false;
        // Refused as Open refuses them, with the same message; a pipe is never waited on.
        QTest::newRow("other XML") << local(other) << QList<A>{A::No} << true << false;
        QTest::newRow("missing file") << local(m_dir.filePath("none.xml")) << QList<A>{A::No} << true << false;
        QTest::newRow("pipe") << local(pipe) << QList<A>{A::No} << true << false;
        QTest::newRow("two files") << QList<QUrl>{QUrl::fromLocalFile(Example), QUrl::fromLocalFile(Example)}
                                   << QList<A>{} << false << false;
        QTest::newRow("web address") << QList<QUrl>{QUrl(QStringLiteral("https://example.org/f.xml"))} << QList<A>{}
                                     << false << false;
    }

    void drops()
    {
        QFETCH(QList<QUrl>, urls);
        QFETCH(QList<CDocumentUi::Answer>, answers);
        QFETCH(bool, taken);
        QFETCH(bool, opens);
        CTestDocument doc;
        doc.ui.answers = answers; // an exhausted script answers Cancel
        CMainFrame frame(doc);
        doc.SetUi(&doc.ui);
        frame.resize(400, 300);
        // An unsaved cube of the user's own.
        PlaceCube(doc, 0, 0, 0);

        QMimeData data;
        data.setUrls(urls);
        QCOMPARE(Drop(frame, data), taken);
        QCoreApplication::processEvents();
        QCOMPARE(doc.ui.questions.size(), taken ? 1 : 0);
        // What Open says about the same file, word for word.
        CTestDocument opened;
        if (taken)
            CDocumentCommands(opened).Open(urls.first().toLocalFile(), CDocumentCommands::OpenAs::AfterQuestion);
        QCOMPARE(doc.ui.messages.size(), opened.ui.messages.size());
        for (qsizetype i = 0; i < doc.ui.messages.size(); ++i)
            QCOMPARE(doc.ui.messages[i].text, opened.ui.messages[i].text);
        QCOMPARE(doc.ui.messages.isEmpty(), opens || !taken || answers.isEmpty());
        if (opens) {
            QCOMPARE(doc.Figure().Grid, opened.Figure().Grid);
            QVERIFY(!doc.Figure().IsEmpty());
            QVERIFY(doc.IsSaved());
        } else if (answers.isEmpty()) {
            QCOMPARE(doc.Figure().Cell(0, 0), 0); // the user's cube stays, unsaved
            QVERIFY(!doc.IsSaved());
        }
    }

    void ownDragIsLeftToTheView()
    {
        CTestDocument doc;
        CMainFrame frame(doc);
        QMimeData data;
        data.setData(CMainFrame::DragCubeFormatFor(frame.winId()), QByteArray("1"));
        QVERIFY(CMainFrame::DroppedFigure(&data).isEmpty());
    }

    void exampleLinks_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("valid");
        for (const CExampleList::Example &example : CExampleList::All())
            QTest::newRow(qPrintable(example.name)) << QStringLiteral("example:") + example.name << true;
        QTest::newRow("unknown") << QStringLiteral("example:nothing") << false;
        QTest::newRow("path") << QStringLiteral("example:../help/index") << false;
        QTest::newRow("other command") << QStringLiteral("ok") << false;
    }

    void exampleLinks()
    {
        QFETCH(QString, command);
        QFETCH(bool, valid);
        CHelpFrame::InitResources();
        const QString path = CHelpFrame::ExampleFigure(command);
        QCOMPARE(!path.isEmpty(), valid);
        if (!valid)
            return;
        // The embedded copy is the installed example file.
        QCOMPARE(ReadFile(path), ReadFile(QStringLiteral(TARVEX_TEST_DATA "/../../examples/") + command.mid(8)
                                          + QStringLiteral(".xml")));
        // Opening it from the page asks about unsaved changes first, as Open does.
        CTestDocument doc;
        doc.ui.answers = {CDocumentUi::Answer::No};
        CMainFrame frame(doc);
        doc.SetUi(&doc.ui);
        PlaceCube(doc, 0, 0, 0);
        QVERIFY(frame.OpenFigureFile(path));
        QCOMPARE(doc.ui.questions.size(), 1);
        QVERIFY(!doc.Figure().IsEmpty());
        QCOMPARE(doc.IsSaved(), 1);
    }
};

QTEST_MAIN(TestFigureDrop)
#include "tst_figuredrop.moc"
