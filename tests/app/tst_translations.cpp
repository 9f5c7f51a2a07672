// SPDX-License-Identifier: GPL-3.0-or-later
// The compiled-in translations: with German or Russian installed, every tooltip,
// status prompt and check box of the main window changes language.

#include "app/mainframe.h"
#include "app/translations.h"
#include "document/tarvexdoc.h"
#include "support/testdocument.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLocale>
#include <QTranslator>
#include <QtTest>

namespace {

// Every text of the main window a user reads, in a fixed order.
QStringList WindowTexts()
{
    CTestDocument doc;
    CMainFrame frame(doc);
    QStringList texts;
    for (const QAction *action : frame.findChildren<QAction *>()) {
        if (!action->toolTip().isEmpty() && !action->statusTip().isEmpty())
            texts << action->toolTip() << action->statusTip();
    }
    for (const QCheckBox *box : frame.findChildren<QCheckBox *>())
        texts << box->text();
    return texts;
}

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void windowSpeaksTheLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("undoTip");
        QTest::newRow("German") << "de" << QStringLiteral("Rückgängig");
        QTest::newRow("Russian") << "ru" << QStringLiteral("Отменить");
    }

    void windowSpeaksTheLanguage()
    {
        QFETCH(QString, language);
        QFETCH(QString, undoTip);
        const QStringList english = WindowTexts();
        QVERIFY(english.contains(QStringLiteral("Undo")));

        QTranslator translator;
        QVERIFY(translator.load(
            QStringLiteral("%1/tarvex_%2.qm").arg(QString::fromLatin1(CTranslations::ResourceFolder), language)));
        QCoreApplication::installTranslator(&translator);
        const QStringList translated = WindowTexts();
        QCoreApplication::removeTranslator(&translator);

        QCOMPARE(translated.size(), english.size());
        QVERIFY(translated.contains(undoTip));
        for (int i = 0; i < english.size(); ++i) {
            if (translated.at(i) == english.at(i))
                QFAIL(qPrintable(QStringLiteral("not translated: ") + english.at(i)));
        }
    }

    // The help pages and the About page come in the interface language, English
    // where there is none; the pictures they show are shared.
    void helpInTheLanguage_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("text");
        QTest::newRow("German keys") << "de_DE"
                                     << "keys.htm" << QStringLiteral("Tasten");
        QTest::newRow("Austrian German") << "de_AT"
                                         << "index.htm" << QStringLiteral("Über Tarvex");
        QTest::newRow("Russian about") << "ru_RU"
                                       << "about.htm" << QStringLiteral("Невозможные фигуры из кубов");
        QTest::newRow("Russian options") << "ru_RU"
                                         << "options.htm" << QStringLiteral("Настройки");
        QTest::newRow("French falls back") << "fr_FR"
                                           << "keys.htm" << QStringLiteral("<title>Keys</title>");
        QTest::newRow("English") << "en_US"
                                 << "about.htm" << QStringLiteral("Impossible figures made of cubes");
    }

    void helpInTheLanguage()
    {
        QFETCH(QString, locale);
        QFETCH(QString, page);
        QFETCH(QString, text);
        CTestDocument doc;
        CMainFrame frame(doc); // registers the help resources
        const QLocale before;
        QLocale::setDefault(QLocale(locale));
        QFile file(QStringLiteral(":/help/") + page);
        const bool opened = file.open(QIODevice::ReadOnly);
        const QString html = QString::fromUtf8(file.readAll());
        const bool picture = QFile::exists(QStringLiteral(":/help/door.png"));
        QLocale::setDefault(before);
        QVERIFY(opened);
        QVERIFY2(html.contains(text), qPrintable(html.left(300)));
        QVERIFY(picture);
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
