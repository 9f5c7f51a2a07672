// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/recoverymanager.h"

#include "document/documentui.h"
#include "document/tarvexdoc.h"
#include "files/figurexml.h"
#include "files/fileexception.h"
#include "files/safefilewriter.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

namespace {

const char *const AppCaption = "Tarvex";
const char *const CopySuffix = ".xml";
const char *const NameSuffix = ".name";
const char *const LockSuffix = ".lock";
// The longest name file that is read back; a path is far shorter.
constexpr qint64 MaxNameSize = 64 * 1024;

} // namespace

CRecoveryManager::CRecoveryManager(CTarvexDoc &doc, const QString &folder, QObject *parent)
    : QObject(parent)
    , m_doc(doc)
    , m_folder(folder.isEmpty() ? DefaultFolder() : folder)
{
    m_quietTimer.setSingleShot(true);
    m_longestTimer.setSingleShot(true);
    connect(&m_quietTimer, &QTimer::timeout, this, &CRecoveryManager::OnTimeout);
    connect(&m_longestTimer, &QTimer::timeout, this, &CRecoveryManager::OnTimeout);
}

// A write under way is finished first. The lock is released (its file removed) here;
// the copy stays unless RemoveCopy ran.
CRecoveryManager::~CRecoveryManager()
{
    if (m_pending.valid())
        m_pending.wait();
}

QString CRecoveryManager::DefaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/recovery");
}

QString CRecoveryManager::FilePath(const QString &id, const char *suffix) const
{
    return m_folder + QLatin1Char('/') + id + QLatin1String(suffix);
}

std::unique_ptr<QLockFile> CRecoveryManager::TryLock(const QString &id) const
{
    auto lock = std::make_unique<QLockFile>(FilePath(id, LockSuffix));
    // Only a lock whose editor has ended is stale, however long that editor has run.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

void CRecoveryManager::RemoveFiles(const QString &id) const
{
    QFile::remove(FilePath(id, CopySuffix));
    QFile::remove(FilePath(id, NameSuffix));
}

bool CRecoveryManager::Start()
{
    bool restored = false;
    if (QDir().mkpath(m_folder)) {
        QDir dir(m_folder);
        // Newest copy first.
        const QStringList copies = dir.entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Time);
        bool stop = false;
        for (const QString &file : copies) {
            if (stop)
                break;
            const QString id = QFileInfo(file).completeBaseName();
            std::unique_ptr<QLockFile> lock = TryLock(id);
            if (!lock)
                continue;   // its editor still runs
            if (Offer(id, lock, stop)) {
                m_id = id;
                m_lock = std::move(lock);
                m_hasCopy = true;
                m_writtenName = m_doc.PathName();
                restored = true;
            }
        }
        // Lock files of ended editors that never wrote a copy.
        for (const QString &file : dir.entryList({QStringLiteral("*.lock")}, QDir::Files)) {
            const QString id = QFileInfo(file).completeBaseName();
            if (id != m_id && !QFile::exists(FilePath(id, CopySuffix)))
                TryLock(id);   // taken and released at once, which removes it
        }
        if (!m_lock) {
            m_id = QStringLiteral("%1-%2")
                       .arg(QCoreApplication::applicationPid())
                       .arg(QDateTime::currentMSecsSinceEpoch());
            m_lock = TryLock(m_id);
        }
    }
    connect(&m_doc, &CTarvexDoc::UpdateAllViews, this, &CRecoveryManager::OnDocumentChanged);
    // The restored figure is unsaved: its copy is watched from now on.
    if (restored)
        OnDocumentChanged();
    return restored;
}

bool CRecoveryManager::Offer(const QString &id, std::unique_ptr<QLockFile> &lock, bool &stop)
{
    CDocumentUi *ui = m_doc.Ui();
    const CDocumentUi::Answer answer =
        ui ? ui->AskRestoreDiscard(tr(RestoreQuestion), QString::fromLatin1(AppCaption))
           : CDocumentUi::Answer::Cancel;
    if (answer == CDocumentUi::Answer::Cancel) {
        // Neither button: the copy waits for the next start.
        stop = true;
        return false;
    }
    if (answer == CDocumentUi::Answer::No) {
        RemoveFiles(id);
        return false;
    }
    stop = true;
    QString name;
    QFile nameFile(FilePath(id, NameSuffix));
    if (nameFile.open(QIODevice::ReadOnly))
        name = QString::fromUtf8(nameFile.read(MaxNameSize));
    // A copy that cannot be read has been reported by the document and is of no use.
    if (!m_doc.OpenRecovered(FilePath(id, CopySuffix), name)) {
        RemoveFiles(id);
        lock.reset();
        return false;
    }
    if (ui && !name.isEmpty())
        ui->SuggestSaveFileName(name);
    return true;
}

void CRecoveryManager::OnDocumentChanged()
{
    if (m_doc.IsSaved() || m_doc.Figure().IsEmpty()) {
        // Nothing is lost if the editor ends now.
        m_quietTimer.stop();
        m_longestTimer.stop();
        RemoveCopy();
        return;
    }
    m_quietTimer.start(QuietDelayMs);
    if (!m_longestTimer.isActive())
        m_longestTimer.start(LongestDelayMs);
}

void CRecoveryManager::OnTimeout()
{
    m_quietTimer.stop();
    m_longestTimer.stop();
    if (m_doc.IsSaved() || m_doc.Figure().IsEmpty())
        RemoveCopy();
    else
        StartWrite();
}

void CRecoveryManager::StartWrite()
{
    // The figure value is taken here (its rows are shared, so this is cheap); the
    // files are written on a thread of their own, so the interface is held only for
    // the hand-over.
    WaitForWrite();
    if (!m_lock) {
        OnWritten(false, tr("The folder %1 cannot be used.").arg(m_folder), QString());
        return;
    }
    const Job job = MakeJob();
    m_pending = std::async(std::launch::async, [this, job] {
        Result result;
        result.Ok = WriteFiles(job, &result.Error);
        result.Name = job.Name;
        // The outcome is taken up on the interface's thread.
        QMetaObject::invokeMethod(this, [this] { WaitForWrite(); }, Qt::QueuedConnection);
        return result;
    });
}

CRecoveryManager::Job CRecoveryManager::MakeJob() const
{
    Job job;
    job.Figure = m_doc.Figure();
    job.CopyPath = CopyPath();
    job.NamePath = FilePath(m_id, NameSuffix);
    job.Name = m_doc.PathName();
    // The name file is written only when it differs from the one beside the copy.
    job.WriteName = !(m_hasCopy && job.Name == m_writtenName);
    return job;
}

bool CRecoveryManager::WriteFiles(const Job &job, QString *error)
{
    // The name first: a copy is never paired with the name of another figure.
    return CFileException::Guard(error, [&] {
        if (!job.WriteName)
            return true;
        if (job.Name.isEmpty()) {
            QFile::remove(job.NamePath);
        } else {
            const QByteArray name = job.Name.toUtf8();
            CSafeFileWriter writer(job.NamePath);
            writer.Write(name.constData(), name.size());
            writer.Commit();
        }
        return true;
    }) && CFigureXml::Save(job.Figure, job.CopyPath, error);
}

bool CRecoveryManager::WriteCopy()
{
    WaitForWrite();
    if (!m_lock)
        return OnWritten(false, tr("The folder %1 cannot be used.").arg(m_folder), QString());
    const Job job = MakeJob();
    QString error;
    const bool ok = WriteFiles(job, &error);
    return OnWritten(ok, error, job.Name);
}

bool CRecoveryManager::OnWritten(bool ok, const QString &error, const QString &name)
{
    if (ok) {
        m_hasCopy = true;
        m_writtenName = name;
        return true;
    }
    if (!m_warned && m_doc.Ui()) {
        m_warned = true;
        m_doc.Ui()->ShowMessage(tr("The recovery copy of the figure could not be written; "
                                   "this is not said again.\n%1").arg(error),
                                QString::fromLatin1(AppCaption), CDocumentUi::Icon::Exclamation);
    }
    return false;
}

void CRecoveryManager::WaitForWrite()
{
    if (!m_pending.valid())
        return;
    const Result result = m_pending.get();
    OnWritten(result.Ok, result.Error, result.Name);
}

void CRecoveryManager::RemoveCopy()
{
    // A write still under way would bring the copy back after the removal.
    WaitForWrite();
    if (!m_lock || !m_hasCopy)
        return;
    RemoveFiles(m_id);
    m_hasCopy = false;
    m_writtenName.clear();
}
