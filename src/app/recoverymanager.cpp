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
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSysInfo>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
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

// How every figure file this program writes begins: a temporary of an interrupted
// write of a copy holds a part of it.
const char FigureFileHead[] = "<xml>\r\n<Application>\r\nTarvex\r\n</Application>\r\n<Version>\r\n";

// The name of an entry an editor writes in the folder: "PID-TIME" (its id), then
// ".xml", ".name" or ".lock", then for a temporary of a write six more letters.
const QRegularExpression &OwnEntryPattern()
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]+-[0-9]+)\\.(xml|name|lock)(\\.[A-Za-z0-9]{6})?$"));
    return pattern;
}

// True when path is a regular file of this user, looked at without following a link.
bool IsOwnRegularFile(const QString &path)
{
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode)
           && info.st_uid == ::geteuid();
}

// True when nothing is at path, or a regular file of this user.
bool IsFreeOrOwnFile(const QString &path)
{
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) != 0 ? errno == ENOENT : IsOwnRegularFile(path);
}

// What an entry holds, when it is a regular file of this user (never through a link).
bool ReadOwnFile(const QString &path, qint64 maxSize, QByteArray *data)
{
    return IsOwnRegularFile(path) && CRegularFile::ReadFile(path, maxSize, data, nullptr, CRegularFile::Links::Refuse);
}

// A copy, or a temporary of one, as this program writes them: the beginning of a
// figure file (a write may have been cut anywhere).
bool LooksLikeOwnCopy(const QString &path)
{
    QByteArray data;
    if (!ReadOwnFile(path, CXmlElement::MaxFileSize, &data))
        return false;
    const QByteArray head(FigureFileHead);
    return data.startsWith(head) || head.startsWith(data);
}

// A copy that reads as a whole figure file (an interrupted write does not).
bool IsCompleteCopy(const QString &path)
{
    QByteArray data;
    CFigure figure;
    return CRegularFile::ReadFile(path, CXmlElement::MaxFileSize, &data, nullptr, CRegularFile::Links::Refuse)
           && CFigureXml::LoadFromData(data, figure, nullptr);
}

// The name of a figure's own file, as written beside a copy: one line of text.
bool LooksLikeOwnName(const QString &path)
{
    QByteArray data;
    return ReadOwnFile(path, MaxNameSize, &data) && !data.contains('\n') && !data.contains('\0')
           && QString::fromUtf8(data).toUtf8() == data;
}

// Removes path only when the check says this program wrote it.
void RemoveOwn(const QString &path, bool (*wroteIt)(const QString &))
{
    if (wroteIt(path))
        QFile::remove(path);
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

bool CRecoveryManager::IsOwnId(const QString &id) const
{
    // Only an id whose entries are all regular files of this user: anything else put
    // under its names is left as it is, and the id with it.
    const QDir dir(m_folder);
    const QStringList entries = dir.entryList({id + QLatin1String(".*")},
                                              QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    return std::all_of(entries.cbegin(), entries.cend(), [&](const QString &entry) {
        return !OwnEntryPattern().match(entry).hasMatch() || IsOwnRegularFile(dir.filePath(entry));
    });
}

bool CRecoveryManager::SettleCopy(const QString &id) const
{
    // The copy and the temporaries a killed write left beside it (ID.xml.XXXXXX):
    // the newest that is complete becomes the copy, the other temporaries this program
    // wrote go.
    const QString copy = FilePath(id, CopySuffix);
    const QDir dir(m_folder);
    QStringList candidates;
    if (QFileInfo::exists(copy))
        candidates << copy;
    QStringList temporaries;
    for (const QString &file : dir.entryList({id + QLatin1String(".*")}, QDir::Files | QDir::Hidden | QDir::System)) {
        const QRegularExpressionMatch match = OwnEntryPattern().match(file);
        if (!match.hasMatch() || match.captured(1) != id || match.captured(3).isEmpty()
            || match.captured(2) == QLatin1String("lock"))
            continue;
        temporaries << dir.filePath(file);
        if (match.captured(2) == QLatin1String("xml"))
            candidates << dir.filePath(file);
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const QString &a, const QString &b) { return ModifiedAt(a) > ModifiedAt(b); });
    QString kept;
    for (const QString &candidate : std::as_const(candidates)) {
        if (IsOwnRegularFile(candidate) && IsCompleteCopy(candidate)) {
            kept = candidate;
            break;
        }
    }
    if (!kept.isEmpty() && kept != copy
        && std::rename(QFile::encodeName(kept).constData(), QFile::encodeName(copy).constData()) != 0)
        kept.clear();
    for (const QString &file : std::as_const(temporaries)) {
        if (file == kept)
            continue;
        RemoveOwn(file,
                  file.contains(QLatin1String(NameSuffix) + QLatin1Char('.')) ? LooksLikeOwnName : LooksLikeOwnCopy);
    }
    return !kept.isEmpty();
}

void CRecoveryManager::RemoveFiles(const QString &id) const
{
    RemoveOwn(FilePath(id, CopySuffix), LooksLikeOwnCopy);
    RemoveOwn(FilePath(id, NameSuffix), LooksLikeOwnName);
}

QString CRecoveryManager::PrepareFolder() const
{
    // The folders this program makes for its copies: the recovery folder itself and,
    // inside the user's data folder, those between. Each is made (for this user only)
    // when missing, and used only when it is a folder of this user and not a link: a
    // link would take the copies, and their tidying, into a folder of the user's.
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString folder = QDir::cleanPath(QDir(m_folder).absolutePath());
    if (base.isEmpty() || !folder.startsWith(QDir::cleanPath(base) + QLatin1Char('/')))
        base = QFileInfo(folder).absolutePath();
    base = QDir::cleanPath(base);
    if (!QDir().mkpath(base))
        return tr("The folder %1 cannot be made.").arg(base);
    QString path = base;
    for (const QString &part : folder.mid(base.size() + 1).split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        path += QLatin1Char('/') + part;
        const QByteArray name = QFile::encodeName(path);
        if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
            return tr("The folder %1 cannot be made: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        // Opened itself, never through a link, and checked on the open descriptor.
        const int fd = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            return errno == ELOOP || errno == ENOTDIR ? tr("%1 is a link or not a folder.").arg(path)
                                                      : tr("The folder %1 cannot be opened: %2")
                                                            .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        struct stat info;
        const bool own = ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid();
        ::close(fd);
        if (!own)
            return tr("The folder %1 does not belong to you.").arg(path);
    }
    return QString();
}

bool CRecoveryManager::Start()
{
    bool restored = false;
    const QString refused = PrepareFolder();
    if (!refused.isEmpty()) {
        // Said once; the editor goes on without copies.
        m_warned = true;
        if (m_doc.Ui())
            m_doc.Ui()->ShowMessage(tr("Tarvex cannot keep recovery copies of unsaved figures in %1, so it works "
                                       "without them: save your figure yourself.\n%2")
                                        .arg(m_folder, refused),
                                    QString::fromLatin1(AppCaption), CDocumentUi::Icon::Exclamation);
    } else {
        // Every editor that left something behind: the copy, a temporary, a name or a
        // lock. Entries of other names are not this program's and are left alone.
        QStringList ids;
        for (const QString &file :
             QDir(m_folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
            const QRegularExpressionMatch match = OwnEntryPattern().match(file);
            const QString id = match.captured(1);
            if (match.hasMatch() && !ids.contains(id) && IsOwnId(id))
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
    // Something put in place of the files (a link to a user's file, a pipe) is neither
    // written through nor removed.
    for (const QString &path : {job.NamePath, job.CopyPath}) {
        if (!IsFreeOrOwnFile(path)) {
            if (error)
                *error = tr("%1 is not a regular file of yours: the recovery copy is not written.").arg(path);
            return false;
        }
    }
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
