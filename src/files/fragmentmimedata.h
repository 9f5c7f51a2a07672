// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/figurefragment.h"

#include <QByteArray>
#include <QMimeData>
#include <QStringList>

// The clipboard's offer of a fragment: our own format is encoded when the offer is
// made, the PNG and SVG pictures only when a program asks for them (drawing a large
// figure takes seconds and a lot of memory, and most pastes never want them).
class CFragmentMimeData : public QMimeData
{
public:
    explicit CFragmentMimeData(const CFigureFragment &fragment);

    QStringList formats() const override;
    bool hasFormat(const QString &mimeType) const override;

protected:
    QVariant retrieveData(const QString &mimeType, QMetaType type) const override;

private:
    CFigureFragment m_fragment;
    QByteArray m_encoded;
    mutable QByteArray m_png; // made when first asked
    mutable QByteArray m_svg;
};
