// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/recoverymanager.h"

#include "document/documentcommands.h"
#include "document/documentui.h"
#include "document/tarvexdoc.h"
#include "files/figurexml.h"
#include "files/fileexception.h"
#include "files/regularfile.h"
#include "files/safefilewriter.h"
#include "files/xmlelement.h"
#include "geometry/figure.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QSysInfo>

#include <algorithm>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char *const AppCaption = "Tarvex";
const char *const CopySuffix = ".xml";
const char *const NameSuffix = ".name";
const char *const LockSuffix = ".lock";
// The longest name file that is read back; a path is far shorter.
constexpr qint64 MaxNameSize = 64 * 1024;
// A lock file holds a process id and a few names.
constexpr qint64 MaxLockSize = 4096;

// Removes path when it is there as anything but a regular file: the entry itself, so
// a link is never followed and a pipe never opened.
void RemoveIfSpecial(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info;
    if (::lstat(name.constData(), &info) != 0 || S_ISREG(info.st_mode))
        return;
    if (S_ISDIR(info.st_mode))
        ::rmdir(name.constData()); // only an empty one: nothing of the user's goes
    else
        ::unlink(name.constData());
}

// A copy that reads as a whole figure file (an interrupted write does not).
bool IsCompleteCopy(const QString &path)
{
    QByteArray data;
    CFigure figure;
    return CRegularFile::ReadFile(path, CXmlElement::MaxFileSize, &data, nullptr, CRegularFile::Links::Refuse)
           && CFigureXml::LoadFromData(data, figure, nullptr);
}

QDateTime ModifiedAt(const QString &path)
{
    return QFileInfo(path).fileTime(QFileDevice::FileModificationTime);
}

} // namespace

CRecoveryManager::CRecoveryManager(CTarvexDoc &doc, const QString &folder, QObject *parent)
    : CRecoveryManager(doc, folder, Delays(), parent)
{
}

CRecoveryManager::CRecoveryManager(CTarvexDoc &doc, const QString &folder, const Delays &delays, QObject *parent)
    : QObject(parent)
    , m_doc(doc)
    , m_folder(folder.isEmpty() ? DefaultFolder() : folder)
    , m_delays(delays)
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
    if (lock->tryLock(0))
        return lock;
    // A lock written on another machine (or another installation sharing this home
    // folder) is never stale to the lock file itself; its editor is not running here.
    if (IsForeignLock(id) && lock->removeStaleLockFile() && lock->tryLock(0))
        return lock;
    return nullptr;
}

bool CRecoveryManager::IsForeignLock(const QString &id) const
{
    // The lock file's lines: process id, program, host name, machine id, boot id.
    QByteArray data;
    if (!CRegularFile::ReadFile(FilePath(id, LockSuffix), MaxLockSize, &data, nullptr, CRegularFile::Links::Refuse))
        return false;
    const QList<QByteArray> lines = data.split('\n');
    const QByteArray machine = lines.value(3);
    if (!machine.isEmpty())
        return machine != QSysInfo::machineUniqueId();
    const QByteArray host = lines.value(2);
    return !host.isEmpty() && QString::fromUtf8(host) != QSysInfo::machineHostName();
}

void CRecoveryManager::RemoveSpecialEntries() const
{
    const QDir dir(m_folder);
    for (const QString &entry : dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        RemoveIfSpecial(dir.filePath(entry));
}

bool CRecoveryManager::SettleCopy(const QString &id) const
{
    // The copy and the temporaries a killed write left beside it (ID.xml.XXXXXX):
    // the newest that is complete becomes the copy, the rest goes.
    const QString copy = FilePath(id, CopySuffix);
    const QDir dir(m_folder);
    QStringList candidates;
    if (QFileInfo::exists(copy))
        candidates << copy;
    const QStringList temporaries = dir.entryList(
        {id + QLatin1String(CopySuffix) + QLatin1String(".*"), id + QLatin1String(NameSuffix) + QLatin1String(".*")},
        QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &file : temporaries) {
        if (file.startsWith(id + QLatin1String(CopySuffix)))
            candidates << dir.filePath(file);
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const QString &a, const QString &b) { return ModifiedAt(a) > ModifiedAt(b); });
    QString kept;
    for (const QString &candidate : std::as_const(candidates)) {
        if (IsCompleteCopy(candidate)) {
            kept = candidate;
            break;
        }
    }
    if (!kept.isEmpty() && kept != copy
        && std::rename(QFile::encodeName(kept).constData(), QFile::encodeName(copy).constData()) != 0)
        kept.clear();
    for (const QString &file : temporaries)
        QFile::remove(dir.filePath(file));
    return !kept.isEmpty();
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
        RemoveSpecialEntries();
        // Every editor that left something behind: the copy, a temporary, a name or a lock.
        QStringList ids;
        for (const QString &file : QDir(m_folder).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
            const QString id = file.section(QLatin1Char('.'), 0, 0);
            if (!id.isEmpty() && !ids.contains(id))
                ids << id;
        }
        struct Left
        {
            QString Id;
            QDateTime Time;
            std::unique_ptr<QLockFile> Lock;
        };
        std::vector<Left> left;
        for (const QString &id : std::as_const(ids)) {
            std::unique_ptr<QLockFile> lock = TryLock(id);
            if (!lock)
                continue; // its editor still runs
            if (SettleCopy(id))
                left.push_back({id, ModifiedAt(FilePath(id, CopySuffix)), std::move(lock)});
            else
                RemoveFiles(id); // nothing to offer; the lock goes when released
        }
        // Newest copy first.
        std::stable_sort(left.begin(), left.end(), [](const Left &a, const Left &b) { return a.Time > b.Time; });
        bool stop = false;
        for (Left &copy : left) {
            if (stop)
                break;
            if (Offer(copy.Id, copy.Lock, stop)) {
                m_id = copy.Id;
                m_lock = std::move(copy.Lock);
                m_hasCopy = true;
                m_writtenName = m_doc.PathName();
                restored = true;
            }
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
    const CDocumentUi::Answer answer = ui ? ui->AskRestoreDiscard(tr(RestoreQuestion), QString::fromLatin1(AppCaption))
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
    QByteArray nameBytes;
    if (CRegularFile::ReadFile(FilePath(id, NameSuffix), MaxNameSize, &nameBytes, nullptr, CRegularFile::Links::Refuse))
        name = QString::fromUtf8(nameBytes);
    // A copy that cannot be read has been reported by the document and is of no use.
    if (!CDocumentCommands(m_doc).Open(FilePath(id, CopySuffix), CDocumentCommands::OpenAs::Recovered, name)) {
        RemoveFiles(id);
        lock.reset();
        return false;
    }
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
    m_quietTimer.start(m_delays.QuietMs);
    if (!m_longestTimer.isActive())
        m_longestTimer.start(m_delays.LongestMs);
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
        QMetaObject::invokeMethod(
            this, [this] { WaitForWrite(); }, Qt::QueuedConnection);
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
    // Something put in place of the files (a link to a user's file, a pipe) is removed,
    // never written through.
    RemoveIfSpecial(job.NamePath);
    RemoveIfSpecial(job.CopyPath);
    // The name first: a copy is never paired with the name of another figure.
    return CFileException::Guard(error,
                                 [&] {
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
                                 })
           && CFigureXml::Save(job.Figure, job.CopyPath, error);
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
                                   "this is not said again.\n%1")
                                    .arg(error),
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
