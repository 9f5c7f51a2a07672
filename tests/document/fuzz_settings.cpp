// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the user's settings file as the program reads it at start-up,
// the stored options and the recent figure files. Whatever the file holds, the
// options stay within the Options dialog's ranges and the list within its length.

#include "document/recentfiles.h"
#include "document/settingsstore.h"
#include "geometry/figure.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

// The settings file of a private configuration folder.
const QString &SettingsFile()
{
    static QTemporaryDir *home = [] {
        auto *dir = new QTemporaryDir;
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir->path()));
        QDir(dir->path()).mkpath(QStringLiteral("Brellow"));
        return dir;
    }();
    static const QString path = home->filePath(QStringLiteral("Brellow/Tarvex.conf"));
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_settings";
    static char *argv[] = {name, nullptr};
    static QCoreApplication *app = new QCoreApplication(argc, argv);
    Q_UNUSED(app);
    const QString &path = SettingsFile();
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    // A new time for every input, so the settings reader never keeps the last one.
    static time_t stamp = 1000000000;
    const struct timespec times[2] = {{++stamp, 0}, {stamp, 0}};
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);

    const COptions options = CSettingsStore::Load();
    if (options.Width < CFigure::MinGridWidth || options.Width > CFigure::MaxGridWidth
        || options.Height < CFigure::MinGridHeight || options.Height > CFigure::MaxGridHeight
        || options.CubeSize < CFigure::MinCubeSize || options.CubeSize > CFigure::MaxCubeSize)
        std::abort();
    QSettings store(QStringLiteral("Brellow"), QStringLiteral("Tarvex"));
    if (CRecentFiles(&store).Files().size() > CRecentFiles::MaxCount)
        std::abort();
    return 0;
}
