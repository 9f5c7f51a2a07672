// SPDX-License-Identifier: GPL-3.0-or-later
// What speaking the user's language costs at start-up: `tarvex --help` under a German
// locale (the program's and Qt's translators loaded) against the same under C.UTF-8
// (none loaded), run in turns; medians of wall time and peak memory.

#include "benchmark.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <vector>

namespace {

void StartUpInGerman()
{
    const QString tarvex = QCoreApplication::applicationDirPath() + "/../src/tarvex";
    if (!QFileInfo::exists(tarvex))
        return;
    const QByteArray saved = qgetenv("LANG");
    std::vector<double> seconds[2], peaks[2];
    const char *const languages[2] = {"C.UTF-8", "de_DE.UTF-8"};
    for (int turn = 0; turn < 15; ++turn) {
        for (int i = 0; i < 2; ++i) {
            qputenv("LANG", languages[i]);
            double s = 0;
            const double peak = ChildPeakMiB({tarvex, QStringLiteral("--help")}, &s);
            if (peak > 0) {
                seconds[i].push_back(s * 1000);
                peaks[i].push_back(peak);
            }
        }
    }
    qputenv("LANG", saved);
    const double english = Median(seconds[0]);
    const double german = Median(seconds[1]);
    CBenchmark::Report(QStringLiteral("start-up, tarvex --help in German"), german, QStringLiteral("ms"),
                       english > 0 ? german / english : 0.0, QStringLiteral("vs. C.UTF-8, no translator"));
    CBenchmark::Report(QStringLiteral("start-up peak memory in German"), Median(peaks[1]), QStringLiteral("MiB"),
                       Median(peaks[0]) > 0 ? Median(peaks[1]) / Median(peaks[0]) : 0.0, QStringLiteral("vs. C.UTF-8"));
}

const CBenchmark registered("translations", StartUpInGerman);

} // namespace
