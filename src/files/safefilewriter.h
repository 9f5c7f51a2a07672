// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QString>
#include <memory>

class QSaveFile;

// Writes a file so that it is either replaced completely or not at all: the bytes go
// to a temporary file beside the target, which replaces the target only on Commit.
// Every failure (folder missing or not writable, short write on a full disk, failed
// rename) throws CFileException with the reason; a writer destroyed before Commit
// discards what it wrote and leaves any previous file untouched. A target that exists
// and is not a regular file (a pipe, a device, ...) is refused before anything is written.
class CSafeFileWriter
{
    Q_DECLARE_TR_FUNCTIONS(CSafeFileWriter)

public:
    explicit CSafeFileWriter(const QString &path);
    ~CSafeFileWriter();

    CSafeFileWriter(const CSafeFileWriter &) = delete;
    CSafeFileWriter &operator=(const CSafeFileWriter &) = delete;

    void Write(const char *data, qint64 size);
    void Commit();

private:
    [[noreturn]] void Fail(const QString &reason);

    QString m_path;
    std::unique_ptr<QSaveFile> m_file;
};
