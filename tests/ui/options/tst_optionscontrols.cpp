// SPDX-License-Identifier: GPL-3.0-or-later
// The small controls of the Options dialog: the up-down control with its edit field,
// the colour button's swatch and the label without a background.

#include "support/shownwidget.h"
#include "ui/options/colorbutton.h"
#include "ui/options/transparentlabel.h"
#include "ui/options/updown.h"

#include <QImage>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace {

// The bounding box of the pixels of exactly this colour.
QRect ColorBounds(const QImage &image, const QColor &color)
{
    QRect bounds;
    const QRgb wanted = color.rgb();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (wanted & 0xFFFFFF))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// An edit field at the given place with an up-down control of the given width.
CUpDown *AddField(QWidget &page, const QRect &field, int spinWidth)
{
    auto *edit = new QLineEdit(&page);
    edit->setGeometry(field);
    auto *spin = new CUpDown(&page);
    spin->resize(spinWidth, 10);
    spin->SetBuddy(edit);
    return spin;
}

} // namespace

class TestOptionsControls : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void upDownSteps_data();
    void upDownSteps();
    void upDownPos_data();
    void upDownPos();
    void upDownSitsAtFieldsRightEdge();
    void colorButtonSwatchMovesWhilePressed();
    void transparentLabelPaintsNoBackground();
};

void TestOptionsControls::upDownSteps_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("delta");
    QTest::addColumn<QString>("expected");

    QTest::newRow("up") << "20" << +1 << "21";
    QTest::newRow("down") << "20" << -1 << "19";
    QTest::newRow("up at the top") << "100" << +1 << "100";
    QTest::newRow("down at the bottom") << "10" << -1 << "10";
    QTest::newRow("up from below the range") << "5" << +1 << "10";
    QTest::newRow("down from above the range") << "250" << -1 << "100";
    QTest::newRow("letters step from the last position") << "abc" << +1 << "31";
    QTest::newRow("empty steps from the last position") << "" << -1 << "29";
    QTest::newRow("blanks around the number") << " 42 " << +1 << "43";
}

void TestOptionsControls::upDownSteps()
{
    QFETCH(QString, text);
    QFETCH(int, delta);
    QFETCH(QString, expected);

    // Each way of stepping: the arrow keys in the field and the two buttons.
    for (bool useKeys : {true, false}) {
        QWidget page;
        CUpDown *spin = AddField(page, QRect(10, 10, 80, 24), 18);
        QLineEdit *edit = spin->Buddy();
        spin->SetRange(10, 100);
        spin->SetPos(30);
        page.show();
        edit->setText(text);
        if (useKeys)
            QTest::keyClick(edit, delta > 0 ? Qt::Key_Up : Qt::Key_Down);
        else
            QTest::mouseClick(delta > 0 ? spin->UpButton() : spin->DownButton(), Qt::LeftButton);
        QCOMPARE(edit->text(), expected);
        bool ok = false;
        QCOMPARE(spin->Pos(&ok), expected.toInt());
        QVERIFY(ok);
    }
}

void TestOptionsControls::upDownPos_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("pos");

    QTest::newRow("inside") << "57" << true << 57;
    QTest::newRow("lowest") << "16" << true << 16;
    QTest::newRow("highest") << "200" << true << 200;
    QTest::newRow("below") << "15" << false << 32;
    QTest::newRow("above") << "201" << false << 32;
    QTest::newRow("letters") << "big" << false << 32;
    QTest::newRow("number then letters") << "50px" << false << 32;
    QTest::newRow("fraction") << "20.0" << false << 32;
    QTest::newRow("empty") << "" << false << 32;
    QTest::newRow("too long for an int") << "4294967312" << false << 32;
}

void TestOptionsControls::upDownPos()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, pos);

    QLineEdit edit;
    CUpDown spin;
    spin.SetBuddy(&edit);
    spin.SetRange(16, 200);
    spin.SetPos(32);
    QCOMPARE(edit.text(), QString("32"));
    edit.setText(text);
    bool ok = !valid;
    QCOMPARE(spin.Pos(&ok), pos);
    QCOMPARE(ok, valid);
    // Reading never rewrites what the user typed.
    QCOMPARE(edit.text(), text);
}

void TestOptionsControls::upDownSitsAtFieldsRightEdge()
{
    QWidget page;
    CUpDown *spin = AddField(page, QRect(30, 20, 70, 24), 19);
    QCOMPARE(spin->Buddy()->geometry(), QRect(30, 20, 51, 24));
    QCOMPARE(spin->geometry(), QRect(81, 20, 19, 24));
    // The two arrows share the height.
    QCOMPARE(spin->UpButton()->geometry().bottom() + 1, spin->DownButton()->geometry().top());
    QCOMPARE(spin->DownButton()->geometry().bottom(), 23);
}

void TestOptionsControls::colorButtonSwatchMovesWhilePressed()
{
    CColorButton button;
    button.resize(80, 24);
    button.SetColor(0x0000FF);
    QVERIFY(Shown(button));
    QSignalSpy clicks(&button, &QPushButton::clicked);

    const QRect resting(3, 3, 72, 16);
    QCOMPARE(ColorBounds(button.grab().toImage(), Qt::red), resting);

    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(40, 12));
    QVERIFY(button.IsPressed());
    QCOMPARE(ColorBounds(button.grab().toImage(), Qt::red), resting.translated(1, 1));

    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(40, 12));
    QVERIFY(!button.IsPressed());
    QCOMPARE(ColorBounds(button.grab().toImage(), Qt::red), resting);
    QCOMPARE(clicks.count(), 1);

    // The swatch follows the button's own flag, not the style's down state.
    button.setDown(true);
    QCOMPARE(ColorBounds(button.grab().toImage(), Qt::red), resting);
    button.setDown(false);

    // A new colour shows at once.
    button.SetColor(0xFF0000);
    QCOMPARE(button.GetColor(), ColorRef(0xFF0000));
    const QImage blue = button.grab().toImage();
    QCOMPARE(ColorBounds(blue, Qt::blue), resting);
    QVERIFY(ColorBounds(blue, Qt::red).isNull());
}

void TestOptionsControls::transparentLabelPaintsNoBackground()
{
    QWidget back;
    back.resize(120, 40);
    QPalette palette = back.palette();
    palette.setColor(QPalette::Window, Qt::magenta);
    palette.setColor(QPalette::WindowText, Qt::black);
    back.setPalette(palette);
    back.setAutoFillBackground(true);
    auto *label = new CTransparentLabel(QStringLiteral("Width"), &back);
    label->setGeometry(10, 10, 100, 24);
    QVERIFY(Shown(back));

    const QImage image = back.grab().toImage();
    const QRect area = label->geometry();
    const QRect ink = [&] {
        QRect bounds;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if ((image.pixel(x, y) & 0xFFFFFF) != (QColor(Qt::magenta).rgb() & 0xFFFFFF))
                    bounds |= QRect(x, y, 1, 1);
        return bounds;
    }();
    // Text is drawn, at the top left, and everything else shows the background.
    QVERIFY(!ink.isNull());
    QVERIFY(ink.left() - area.left() <= 2);
    QVERIFY(ink.top() - area.top() <= 4);
    QVERIFY(ink.right() < area.left() + label->sizeHint().width());
    QVERIFY(ink.bottom() < area.top() + label->sizeHint().height());
}

QTEST_MAIN(TestOptionsControls)
#include "tst_optionscontrols.moc"
