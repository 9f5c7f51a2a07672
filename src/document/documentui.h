// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/options.h"

#include <QString>
#include <optional>

// What the document's commands need from the user: answers to questions, messages
// and file names. The main window implements it with message boxes and file dialogs;
// tests implement it with scripted answers.
class CDocumentUi
{
public:
    enum class Answer { Yes, No, Cancel };
    enum class Icon { Exclamation, Stop };

    virtual ~CDocumentUi() = default;

    // Yes / No / Cancel question with the exclamation icon.
    virtual Answer AskYesNoCancel(const QString &text, const QString &caption) = 0;
    // A message with an OK button.
    virtual void ShowMessage(const QString &text, const QString &caption, Icon icon) = 0;
    // The save dialog: one file type per format the document writes, adds the chosen
    // type's extension to a name typed without one, asks before overwriting, remembers
    // its folder, name and type between calls. Returns the chosen path, or an empty
    // string when cancelled.
    virtual QString AskSaveFileName() = 0;
    // Whether the last confirmed save dialog asked for a transparent background
    // (PNG and SVG).
    virtual bool TransparentBackground() const { return false; }
    // The open dialog for "XML files (*.xml)". Empty when cancelled.
    virtual QString AskOpenFileName() = 0;
    // The Options dialog started from the current options: the chosen options when it
    // was closed with OK, nothing when cancelled.
    virtual std::optional<COptions> AskOptions(const COptions &current) = 0;
    // A question with Restore (the default button) and Discard, the exclamation icon:
    // Yes for Restore, No for Discard, Cancel when closed without either.
    virtual Answer AskRestoreDiscard(const QString &text, const QString &caption) = 0;
    // The figure's own file changed on disk since it was opened or saved: Overwrite
    // (Yes), Save Elsewhere (No) or Cancel, the exclamation icon.
    virtual Answer AskOverwriteChanged(const QString &text, const QString &caption) = 0;
    // The name the save dialog offers at its next use.
    virtual void SuggestSaveFileName(const QString &path) = 0;
};
