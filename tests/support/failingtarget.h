// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <memory>

class CFileSizeLimit;
class CSmallFileSystem;

// A place where saving a file must fail, possibly holding a previous version of the
// file that the failed save has to leave untouched. Cases that the machine cannot set
// up (mounting needs root; permissions mean nothing to root) report a skip reason.
class CFailingTarget
{
public:
    enum class Kind { MissingFolder, UnwritableFolder, ReadOnlyFileSystem, DiskFull, FileSizeLimit };

    // newSize is about how many bytes the save will write; DiskFull and FileSizeLimit
    // make room for less than that.
    CFailingTarget(Kind kind, const QString &fileName, const QByteArray &previous, qint64 newSize);
    ~CFailingTarget();

    QString SkipReason() const { return m_skip; }
    QString Path() const { return m_path; }
    // Surrounds the save: turns the file size limit on and off.
    void Arm();
    void Disarm();
    // True when the folder holds nothing but the previous file, unchanged (or
    // nothing at all when there was none); otherwise why explains.
    bool Untouched(QString *why) const;

private:
    Kind m_kind;
    QString m_path;
    QString m_folder;
    QByteArray m_previous;
    qint64 m_newSize = 0;
    QString m_skip;
    QTemporaryDir m_dir;
    std::unique_ptr<CSmallFileSystem> m_fs;
    std::unique_ptr<CFileSizeLimit> m_limit;
};
