// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/fragmentmimedata.h"

#include <QVariant>

CFragmentMimeData::CFragmentMimeData(const CFigureFragment &fragment)
    : m_fragment(fragment)
    , m_encoded(fragment.Encode())
{
}

QStringList CFragmentMimeData::formats() const
{
    QStringList types{QString::fromLatin1(CFigureFragment::MimeType)};
    if (!m_fragment.IsEmpty())
        types << QString::fromLatin1(CFigureFragment::PngType) << QString::fromLatin1(CFigureFragment::SvgType);
    return types;
}

bool CFragmentMimeData::hasFormat(const QString &mimeType) const
{
    return formats().contains(mimeType);
}

QVariant CFragmentMimeData::retrieveData(const QString &mimeType, QMetaType type) const
{
    Q_UNUSED(type);
    if (mimeType == QLatin1String(CFigureFragment::MimeType))
        return m_encoded;
    if (m_fragment.IsEmpty())
        return QVariant();
    if (mimeType == QLatin1String(CFigureFragment::PngType)) {
        if (m_png.isEmpty())
            m_png = m_fragment.Png();
        return m_png;
    }
    if (mimeType == QLatin1String(CFigureFragment::SvgType)) {
        if (m_svg.isEmpty())
            m_svg = m_fragment.Svg();
        return m_svg;
    }
    return QVariant();
}
