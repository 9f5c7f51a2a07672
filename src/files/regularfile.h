// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QString>

// Figures are read from and written to regular files only. Opening a pipe for reading
// would wait for a writer for good, and replacing a pipe, a device node or a socket with
// a new file (as an atomic save renames over its target) would destroy something that
// is not a figure. Both ends ask here first, without opening anything.
class CRegularFile
{
    Q_DECLARE_TR_FUNCTIONS(CRegularFile)

public:
    // Empty when path names a regular file (also through symbolic links) or nothing at
    // all; otherwise what it is, for a message: "a pipe", "a device", "a folder", ...
    static QString SpecialKind(const QString &path);
    // Empty when path may be read; otherwise a reason a user can read.
    static QString ReadProblem(const QString &path);
    // Empty when a file may be written at path; otherwise a reason a user can read.
    static QString WriteProblem(const QString &path);
};
