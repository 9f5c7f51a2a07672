#include "ui/help/aboutbox.h"

#include "ui/help/helpframe.h"
#include "ui/help/htmlctrl.h"

#include <QFontMetrics>
#include <QVBoxLayout>

CAboutBox::CAboutBox(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
{
    CHelpFrame::InitResources();
    setWindowTitle(QStringLiteral("About "));
    setModal(true);
    setFixedSize(DialogUnitsToPixels(font(), QSize(WidthDu, HeightDu)));

    m_pHtml = new CHtmlCtrl(this);
    m_pHtml->setObjectName(QStringLiteral("AboutPage"));
    m_pHtml->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pHtml->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pHtml);
    m_pHtml->setSource(AboutPage());
}

CAboutBox::~CAboutBox() = default;

QUrl CAboutBox::AboutPage()
{
    return QUrl(QStringLiteral("qrc:/help/about.htm"));
}

QSize CAboutBox::DialogUnitsToPixels(const QFont &font, QSize units)
{
    // The average width of the 52 Latin letters, rounded, as dialog templates use it.
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int averageWidth = (letters / 26 + 1) / 2;
    const int height = metrics.height();
    return QSize(units.width() * averageWidth / 4, units.height() * height / 8);
}
