// How long writing a recovery copy holds the interface: the copy is written on the
// interface thread when the editor has been idle for a moment, so its whole duration
// is time the window does not answer. Measured with the fullest figure the program
// allows (100x100 cells, all occupied), against saving the same figure file.

#include "benchmark.h"

#include "app/recoverymanager.h"
#include "document/tarvexdoc.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>

namespace {

void RecoveryCopy()
{
    CTarvexDoc doc(false);
    doc.ResizeGrid(100, 100);
    doc.CubeSize = 200;
    QRandomGenerator random(17);
    for (int r = 0; r < 100; ++r)
        for (int c = 0; c < RowLength(100, r); ++c)
            doc.PlaceCube(c, r, int(random.bounded(64)));
    doc.m_strPathName = QStringLiteral("/home/user/figures/full figure.xml");
    QTemporaryDir dir(QDir::currentPath() + "/bench-recovery-XXXXXX");
    CRecoveryManager recovery(doc, dir.filePath("recovery"));
    recovery.Start();
    const double copy = MedianNanoseconds(21, [&] { recovery.WriteCopy(); });
    const double save = MedianNanoseconds(21, [&] { doc.SaveFigureXml(dir.filePath("full.xml")); });
    // The check made on every change (is the figure saved or empty?) and its removal.
    const double change = MedianNanoseconds(201, [&] { Q_EMIT doc.UpdateAllViews(); });
    recovery.RemoveCopy();
    CBenchmark::Report("Recovery copy of full 100x100 figure: interface held", copy / 1e6, "ms", copy / save,
                       "x saving the same figure file");
    CBenchmark::Report("Recovery bookkeeping per change (timer restart)", change / 1e3, "us");
}

CBenchmark recoveryCopy("recovery-copy", RecoveryCopy);

} // namespace
