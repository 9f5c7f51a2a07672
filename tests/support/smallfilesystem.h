// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTemporaryDir>

// A tmpfs of a few kilobytes mounted on a temporary folder, for tests of what happens
// when the disk is full or read-only. Mounting needs root (or the right to mount);
// where it is not allowed IsMounted() is false and the test should skip.
class CSmallFileSystem
{
public:
    explicit CSmallFileSystem(qint64 sizeBytes);
    ~CSmallFileSystem();

    bool IsMounted() const { return m_mounted; }
    QString Path() const { return m_dir.path(); }
    QString FilePath(const QString &name) const { return m_dir.filePath(name); }
    // Remounts the file system read-only; false when that is not allowed.
    bool MakeReadOnly();
    // Why mounting failed.
    QString Error() const { return m_error; }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    qint64 m_size = 0;
    QString m_error;
};
