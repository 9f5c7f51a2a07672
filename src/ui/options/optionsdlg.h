// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/options.h"

#include <QDialog>
#include <array>
#include <optional>

class CColorsPage;
class CDimensionsPage;
class QFrame;
class QPushButton;
class QTabBar;

// The Options dialog: workspace size and cube size on the "Dimensions" page, the four
// figure colours on the "Colors" page, a "Default settings" button that puts the
// program's defaults into the controls, and OK. It is given the current options and
// hands back the chosen ones; applying them is up to the caller.
//
// Typical use: COptionsDlg::Ask(current, customColors, mainWindow).
class COptionsDlg : public QDialog
{
    Q_OBJECT

public:
    enum Page { DimensionsPage = 0, ColorsPage = 1 };

    explicit COptionsDlg(QWidget *parent = nullptr);
    ~COptionsDlg() override;

    // Runs the dialog modally starting from current: the chosen options when it was
    // closed with OK, nothing otherwise. customColors receives the chooser's custom
    // colours however the dialog was closed (they are kept even on Cancel).
    static std::optional<COptions> Ask(const COptions &current, CustomColorSet &customColors,
                                       QWidget *parent = nullptr);

    // The options the controls start from.
    void SetOptions(const COptions &options) { m_options = options; }
    // The options the controls hold now (with the custom colours of the choosers).
    COptions Options() const;

    // Fills the controls from the options and shows the first page. Runs by itself
    // when the dialog is shown.
    void OnInitDialog();
    // Shows page index (DimensionsPage or ColorsPage), centred in the page area.
    void ShowPage(int index);
    // Puts the default colours and sizes into the controls.
    void OnDefaultSettings();
    // Closes the dialog with OK, only while every size field holds a whole number
    // within its range.
    void OnOK();
    // True while every size field holds a whole number within its range; OK is
    // enabled only then, so a size outside the range can never be confirmed.
    bool SizesValid() const;
    // Each size field's range beside it while it is out of range; OK follows.
    void UpdateSizeHints();

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
    COptions m_options;
    QTabBar *m_tab;
    QFrame *m_tabFrame;
    QFrame *m_placeholder;
    QPushButton *m_defaults;
    QPushButton *m_cancel;
    QPushButton *m_ok;
    bool m_initialised = false;
};
