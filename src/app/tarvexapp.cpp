// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tarvexapp.h"

#include "app/mainframe.h"
#include "document/documentcommands.h"
#include "document/settingsstore.h"
#include "document/tarvexdoc.h"
#include "app/commandlineexport.h"
#include "app/thumbnailer.h"
#include "app/translations.h"
#include "app/recoverymanager.h"

#include "files/regularfile.h"

#include <QCommandLineParser>
#include <QFile>

#include <cstdio>

int CTarvexApp::Main(int argc, char **argv)
{
    // A name that is not valid UTF-8 would reach the program with its bad bytes
    // replaced, naming another file: such a name is refused before anything is read
    // or written.
    for (int i = 1; i < argc; ++i) {
        if (!CRegularFile::IsFaithfulName(QByteArray(argv[i]))) {
            std::fprintf(stderr, "tarvex: %s\n",
                         CRegularFile::BadNameText(QFile::decodeName(argv[i])).toLocal8Bit().constData());
            return 2;
        }
    }
    // File-manager previews run without any window.
    if (CThumbnailer::IsRequested(argc, argv))
        return CThumbnailer::Run(argc, argv);
    QString figurePath;
    {
        QCoreApplication core(argc, argv);
        CTranslations::Install(core);
        // Batch export runs without any window.
        if (CCommandLineExport::IsRequested(argc, argv))
            return CCommandLineExport::Run(core);
        SetNames();
        QCommandLineParser parser;
        CCommandLineExport::Configure(core, parser);
        CCommandLineExport::Process(core, parser); // --help, --version and unknown options end the program here
        figurePath = parser.positionalArguments().value(0);
    }
    CTarvexApp app(argc, argv);
    if (!app.InitInstance(figurePath))
        return 1;
    return app.exec();
}

CTarvexApp::CTarvexApp(int &argc, char **argv)
    : QApplication(argc, argv)
{
    SetNames();
    CTranslations::Install(*this);
    // Lets the desktop match the window with the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tarvex.Tarvex"));
}

CTarvexApp::~CTarvexApp()
{
    m_recovery.reset();
    m_frame.reset();
    m_doc.reset();
}

void CTarvexApp::SetNames()
{
    QCoreApplication::setApplicationName(QStringLiteral("Tarvex"));
    QCoreApplication::setOrganizationName(QStringLiteral("Brellow"));
}

bool CTarvexApp::InitInstance(const QString &figurePath)
{
    // Before the document reads the settings.
    const QString settingsProblem = CSettingsStore::CheckFiles();
    m_doc = std::make_unique<CTarvexDoc>();
    m_frame = std::make_unique<CMainFrame>(*m_doc);
    // Dialogs and message boxes carry the icon too.
    setWindowIcon(CMainFrame::ApplicationIcon());
    m_recovery = std::make_unique<CRecoveryManager>(*m_doc);
    const bool restored = m_recovery->Start();
    // Ending the editor on purpose (the figure saved or given up) removes its copy.
    connect(this, &QCoreApplication::aboutToQuit, m_recovery.get(), &CRecoveryManager::RemoveCopy);
    // A restored figure gives way to the named file only as any open would: after the
    // question about saving it.
    CDocumentCommands commands(*m_doc);
    if (!figurePath.isEmpty() && (!restored || commands.PromptSaveChanges())) {
        // The figure named on the command line counts as saved once opened. If it
        // cannot be read the document has said why, and the program ends.
        if (!commands.Open(figurePath, CDocumentCommands::OpenAs::Direct))
            return false;
        m_frame->AddRecentFile(figurePath);
    } else if (!restored) {
        commands.OnNewDocument();
    }
    m_frame->show();
    m_frame->RegisterDragFormat();
    if (!settingsProblem.isEmpty())
        m_frame->ShowMessage(settingsProblem, QStringLiteral("Tarvex"), CDocumentUi::Icon::Exclamation);
    return true;
}
