#include "benchmark.h"

#include <QApplication>
#include <QElapsedTimer>
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

void CBenchmark::Report(const QString &name, double value, const QString &unit, double ratio,
                        const QString &ratioNote)
{
    if (ratio > 0.0)
        std::printf("%-44s %14.3f %-6s  ratio %10.2f  %s\n", qPrintable(name), value,
                    qPrintable(unit), ratio, qPrintable(ratioNote));
    else
        std::printf("%-44s %14.3f %-6s\n", qPrintable(name), value, qPrintable(unit));
    std::fflush(stdout);
}

double MedianNanoseconds(int repeats, const std::function<void()> &f)
{
    std::vector<double> times;
    times.reserve(repeats);
    QElapsedTimer timer;
    for (int i = 0; i < repeats; ++i) {
        timer.start();
        f();
        times.push_back(double(timer.nsecsElapsed()));
    }
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    return CBenchmark::RunAll(argc, argv);
}
