// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <array>

class CColorsPage;
class CDimensionsPage;
class CTarvexDoc;
class QFrame;
class QPushButton;
class QTabBar;

// The Options dialog: workspace size and cube size on the "Dimensions" page, the four
// figure colours on the "Colors" page, a "Default settings" button that puts the
// program's defaults into the controls, and OK, which writes the values into the
// document. The history entry that makes Cancel and undo work, and writing the
// settings store, are up to the caller (CTarvexDoc::OnOptions).
//
// Typical use: COptionsDlg::RunModal(doc, mainWindow), which is
//     COptionsDlg dlg(parent);
//     dlg.SetDocument(&doc);
//     return dlg.exec() == QDialog::Accepted;
class COptionsDlg : public QDialog
{
    Q_OBJECT

public:
    enum Page { DimensionsPage = 0, ColorsPage = 1 };

    // Positions used when a size field does not hold a whole number within its range.
    static constexpr int FallbackWidth = 40;
    static constexpr int FallbackHeight = 20;
    static constexpr int FallbackCubeSize = 32;

    explicit COptionsDlg(QWidget *parent = nullptr);
    ~COptionsDlg() override;

    // Runs the dialog modally on the document; true when it was closed with OK, in
    // which case the values have been written into the document.
    static bool RunModal(CTarvexDoc &doc, QWidget *parent = nullptr);

    void SetDocument(CTarvexDoc *doc);
    CTarvexDoc *Document() const { return m_doc; }

    // Fills the controls from the document and shows the first page. Runs by itself
    // when the dialog is shown.
    void OnInitDialog();
    // Shows page index (DimensionsPage or ColorsPage), centred in the page area.
    void ShowPage(int index);
    // Puts the default colours and sizes into the controls, leaving the document alone.
    void OnDefaultSettings();
    // Writes the controls' values into the document and closes the dialog with OK.
    void OnOK();

    CDimensionsPage *Dimensions() const { return m_dimensions; }
    CColorsPage *Colors() const { return m_colors; }
    QWidget *Page(int index) const { return m_pages.at(size_t(index)); }
    QTabBar *TabBar() const { return m_tab; }
    QFrame *Placeholder() const { return m_placeholder; }
    QPushButton *DefaultSettingsButton() const { return m_defaults; }
    QPushButton *CancelButton() const { return m_cancel; }
    QPushButton *OkButton() const { return m_ok; }

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    CDimensionsPage *m_dimensions;
    CColorsPage *m_colors;
    std::array<QWidget *, 2> m_pages{};
    CTarvexDoc *m_doc = nullptr;
    QTabBar *m_tab;
    QFrame *m_tabFrame;
    QFrame *m_placeholder;
    QPushButton *m_defaults;
    QPushButton *m_cancel;
    QPushButton *m_ok;
    bool m_initialised = false;
};
