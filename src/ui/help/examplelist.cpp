// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/help/examplelist.h"

#include <QFile>
#include <QRegularExpression>

QVector<CExampleList::Example> CExampleList::All()
{
    return {
        {QStringLiteral("impossible-triangle"), tr("Impossible triangle")},
        {QStringLiteral("impossible-sticks"), tr("Three crossed beams")},
        {QStringLiteral("impossible-square"), tr("Impossible square frame")},
        {QStringLiteral("impossible-frame"), tr("Woven frame")},
        {QStringLiteral("impossible-cube"), tr("Impossible cube frame")},
        {QStringLiteral("impossible-star"), tr("Woven star")},
        {QStringLiteral("impossible-hexagram"), tr("Impossible hexagonal star")},
        {QStringLiteral("impossible-triangles"), tr("Nested triangles")},
        {QStringLiteral("impossible-stairs"), tr("Penrose stairs")},
    };
}

QString CExampleList::FigurePath(const QString &name)
{
    // Only plain names: nothing outside the examples folder of the resources.
    static const QRegularExpression plain(QStringLiteral("^[a-z0-9-]+$"));
    if (!plain.match(name).hasMatch())
        return QString();
    const QString path = QStringLiteral(":/examples/%1.xml").arg(name);
    return QFile::exists(path) ? path : QString();
}

QString CExampleList::PicturePath(const QString &name)
{
    return QStringLiteral(":/help/ex_%1.png").arg(name);
}
