// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QVector>

// The example figures that come with the program: their files and pictures are
// resources (":/examples/NAME.xml", ":/help/ex_NAME.png"), listed here in the order of
// the Examples help page with the titles the page and the recent-figures menu show.
class CExampleList
{
    Q_DECLARE_TR_FUNCTIONS(CExampleList)

public:
    struct Example
    {
        QString name;  // file name without extension
        QString title; // translated
    };

    static QVector<Example> All();
    // The figure file of an example, or an empty string for a name that is none.
    static QString FigurePath(const QString &name);
    static QString PicturePath(const QString &name);
};
