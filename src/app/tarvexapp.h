#pragma once

#include <QApplication>
#include <memory>

class CMainFrame;
class CTarvexDoc;

// The editor application: names itself "Tarvex" of "Brellow" (which also names the
// settings store), creates the one document and the main window, opens a figure file
// named on the command line and runs until the main window is closed.
class CTarvexApp : public QApplication
{
    Q_OBJECT

public:
    CTarvexApp(int &argc, char **argv);
    ~CTarvexApp() override;

    // Start-up: false when the program should end at once (a figure file named on
    // the command line could not be opened; the user has been told why).
    bool InitInstance();
    // Start-up, then the event loop; the process exit code.
    int Run();

    CTarvexDoc *Document() const { return m_doc.get(); }
    CMainFrame *MainFrame() const { return m_frame.get(); }

    // The application's names, set on every QCoreApplication the program creates.
    static void SetNames();

private:
    // The document lives longer than the window that shows it.
    std::unique_ptr<CTarvexDoc> m_doc;
    std::unique_ptr<CMainFrame> m_frame;
};
