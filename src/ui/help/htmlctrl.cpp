// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/help/htmlctrl.h"

#include <QDesktopServices>
#include <QHash>
#include <QTextCursor>
#include <QDialog>
#include <QUrl>

namespace {

const QString AppPrefix = QStringLiteral("app:");

bool IsExternal(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("mailto");
}

} // namespace

CHtmlCtrl::CHtmlCtrl(QWidget *parent)
    : QTextBrowser(parent)
{
    // Links are offered to doSetSource, which decides; the browser's own hand-off of
    // external links is not used.
    setOpenExternalLinks(false);
    setOpenLinks(true);
    // Assistive technology names the control after the page it shows.
    connect(this, &QTextBrowser::sourceChanged, this, [this] { setAccessibleName(documentTitle()); });
}

CHtmlCtrl::~CHtmlCtrl() = default;

bool CHtmlCtrl::IsAppCommand(const QUrl &url, QString *command)
{
    // The whole address as written: "app:ok" parses as scheme "app", path "ok".
    const QString address = url.toString();
    if (!address.startsWith(AppPrefix, Qt::CaseInsensitive))
        return false;
    if (command)
        *command = address.mid(AppPrefix.size());
    return true;
}

void CHtmlCtrl::OnAppCommand(const QString &command)
{
    auto *dialog = qobject_cast<QDialog *>(window());
    if (dialog && command.compare(QLatin1String("ok"), Qt::CaseInsensitive) == 0)
        dialog->accept();
    else if (dialog && command.compare(QLatin1String("cancel"), Qt::CaseInsensitive) == 0)
        dialog->reject();
    else
        Q_EMIT AppCommandRequested(command);
}

void CHtmlCtrl::doSetSource(const QUrl &name, QTextDocument::ResourceType type)
{
    QString command;
    if (IsAppCommand(name, &command)) {
        OnAppCommand(command);
        return;
    }
    if (IsExternal(name)) {
        QDesktopServices::openUrl(name);
        return;
    }
    QTextBrowser::doSetSource(name, type);
}

bool CHtmlCtrl::FocusFirstLink()
{
    QTextCursor start = textCursor();
    start.movePosition(QTextCursor::Start);
    setTextCursor(start);
    return focusNextPrevChild(true) && textCursor().hasSelection();
}

namespace {

QHash<QString, QString> &PageTexts()
{
    static QHash<QString, QString> texts;
    return texts;
}

} // namespace

void CHtmlCtrl::SetPageText(const QString &name, const QString &html)
{
    PageTexts().insert(name, html);
}

QVariant CHtmlCtrl::loadResource(int type, const QUrl &name)
{
    QVariant resource = QTextBrowser::loadResource(type, name);
    if (!resource.isNull() && type == QTextDocument::HtmlResource && !PageTexts().isEmpty()) {
        QString page = resource.typeId() == QMetaType::QByteArray ? QString::fromUtf8(resource.toByteArray())
                                                                  : resource.toString();
        for (auto it = PageTexts().cbegin(); it != PageTexts().cend(); ++it)
            page.replace(QStringLiteral("<!--%1-->").arg(it.key()), it.value());
        resource = page;
    }
    if (resource.isNull() && type == QTextDocument::HtmlResource) {
        resource = QStringLiteral("<html><body><h3>%1</h3><p>%2</p></body></html>")
                       .arg(tr("Page not found").toHtmlEscaped(),
                            tr("The page %1 cannot be found.").arg(name.toDisplayString()).toHtmlEscaped());
    }
    return resource;
}
