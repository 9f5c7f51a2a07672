// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/documentcommands.h"

#include "document/documentui.h"
#include "document/tarvexdoc.h"
#include "files/figurewriter.h"
#include "files/figurexml.h"
#include "files/filestamp.h"
#include "files/regularfile.h"
#include "files/xmlelement.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const char *const AskSaveText = QT_TRANSLATE_NOOP("CDocumentCommands",
                                                  "Your figure not saved. Do you want to save it?");
const char *const AskSaveCaption = QT_TRANSLATE_NOOP("CDocumentCommands", "Warning");
const char *const AppCaption = "Tarvex";

// A file among the program's own resources (the examples).
bool IsResource(const QString &path)
{
    return path.startsWith(QLatin1Char(':'));
}

// Where Save offers to put a figure that came from the program's resources.
QString InDocuments(const QString &resource)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return QDir(folder).filePath(QFileInfo(resource).fileName());
}

} // namespace

CDocumentCommands::CDocumentCommands(CTarvexDoc &doc)
    : m_doc(doc)
    , m_ui(doc.Ui())
{
}

void CDocumentCommands::ShowError(const QString &text) const
{
    if (m_ui)
        m_ui->ShowMessage(text, QString::fromLatin1(AppCaption), CDocumentUi::Icon::Stop);
}

bool CDocumentCommands::PromptSaveChanges()
{
    if (m_doc.Figure().IsEmpty() || m_doc.IsSaved())
        return true;
    const CDocumentUi::Answer answer = m_ui ? m_ui->AskYesNoCancel(tr(AskSaveText), tr(AskSaveCaption))
                                            : CDocumentUi::Answer::Cancel;
    switch (answer) {
    case CDocumentUi::Answer::Cancel:
        return false;
    case CDocumentUi::Answer::No:
        return true;
    case CDocumentUi::Answer::Yes:
        OnSaveFigure();
        return m_doc.IsSaved();
    }
    return false;
}

bool CDocumentCommands::OnNewDocument()
{
    m_doc.UpdateBarColors();
    if (!PromptSaveChanges())
        return false;
    m_doc.Reset();
    Q_EMIT m_doc.UpdateAllViews();
    return true;
}

void CDocumentCommands::OnOpenFigure()
{
    if (!PromptSaveChanges() || !m_ui)
        return;
    const QString path = m_ui->AskOpenFileName();
    if (!path.isEmpty())
        Open(path, OpenAs::AfterQuestion);
}

bool CDocumentCommands::Open(const QString &path, OpenAs how, const QString &originalName)
{
    // The file is read into a figure value first; the document is replaced only when
    // that worked. On any failure the figure on screen, its history and its saved
    // state stay as they were.
    // Opened once, without blocking, and read from the descriptor whose type was
    // checked: a pipe, even one put in the file's place a moment ago, is refused.
    CRegularFile file;
    if (!file.OpenRead(path)) {
        ShowError(tr("Cannot open the file %1.\n%2").arg(path, file.Detail()));
        return false;
    }
    QByteArray data;
    const bool read = file.ReadAll(&data, CXmlElement::MaxFileSize);
    file.Close();
    QString reason = file.ErrorString();
    CFigure figure;
    if (!read || !CFigureXml::LoadFromData(data, figure, &reason, path)) {
        // The fixed message first, then what was wrong with the file.
        QString text = CTarvexDoc::tr(CTarvexDoc::LoadErrorText);
        if (!reason.isEmpty())
            text += QStringLiteral("\n\n") + reason;
        ShowError(text);
        return false;
    }
    const QString name = how == OpenAs::Recovered ? originalName : path;
    if (IsResource(name)) {
        m_doc.TakeFigure(figure, QString(), how != OpenAs::Recovered, InDocuments(name));
    } else {
        m_doc.TakeFigure(figure, name, how != OpenAs::Recovered);
        // What the file held, so that Save notices another editor's save in between.
        // A recovered copy's own file was not read here: nothing is known of it.
        if (how != OpenAs::Recovered)
            m_doc.SetFileStamp(CFileStamp(data, file.ModifiedNs()));
    }
    if (how == OpenAs::AfterQuestion)
        Q_EMIT m_doc.FigureFileUsed(path);
    return true;
}

bool CDocumentCommands::ChangedOnDisk(const QString &path) const
{
    if (m_doc.PathName().isEmpty() || !m_doc.FileStamp().IsValid())
        return false;
    const QFileInfo target(path), own(m_doc.PathName());
    const bool same = target.exists() && own.exists() ? target.canonicalFilePath() == own.canonicalFilePath()
                                                      : target.absoluteFilePath() == own.absoluteFilePath();
    return same && m_doc.FileStamp().Differs(path);
}

void CDocumentCommands::OnSaveFigure()
{
    if (m_doc.Figure().IsEmpty()) {
        ShowError(QCoreApplication::translate("CFigure", CFigure::EmptyFigureText));
        return;
    }
    if (!m_ui)
        return;
    // A figure with a file of its own offers that file; a new figure leaves the dialog
    // as it was.
    if (!m_doc.SaveName().isEmpty())
        m_ui->SuggestSaveFileName(m_doc.SaveName());
    QString path;
    for (;;) {
        path = m_ui->AskSaveFileName();
        if (path.isEmpty())
            return;
        // A name whose extension is none of the formats writes nothing and stays unsaved:
        // saying "saved" there would let the next New or close drop the figure unasked.
        if (CFigureWriter::FormatOf(path) == CFigureWriter::Format::Unknown) {
            ShowError(CFigureWriter::UnknownTypeText(path));
            return;
        }
        // The figure's own file, changed since this editor read or wrote it (another
        // editor saved there): its contents would be lost without a word.
        if (!ChangedOnDisk(path))
            break;
        const CDocumentUi::Answer answer = m_ui->AskOverwriteChanged(
            tr("%1 has been changed by another program since Tarvex opened or saved it.\n"
               "Overwrite it with this figure, save the figure elsewhere, or cancel?")
                .arg(path),
            QString::fromLatin1(AppCaption));
        if (answer == CDocumentUi::Answer::Yes)
            break;
        if (answer == CDocumentUi::Answer::Cancel)
            return;
        // Elsewhere: the save dialog again, at the same place.
        m_ui->SuggestSaveFileName(path);
    }
    QString error;
    if (!m_doc.SaveFigureAs(path, m_ui->TransparentBackground(), &error)) {
        // A failed write is reported and the figure stays unsaved.
        ShowError(tr("The figure could not be saved to %1.\n%2").arg(path, error));
        return;
    }
    // A picture cannot be opened again: only a figure file holds the figure.
    if (!CFigureWriter::KeepsFigure(path))
        return;
    m_doc.SavedAs(path);
    m_doc.SetFileStamp(CFileStamp::Of(path));
    Q_EMIT m_doc.FigureFileUsed(path);
}

void CDocumentCommands::OnOptions()
{
    if (!m_ui)
        return;
    if (const std::optional<COptions> chosen = m_ui->AskOptions(m_doc.Options()))
        m_doc.SetOptions(*chosen);
}

bool CDocumentCommands::CanCloseFrame()
{
    return PromptSaveChanges();
}
