// SPDX-License-Identifier: GPL-3.0-or-later
// Prints where the end-to-end tests have to click, one "name x y" line each: the
// workspace view's viewport and where it draws workspace point (0, 0) ("workspace":
// centred when the figure is smaller than the view; a figure named after the options
// is opened first, as the editor opens one named on its command line; "frame" gives
// the window's size this holds for), the cells of the cubes library and the recent figures
// button, in main-window coordinates; with --all also every toolbar button or widget, the selection tabs, the
// constructor, and the controls of the Options dialog (in dialog coordinates). It
// builds the same windows the editor shows, on the offscreen platform.

#include "app/mainframe.h"
#include "app/tarvexapp.h"
#include "document/documentcommands.h"
#include "document/tarvexdoc.h"
#include "ui/options/colorbutton.h"
#include "ui/options/colorspage.h"
#include "ui/options/dimensionspage.h"
#include "ui/options/optionsdlg.h"
#include "ui/selection/cubeconstructor.h"
#include "ui/selection/cubeselectionpage.h"
#include "ui/selection/cubeslibrary.h"
#include "ui/selection/palettestrip.h"
#include "view/tarvexview.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <cstdio>
#include <cstring>

namespace {

void Print(const char *name, const QWidget *widget, const QWidget *window, QPoint local)
{
    const QPoint p = widget->mapTo(window, local);
    std::printf("%s %d %d\n", name, p.x(), p.y());
}

void PrintCentre(const char *name, const QWidget *widget, const QWidget *window)
{
    Print(name, widget, window, widget->rect().center());
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const bool all = argc > 1 && std::strcmp(argv[1], "--all") == 0;
    const int figureArg = all ? 2 : 1;
    CTarvexApp::SetNames();
    CTarvexDoc doc(false);
    CMainFrame frame(doc);
    // A file that is not there would be reported in a message box, waiting for a click.
    const QString figure = argc > figureArg ? QString::fromLocal8Bit(argv[figureArg]) : QString();
    if (!figure.isEmpty()
        && (!QFileInfo(figure).isFile() || !CDocumentCommands(doc).Open(figure, CDocumentCommands::OpenAs::Direct)))
        return 1;
    frame.show();
    QCoreApplication::processEvents();
    const QPoint viewport = frame.GetView()->viewport()->mapTo(&frame, QPoint(0, 0));
    std::printf("viewport %d %d\n", viewport.x(), viewport.y());
    const QPoint workspace = frame.GetView()->viewport()->mapTo(&frame, -frame.GetView()->Mapping().Scroll());
    std::printf("workspace %d %d\n", workspace.x(), workspace.y());
    // The window's size, which the workspace's place depends on: a test gives the
    // editor's window this size before clicking at "workspace".
    std::printf("frame %d %d\n", frame.width(), frame.height());
    CCubesLibrary *library = frame.SelectionPage()->Library();
    for (int kind = 0; kind < CCubesLibrary::CellCount; ++kind) {
        if (all || kind == 0 || kind == 64)
            Print(QByteArray("library" + QByteArray::number(kind)).constData(), library, &frame,
                  library->CellRect(kind).center());
    }
    PrintCentre("recent", frame.RecentButton(), &frame);
    if (!all)
        return 0;

    const QWidget *view = frame.GetView();
    Print("view", view, &frame, QPoint(0, 0));
    int button = 0;
    for (QAction *action : frame.ToolBar()->actions()) {
        const QWidget *widget = frame.ToolBar()->widgetForAction(action);
        if (!action->isSeparator() && widget && widget->isVisible())
            PrintCentre(QByteArray("toolbar" + QByteArray::number(button++)).constData(), widget, &frame);
    }
    const QTabBar *tabs = frame.SelectionPage()->Tabs()->tabBar();
    for (int i = 0; i < tabs->count(); ++i)
        Print(QByteArray("tab" + QByteArray::number(i)).constData(), tabs, &frame, tabs->tabRect(i).center());
    const CPaletteStrip *strip = frame.SelectionPage()->Strip();
    for (int i = 0; i < 4; ++i)
        Print(QByteArray("palette" + QByteArray::number(i)).constData(), strip, &frame, strip->ItemRect(i).center());
    const CCubeConstructor *constructor = frame.SelectionPage()->Constructor();
    Print("constructor", constructor, &frame, QPoint(0, 0));
    std::printf("constructorsize %d %d\n", library->width(), library->height());

    COptionsDlg options(&frame);
    options.SetOptions(doc.Options());
    options.show();
    QCoreApplication::processEvents();
    PrintCentre("optwidth", options.Dimensions()->WidthEdit(), &options);
    PrintCentre("optheight", options.Dimensions()->HeightEdit(), &options);
    PrintCentre("optcube", options.Dimensions()->CubeSizeEdit(), &options);
    for (int i = 0; i < options.TabBar()->count(); ++i)
        Print(QByteArray("opttab" + QByteArray::number(i)).constData(), options.TabBar(), &options,
              options.TabBar()->tabRect(i).center());
    PrintCentre("optdefaults", options.DefaultSettingsButton(), &options);
    PrintCentre("optcancel", options.CancelButton(), &options);
    PrintCentre("optok", options.OkButton(), &options);
    options.ShowPage(COptionsDlg::ColorsPage);
    QCoreApplication::processEvents();
    PrintCentre("optcolor0", options.Colors()->BkColorButton(), &options);
    PrintCentre("optcolor1", options.Colors()->Color1Button(), &options);
    PrintCentre("optcolor2", options.Colors()->Color2Button(), &options);
    PrintCentre("optcolor3", options.Colors()->Color3Button(), &options);
    return 0;
}
