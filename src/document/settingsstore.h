// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/options.h"

#include <QCoreApplication>
#include <QString>

// The user's settings store: the options the program starts with, written whenever
// the figure's settings change.
class CSettingsStore
{
    Q_DECLARE_TR_FUNCTIONS(CSettingsStore)

public:
    // Looks at the settings files before anything reads them, with the checked open
    // that figure files get: Qt's reader would wait for good on a pipe. When one is
    // not a regular file, the settings of this run live in a private, empty store (so
    // the program starts with the defaults and leaves that file alone) and the text
    // returned says so; empty when the files can be used. Runs its checks once.
    static QString CheckFiles();

    // The stored options; missing entries give the defaults, sizes out of range are
    // kept to the ranges the Options dialog allows, so a damaged store cannot make
    // the program unusable.
    static COptions Load();
    static void Save(const COptions &options);
};
