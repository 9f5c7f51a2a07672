// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/failingtarget.h"

#include "support/filesizelimit.h"
#include "support/smallfilesystem.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

CFailingTarget::CFailingTarget(Kind kind, const QString &fileName, const QByteArray &previous, qint64 newSize)
    : m_kind(kind)
    , m_previous(previous)
    , m_newSize(newSize)
{
    switch (kind) {
    case Kind::MissingFolder:
        m_folder = m_dir.filePath("missing");
        break;
    case Kind::UnwritableFolder:
        if (geteuid() == 0) {
            // Root may write anywhere permissions allow nothing; a folder of the proc
            // file system refuses new files even to root.
            m_folder = QStringLiteral("/proc/self");
            m_previous.clear();
        } else {
            m_folder = m_dir.path();
        }
        break;
    case Kind::ReadOnlyFileSystem:
    case Kind::DiskFull:
        m_fs = std::make_unique<CSmallFileSystem>(kind == Kind::DiskFull ? qMax<qint64>(newSize / 4, 16384)
                                                                         : 1024 * 1024);
        if (!m_fs->IsMounted()) {
            m_skip = QStringLiteral("cannot mount a small tmpfs here: ") + m_fs->Error();
            return;
        }
        m_folder = m_fs->Path();
        break;
    case Kind::FileSizeLimit:
        m_folder = m_dir.path();
        break;
    }
    m_path = m_folder + QLatin1Char('/') + fileName;
    if (!m_previous.isEmpty() && kind != Kind::MissingFolder && !WriteFile(m_path, m_previous))
        m_skip = QStringLiteral("cannot write the previous file");
    if (kind == Kind::UnwritableFolder && geteuid() != 0)
        QFile::setPermissions(m_folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (kind == Kind::ReadOnlyFileSystem && m_skip.isEmpty() && !m_fs->MakeReadOnly())
        m_skip = QStringLiteral("cannot remount the tmpfs read-only");
    if (kind == Kind::DiskFull && m_skip.isEmpty()) {
        // Fill the disk but for a little room, so the save surely runs out of space.
        QFile filler(m_folder + QStringLiteral("/.filler"));
        if (filler.open(QIODevice::WriteOnly)) {
            const QByteArray block(4096, 'x');
            while (filler.write(block) == block.size() && filler.flush()) { }
            filler.close();
            filler.resize(qMax<qint64>(0, filler.size() - 8192));
        }
    }
}

CFailingTarget::~CFailingTarget()
{
    Disarm();
    if (m_kind == Kind::UnwritableFolder && geteuid() != 0)
        QFile::setPermissions(m_folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void CFailingTarget::Arm()
{
    if (m_kind == Kind::FileSizeLimit)
        m_limit = std::make_unique<CFileSizeLimit>(qMax<qint64>(m_previous.size() + 1, m_newSize / 2));
}

void CFailingTarget::Disarm()
{
    m_limit.reset();
}

bool CFailingTarget::Untouched(QString *why) const
{
    if (m_kind == Kind::MissingFolder) {
        if (QFileInfo::exists(m_folder)) {
            *why = QStringLiteral("the missing folder was created");
            return false;
        }
        return true;
    }
    if (m_kind == Kind::UnwritableFolder && geteuid() == 0) {
        if (QFileInfo::exists(m_path)) {
            *why = QStringLiteral("a file appeared in the proc file system");
            return false;
        }
        return true;
    }
    QStringList entries = QDir(m_folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    entries.removeAll(QStringLiteral(".filler"));
    const QStringList expected = m_previous.isEmpty() ? QStringList() : QStringList{QFileInfo(m_path).fileName()};
    if (entries != expected) {
        *why = QStringLiteral("folder holds: ") + entries.join(QStringLiteral(", "));
        return false;
    }
    if (!m_previous.isEmpty()) {
        QFile f(m_path);
        if (!f.open(QIODevice::ReadOnly) || f.readAll() != m_previous) {
            *why = QStringLiteral("the previous file changed");
            return false;
        }
    }
    return true;
}
