// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QString>

class CTarvexDoc;
class CDocumentUi;

// The file and settings commands of the editor (New, Open, Save, Options, closing,
// opening a recovery copy), run on a document. They ask the user through the
// document's CDocumentUi; without one every question is answered with Cancel and
// nothing is shown.
class CDocumentCommands
{
    Q_DECLARE_TR_FUNCTIONS(CDocumentCommands)

public:
    // How a file comes in. Direct: a file named on the command line. AfterQuestion:
    // the user has answered the question about unsaved changes (the Open command, a
    // dropped file, an example, a recent file). Recovered: a recovery copy, opened as the
    // unsaved figure it was.
    enum class OpenAs { Direct, AfterQuestion, Recovered };

    explicit CDocumentCommands(CTarvexDoc &doc);

    // The question about unsaved changes; true when the caller may go on.
    bool PromptSaveChanges();
    // New: true when a new, empty figure was started.
    bool OnNewDocument();
    // Open: the question, the open dialog, then Open.
    void OnOpenFigure();
    // The one way a figure file is opened: path is read once into a figure value, which
    // replaces the document's only when it read; a file that cannot be read or is no
    // figure is reported and leaves the figure, its history and its saved state alone. originalName is a recovered copy's own file's name. An example (a path
    // among the program's resources) keeps no file name: Save offers its name in the
    // user's documents folder. True when the figure was read.
    bool Open(const QString &path, OpenAs how, const QString &originalName = QString());
    // Save: the save dialog (at the figure's own file, if it has one), then the write.
    // Only a figure file makes the figure saved; a picture leaves the saved state as
    // it was. Writing over the figure's own file after another program changed it
    // asks first: overwrite, save elsewhere (the dialog again) or cancel.
    void OnSaveFigure();
    // Options: the dialog with the document's options; the chosen ones are applied.
    void OnOptions();
    // Closing the main window: true when it may close.
    bool CanCloseFrame();

private:
    // True when path is the figure's own file and it changed on disk since this
    // editor read or wrote it.
    bool ChangedOnDisk(const QString &path) const;
    void ShowError(const QString &text) const;

    CTarvexDoc &m_doc;
    CDocumentUi *m_ui;
};
