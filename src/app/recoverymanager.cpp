#include "app/recoverymanager.h"

#include "document/documentui.h"
#include "document/tarvexdoc.h"
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

// The lock is released (its file removed) here; the copy stays unless RemoveCopy ran.
CRecoveryManager::~CRecoveryManager() = default;

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
                m_writtenName = m_doc.m_strPathName;
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
    if (restored)
        Q_EMIT m_doc.UpdateAllViews();
    return restored;
}

bool CRecoveryManager::Offer(const QString &id, std::unique_ptr<QLockFile> &lock, bool &stop)
{
    CDocumentUi *ui = m_doc.Ui();
    const CDocumentUi::Answer answer =
        ui ? ui->AskRestoreDiscard(QString::fromLatin1(RestoreQuestion), QString::fromLatin1(AppCaption))
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
    if (!m_doc.OnOpenDocument(FilePath(id, CopySuffix))) {
        RemoveFiles(id);
        lock.reset();
        return false;
    }
    m_doc.SetModified();
    m_doc.m_strPathName = name;
    if (ui && !name.isEmpty())
        ui->SuggestSaveFileName(name);
    return true;
}

void CRecoveryManager::OnDocumentChanged()
{
    if (m_doc.m_bSaved || m_doc.IsFigureEmpty()) {
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
    if (m_doc.m_bSaved || m_doc.IsFigureEmpty())
        RemoveCopy();
    else
        WriteCopy();
}

bool CRecoveryManager::WriteCopy()
{
    QString error = tr("The folder %1 cannot be used.").arg(m_folder);
    bool written = false;
    if (m_lock) {
        // The name first: a copy is never paired with the name of another figure.
        written = CFileException::Guard(&error, [&] {
            const QString namePath = FilePath(m_id, NameSuffix);
            if (m_hasCopy && m_doc.m_strPathName == m_writtenName)
                return true;   // already beside the copy
            if (m_doc.m_strPathName.isEmpty()) {
                QFile::remove(namePath);
            } else {
                const QByteArray name = m_doc.m_strPathName.toUtf8();
                CSafeFileWriter writer(namePath);
                writer.Write(name.constData(), name.size());
                writer.Commit();
            }
            m_writtenName = m_doc.m_strPathName;
            return true;
        }) && m_doc.SaveFigureXml(CopyPath(), &error);
    }
    if (written) {
        m_hasCopy = true;
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

void CRecoveryManager::RemoveCopy()
{
    if (!m_lock || !m_hasCopy)
        return;
    RemoveFiles(m_id);
    m_hasCopy = false;
    m_writtenName.clear();
}
