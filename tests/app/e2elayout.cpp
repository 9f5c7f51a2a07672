// SPDX-License-Identifier: GPL-3.0-or-later
// Prints where the end-to-end test has to click in the main window: the workspace
// view's viewport, two cells of the cubes library and the recent figures button, in
// window coordinates. It builds
// the same window the editor shows, on the offscreen platform.

#include "app/mainframe.h"
#include "app/tarvexapp.h"
#include "document/tarvexdoc.h"
#include "ui/selection/cubeselectionpage.h"
#include "ui/selection/cubeslibrary.h"
#include "view/tarvexview.h"

#include <QToolButton>

#include <QApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    CTarvexApp::SetNames();
    CTarvexDoc doc(false);
    CMainFrame frame(doc);
    frame.show();
    QCoreApplication::processEvents();
    const QPoint viewport = frame.GetView()->viewport()->mapTo(&frame, QPoint(0, 0));
    std::printf("viewport %d %d\n", viewport.x(), viewport.y());
    CCubesLibrary *library = frame.SelectionPage()->Library();
    for (int kind : {0, 64}) {
        const QPoint p = library->mapTo(&frame, library->CellRect(kind).center());
        std::printf("library%d %d %d\n", kind, p.x(), p.y());
    }
    const QPoint recent = frame.RecentButton()->mapTo(&frame, frame.RecentButton()->rect().center());
    std::printf("recent %d %d\n", recent.x(), recent.y());
    return 0;
}
