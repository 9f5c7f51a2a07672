// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/regularfile.h"

#include <QCoreApplication>
#include <QFile>

#include <sys/stat.h>

namespace {

} // namespace

QString CRegularFile::SpecialKind(const QString &path)
{
    // stat follows symbolic links and never opens the file, so a pipe cannot block here.
    struct stat info;
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return QString();
    if (S_ISREG(info.st_mode))
        return QString();
    if (S_ISFIFO(info.st_mode))
        return CRegularFile::tr("a pipe");
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode))
        return CRegularFile::tr("a device");
    if (S_ISDIR(info.st_mode))
        return CRegularFile::tr("a folder");
    if (S_ISSOCK(info.st_mode))
        return CRegularFile::tr("a socket");
    return CRegularFile::tr("a special file");
}

QString CRegularFile::ReadProblem(const QString &path)
{
    const QString kind = SpecialKind(path);
    if (kind.isEmpty())
        return QString();
    return CRegularFile::tr("%1 is %2, not a regular file; figures are read only from regular files.").arg(path, kind);
}

QString CRegularFile::WriteProblem(const QString &path)
{
    const QString kind = SpecialKind(path);
    if (kind.isEmpty())
        return QString();
    return CRegularFile::tr("%1 is %2, not a regular file: nothing was written and it is left as it is.").arg(path, kind);
}
