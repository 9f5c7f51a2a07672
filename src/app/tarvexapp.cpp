#include "app/tarvexapp.h"

#include "app/mainframe.h"
#include "document/tarvexdoc.h"

#include <QCommandLineParser>

CTarvexApp::CTarvexApp(int &argc, char **argv)
    : QApplication(argc, argv)
{
    SetNames();
}

CTarvexApp::~CTarvexApp()
{
    m_frame.reset();
    m_doc.reset();
}

void CTarvexApp::SetNames()
{
    QCoreApplication::setApplicationName(QStringLiteral("Tarvex"));
    QCoreApplication::setOrganizationName(QStringLiteral("Brellow"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TARVEX_VERSION));
}

bool CTarvexApp::InitInstance()
{
    QCommandLineParser parser;
    parser.setApplicationDescription(tr("Draws impossible figures out of cubes."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"), tr("A figure file (.xml) to open."), QStringLiteral("[file]"));
    parser.process(*this);   // --help, --version and unknown options end the program here
    const QStringList files = parser.positionalArguments();

    m_doc = std::make_unique<CTarvexDoc>();
    m_frame = std::make_unique<CMainFrame>(*m_doc);
    if (!files.isEmpty()) {
        // The figure named on the command line; it counts as saved once opened. If it
        // cannot be read the document has said why, and the program ends.
        if (!m_doc->OnOpenDocument(files.first()))
            return false;
        Q_EMIT m_doc->UpdateAllViews();
    } else {
        m_doc->OnNewDocument();
    }
    m_frame->show();
    m_frame->RegisterDragFormat();
    return true;
}

int CTarvexApp::Run()
{
    if (!InitInstance())
        return 1;
    return exec();
}
