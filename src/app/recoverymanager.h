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
// editor loses nothing: a short quiet while after the last change, and never later than
// Delays::LongestMs after the first change not yet in the copy (so at least that often
// during continuous work), the figure is written, in the figure file format and
// atomically, to a folder of the user's data location. Next to the copy go
// the name of the figure's own file (so that Save can suggest it again) and a lock
// file: every running editor owns one copy, and copies whose editor no longer runs are
// offered at the next start, newest first. Saving the figure, or ending the editor on
// purpose, removes the copy. The folder is used only when it is the user's own and no
// link; then the editor works without copies and says so once. The user's own files
// are never written or removed: only entries of this program's names and contents are
// tidied, and a link or anything but a regular file is never followed.
class CRecoveryManager : public QObject
{
    Q_OBJECT

public:
    // How long the copy waits: for QuietMs without a change, but never longer than
    // LongestMs after the first change it does not hold yet.
    struct Delays
    {
        int QuietMs = 2000;
        int LongestMs = 5000;
    };
    static constexpr const char *RestoreQuestion = QT_TRANSLATE_NOOP(
        "CRecoveryManager", "Tarvex was closed without saving a figure. Restore it?");

    // folder: where the copies live; empty for the user's data location + "recovery".
    explicit CRecoveryManager(CTarvexDoc &doc, const QString &folder = QString(), QObject *parent = nullptr);
    CRecoveryManager(CTarvexDoc &doc, const QString &folder, const Delays &delays, QObject *parent = nullptr);
    ~CRecoveryManager() override;

    static QString DefaultFolder();

    // Tidies the folder (special entries, temporaries of interrupted writes: the newest
    // complete copy of each ended editor is kept), then offers, through the
    // document's ui, the copies left by editors that no longer run, newest first (an
    // editor of another machine counts as ended);
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
        QString Name; // the figure's own file name, empty when it has none
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
    // The lock of an editor that no longer runs (or ran on another machine), taken;
    // null while its editor runs.
    std::unique_ptr<QLockFile> TryLock(const QString &id) const;
    bool IsForeignLock(const QString &id) const;
    // Makes the folder (and the folders between it and the user's data folder) when
    // missing; empty when it can be used, else why not.
    QString PrepareFolder() const;
    // True when every entry of this id is a regular file of this user.
    bool IsOwnId(const QString &id) const;
    // Keeps the newest complete copy of an ended editor as its copy and removes the
    // temporaries of interrupted writes; false when no complete copy is left.
    bool SettleCopy(const QString &id) const;
    // The answer to the question about one orphaned copy; true when it was restored.
    bool Offer(const QString &id, std::unique_ptr<QLockFile> &lock, bool &stop);
    void RemoveFiles(const QString &id) const;
    void OnDocumentChanged();
    void OnTimeout();

    CTarvexDoc &m_doc;
    QString m_folder;
    Delays m_delays;
    QString m_id;
    std::unique_ptr<QLockFile> m_lock;
    QTimer m_quietTimer;
    QTimer m_longestTimer;
    bool m_hasCopy = false;
    QString m_writtenName; // the file name last written beside the copy
    bool m_warned = false;
    std::future<Result> m_pending; // the write on the other thread, if any
};
