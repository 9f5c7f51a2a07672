// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/documentui.h"

#include <QList>
#include <QStringList>
#include <functional>

// A CDocumentUi that answers from scripts and records what it was asked, so command
// paths run headless. An exhausted script answers Cancel / an empty file name.
class CScriptedUi : public CDocumentUi
{
public:
    struct Message
    {
        QString text;
        QString caption;
        Icon icon;
    };

    QList<Answer> answers;
    QStringList saveNames;
    QStringList openNames;
    bool transparent = false; // the save dialog's transparent background choice
    std::function<std::optional<COptions>(const COptions &)> options;

    QStringList questions; // "caption: text" of every question asked
    QList<Message> messages;
    int saveDialogs = 0;
    int openDialogs = 0;
    QStringList suggestedNames; // every name suggested to the save dialog

    Answer AskYesNoCancel(const QString &text, const QString &caption) override;
    void ShowMessage(const QString &text, const QString &caption, Icon icon) override;
    QString AskSaveFileName() override;
    bool TransparentBackground() const override { return transparent; }
    QString AskOpenFileName() override;
    std::optional<COptions> AskOptions(const COptions &current) override;
    Answer AskRestoreDiscard(const QString &text, const QString &caption) override;
    Answer AskOverwriteChanged(const QString &text, const QString &caption) override;
    void SuggestSaveFileName(const QString &path) override;
};
