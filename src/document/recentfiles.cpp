// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/recentfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>
#include <climits>
#include <memory>

namespace {

// The program's own store unless the caller gave one.
class StoreAccess
{
public:
    explicit StoreAccess(QSettings *given)
        : m_own(given ? nullptr : std::make_unique<QSettings>(QStringLiteral("Brellow"), QStringLiteral("Tarvex")))
        , m_store(given ? given : m_own.get())
    {
        m_store->beginGroup(QLatin1String(CRecentFiles::Group));
    }
    ~StoreAccess() { m_store->endGroup(); }
    QSettings &operator*() const { return *m_store; }

private:
    std::unique_ptr<QSettings> m_own;
    QSettings *m_store;
};

QString Key(int i)
{
    return QStringLiteral("File%1").arg(i + 1);
}

#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity PathCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity PathCase = Qt::CaseSensitive;
#endif

bool SameFile(const QString &a, const QString &b)
{
    return a.compare(b, PathCase) == 0;
}

} // namespace

CRecentFiles::CRecentFiles(QSettings *store)
    : m_store(store)
{
}

QString CRecentFiles::Normalised(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QStringList CRecentFiles::Files() const
{
    StoreAccess store(m_store);
    QStringList files;
    for (int i = 0; i < MaxCount; ++i) {
        const QString file = (*store).value(Key(i)).toString();
        // A store edited by hand may hold gaps, repeats, relative names or names longer
        // than any path the system can open (which would only make the menu crawl).
        if (file.isEmpty() || file.size() > PATH_MAX || QFile::encodeName(file).size() > PATH_MAX
            || QDir::isRelativePath(file))
            continue;
        if (std::none_of(files.cbegin(), files.cend(), [&](const QString &f) { return SameFile(f, file); }))
            files << file;
    }
    return files;
}

void CRecentFiles::Add(const QString &path)
{
    if (path.isEmpty() || path.startsWith(QLatin1Char(':')))
        return;
    const QString file = Normalised(path);
    QStringList files = Files();
    files.erase(std::remove_if(files.begin(), files.end(), [&](const QString &f) { return SameFile(f, file); }),
                files.end());
    files.prepend(file);
    Write(files.mid(0, MaxCount));
}

void CRecentFiles::Remove(const QString &path)
{
    const QString file = Normalised(path);
    QStringList files = Files();
    files.erase(std::remove_if(files.begin(), files.end(), [&](const QString &f) { return SameFile(f, file); }),
                files.end());
    Write(files);
}

void CRecentFiles::Clear()
{
    Write({});
}

void CRecentFiles::Write(const QStringList &files)
{
    StoreAccess store(m_store);
    (*store).remove(QString());
    for (int i = 0; i < files.size(); ++i)
        (*store).setValue(Key(i), files[i]);
    (*store).sync();
}
