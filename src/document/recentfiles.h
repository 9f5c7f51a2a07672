// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class QSettings;

// The figure files last opened or saved, newest first, at most MaxCount of them. They
// are kept in the settings store in a group of their own ("RecentFiles", values
// "File1" .. "File10"), so every running editor and the next start see the same list.
// Each operation reads the store afresh and writes it back at once.
class CRecentFiles
{
public:
    static constexpr int MaxCount = 10;
    static constexpr const char *Group = "RecentFiles";

    // store: where the list lives; null for the program's settings store.
    explicit CRecentFiles(QSettings *store = nullptr);

    QStringList Files() const;
    // Puts path (made absolute) first; an earlier entry for the same file goes, and
    // the oldest beyond MaxCount are dropped. Resource paths (":/...") are no user's
    // files and are not listed.
    void Add(const QString &path);
    void Remove(const QString &path);
    void Clear();

    // The absolute, clean form in which paths are listed and compared.
    static QString Normalised(const QString &path);

private:
    void Write(const QStringList &files);

    QSettings *m_store;
};
