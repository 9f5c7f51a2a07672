// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/safefilewriter.h"

#include "files/fileexception.h"
#include "files/regularfile.h"

#include <QCoreApplication>
#include <QSaveFile>

namespace {

// Large buffers go out in pieces so a short write is noticed at once.
constexpr qint64 ChunkSize = 4 * 1024 * 1024;

} // namespace

CSafeFileWriter::CSafeFileWriter(const QString &path)
    : m_path(path)
{
    // The rename at Commit would replace a pipe, a device node or a socket (or the one
    // a symbolic link points to) with a regular file: such a target is refused.
    const QString special = CRegularFile::WriteProblem(path);
    if (!special.isEmpty())
        throw CFileException(special);
    m_file = std::make_unique<QSaveFile>(path);
    // Never fall back to writing the target in place: that could leave it half-written.
    m_file->setDirectWriteFallback(false);
    if (!m_file->open(QIODevice::WriteOnly))
        Fail(CSafeFileWriter::tr("Cannot create %1: %2").arg(m_path, m_file->errorString()));
}

CSafeFileWriter::~CSafeFileWriter()
{
    if (m_file && m_file->isOpen())
        m_file->cancelWriting();
}

void CSafeFileWriter::Write(const char *data, qint64 size)
{
    while (size > 0) {
        const qint64 chunk = qMin(size, ChunkSize);
        const qint64 written = m_file->write(data, chunk);
        if (written != chunk) {
            // A full disk may give a short count without any error set.
            const QString reason = written < 0 || m_file->error() != QFileDevice::NoError
                                       ? m_file->errorString()
                                       : CSafeFileWriter::tr("Not all data could be written; the disk may be full");
            Fail(CSafeFileWriter::tr("Cannot write %1: %2").arg(m_path, reason));
        }
        data += chunk;
        size -= chunk;
    }
}

void CSafeFileWriter::Commit()
{
    if (!m_file->flush())
        Fail(CSafeFileWriter::tr("Cannot write %1: %2").arg(m_path, m_file->errorString()));
    if (!m_file->commit()) {
        const QString reason = m_file->errorString();
        m_file.reset();
        throw CFileException(CSafeFileWriter::tr("Cannot write %1: %2").arg(m_path, reason));
    }
    m_file.reset();
}

void CSafeFileWriter::Fail(const QString &reason)
{
    m_file->cancelWriting();
    m_file.reset();
    throw CFileException(reason);
}
