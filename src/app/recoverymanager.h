// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/figure.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <future>
#include <memory>

class CTarvexDoc;
class QLockFile;

// Keeps a recovery copy of a figure with unsaved changes, so that a crash or a killed
// editor loses nothing: a short while after the last change (and at least every
// LongestDelayMs during continuous work) the figure is written, in the figure file
// format and atomically, to a folder of the user's data location. Next to the copy go
// the name of the figure's own file (so that Save can suggest it again) and a lock
// file: every running editor owns one copy, and copies whose editor no longer runs are
// offered at the next start. Saving the figure, or ending the editor on purpose,
// removes the copy. The user's own files are never written.
class CRecoveryManager : public QObject
{
    Q_OBJECT

public:
    static constexpr int QuietDelayMs = 2000;
    static constexpr int LongestDelayMs = 30000;
    static constexpr const char *RestoreQuestion =
        QT_TRANSLATE_NOOP("CRecoveryManager", "Tarvex was closed without saving a figure. Restore it?");

    // folder: where the copies live; empty for the user's data location + "recovery".
    explicit CRecoveryManager(CTarvexDoc &doc, const QString &folder = QString(), QObject *parent = nullptr);
    ~CRecoveryManager() override;

    static QString DefaultFolder();

    // Offers, through the document's ui, a copy left by an editor that no longer runs;
    // Restore opens it as an unsaved figure (it then stays this editor's copy), Discard
    // deletes it. Then takes this editor's own copy and starts watching the document.
    // True when a figure was restored.
    bool Start();

    // Writes the copy now, on this thread; false (after one quiet message per editor)
    // when it could not be written. The timers write on a thread of their own.
    bool WriteCopy();
    // Starts writing the copy on a thread of its own (after any write still under way)
    // and returns at once; the outcome is taken up on this thread later.
    void StartWrite();
    // Waits until a copy being written on the other thread is on disk (or has failed)
    // and takes up the outcome.
    void WaitForWrite();
    // Removes this editor's copy: the figure was saved or given up on purpose.
    void RemoveCopy();

    QString Folder() const { return m_folder; }
    QString CopyPath() const { return FilePath(m_id, ".xml"); }
    bool IsActive() const { return m_lock != nullptr; }

private:
    // What one write of the copy needs, taken on the interface's thread.
    struct Job
    {
        CFigure Figure;
        QString CopyPath;
        QString NamePath;
        QString Name;       // the figure's own file name, empty when it has none
        bool WriteName = true;
    };
    struct Result
    {
        bool Ok = false;
        QString Error;
        QString Name;
    };
    Job MakeJob() const;
    // Writes the name file and the copy; safe on any thread (it reads only the job).
    static bool WriteFiles(const Job &job, QString *error);
    bool OnWritten(bool ok, const QString &error, const QString &name);

    QString FilePath(const QString &id, const char *suffix) const;
    std::unique_ptr<QLockFile> TryLock(const QString &id) const;
    // The answer to the question about one orphaned copy; true when it was restored.
    bool Offer(const QString &id, std::unique_ptr<QLockFile> &lock, bool &stop);
    void RemoveFiles(const QString &id) const;
    void OnDocumentChanged();
    void OnTimeout();

    CTarvexDoc &m_doc;
    QString m_folder;
    QString m_id;
    std::unique_ptr<QLockFile> m_lock;
    QTimer m_quietTimer;
    QTimer m_longestTimer;
    bool m_hasCopy = false;
    QString m_writtenName;   // the file name last written beside the copy
    bool m_warned = false;
    std::future<Result> m_pending;   // the write on the other thread, if any
};
