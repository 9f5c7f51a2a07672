// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTextBrowser>

// An HTML page shown inside a dialog. Every navigation is inspected before it
// happens: links whose address begins with "app:" (in any letter case) are never
// followed but handed to OnAppCommand with the rest of the address, so a page can
// carry the dialog's own buttons. Links to web or mail addresses go to the desktop's
// browser or mail program; everything else (pages and anchors among the program's
// resources) is followed as usual.
class CHtmlCtrl : public QTextBrowser
{
    Q_OBJECT

public:
    explicit CHtmlCtrl(QWidget *parent = nullptr);
    ~CHtmlCtrl() override;

    // Whether the address is a command of the page ("app:" followed by the command).
    static bool IsAppCommand(const QUrl &url, QString *command = nullptr);
    // HTML put into every page in place of the comment <!--name-->: what only the
    // program knows (the file types it writes) is told where the page mentions it.
    static void SetPageText(const QString &name, const QString &html);
    // Gives the first link of the page the keyboard (outlined; Enter follows it).
    bool FocusFirstLink();

Q_SIGNALS:
    // A page command that the control does not handle itself (outside a dialog, or
    // other than "ok" and "cancel"), for the window holding it.
    void AppCommandRequested(const QString &command);

protected:
    // "ok" closes the dialog holding the control as accepted, "cancel" as rejected
    // (both ignoring case); anything else is offered with AppCommandRequested.
    virtual void OnAppCommand(const QString &command);

    void doSetSource(const QUrl &name, QTextDocument::ResourceType type) override;
    // A page that cannot be found is replaced by a short page that says so.
    QVariant loadResource(int type, const QUrl &name) override;
};
