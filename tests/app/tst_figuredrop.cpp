// SPDX-License-Identifier: GPL-3.0-or-later
// Opening figure files from outside the editor: one figure file dropped on the main
// window opens as Open does (the unsaved-changes question first); other drops do
// nothing. The Examples help page's links open the example figures the same way.

#include "app/mainframe.h"
#include "document/tarvexdoc.h"
#include "support/scriptedui.h"
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
        QTest::addColumn<QList<QUrl>>("urls");
        QTest::addColumn<QList<CDocumentUi::Answer>>("answers");
        QTest::addColumn<bool>("opens");
        const QUrl figure = QUrl::fromLocalFile(Example);
        QTest::newRow("one figure file") << QList<QUrl>{figure} << QList<CDocumentUi::Answer>{CDocumentUi::Answer::No}
                                         << true;
        QTest::newRow("unsaved changes kept") << QList<QUrl>{figure} << QList<CDocumentUi::Answer>{}
                                              << false;
        QTest::newRow("two files") << QList<QUrl>{figure, figure} << QList<CDocumentUi::Answer>{} << false;
        QTest::newRow("other XML") << QList<QUrl>{QUrl::fromLocalFile(other)} << QList<CDocumentUi::Answer>{}
                                   << false;
        QTest::newRow("web address") << QList<QUrl>{QUrl(QStringLiteral("https://example.org/f.xml"))}
                                     << QList<CDocumentUi::Answer>{} << false;
        QTest::newRow("missing file") << QList<QUrl>{QUrl::fromLocalFile(m_dir.filePath("none.xml"))}
                                      << QList<CDocumentUi::Answer>{} << false;
        // A pipe is never opened: reading it would wait for a writer for good.
        const QString pipe = m_dir.filePath(QStringLiteral("pipe.xml"));
        QVERIFY(mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
        QTest::newRow("pipe") << QList<QUrl>{QUrl::fromLocalFile(pipe)} << QList<CDocumentUi::Answer>{} << false;
    }

    void drops()
    {
        QFETCH(QList<QUrl>, urls);
        QFETCH(QList<CDocumentUi::Answer>, answers);
        QFETCH(bool, opens);
        CTarvexDoc doc(false);
        CScriptedUi ui;
        ui.answers = answers;   // an exhausted script answers Cancel
        doc.SetUi(&ui);
        CMainFrame frame(doc);
        doc.SetUi(&ui);
        frame.resize(400, 300);
        // An unsaved cube of the user's own.
        PlaceCube(doc, 0, 0, 0);

        QMimeData data;
        data.setUrls(urls);
        Drop(frame, data);
        QCoreApplication::processEvents();
        QCOMPARE(doc.Figure().Cell(0, 0) == 0 && doc.IsSaved() == 0, !opens);
        QCOMPARE(ui.questions.size(), urls.size() == 1 && urls.first().toLocalFile() == Example ? 1 : 0);
        if (opens) {
            CTarvexDoc expected(false);
            QVERIFY(expected.LoadFigureXml(Example));
            QCOMPARE(doc.Figure().Grid, expected.Figure().Grid);
            QCOMPARE(doc.IsSaved(), 1);
        }
    }

    void ownDragIsLeftToTheView()
    {
        CTarvexDoc doc(false);
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
        QCOMPARE(ReadFile(path), ReadFile(QStringLiteral(TARVEX_TEST_DATA "/../../examples/")
                                          + command.mid(8) + QStringLiteral(".xml")));
        // Opening it from the page asks about unsaved changes first, as Open does.
        CTarvexDoc doc(false);
        CScriptedUi ui;
        ui.answers = {CDocumentUi::Answer::No};
        CMainFrame frame(doc);
        doc.SetUi(&ui);
        PlaceCube(doc, 0, 0, 0);
        QVERIFY(frame.OpenFigureFile(path));
        QCOMPARE(ui.questions.size(), 1);
        QVERIFY(!doc.Figure().IsEmpty());
        QCOMPARE(doc.IsSaved(), 1);
    }
};

QTEST_MAIN(TestFigureDrop)
#include "tst_figuredrop.moc"
