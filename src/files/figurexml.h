// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QByteArray>
#include <QString>

class CFigure;
class CXmlElement;

// Figure files: a figure's settings and occupied cells as XML-like text.
class CFigureXml
{
    Q_DECLARE_TR_FUNCTIONS(CFigureXml)

public:
    static bool Save(const CFigure &figure, const QString &path, QString *error);
    // Reads a figure file into figure. The file is checked completely (application,
    // version, every setting present and within the ranges the program allows); its
    // cubes are then placed in file order with the placing rule onto an empty grid of
    // the file's size. A refused file leaves figure as it was.
    static bool Load(const QString &path, CFigure &figure, QString *error);
    // The same, from the file's bytes (ending at the first zero byte); path, when
    // given, names the file they were read from in messages.
    static bool LoadFromData(const QByteArray &data, CFigure &figure, QString *error, const QString &path = QString());

    // The element tree of a figure.
    static CXmlElement BuildTree(const CFigure &figure);

private:
    // Checks the tree and reads the figure from it; throws CFileException for a tree
    // that is no acceptable figure.
    static CFigure Read(const CXmlElement &root);
};
