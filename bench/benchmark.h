// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

// A tiny benchmark registry: every bench/*.cpp registers its measurements with a
// static CBenchmark, and the program runs them all (or those named on its command line).
class CBenchmark
{
public:
    using Function = std::function<void()>;
    CBenchmark(const char *name, Function function);

    static int RunAll(int argc, char **argv);

    // One result line: name, value, unit, and the ratio against the straightforward
    // approach measured in the same run (omitted when there is none).
    static void Report(const QString &name, double value, const QString &unit,
                       double ratio = 0.0, const QString &ratioNote = QString());
};

// Median wall time of `repeats` runs of f, in nanoseconds.
double MedianNanoseconds(int repeats, const std::function<void()> &f);

// The honest floor of any export: seconds to write bytes into a new file at path with
// plain write(2) calls of 1 MiB from a filled buffer (no renaming, no syncing). The
// file is removed afterwards.
double WriteFloorSeconds(const QString &path, qint64 bytes);
