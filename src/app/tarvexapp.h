// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QString>
#include <memory>

class CMainFrame;
class CRecoveryManager;
class CTarvexDoc;

// The editor application: names itself "Tarvex" of "Brellow" (which also names the
// settings store), creates the one document and the main window, opens a figure file
// named on the command line and runs until the main window is closed.
class CTarvexApp : public QApplication
{
    Q_OBJECT

public:
    // The whole program: reads the command line first without any window system (so
    // --help, --version, wrong options and --export need no display), then runs the
    // editor.
    static int Main(int argc, char **argv);

    CTarvexApp(int &argc, char **argv);
    ~CTarvexApp() override;

    // Start-up with an optional figure file (empty: a new figure). A figure left unsaved
    // by an editor that ended is offered first. False when the program should end at
    // once: the file could not be opened (the user was told why).
    bool InitInstance(const QString &figurePath);

    CTarvexDoc *Document() const { return m_doc.get(); }
    CMainFrame *MainFrame() const { return m_frame.get(); }

    // The application's names, set on every application object the program creates.
    static void SetNames();

private:
    // The document lives longer than the window that shows it.
    std::unique_ptr<CTarvexDoc> m_doc;
    std::unique_ptr<CMainFrame> m_frame;
    std::unique_ptr<CRecoveryManager> m_recovery;
};
