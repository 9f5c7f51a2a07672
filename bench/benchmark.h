// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class CTarvexDoc;

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
    static void Report(const QString &name, double value, const QString &unit, double ratio = 0.0,
                       const QString &ratioNote = QString());
};

// Median wall time of `repeats` runs of f, in nanoseconds; with before, each run
// after an untimed call of it.
double MedianNanoseconds(int repeats, const std::function<void()> &f);
double MedianNanoseconds(int repeats, const std::function<void()> &before, const std::function<void()> &f);

// Turns the figure's background from white to nearly white or back: nothing a view
// shows of the document is then still right, and its next repaint draws every row
// (a view leaves alone what it shows already).
void ChangeBackground(CTarvexDoc &doc);

// The median of values (0 when there are none).
double Median(std::vector<double> values);

// Runs a program under /usr/bin/time and returns its peak resident size in MiB, and
// its wall time in seconds (-1 when it failed or time is missing). The peak is the
// child's alone: time is a small process, while a child spawned straight from the
// benchmark may be charged the benchmark's own peak. With mayFail, a program that
// ends with an error (refusing its input) is measured too.
double ChildPeakMiB(const QStringList &arguments, double *seconds, bool mayFail = false);

// The honest floor of any export: seconds to write bytes into a new file at path with
// plain write(2) calls of 1 MiB from a filled buffer (no renaming, no syncing). The
// file is removed afterwards.
double WriteFloorSeconds(const QString &path, qint64 bytes);
