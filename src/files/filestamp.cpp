// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/filestamp.h"

#include "files/regularfile.h"
#include "files/xmlelement.h"

#include <QCryptographicHash>
#include <QFile>

#include <sys/stat.h>

CFileStamp::CFileStamp(const QByteArray &data, qint64 modifiedNs)
    : m_size(data.size())
    , m_modifiedNs(modifiedNs)
    , m_hash(HashOf(data))
{
}

QByteArray CFileStamp::HashOf(const QByteArray &data)
{
    return QCryptographicHash::hash(data, QCryptographicHash::Sha256);
}

CFileStamp CFileStamp::Of(const QString &path)
{
    CRegularFile file;
    QByteArray data;
    if (!file.OpenRead(path) || !file.ReadAll(&data, CXmlElement::MaxFileSize))
        return CFileStamp();
    return CFileStamp(data, file.ModifiedNs());
}

bool CFileStamp::Differs(const QString &path) const
{
    if (!IsValid())
        return false;
    // A look by name first: most saves meet the file as this editor left it, and
    // then it is not read again.
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    if (qint64(info.st_size) != m_size)
        return true;
    if (qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec == m_modifiedNs)
        return false;
    const CFileStamp now = Of(path);
    return now.IsValid() && (now.m_size != m_size || now.m_hash != m_hash);
}
