// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QImage>
#include <QString>

class CFigure;

// `tarvex --thumbnail SIZE IN OUT`: the preview a file manager shows for a figure
// file. The whole figure is drawn at the largest cube size whose picture fits in
// SIZE x SIZE, so the preview stays crisp; only a figure too large even at the
// smallest cube size is scaled down. Runs without any window and without the user's
// settings store; OUT is written whole (PNG) or not at all.
class CThumbnailer
{
    Q_DECLARE_TR_FUNCTIONS(CThumbnailer)

public:
    // The smallest cube size a preview is drawn at; below it the cube's corners no
    // longer come out as separate parts.
    static constexpr int MinCubeSize = 4;

    // Whether the command line asks for a preview (the first argument is --thumbnail).
    static bool IsRequested(int argc, char **argv);

    // Runs the command line `--thumbnail SIZE IN OUT`; returns the process exit code.
    static int Run(int argc, char **argv);

    // The largest cube size, at most the figure's own, at which the whole figure fits
    // in size x size; MinCubeSize when even that does not fit.
    static int FittingCubeSize(const CFigure &figure, int size);

    // The preview picture of a non-empty figure, at most size x size.
    static QImage Render(const CFigure &figure, int size);

    // The whole job: 0 on success; otherwise non-zero, nothing written, and message
    // says why.
    static int Write(const QString &figurePath, const QString &outputPath, int size, QString *message);
};
