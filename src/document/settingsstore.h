// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/options.h"

// The user's settings store: the options the program starts with, written whenever
// the figure's settings change.
class CSettingsStore
{
public:
    // The stored options; missing entries give the defaults, sizes out of range are
    // kept to the ranges the Options dialog allows, so a damaged store cannot make
    // the program unusable.
    static COptions Load();
    static void Save(const COptions &options);
};
