// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/scriptedui.h"

CDocumentUi::Answer CScriptedUi::AskYesNoCancel(const QString &text, const QString &caption)
{
    questions << caption + QStringLiteral(": ") + text;
    return answers.isEmpty() ? Answer::Cancel : answers.takeFirst();
}

void CScriptedUi::ShowMessage(const QString &text, const QString &caption, Icon icon)
{
    messages.append({text, caption, icon});
}

QString CScriptedUi::AskSaveFileName()
{
    ++saveDialogs;
    return saveNames.isEmpty() ? QString() : saveNames.takeFirst();
}

QString CScriptedUi::AskOpenFileName()
{
    ++openDialogs;
    return openNames.isEmpty() ? QString() : openNames.takeFirst();
}

std::optional<COptions> CScriptedUi::AskOptions(const COptions &current)
{
    return options ? options(current) : std::nullopt;
}

CDocumentUi::Answer CScriptedUi::AskRestoreDiscard(const QString &text, const QString &caption)
{
    // Shares the script of the Yes / No / Cancel questions.
    return AskYesNoCancel(text, caption);
}

CDocumentUi::Answer CScriptedUi::AskOverwriteChanged(const QString &text, const QString &caption)
{
    return AskYesNoCancel(text, caption);
}

void CScriptedUi::SuggestSaveFileName(const QString &path)
{
    suggestedNames << path;
}
