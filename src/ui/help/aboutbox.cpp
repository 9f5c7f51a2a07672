// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/help/aboutbox.h"

#include "ui/help/helpframe.h"
#include "ui/help/htmlctrl.h"
#include "ui/options/dialogunits.h"

#include <QKeyEvent>
#include <QShowEvent>
#include <QVBoxLayout>

CAboutBox::CAboutBox(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    CHelpFrame::InitResources();
    setWindowTitle(tr("About "));
    setModal(true);
    setFixedSize(CDialogUnits(font()).Size(WidthDu, HeightDu));

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

void CAboutBox::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_pHtml->setFocus(Qt::ActiveWindowFocusReason);
    m_pHtml->FocusFirstLink();
}

void CAboutBox::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            accept();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}
