// SPDX-License-Identifier: GPL-3.0-or-later
// How long writing a recovery copy holds the interface. The timers hand the figure
// value to a thread of their own, so the interface is held only for the hand-over;
// the write itself is measured too, and the whole write done on the interface thread
// is the straightforward approach it is compared with. Measured with the fullest
// figure the program allows (100x100 cells, all occupied).

#include "benchmark.h"

#include "app/recoverymanager.h"
#include "document/tarvexdoc.h"
#include "support/testdocument.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>

namespace {

void RecoveryCopy()
{
    CTarvexDoc doc(false);
    doc.ResizeGrid(100, 100);
    EditFigure(doc, [&](CFigure &f) { f.CubeSize = 200; });
    QRandomGenerator random(17);
    for (int r = 0; r < 100; ++r)
        for (int c = 0; c < RowLength(100, r); ++c)
            PlaceCube(doc, c, r, int(random.bounded(64)));
    doc.TakeFigure(doc.Figure(), QStringLiteral("/home/user/figures/full figure.xml"), false);
    QTemporaryDir dir(QDir::currentPath() + "/bench-recovery-XXXXXX");
    CRecoveryManager recovery(doc, dir.filePath("recovery"));
    recovery.Start();
    const double inline_ = MedianNanoseconds(21, [&] { recovery.WriteCopy(); });
    double handOver = 0;
    const double whole = MedianNanoseconds(21, [&] {
        QElapsedTimer timer;
        timer.start();
        recovery.StartWrite();
        handOver += double(timer.nsecsElapsed());
        recovery.WaitForWrite();
    });
    handOver /= 21;
    // The check made on every change (is the figure saved or empty?) and its removal.
    const double change = MedianNanoseconds(201, [&] { Q_EMIT doc.UpdateAllViews(); });
    recovery.RemoveCopy();
    CBenchmark::Report("Recovery copy, 100x100 full: interface held", handOver / 1e3, "us", inline_ / handOver,
                       "x shorter than writing it on the interface thread");
    CBenchmark::Report("Recovery copy, 100x100 full: written in the background", whole / 1e6, "ms");
    CBenchmark::Report("Recovery copy, 100x100 full: written on the interface thread", inline_ / 1e6, "ms");
    CBenchmark::Report("Recovery bookkeeping per change (timer restart)", change / 1e3, "us");
}

CBenchmark recoveryCopy("recovery-copy", RecoveryCopy);

} // namespace
