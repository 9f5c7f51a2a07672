// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/zoombox.h"

#include "view/tarvexview.h"

#include <QLineEdit>
#include <QRegularExpression>

namespace {

// Item data of the Fit entry; the levels carry their percentage.
constexpr int FitData = 0;

} // namespace

CZoomBox::CZoomBox(CTarvexView &view, QWidget *parent)
    : QComboBox(parent)
    , m_view(view)
{
    setObjectName(QStringLiteral("ZoomBox"));
    setEditable(true);
    setAccessibleName(tr("Zoom"));
    lineEdit()->setAccessibleName(tr("Zoom"));
    setInsertPolicy(QComboBox::NoInsert);
    setFocusPolicy(Qt::StrongFocus);
    setMaxVisibleItems(CTarvexView::ZoomLevels().size() + 1);
    for (int percent : CTarvexView::ZoomLevels())
        addItem(PercentText(percent), percent);
    addItem(tr("Fit"), FitData);
    setToolTip(tr("Zoom: Ctrl+wheel, Ctrl++ and Ctrl+- step through the levels, Ctrl+0 shows 100 %, "
                  "Ctrl+9 fits the window. Type a value from %1 to %2 %.")
                   .arg(CTarvexView::ZoomLevels().first())
                   .arg(CTarvexView::ZoomLevels().last()));
    // Wide enough for the widest level, whatever the font.
    setMinimumContentsLength(PercentText(CTarvexView::ZoomLevels().last()).size() + 1);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);

    connect(this, QOverload<int>::of(&QComboBox::activated), this, &CZoomBox::OnActivated);
    connect(lineEdit(), &QLineEdit::returnPressed, this, [this] { ApplyText(lineEdit()->text()); });
    connect(lineEdit(), &QLineEdit::editingFinished, this, [this] { ShowZoom(m_view.ZoomPercent()); });
    connect(&m_view, &CTarvexView::ZoomChanged, this, &CZoomBox::ShowZoom);
    ShowZoom(m_view.ZoomPercent());
}

QString CZoomBox::PercentText(int percent)
{
    return tr("%1 %").arg(percent);
}

bool CZoomBox::ParsePercent(const QString &text, int *percent)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*(\\d{1,6})\\s*%?\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    *percent = match.captured(1).toInt();
    return true;
}

bool CZoomBox::ApplyText(const QString &text)
{
    int percent = 0;
    const QVector<int> &levels = CTarvexView::ZoomLevels();
    bool applied = false;
    if (text.trimmed().compare(itemText(count() - 1), Qt::CaseInsensitive) == 0) {
        m_view.ZoomToFit();
        applied = true;
    } else if (ParsePercent(text, &percent) && percent >= levels.first() && percent <= levels.last()) {
        m_view.SetZoomPercent(percent, QRectF(m_view.viewport()->rect()).center());
        applied = true;
    }
    ShowZoom(m_view.ZoomPercent());
    if (applied)
        m_view.setFocus();
    return applied;
}

void CZoomBox::OnActivated(int index)
{
    const int percent = itemData(index).toInt();
    if (percent == FitData)
        m_view.ZoomToFit();
    else
        m_view.SetZoomPercent(percent, QRectF(m_view.viewport()->rect()).center());
    ShowZoom(m_view.ZoomPercent());
    m_view.setFocus();
}

void CZoomBox::ShowZoom(int percent)
{
    // The list marks the level shown, if the zoom is one; the text always says it.
    const int index = findData(percent);
    const QSignalBlocker block(this);
    setCurrentIndex(index);
    setEditText(PercentText(percent));
}
