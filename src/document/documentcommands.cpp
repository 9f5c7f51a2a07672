// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/documentcommands.h"

#include "document/documentui.h"
#include "document/tarvexdoc.h"
#include "files/figurewriter.h"
#include "files/figurexml.h"
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
    // Opened once, without blocking, and read from the descriptor whose type was
    // checked: a pipe, even one put in the file's place a moment ago, is refused.
    CRegularFile file;
    if (!file.OpenRead(path)) {
        ShowError(tr("Cannot open the file %1.\n%2").arg(path, file.Detail()));
        if (how == OpenAs::AfterQuestion) {
            m_doc.MarkSaved();
            Q_EMIT m_doc.UpdateAllViews();
        }
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
        if (how != OpenAs::Recovered) {
            // The figure on screen is given up: an empty one of the same settings.
            CFigure empty = m_doc.Figure();
            for (CubeRow &row : empty.Grid)
                row.fill(EmptyCell);
            m_doc.TakeFigure(empty, QString(), true);
        }
        return false;
    }
    const QString name = how == OpenAs::Recovered ? originalName : path;
    if (IsResource(name))
        m_doc.TakeFigure(figure, QString(), how != OpenAs::Recovered, InDocuments(name));
    else
        m_doc.TakeFigure(figure, name, how != OpenAs::Recovered);
    if (how == OpenAs::AfterQuestion)
        Q_EMIT m_doc.FigureFileUsed(path);
    return true;
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
    const QString path = m_ui->AskSaveFileName();
    if (path.isEmpty())
        return;
    // A name whose extension is none of the formats writes nothing and stays unsaved:
    // saying "saved" there would let the next New or close drop the figure unasked.
    if (CFigureWriter::FormatOf(path) == CFigureWriter::Format::Unknown) {
        ShowError(CFigureWriter::UnknownTypeText(path));
        return;
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
