// SPDX-License-Identifier: GPL-3.0-or-later
// Ctrl+C of the largest figure: the offer put on the clipboard at once (our own
// format) against the same offer with both pictures drawn at once, and what the
// first program asking for the PNG then waits.

#include "benchmark.h"

#include "files/figurefragment.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMimeData>
#include <QRandomGenerator>

#include <vector>

namespace {

void CopyLargest()
{
    CFigure figure;
    figure.Resize(CFigure::MaxGridWidth, CFigure::MaxGridHeight);
    figure.CubeSize = CFigure::MaxCubeSize;
    QRandomGenerator random(31);
    for (int row = 0; row < figure.Grid.size(); ++row)
        for (int column = 0; column < figure.Grid[row].size(); ++column)
            figure.PlaceCube(column, row, int(random.bounded(64)));
    QClipboard *clipboard = QGuiApplication::clipboard();

    // What the copy command does: the fragment of every cube, offered.
    auto copy = [&] {
        clipboard->setMimeData(CFigureFragment::FromFigure(figure).ToMimeData());
    };
    auto eager = [&] {
        const CFigureFragment fragment = CFigureFragment::FromFigure(figure);
        auto *data = new QMimeData;
        data->setData(QString::fromLatin1(CFigureFragment::MimeType), fragment.Encode());
        data->setData(QString::fromLatin1(CFigureFragment::PngType), fragment.Png());
        data->setData(QString::fromLatin1(CFigureFragment::SvgType), fragment.Svg());
        clipboard->setMimeData(data);
    };
    constexpr int Rounds = 3;
    std::vector<double> copies, eagers, pngs;
    for (int round = 0; round < Rounds; ++round) {
        copies.push_back(MedianNanoseconds(5, copy));
        QElapsedTimer timer;
        timer.start();
        const QByteArray png = clipboard->mimeData()->data(QString::fromLatin1(CFigureFragment::PngType));
        pngs.push_back(double(timer.nsecsElapsed()));
        if (png.isEmpty())
            qFatal("no PNG on the clipboard");
        eagers.push_back(MedianNanoseconds(1, eager));
    }
    const double copyMs = Median(copies) / 1e6;
    CBenchmark::Report("Ctrl+C of 100x100 at cube size 200 (target 50 ms)", copyMs, "ms",
                       Median(eagers) / Median(copies), "x faster than drawing both pictures at once");
    CBenchmark::Report("First PNG request of that copy (4096 px picture)", Median(pngs) / 1e6, "ms");
    clipboard->clear();
}

} // namespace

CBenchmark clipboardCopy("clipboard-copy", CopyLargest);
