// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QUrl>

class CHtmlCtrl;
class QKeyEvent;
class QShowEvent;

// The About box: a modal dialog whose whole surface is the About page, shown by an
// HTML control. The page's OK picture is a link to "app:ok", which closes the box as
// accepted; the close box of the title bar closes it as rejected. OK is the default
// button: it has the keyboard (outlined) when the box opens, and Return presses it.
class CAboutBox : public QDialog
{
    Q_OBJECT

public:
    // The box's size in dialog units of its font.
    static constexpr int WidthDu = 249;
    static constexpr int HeightDu = 125;

    explicit CAboutBox(QWidget *parent = nullptr);
    ~CAboutBox() override;

    static QUrl AboutPage();

    CHtmlCtrl *HtmlCtrl() const { return m_pHtml; }

protected:
    // Return and Enter press OK, the page's default button, wherever the keyboard is.
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    CHtmlCtrl *m_pHtml = nullptr; // owned by the dialog
};
