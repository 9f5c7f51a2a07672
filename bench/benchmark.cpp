// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <fcntl.h>
#include <unistd.h>
#include "benchmark.h"

#include "document/tarvexdoc.h"
#include "support/testdocument.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Entry
{
    const char *name;
    CBenchmark::Function function;
};

std::vector<Entry> &Registry()
{
    static std::vector<Entry> entries;
    return entries;
}

} // namespace

CBenchmark::CBenchmark(const char *name, Function function)
{
    Registry().push_back({name, std::move(function)});
}

int CBenchmark::RunAll(int argc, char **argv)
{
    std::vector<Entry> entries = Registry();
    std::sort(entries.begin(), entries.end(),
              [](const Entry &a, const Entry &b) { return qstrcmp(a.name, b.name) < 0; });
    for (const Entry &e : entries) {
        bool wanted = argc <= 1;
        for (int i = 1; i < argc; ++i)
            wanted = wanted || qstrcmp(argv[i], e.name) == 0;
        if (!wanted)
            continue;
        std::printf("# %s\n", e.name);
        std::fflush(stdout);
        e.function();
    }
    return 0;
}

void CBenchmark::Report(const QString &name, double value, const QString &unit, double ratio, const QString &ratioNote)
{
    if (ratio > 0.0)
        std::printf("%-44s %14.3f %-6s  ratio %10.2f  %s\n", qPrintable(name), value, qPrintable(unit), ratio,
                    qPrintable(ratioNote));
    else
        std::printf("%-44s %14.3f %-6s\n", qPrintable(name), value, qPrintable(unit));
    std::fflush(stdout);
}

double MedianNanoseconds(int repeats, const std::function<void()> &f)
{
    return MedianNanoseconds(repeats, nullptr, f);
}

double MedianNanoseconds(int repeats, const std::function<void()> &before, const std::function<void()> &f)
{
    std::vector<double> times;
    times.reserve(repeats);
    QElapsedTimer timer;
    for (int i = 0; i < repeats; ++i) {
        if (before)
            before();
        timer.start();
        f();
        times.push_back(double(timer.nsecsElapsed()));
    }
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

double ChildPeakMiB(const QStringList &arguments, double *seconds, bool mayFail)
{
    const QString time = QStringLiteral("/usr/bin/time");
    if (!QFileInfo::exists(time))
        return -1;
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    process.start(time, QStringList{"-f", "peak %M"} + arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit
        || (process.exitCode() != 0 && !mayFail))
        return -1;
    *seconds = timer.nsecsElapsed() / 1e9;
    const QList<QByteArray> lines = process.readAllStandardError().trimmed().split('\n');
    return lines.last().startsWith("peak ") ? lines.last().mid(5).toDouble() / 1024.0 : -1;
}

double WriteFloorSeconds(const QString &path, qint64 bytes)
{
    const QByteArray name = QFile::encodeName(path);
    std::vector<char> block(1024 * 1024, '\x5A');
    QElapsedTimer timer;
    timer.start();
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return -1;
    for (qint64 left = bytes; left > 0;) {
        const ssize_t n = ::write(fd, block.data(), size_t(qMin<qint64>(left, qint64(block.size()))));
        if (n <= 0)
            break;
        left -= n;
    }
    ::close(fd);
    const double seconds = timer.nsecsElapsed() / 1e9;
    ::unlink(name.constData());
    return seconds;
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    return CBenchmark::RunAll(argc, argv);
}

void ChangeBackground(CTarvexDoc &doc)
{
    const ColorRef now = doc.Figure().BkColor;
    EditFigure(doc, [now](CFigure &f) { f.BkColor = now == 0xFFFFFF ? 0xFFFFFE : 0xFFFFFF; });
}
