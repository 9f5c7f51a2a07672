// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/options/dialogunits.h"

#include <QFont>
#include <QFontMetrics>

namespace {

// Multiplies and divides with rounding to the nearest integer.
int MulDiv(int value, int numerator, int denominator)
{
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return int(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

} // namespace

CDialogUnits::CDialogUnits(const QFont &font)
{
    const QFontMetrics metrics(font);
    // The average width of the 52 Latin letters, rounded to the nearest pixel.
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseX = qMax(1, (letters / 26 + 1) / 2);
    m_baseY = qMax(1, metrics.height());
}

int CDialogUnits::X(int units) const
{
    return MulDiv(units, m_baseX, 4);
}

int CDialogUnits::Y(int units) const
{
    return MulDiv(units, m_baseY, 8);
}

QRect CDialogUnits::Rect(int x, int y, int width, int height) const
{
    // Map both corners so that adjacent controls stay adjacent after rounding.
    const int left = X(x);
    const int top = Y(y);
    return QRect(left, top, X(x + width) - left, Y(y + height) - top);
}

QSize CDialogUnits::Size(int width, int height) const
{
    return QSize(X(width), Y(height));
}

QRect CDialogUnits::LabelRect(int x, int y, int width, int height, int textWidth) const
{
    QRect rect = Rect(x, y, width, height);
    if (textWidth > rect.width())
        rect.setLeft(rect.right() + 1 - textWidth);
    return rect;
}
