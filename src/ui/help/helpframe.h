// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <QUrl>

class CHtmlCtrl;
class QAction;
class QCloseEvent;
class QToolBar;

// The help window: a top-level window with a Back/Forward toolbar over the program's
// HTML help pages, which it opens on the start page. There is at most one; the main
// window keeps a pointer to it (the slot) and opens or activates it with ShowHelp.
// The window clears that pointer itself when the user closes it, and deletes itself.
class CHelpFrame : public QMainWindow
{
    Q_OBJECT

public:
    // backPointer, when given, is the owner's pointer to this window; it is set to
    // null when the window is closed or destroyed. It must outlive the window or be
    // cleared by CloseHelp before it goes away.
    explicit CHelpFrame(CHelpFrame **backPointer = nullptr);
    ~CHelpFrame() override;

    // Builds the toolbar and the page view and opens the start page. False when the
    // window cannot be built (its pictures or pages are missing from the resources).
    bool Create();

    // The Help command: activates the window in slot (restored if minimised, raised,
    // activated) or creates one over the upper right quarter of the primary screen
    // and stores it in slot. If it cannot be created nothing is shown and slot stays
    // null, so the next call tries again. Returns the window or null.
    static CHelpFrame *ShowHelp(CHelpFrame *&slot);

    // Destroys the window in slot at once, if there is one; slot becomes null. The
    // main window calls this when it closes.
    static void CloseHelp(CHelpFrame *&slot);

    // The upper right quarter of a screen: left = width / 2, top = 0, right = width,
    // bottom = height / 2.
    static QRect HelpRect(const QRect &screen);

    static QUrl StartPage();
    // The figure that an "app:example:NAME" link of a help page opens (the example
    // figures are resources of the program), or an empty string for any other command.
    static QString ExampleFigure(const QString &command);
    // Makes the help pages and pictures available; called by every user of them.
    static void InitResources();

    CHtmlCtrl *Browser() const { return m_pBrowser; }
    QToolBar *ToolBar() const { return m_pToolBar; }
    QAction *BackAction() const { return m_pBack; }
    QAction *ForwardAction() const { return m_pForward; }

Q_SIGNALS:
    // A help page asks to open a figure file in the editor (the Examples page).
    void OpenFigureRequested(const QString &path);

public Q_SLOTS:
    void OnBack();
    void OnForward();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void DetachBackPointer();

    CHelpFrame **m_ppBackPointer = nullptr;
    CHtmlCtrl *m_pBrowser = nullptr; // owned by the window
    QToolBar *m_pToolBar = nullptr;  // owned by the window
    QAction *m_pBack = nullptr;
    QAction *m_pForward = nullptr;
};
