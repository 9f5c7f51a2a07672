// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "geometry/figure.h"
#include "geometry/figuregenerator.h"

#include <QDialog>
#include <optional>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QSpinBox;

// "New from generator": a classic impossible figure chosen by name, its sizes, and a
// picture of the figure those sizes make. Gets the figure whose colours, cube size
// and grid the new figure starts from; gives the figure made.
class CGeneratorDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CGeneratorDialog(const CFigure &base, QWidget *parent = nullptr);
    ~CGeneratorDialog() override;

    CFigureGenerator::Params Params() const;
    void SetParams(const CFigureGenerator::Params &params);
    // The figure of the current sizes; empty when it does not fit the largest grid.
    const std::optional<CFigure> &Figure() const { return m_figure; }

private:
    void OnShapeChanged();
    void UpdatePreview();

    CFigure m_base;
    std::optional<CFigure> m_figure;
    QComboBox *m_shape = nullptr;
    QLabel *m_sizeLabel = nullptr;
    QSpinBox *m_size = nullptr;
    QLabel *m_thicknessLabel = nullptr;
    QSpinBox *m_thickness = nullptr;
    QLabel *m_sidesLabel = nullptr;
    QSpinBox *m_sides = nullptr;
    QLabel *m_preview = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
};
