// SPDX-License-Identifier: GPL-3.0-or-later
// The Options dialog driven through the document's Options command, as the main
// window runs it: values applied on OK, sizes outside their ranges never confirmed, Cancel and undo
// restoring the figure, custom colours kept, and the pages shown one at a time.

#include "document/documentcommands.h"
#include "document/tarvexdoc.h"
#include "support/scriptedui.h"
#include "support/shownwidget.h"
#include "ui/options/colorbutton.h"
#include "ui/options/colorspage.h"
#include "ui/options/dimensionspage.h"
#include "ui/options/optionsdlg.h"
#include "support/testdocument.h"

#include <QApplication>
#include <QColorDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

using Script = std::function<void(COptionsDlg &)>;

// Makes the Options command run the real dialog, with a script that plays the user
// once the dialog runs its modal loop. A script that does not close the dialog gets
// it cancelled.
void ScriptOptions(CScriptedUi &ui, CTarvexDoc &doc, Script script)
{
    ui.options = [script = std::move(script), &doc](const COptions &current) {
        QTimer::singleShot(0, [&script] {
            COptionsDlg *dlg = nullptr;
            for (QWidget *top : QApplication::topLevelWidgets())
                if (auto *options = qobject_cast<COptionsDlg *>(top); options && options->isVisible())
                    dlg = options;
            QVERIFY(dlg);
            script(*dlg);
            if (dlg->isVisible())
                dlg->reject();
        });
        // As the main window does: the chooser's custom colours are kept on Cancel too.
        CustomColorSet custom = current.CustomColors;
        const std::optional<COptions> chosen = COptionsDlg::Ask(current, custom);
        if (!chosen && custom != current.CustomColors)
            doc.SetCustomColors(custom);
        return chosen;
    };
}

// Everything the Options command may touch.
struct DocState
{
    CubeGrid grid;
    ColorRef bk, c1, c2, c3;
    int cubeSize;
    std::array<ColorRef, 16> custom;
    int undo, redo, saved;

    explicit DocState(const CTarvexDoc &doc)
        : grid(doc.Figure().Grid)
        , bk(doc.Figure().BkColor)
        , c1(doc.Figure().Color1)
        , c2(doc.Figure().Color2)
        , c3(doc.Figure().Color3)
        , cubeSize(doc.Figure().CubeSize)
        , custom(doc.CustomColors())
        , undo(doc.UndoCount())
        , redo(doc.RedoCount())
        , saved(doc.IsSaved())
    {
    }
    bool SameFigure(const DocState &o) const
    {
        return grid == o.grid && bk == o.bk && c1 == o.c1 && c2 == o.c2 && c3 == o.c3 && cubeSize == o.cubeSize;
    }
};

void TypeInto(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    edit->del();
    QTest::keyClicks(edit, text);
}

void Click(QWidget *widget)
{
    QTest::mouseClick(widget, Qt::LeftButton);
}

// Sets the three size fields and confirms.
Script EnterSizes(const QString &width, const QString &height, const QString &cubeSize)
{
    return [=](COptionsDlg &dlg) {
        TypeInto(dlg.Dimensions()->WidthEdit(), width);
        TypeInto(dlg.Dimensions()->HeightEdit(), height);
        TypeInto(dlg.Dimensions()->CubeSizeEdit(), cubeSize);
        Click(dlg.OkButton());
    };
}

CColorButton *ColorButton(COptionsDlg &dlg, int index)
{
    CColorsPage *page = dlg.Colors();
    CColorButton *buttons[] = {page->BkColorButton(), page->Color1Button(), page->Color2Button(), page->Color3Button()};
    return buttons[index];
}

// A figure that differs from the defaults in every setting, with a history.
void MakeCustomFigure(CTarvexDoc &doc)
{
    doc.ResizeGrid(30, 50);
    EditFigure(doc, [](CFigure &f) {
        f.CubeSize = 60;
        f.BkColor = 0x101010;
        f.Color1 = 0x202020;
        f.Color2 = 0x303030;
        f.Color3 = 0x404040;
    });
    CustomColorSet custom{};
    for (int i = 0; i < 16; ++i)
        custom[size_t(i)] = ColorRef(0x010203 * (i + 1));
    doc.SetCustomColors(custom);
    const QPoint cells[] = {{1, 1}, {25, 3}, {7, 44}, {28, 49}};
    for (const QPoint &cell : cells)
        doc.PlaceCube(cell, 5);
}

QSettings::SettingsMap ReadStore()
{
    QSettings store("Brellow", "Tarvex");
    store.beginGroup("Settings");
    QSettings::SettingsMap values;
    for (const QString &key : store.childKeys())
        values.insert(key, store.value(key));
    return values;
}

void ClearStore()
{
    QSettings store("Brellow", "Tarvex");
    store.clear();
    store.sync();
}

} // namespace

class TestOptionsDlg : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { ClearStore(); }

    void sizesOutsideTheirRange_data();
    void sizesOutsideTheirRange();
    void defaultSettingsThenCancelChangesNothing();
    void defaultSettingsThenOk();
    void eachColourButtonEditsItsColour_data();
    void eachColourButtonEditsItsColour();
    void shrinkingDropsCubesForGood();
    void undoRestoresFigureAndStore();
    void customColoursSurviveCancelling();
    void onePageAtATimeCentred();
};

void TestOptionsDlg::sizesOutsideTheirRange_data()
{
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QString>("cubeSize");
    QTest::addColumn<QSize>("grid");
    QTest::addColumn<int>("expectedCubeSize");
    QTest::addColumn<int>("rangesShown"); // fields that show their range beside them, as typed

    // The fields take only digits, and OK stays disabled while a field holds no size
    // within its range, so the dialog is left with Cancel and nothing changes.
    QTest::newRow("valid values") << "33"
                                  << "44"
                                  << "55" << QSize(33, 44) << 55 << 0;
    QTest::newRow("lower bounds") << "10"
                                  << "10"
                                  << "16" << QSize(10, 10) << 16 << 0;
    QTest::newRow("upper bounds") << "100"
                                  << "100"
                                  << "200" << QSize(100, 100) << 200 << 0;
    QTest::newRow("width 5") << "5"
                             << "40"
                             << "32" << QSize(20, 40) << 32 << 1;
    QTest::newRow("width letters") << "abc"
                                   << "40"
                                   << "32" << QSize(20, 40) << 32 << 1;
    QTest::newRow("width empty") << ""
                                 << "40"
                                 << "32" << QSize(20, 40) << 32 << 1;
    QTest::newRow("width 101") << "101"
                               << "40"
                               << "32" << QSize(20, 40) << 32 << 1;
    QTest::newRow("width negative") << "-20"
                                    << "40"
                                    << "32" << QSize(20, 40) << 32 << 0;
    QTest::newRow("width fraction") << "12.5"
                                    << "40"
                                    << "32" << QSize(20, 40) << 32 << 1;
    QTest::newRow("width huge") << "99999999999"
                                << "40"
                                << "32" << QSize(20, 40) << 32 << 1;
    QTest::newRow("height 9") << "20"
                              << "9"
                              << "32" << QSize(20, 40) << 32 << 1;
    QTest::newRow("height letters") << "20"
                                    << "x1"
                                    << "32" << QSize(20, 40) << 32 << 1;
    QTest::newRow("cube size 250") << "20"
                                   << "40"
                                   << "250" << QSize(20, 40) << 32 << 1;
    QTest::newRow("cube size 15") << "20"
                                  << "40"
                                  << "15" << QSize(20, 40) << 32 << 1;
    // The field takes no digit that would leave its range, so "1000" stays "100".
    QTest::newRow("all wrong") << "0"
                               << "1000"
                               << "?" << QSize(20, 40) << 32 << 2;
}

void TestOptionsDlg::sizesOutsideTheirRange()
{
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QString, cubeSize);
    QFETCH(QSize, grid);
    QFETCH(int, expectedCubeSize);
    QFETCH(int, rangesShown);

    CTestDocument doc;
    ScriptOptions(doc.ui, doc, [&](COptionsDlg &dlg) {
        CDimensionsPage *page = dlg.Dimensions();
        TypeInto(page->WidthEdit(), width);
        TypeInto(page->HeightEdit(), height);
        TypeInto(page->CubeSizeEdit(), cubeSize);
        int shown = 0;
        for (QLineEdit *edit : {page->WidthEdit(), page->HeightEdit(), page->CubeSizeEdit()}) {
            const QString range = page->RangeLabel(edit)->text();
            QVERIFY(edit->toolTip().contains(range.section(QLatin1Char(' '), 0, 0)));
            QVERIFY(edit->toolTip().contains(range.section(QLatin1Char(' '), -1)));
            shown += page->RangeLabel(edit)->isVisibleTo(page) ? 1 : 0;
        }
        QCOMPARE(page->RangeLabel(page->WidthEdit())->text(), QStringLiteral("10 to 100"));
        QCOMPARE(page->RangeLabel(page->CubeSizeEdit())->text(), QStringLiteral("16 to 200"));
        QCOMPARE(shown, rangesShown);
        Click(dlg.OkButton());
    });
    CDocumentCommands(doc).OnOptions();

    QCOMPARE(doc.Figure().GridSize(), grid);
    QCOMPARE(doc.Figure().CubeSize, expectedCubeSize);
    // Odd rows hold one cell fewer.
    QCOMPARE(doc.Figure().Grid.at(1).size(), grid.width() - 1);
    // The same settings again are no change.
    QCOMPARE(doc.UndoCount(), grid == QSize(20, 40) && expectedCubeSize == 32 ? 0 : 1);
}

void TestOptionsDlg::defaultSettingsThenCancelChangesNothing()
{
    CTestDocument doc;
    MakeCustomFigure(doc);
    doc.Undo(true); // leaves one redo entry, which cancelling keeps
    const DocState before(doc);
    QSignalSpy repaints(&doc, &CTarvexDoc::UpdateAllViews);
    QSignalSpy barColors(&doc, &CTarvexDoc::BarColorsChanged);

    ScriptOptions(doc.ui, doc, [&](COptionsDlg &dlg) {
        // The controls start from the document.
        QCOMPARE(dlg.Dimensions()->WidthEdit()->text(), QString("30"));
        QCOMPARE(dlg.Dimensions()->HeightEdit()->text(), QString("50"));
        QCOMPARE(dlg.Dimensions()->CubeSizeEdit()->text(), QString("60"));
        QCOMPARE(ColorButton(dlg, 0)->GetColor(), ColorRef(0x101010));
        QCOMPARE(ColorButton(dlg, 3)->GetColor(), ColorRef(0x404040));

        Click(dlg.DefaultSettingsButton());
        QCOMPARE(dlg.Dimensions()->WidthEdit()->text(), QString("20"));
        QCOMPARE(dlg.Dimensions()->HeightEdit()->text(), QString("40"));
        QCOMPARE(dlg.Dimensions()->CubeSizeEdit()->text(), QString("32"));
        QCOMPARE(ColorButton(dlg, 0)->GetColor(), ColorRef(0xFFFFFF));
        QCOMPARE(ColorButton(dlg, 1)->GetColor(), ColorRef(0x0000FF));
        QCOMPARE(ColorButton(dlg, 2)->GetColor(), ColorRef(0x00EE00));
        QCOMPARE(ColorButton(dlg, 3)->GetColor(), ColorRef(0xFF0000));
        // Only the controls changed.
        QCOMPARE(doc.Figure().GridSize(), QSize(30, 50));
        QCOMPARE(doc.Figure().BkColor, ColorRef(0x101010));
        Click(dlg.CancelButton());
    });
    CDocumentCommands(doc).OnOptions();

    const DocState after(doc);
    QVERIFY(after.SameFigure(before));
    QCOMPARE(after.custom, before.custom);
    QCOMPARE(after.undo, before.undo);
    QCOMPARE(after.redo, before.redo);
    QCOMPARE(after.saved, before.saved);
    QCOMPARE(repaints.count(), 0);
    QCOMPARE(barColors.count(), 0);
}

void TestOptionsDlg::defaultSettingsThenOk()
{
    CTestDocument doc;
    MakeCustomFigure(doc);
    const DocState before(doc);
    QSignalSpy barColors(&doc, &CTarvexDoc::BarColorsChanged);

    ScriptOptions(doc.ui, doc, [](COptionsDlg &dlg) {
        Click(dlg.DefaultSettingsButton());
        Click(dlg.OkButton());
    });
    CDocumentCommands(doc).OnOptions();

    QCOMPARE(doc.Figure().GridSize(), QSize(20, 40));
    QCOMPARE(doc.Figure().CubeSize, 32);
    QCOMPARE(doc.Figure().BkColor, ColorRef(0xFFFFFF));
    QCOMPARE(doc.Figure().Color1, ColorRef(0x0000FF));
    QCOMPARE(doc.Figure().Color2, ColorRef(0x00EE00));
    QCOMPARE(doc.Figure().Color3, ColorRef(0xFF0000));
    QCOMPARE(doc.CustomColors(), before.custom);
    QCOMPARE(doc.IsSaved(), before.saved);
    // The whole change is one undo step.
    QCOMPARE(doc.UndoCount(), before.undo + 1);
    QCOMPARE(barColors.count(), 1);
    QCOMPARE(barColors.at(0).at(0).value<ColorRef>(), ColorRef(0x0000FF));

    doc.OnEditUndo();
    QVERIFY(DocState(doc).SameFigure(before));
}

void TestOptionsDlg::eachColourButtonEditsItsColour_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("label"); // beside the button, named by the face it paints
    QTest::newRow("workspace") << 0 << QString();
    QTest::newRow("top face") << 1 << "Cube top color";
    QTest::newRow("right-hand faces") << 2 << "Cube right color";
    QTest::newRow("left-hand faces") << 3 << "Cube left color";
}

void TestOptionsDlg::eachColourButtonEditsItsColour()
{
    QFETCH(int, button);
    QFETCH(QString, label);
    CTestDocument doc;
    const DocState before(doc);
    QColor initial;

    ScriptOptions(doc.ui, doc, [&](COptionsDlg &dlg) {
        dlg.TabBar()->setCurrentIndex(COptionsDlg::ColorsPage);
        const QRect row = ColorButton(dlg, button)->geometry();
        for (const QLabel *text : dlg.Colors()->findChildren<QLabel *>()) {
            if (!label.isEmpty() && text->geometry().center().y() > row.top()
                && text->geometry().center().y() < row.bottom())
                QCOMPARE(text->text(), label);
        }
        dlg.Colors()->SetColorChooser([&](const QColor &start, QWidget *) {
            initial = start;
            return std::optional<QColor>(QColor(0x12, 0x34, 0x56));
        });
        Click(ColorButton(dlg, button));
        QCOMPARE(ColorButton(dlg, button)->GetColor(), ColorRef(0x563412));
        Click(dlg.OkButton());
    });
    CDocumentCommands(doc).OnOptions();

    const ColorRef expected[] = {
        button == 0 ? ColorRef(0x563412) : before.bk,
        button == 1 ? ColorRef(0x563412) : before.c1,
        button == 2 ? ColorRef(0x563412) : before.c2,
        button == 3 ? ColorRef(0x563412) : before.c3,
    };
    const ColorRef starts[] = {before.bk, before.c1, before.c2, before.c3};
    QCOMPARE(RefFromColor(initial), starts[button]);
    QCOMPARE(doc.Figure().BkColor, expected[0]);
    QCOMPARE(doc.Figure().Color1, expected[1]);
    QCOMPARE(doc.Figure().Color2, expected[2]);
    QCOMPARE(doc.Figure().Color3, expected[3]);
}

void TestOptionsDlg::shrinkingDropsCubesForGood()
{
    CTestDocument doc({{2, 2}, {15, 3}, {5, 30}});
    const CubeGrid original = doc.Figure().Grid;
    const qint32 kept = doc.Figure().Cell(2, 2);

    ScriptOptions(doc.ui, doc, EnterSizes("10", "20", "32"));
    CDocumentCommands(doc).OnOptions();
    QCOMPARE(doc.Figure().GridSize(), QSize(10, 20));
    QCOMPARE(doc.Figure().Cell(2, 2), kept);
    const CubeGrid shrunk = doc.Figure().Grid;

    ScriptOptions(doc.ui, doc, EnterSizes("20", "40", "32"));
    CDocumentCommands(doc).OnOptions();
    QCOMPARE(doc.Figure().GridSize(), QSize(20, 40));
    QCOMPARE(doc.Figure().Cell(2, 2), kept);
    QCOMPARE(doc.Figure().Cell(15, 3), EmptyCell);
    QCOMPARE(doc.Figure().Cell(5, 30), EmptyCell);

    // Only undo brings them back, one options change at a time.
    doc.OnEditUndo();
    QCOMPARE(doc.Figure().Grid, shrunk);
    doc.OnEditUndo();
    QCOMPARE(doc.Figure().Grid, original);
}

void TestOptionsDlg::undoRestoresFigureAndStore()
{
    CTarvexDoc doc(true);
    CScriptedUi ui;
    doc.SetUi(&ui);
    doc.PlaceCube(QPoint(12, 33), 9);
    PlaceCube(doc, 19, 38, 9);
    const DocState before(doc);

    ScriptOptions(ui, doc, [](COptionsDlg &dlg) {
        TypeInto(dlg.Dimensions()->WidthEdit(), "15");
        TypeInto(dlg.Dimensions()->HeightEdit(), "25");
        TypeInto(dlg.Dimensions()->CubeSizeEdit(), "50");
        dlg.TabBar()->setCurrentIndex(COptionsDlg::ColorsPage);
        dlg.Colors()->SetColorChooser(
            [](const QColor &, QWidget *) { return std::optional<QColor>(QColor(10, 20, 30)); });
        Click(dlg.Colors()->BkColorButton());
        Click(dlg.Colors()->Color3Button());
        Click(dlg.OkButton());
    });
    CDocumentCommands(doc).OnOptions();

    QSettings::SettingsMap store = ReadStore();
    QCOMPARE(store.value("Width").toInt(), 15);
    QCOMPARE(store.value("Height").toInt(), 25);
    QCOMPARE(store.value("CubeSize").toInt(), 50);
    QCOMPARE(store.value("BkColor").toLongLong(), 0x1E140ALL);
    QCOMPARE(store.value("Color3").toLongLong(), 0x1E140ALL);
    QVERIFY(!doc.Figure().HasCell(12, 33));

    doc.OnEditUndo();
    QVERIFY(DocState(doc).SameFigure(before));
    store = ReadStore();
    QCOMPARE(store.value("Width").toInt(), 20);
    QCOMPARE(store.value("Height").toInt(), 40);
    QCOMPARE(store.value("CubeSize").toInt(), 32);
    QCOMPARE(store.value("BkColor").toLongLong(), 0xFFFFFFLL);
    QCOMPARE(store.value("Color3").toLongLong(), 0xFF0000LL);

    // Redo applies the options again and stores them once more.
    doc.OnEditRedo();
    QCOMPARE(doc.Figure().GridSize(), QSize(15, 25));
    QCOMPARE(ReadStore().value("CubeSize").toInt(), 50);
}

void TestOptionsDlg::customColoursSurviveCancelling()
{
    CTarvexDoc doc(true);
    CustomColorSet custom{};
    for (int i = 0; i < 16; ++i)
        custom[size_t(i)] = ColorRef(0x0F0F0F * (i + 1) & 0xFFFFFF);
    doc.SetCustomColors(custom);
    const std::array<ColorRef, 16> initial = doc.CustomColors();
    CScriptedUi ui;
    doc.SetUi(&ui);
    // Qt keeps custom colours of its own; the document's must win.
    for (int i = 0; i < 16; ++i)
        QColorDialog::setCustomColor(i, Qt::yellow);

    std::array<ColorRef, 16> offered{};
    ScriptOptions(ui, doc, [&](COptionsDlg &dlg) {
        dlg.TabBar()->setCurrentIndex(COptionsDlg::ColorsPage);
        dlg.Colors()->SetColorChooser([&](const QColor &, QWidget *) {
            for (int i = 0; i < 16; ++i)
                offered[size_t(i)] = RefFromColor(QColorDialog::customColor(i));
            QColorDialog::setCustomColor(5, QColor(1, 2, 3));
            return std::optional<QColor>(); // chooser cancelled
        });
        Click(dlg.Colors()->Color1Button());
        QCOMPARE(dlg.Colors()->Color1Button()->GetColor(), ColorRef(0x0000FF));
        Click(dlg.CancelButton());
    });
    CDocumentCommands(doc).OnOptions();

    QCOMPARE(offered, initial);
    std::array<ColorRef, 16> expected = initial;
    expected[5] = 0x030201;
    QCOMPARE(doc.CustomColors(), expected);
    QCOMPARE(doc.Figure().Color1, ColorRef(0x0000FF));
    // Cancelling restored the snapshot, which stores the settings with the new slot.
    const QByteArray stored = ReadStore().value("CustomColors").toByteArray();
    QCOMPARE(stored.size(), 64);
    QCOMPARE(stored.mid(20, 4), QByteArray("\x01\x02\x03\x00", 4));

    // The next chooser offers the kept colour even if Qt's own set says otherwise.
    QColorDialog::setCustomColor(5, Qt::yellow);
    QColor offeredAgain;
    ScriptOptions(ui, doc, [&](COptionsDlg &dlg) {
        dlg.Colors()->SetColorChooser([&](const QColor &, QWidget *) {
            offeredAgain = QColorDialog::customColor(5);
            return std::optional<QColor>();
        });
        dlg.Colors()->PickColor(dlg.Colors()->Color2Button());
        Click(dlg.CancelButton());
    });
    CDocumentCommands(doc).OnOptions();
    QCOMPARE(offeredAgain, QColor(1, 2, 3));

    // A fresh document reads them back from the store.
    CTarvexDoc reloaded(true);
    QCOMPARE(reloaded.CustomColors(), expected);
}

void TestOptionsDlg::onePageAtATimeCentred()
{
    CTestDocument doc;
    COptionsDlg dlg;
    dlg.SetOptions(doc.Options());
    QVERIFY(Shown(dlg));
    QCOMPARE(dlg.windowTitle(), QString("Options"));
    QCOMPARE(dlg.TabBar()->count(), 2);
    QCOMPARE(dlg.TabBar()->tabText(0), QString("Dimensions"));
    QCOMPARE(dlg.TabBar()->tabText(1), QString("Colors"));

    const QRect area = dlg.Placeholder()->geometry();
    auto checkShown = [&](int shown) {
        for (int i = 0; i < 2; ++i)
            QCOMPARE(dlg.Page(i)->isVisible(), i == shown);
        const QRect page = dlg.Page(shown)->geometry();
        QCOMPARE(page.left(), area.left() + area.width() / 2 - page.width() / 2);
        QCOMPARE(page.top(), area.top() + area.height() / 2 - page.height() / 2);
        QVERIFY(area.contains(page));
        QCOMPARE(dlg.childAt(page.center()) != nullptr, true);
    };
    checkShown(0);
    for (int shown : {1, 0, 1}) {
        QTest::mouseClick(dlg.TabBar(), Qt::LeftButton, {}, dlg.TabBar()->tabRect(shown).center());
        checkShown(shown);
    }
    // Showing the dialog again starts on the first page.
    dlg.reject();
    dlg.show();
    checkShown(0);
    QCOMPARE(dlg.TabBar()->currentIndex(), 0);
}

QTEST_MAIN(TestOptionsDlg)
#include "tst_optionsdlg.moc"
