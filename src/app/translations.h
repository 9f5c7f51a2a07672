// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QCoreApplication;

// The interface in the user's language: the program's own texts (compiled in from
// src/translations) and Qt's texts of standard buttons, dialogs and --help (from the
// Qt translations installed on the system). English is the language of the sources,
// so an English or unknown locale loads nothing.
class CTranslations
{
public:
    // Installs the translators for the locale's languages on the application object;
    // called for every application object the program creates. The translators are
    // loaded once and live until the program ends.
    static void Install(QCoreApplication &app);

    // Where the compiled-in translations are: ":/i18n/tarvex_LANGUAGE.qm".
    static const char *const ResourceFolder;
};
