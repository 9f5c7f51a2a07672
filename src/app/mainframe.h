// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/documentui.h"
#include "geometry/surface.h"

#include <QIcon>
#include <QHash>
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <memory>

class CBoxTool;
class CCubeSelectionBar;
class CCubeSelectionPage;
class CHelpFrame;
class CRecentMenu;
class CToolBarKeys;
class CZoomBox;
class CDocumentCommands;
class CTarvexDoc;
class CTarvexView;
class QAction;
class QCheckBox;
class QFileDialog;
class QMimeData;
class QToolBar;
class QSpinBox;
class QToolButton;

// Registers the toolbar strip.
void InitMainWindowResources();

// The main window: the cube selection bar along the whole left edge, the toolbar
// across the top of the rest and the workspace view below it; no menu, no status bar,
// and the title is always "Tarvex". It carries the command table (toolbar buttons and
// accelerators) and answers the document's questions with message boxes and file
// dialogs.
class CMainFrame : public QMainWindow, public CDocumentUi
{
    Q_OBJECT

public:
    // The commands of the table, by id.
    enum CommandId {
        ID_SELECT_MOVE = 32775,
        ID_FILE_NEW = 57600,
        ID_FILE_OPEN = 57601,
        ID_SAVE_FIGURE = 32772,
        ID_FILE_PRINT_PREVIEW = 57609,
        ID_OPTIONS = 32774,
        ID_EDIT_UNDO = 57643,
        ID_EDIT_REDO = 57644,
        ID_HELP = 57670,
        ID_APP_ABOUT = 57664,
        ID_SELECT_ALL = 32778,
        ID_EDIT_COPY = 57634,
        ID_EDIT_CUT = 57635,
        ID_EDIT_PASTE = 57637,
        // After the commands above: mirror the selection, a figure from a generator.
        ID_MIRROR = 33001,
        ID_NEW_FROM_GENERATOR = 33002,
        // "Paint selection": the selected cubes in the palette's picked colouring.
        ID_PAINT_SELECTION = 33003,
        // The box tool, checked while it is the drawing tool.
        ID_BOX_TOOL = 33004,
        ID_APP_EXIT = 57665,
        // F10: the keyboard to the toolbar.
        ID_TOOLBAR_KEYS = 59392
    };

    explicit CMainFrame(CTarvexDoc &doc, QWidget *parent = nullptr);
    ~CMainFrame() override;

    CTarvexDoc &GetDocument() const { return m_doc; }
    CTarvexView *GetView() const { return m_view; }
    QToolBar *ToolBar() const { return m_toolBar; }
    CCubeSelectionBar *SelectionBar() const { return m_bar; }
    CCubeSelectionPage *SelectionPage() const;
    // The action of a command id, or null.
    QAction *Action(int id) const;

    // The cube kind last picked in the cube selection bar: 0..63, or 64 for the empty cube.
    int GetCurrentCube() const;

    // Refreshes the enabled and checked state of every command from the document.
    void UpdateCommandUi();

    // A size that shows the whole workspace, limited to the screen's free area.
    QSize PreferredSize() const;

    // The drag-and-drop data format of this instance: "DragCube" followed by the main
    // window's id in decimal, as a MIME type. Empty until RegisterDragFormat.
    QString DragCubeFormat() const { return m_dragCubeFormat; }
    void RegisterDragFormat();
    static QString DragCubeFormatFor(WId windowId);
    // The program's icon at every size it is drawn in (16 to 256 pixels), for the
    // windows and dialogs.
    static QIcon ApplicationIcon();

    // CDocumentUi
    Answer AskYesNoCancel(const QString &text, const QString &caption) override;
    void ShowMessage(const QString &text, const QString &caption, Icon icon) override;
    QString AskSaveFileName() override;
    bool TransparentBackground() const override;
    QString AskOpenFileName() override;
    std::optional<COptions> AskOptions(const COptions &current) override;
    Answer AskRestoreDiscard(const QString &text, const QString &caption) override;
    Answer AskOverwriteChanged(const QString &text, const QString &caption) override;
    void SuggestSaveFileName(const QString &path) override;

    CHelpFrame *HelpFrame() const { return m_pHelpFrame; }

    // Opens a figure file as the Open command does once a file is chosen: the
    // unsaved-changes question first. False when the user cancelled or the file could
    // not be read (the user was told why).
    bool OpenFigureFile(const QString &path);
    // The same for an entry of the recent figures: a file that no longer exists is
    // taken off the list, with a message, and nothing else happens.
    bool OpenRecentFile(const QString &path);
    // Puts a figure file first in the recent figures (opened or saved as a figure).
    void AddRecentFile(const QString &path);
    CRecentMenu *RecentMenu() const { return m_recentMenu; }
    QToolButton *RecentButton() const { return m_recentButton; }
    CZoomBox *ZoomBox() const { return m_zoomBox; }
    // Every command of the window by id (toolbar, accelerators, the keyboard's own).
    QList<int> CommandIds() const { return m_actions.keys(); }
    // F10: the first toolbar button gets the keyboard; Escape gives it back to the view.
    void FocusToolBar();
    QSpinBox *BeamThicknessBox() const { return m_beamThickness; }
    CBoxTool *BoxTool() const { return m_boxTool.get(); }
    // The file a drop carries: one local file, which is then opened as Open opens the
    // file chosen in its dialog; otherwise (several files, a web address, the view's
    // own cube drag) an empty string.
    static QString DroppedFigure(const QMimeData *data);

    // The save dialog, reused by every save (it keeps folder, name and file type).
    QFileDialog *SaveDialog() const { return m_saveDialog.get(); }
    // Its file types, one per format the document writes, and the extension a type adds.
    static QStringList SaveFilters();
    static QString SuffixOfFilter(const QString &filter);

public Q_SLOTS:
    void OnFilePrintPreview();
    // Help window and About box.
    void OnHelp();
    void OnAppAbout();

protected:
    void closeEvent(QCloseEvent *event) override;
    // A figure file dropped from a file manager opens; every other drop that the view
    // leaves alone is refused.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void CreateToolBar();
    QAction *AddCommand(int id, const QString &tip, int picture, void (CMainFrame::*slot)());
    void RunCommand(void (CTarvexDoc::*command)());
    void RunCommand(void (CDocumentCommands::*command)());
    void OnSelectMove();
    // The select-and-move button or action changed its check (a click, S, or assistive
    // technology's Toggle): the mode follows.
    void OnSelectMoveToggled(bool checked);
    void OnFileNew();
    void OnFileOpen();
    void OnSaveFigure();
    void OnOptions();
    void OnEditUndo();
    void OnEditRedo();
    void OnSelectAll();
    // The clipboard: the selected cubes (with none selected, or in drawing mode, the
    // whole figure) as a figure fragment and its pictures; cut (in select-and-move
    // mode) also erases the selected cubes. Paste places a fragment as the new
    // selection at its own cells, or under the pointer when it is over the view,
    // moved whole to stay in the grid.
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    void OnMirror();
    void OnPaintSelection();
    void OnNewFromGenerator();
    // The box button or B changed its check: the box becomes the drawing tool (leaving
    // select-and-move mode), or the cube placing tool again.
    void OnBoxToolToggled(bool checked);

    CTarvexDoc &m_doc;
    CCubeSelectionBar *m_bar = nullptr;
    QToolBar *m_toolBar = nullptr;
    CTarvexView *m_view = nullptr;
    std::unique_ptr<QFileDialog> m_saveDialog;
    QCheckBox *m_transparent = nullptr; // in the save dialog
    QHash<int, QAction *> m_actions;
    CRecentMenu *m_recentMenu = nullptr;   // owned by this window
    QToolButton *m_recentButton = nullptr; // owned by the toolbar
    CZoomBox *m_zoomBox = nullptr;         // owned by the toolbar
    CToolBarKeys *m_toolBarKeys = nullptr; // owned by the toolbar
    QSpinBox *m_beamThickness = nullptr;   // owned by the toolbar
    std::unique_ptr<CBoxTool> m_boxTool;   // the view's drawing tool while checked
    QString m_dragCubeFormat;
    // The help window while it is open; it clears this pointer itself when closed.
    CHelpFrame *m_pHelpFrame = nullptr;
};
