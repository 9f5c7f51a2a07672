// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/smallfilesystem.h"

#include <QByteArray>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>

CSmallFileSystem::CSmallFileSystem(qint64 sizeBytes)
    : m_size(sizeBytes)
{
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("no temporary folder");
        return;
    }
    const QByteArray options = "size=" + QByteArray::number(sizeBytes);
    if (mount("tarvex-test", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0, options.constData()) == 0)
        m_mounted = true;
    else
        m_error = QString::fromLocal8Bit(std::strerror(errno));
}

CSmallFileSystem::~CSmallFileSystem()
{
    if (m_mounted)
        umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
}

bool CSmallFileSystem::MakeReadOnly()
{
    if (!m_mounted)
        return false;
    const QByteArray options = "size=" + QByteArray::number(m_size);
    return mount("tarvex-test", QFile::encodeName(m_dir.path()).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY,
                 options.constData())
           == 0;
}
