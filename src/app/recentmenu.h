// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/recentfiles.h"

#include <QMenu>

class QSettings;

// The menu of the recent figures button: the figure files last opened or saved,
// newest first, then the example figures with their pictures in a submenu of their
// own. It is filled afresh each time it opens, from the settings store, so it also
// shows files another running editor added. Choosing an entry only reports it; the
// main window asks about unsaved changes and opens.
class CRecentMenu : public QMenu
{
    Q_OBJECT

public:
    // store: where the list lives; null for the program's settings store.
    explicit CRecentMenu(QWidget *parent = nullptr, QSettings *store = nullptr);

    CRecentFiles &Files() { return m_files; }
    QMenu *ExamplesMenu() const { return m_examples; }

    // Fills the menu from the list (also done whenever it is about to show).
    void Rebuild();
    // The text of the entry for the n-th file (from 0): its number as the key, its
    // name and its folder.
    static QString EntryText(int n, const QString &path);

Q_SIGNALS:
    void FileChosen(const QString &path);
    // An example figure (a resource of the program) was chosen.
    void ExampleChosen(const QString &path);

private:
    CRecentFiles m_files;
    QMenu *m_examples = nullptr; // owned by this menu
};
