// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QImage>
#include <QString>

class CFigure;

// `tarvex --thumbnail SIZE IN OUT`: the preview a file manager shows for a figure
// file. The whole figure is drawn at the zoom that fits it in SIZE x SIZE (never
// above its own size), every cube at its true position times the zoom, so the
// preview keeps the figure's proportions: crisp where the cubes are large enough to
// keep their shape, a smooth average of the true drawing where they are not. Runs
// without any window and without the user's settings store; OUT is written whole
// (PNG) or not at all.
class CThumbnailer
{
    Q_DECLARE_TR_FUNCTIONS(CThumbnailer)

public:
    // Whether the command line asks for a preview (the first argument is --thumbnail).
    static bool IsRequested(int argc, char **argv);

    // Runs the command line `--thumbnail SIZE IN OUT`; returns the process exit code.
    static int Run(int argc, char **argv);

    // The preview picture of a non-empty figure, at most size x size.
    static QImage Render(const CFigure &figure, int size);

    // The whole job: 0 on success; otherwise non-zero, nothing written, and message
    // says why.
    static int Write(const QString &figurePath, const QString &outputPath, int size, QString *message);
};
