// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// What a figure file held when this editor last read or wrote it: its size, its
// modification time and a hash of its bytes. Before the editor writes over the file
// again it compares the file on disk with this, so the work of another editor (or
// program) saved there meanwhile is not replaced unasked.
class CFileStamp
{
public:
    CFileStamp() = default;
    // The stamp of the bytes just read from a file whose modification time is modifiedNs
    // (nanoseconds since the epoch).
    CFileStamp(const QByteArray &data, qint64 modifiedNs);

    // The file at path as it is now; an invalid stamp when it cannot be read.
    static CFileStamp Of(const QString &path);

    bool IsValid() const { return m_size >= 0; }
    // True when the file at path is no longer what this stamp was taken of: another
    // size, or another modification time and other bytes (a file touched without
    // being changed counts as the same). A file that is gone, or that cannot be read,
    // has nothing that could be lost and counts as unchanged.
    bool Differs(const QString &path) const;

private:
    static QByteArray HashOf(const QByteArray &data);

    qint64 m_size = -1;
    qint64 m_modifiedNs = 0;
    QByteArray m_hash;
};
