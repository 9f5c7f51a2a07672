// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/recentmenu.h"

#include "ui/help/examplelist.h"
#include "ui/help/helpframe.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QPixmap>
#include <QProxyStyle>

namespace {

// Example pictures are shown this high in their submenu.
constexpr int ExamplePictureHeight = 48;

// Menus take their icon size from the style: the examples submenu asks this one.
class PictureMenuStyle : public QProxyStyle
{
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        if (metric == PM_SmallIconSize)
            return ExamplePictureHeight;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

CRecentMenu::CRecentMenu(QWidget *parent, QSettings *store)
    : QMenu(parent)
    , m_files(store)
{
    setObjectName(QStringLiteral("RecentMenu"));
    setToolTipsVisible(true);
    CHelpFrame::InitResources();
    m_examples = new QMenu(tr("&Examples"), this);
    m_examples->setObjectName(QStringLiteral("ExamplesMenu"));
    auto *style = new PictureMenuStyle;
    style->setParent(m_examples);
    m_examples->setStyle(style);
    for (const CExampleList::Example &example : CExampleList::All()) {
        const QPixmap picture(CExampleList::PicturePath(example.name));
        QAction *action = m_examples->addAction(
            QIcon(picture.scaledToHeight(ExamplePictureHeight, Qt::SmoothTransformation)), example.title);
        const QString path = CExampleList::FigurePath(example.name);
        action->setData(path);
        connect(action, &QAction::triggered, this, [this, path] { Q_EMIT ExampleChosen(path); });
    }
    connect(this, &QMenu::aboutToShow, this, &CRecentMenu::Rebuild);
    Rebuild();
}

QString CRecentMenu::EntryText(int n, const QString &path)
{
    const QFileInfo info(path);
    QString text = QStringLiteral("%1  %2   (%3)")
                       .arg(n + 1 < 10 ? QStringLiteral("&%1").arg(n + 1) : QString::number(n + 1),
                            info.fileName().replace(QLatin1Char('&'), QLatin1String("&&")),
                            QDir::toNativeSeparators(info.path()).replace(QLatin1Char('&'), QLatin1String("&&")));
    return text;
}

void CRecentMenu::Rebuild()
{
    // Everything but the examples submenu is made anew.
    for (QAction *action : actions()) {
        if (action != m_examples->menuAction()) {
            removeAction(action);
            if (action->parent() == this)
                delete action;
        }
    }
    const QStringList files = m_files.Files();
    if (files.isEmpty()) {
        addAction(tr("No recent figures"))->setEnabled(false);
    }
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        QAction *action = addAction(EntryText(i, path));
        action->setToolTip(QDir::toNativeSeparators(path));
        action->setData(path);
        connect(action, &QAction::triggered, this, [this, path] { Q_EMIT FileChosen(path); });
    }
    if (!files.isEmpty()) {
        QAction *clear = addAction(tr("&Clear the list"));
        connect(clear, &QAction::triggered, this, [this] { m_files.Clear(); });
    }
    addSeparator();
    addMenu(m_examples);
}
