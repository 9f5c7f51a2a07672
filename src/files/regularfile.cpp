// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/regularfile.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What a file of this mode is, for a message; empty for a regular file.
QString KindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return QString();
    if (S_ISFIFO(mode))
        return CRegularFile::tr("a pipe");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return CRegularFile::tr("a device");
    if (S_ISDIR(mode))
        return CRegularFile::tr("a folder");
    if (S_ISSOCK(mode))
        return CRegularFile::tr("a socket");
    if (S_ISLNK(mode))
        return CRegularFile::tr("a symbolic link");
    return CRegularFile::tr("a special file");
}

QString ReadProblemText(const QString &path, const QString &kind)
{
    return CRegularFile::tr("%1 is %2, not a regular file; figures are read only from regular files.").arg(path, kind);
}

QString ErrnoText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

CRegularFile::~CRegularFile()
{
    Close();
}

void CRegularFile::Close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_isResource = false;
    m_resource.clear();
}

bool CRegularFile::Fail(Error error, const QString &text, const QString &detail)
{
    Close();
    m_error = error;
    m_errorString = text;
    m_detail = detail.isEmpty() ? text : detail;
    return false;
}

bool CRegularFile::Open(const QString &path, int flags, bool refuseLinks)
{
    Close();
    m_path = path;
    m_error = Error::None;
    m_errorString.clear();
    m_detail.clear();
    const QString badName = NameProblem(path);
    if (!badName.isEmpty())
        return Fail(Error::Name, badName);
    if (path.startsWith(QLatin1String(":/"))) {
        // Built into the program (the example figures): read through Qt, never from disk.
        QFile resource(path);
        if ((flags & O_ACCMODE) != O_RDONLY || !resource.open(QIODevice::ReadOnly))
            return Fail(Error::Open, CRegularFile::tr("Cannot open %1: %2").arg(path, resource.errorString()),
                        resource.errorString());
        m_resource = resource.readAll();
        m_isResource = true;
        return true;
    }
    const QByteArray name = QFile::encodeName(path);
    // A look by name first, so that a device is normally never opened at all. Every
    // other kind is refused on the open descriptor below, which also catches a device
    // put in the file's place since.
    struct stat info;
    const int looked = refuseLinks ? ::lstat(name.constData(), &info) : ::stat(name.constData(), &info);
    if (looked == 0 && (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode) || (refuseLinks && S_ISLNK(info.st_mode))))
        return Fail(Error::Special, ReadProblemText(path, KindOf(info.st_mode)));
    // Without blocking: a pipe put in the file's place since is opened at once, then
    // refused below, instead of waiting for a writer.
    flags |= O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    if (refuseLinks)
        flags |= O_NOFOLLOW;
    do
        m_fd = ::open(name.constData(), flags);
    while (m_fd < 0 && errno == EINTR);
    if (m_fd < 0) {
        const int error = errno;
        if (error == ELOOP && refuseLinks)
            return Fail(Error::Special, ReadProblemText(path, CRegularFile::tr("a symbolic link")));
        // A socket, or a pipe without a reader opened for writing.
        if ((error == ENXIO || error == EOPNOTSUPP) && ::stat(name.constData(), &info) == 0 && !S_ISREG(info.st_mode))
            return Fail(Error::Special, ReadProblemText(path, KindOf(info.st_mode)));
        return Fail(Error::Open, CRegularFile::tr("Cannot open %1: %2").arg(path, ErrnoText(error)), ErrnoText(error));
    }
    if (::fstat(m_fd, &info) != 0)
        return Fail(Error::Open, CRegularFile::tr("Cannot open %1: %2").arg(path, ErrnoText(errno)), ErrnoText(errno));
    if (!S_ISREG(info.st_mode))
        return Fail(Error::Special, ReadProblemText(path, KindOf(info.st_mode)));
    m_modifiedNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return true;
}

bool CRegularFile::OpenRead(const QString &path, Links links)
{
    return Open(path, O_RDONLY, links == Links::Refuse);
}

bool CRegularFile::OpenExistingForWriting(const QString &path)
{
    return Open(path, O_WRONLY, true);
}

bool CRegularFile::ReadAll(QByteArray *data, qint64 maxSize)
{
    if (m_isResource) {
        if (m_resource.size() > maxSize)
            return Fail(Error::TooLarge, CRegularFile::tr("%1 is too large to be a figure file.").arg(m_path));
        *data = m_resource;
        return true;
    }
    if (m_fd < 0)
        return Fail(Error::Read, CRegularFile::tr("Cannot read %1: it is not open").arg(m_path));
    struct stat info;
    if (::fstat(m_fd, &info) == 0 && info.st_size > maxSize)
        return Fail(Error::TooLarge, CRegularFile::tr("%1 is too large to be a figure file.").arg(m_path));
    // The size may change while reading: read until the end, but never more than
    // allowed. One byte more than the size tells the end without a second buffer.
    QByteArray result(qsizetype(qMin<qint64>(qMax<qint64>(info.st_size, 0), maxSize) + 1), Qt::Uninitialized);
    qint64 used = 0;
    for (;;) {
        if (used == result.size()) {
            if (used > maxSize)
                return Fail(Error::TooLarge, CRegularFile::tr("%1 is too large to be a figure file.").arg(m_path));
            result.resize(qsizetype(qMin<qint64>(used * 2, maxSize + 1)));
        }
        const ssize_t got = ::read(m_fd, result.data() + used, size_t(result.size() - used));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return Fail(Error::Read, CRegularFile::tr("Cannot read %1: %2").arg(m_path, ErrnoText(errno)));
        if (got == 0)
            break;
        used += got;
    }
    result.truncate(qsizetype(used));
    *data = result;
    return true;
}

bool CRegularFile::ReplaceContents(const QByteArray &data)
{
    if (m_fd < 0)
        return Fail(Error::Write, CRegularFile::tr("Cannot write %1: it is not open").arg(m_path));
    auto failed = [this](const QString &reason) {
        return Fail(Error::Write, CRegularFile::tr("Cannot write %1: %2").arg(m_path, reason));
    };
    struct stat info;
    if (::fstat(m_fd, &info) != 0)
        return failed(ErrnoText(errno));
    auto writeAt = [this](const char *next, qint64 left, off_t at) {
        while (left > 0) {
            const ssize_t put = ::pwrite(m_fd, next, size_t(left), at);
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0)
                return put < 0 ? ErrnoText(errno)
                               : CRegularFile::tr("Not all data could be written; the disk may be full");
            next += put;
            left -= put;
            at += put;
        }
        return QString();
    };
    // What goes past the old end is written first: when the disk cannot take it, the
    // file is cut back to its old size and the old contents are still whole. Only then
    // is the start written over, in blocks the file already has.
    const qint64 oldSize = qint64(info.st_size);
    if (data.size() > oldSize) {
        const QString problem = writeAt(data.constData() + oldSize, data.size() - oldSize, off_t(oldSize));
        if (!problem.isEmpty()) {
            if (::ftruncate(m_fd, off_t(oldSize)) != 0) {
                // The old contents are still all there, only followed by a part of the new.
            }
            return failed(problem);
        }
    }
    const QString problem = writeAt(data.constData(), qMin<qint64>(oldSize, data.size()), 0);
    if (!problem.isEmpty())
        return failed(problem);
    // A longer old file would keep its tail after the new contents.
    if (::ftruncate(m_fd, off_t(data.size())) != 0 || ::fsync(m_fd) != 0)
        return failed(ErrnoText(errno));
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        return failed(ErrnoText(errno));
    return true;
}

bool CRegularFile::ReadFile(const QString &path, qint64 maxSize, QByteArray *data, QString *error, Links links)
{
    CRegularFile file;
    if (file.OpenRead(path, links) && file.ReadAll(data, maxSize))
        return true;
    if (error)
        *error = file.ErrorString();
    return false;
}

QString CRegularFile::SpecialKind(const QString &path)
{
    // stat follows symbolic links and never opens the file, so a pipe cannot block here.
    struct stat info;
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return QString();
    return KindOf(info.st_mode);
}

QString CRegularFile::ReadProblem(const QString &path)
{
    const QString badName = NameProblem(path);
    if (!badName.isEmpty())
        return badName;
    const QString kind = SpecialKind(path);
    if (kind.isEmpty())
        return QString();
    return ReadProblemText(path, kind);
}

QString CRegularFile::WriteProblem(const QString &path)
{
    const QString badName = NameProblem(path);
    if (!badName.isEmpty())
        return badName;
    const QString kind = SpecialKind(path);
    if (kind.isEmpty())
        return QString();
    return CRegularFile::tr("%1 is %2, not a regular file: nothing was written and it is left as it is.")
        .arg(path, kind);
}

QString CRegularFile::NameProblem(const QString &path)
{
    if (!path.contains(QChar(QChar::ReplacementCharacter)))
        return QString();
    return BadNameText(path);
}

QString CRegularFile::BadNameText(const QString &path)
{
    return CRegularFile::tr("The name %1 is not valid UTF-8 text: Tarvex cannot tell which file it names, "
                            "so it neither reads nor writes it.")
        .arg(path);
}

bool CRegularFile::IsFaithfulName(const QByteArray &localName)
{
    return QFile::encodeName(QFile::decodeName(localName)) == localName;
}
