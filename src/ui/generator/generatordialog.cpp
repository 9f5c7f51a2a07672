// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/generator/generatordialog.h"

#include "geometry/workspacerenderer.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

const QSize PreviewSize(360, 300);

} // namespace

CGeneratorDialog::CGeneratorDialog(const CFigure &base, QWidget *parent)
    : QDialog(parent)
    , m_base(base)
{
    setWindowTitle(tr("New from generator"));
    auto *form = new QFormLayout;
    m_shape = new QComboBox(this);
    m_shape->setObjectName(QStringLiteral("GeneratorShape"));
    for (int shape = 0; shape < CFigureGenerator::ShapeCount; ++shape)
        m_shape->addItem(CFigureGenerator::Name(CFigureGenerator::Shape(shape)), shape);
    form->addRow(tr("Figure:"), m_shape);
    m_sizeLabel = new QLabel(this);
    m_size = new QSpinBox(this);
    m_size->setObjectName(QStringLiteral("GeneratorSize"));
    m_sizeLabel->setBuddy(m_size);
    form->addRow(m_sizeLabel, m_size);
    m_thicknessLabel = new QLabel(this);
    m_thickness = new QSpinBox(this);
    m_thickness->setObjectName(QStringLiteral("GeneratorThickness"));
    m_thicknessLabel->setBuddy(m_thickness);
    form->addRow(m_thicknessLabel, m_thickness);
    m_sidesLabel = new QLabel(tr("Sides:"), this);
    m_sides = new QSpinBox(this);
    m_sides->setObjectName(QStringLiteral("GeneratorSides"));
    m_sides->setRange(CFigureGenerator::SidesRange().min, CFigureGenerator::SidesRange().max);
    m_sidesLabel->setBuddy(m_sides);
    form->addRow(m_sidesLabel, m_sides);

    m_preview = new QLabel(this);
    m_preview->setObjectName(QStringLiteral("GeneratorPreview"));
    m_preview->setFixedSize(PreviewSize);
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setFrameShape(QFrame::StyledPanel);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_preview);
    layout->addWidget(m_buttons);

    connect(m_shape, &QComboBox::currentIndexChanged, this, &CGeneratorDialog::OnShapeChanged);
    for (QSpinBox *box : {m_size, m_thickness, m_sides})
        connect(box, &QSpinBox::valueChanged, this, &CGeneratorDialog::UpdatePreview);
    SetParams(CFigureGenerator::Params());
}

CGeneratorDialog::~CGeneratorDialog() = default;

CFigureGenerator::Params CGeneratorDialog::Params() const
{
    CFigureGenerator::Params params;
    params.shape = CFigureGenerator::Shape(m_shape->currentData().toInt());
    params.size = m_size->value();
    params.thickness = m_thickness->value();
    params.stepHeight = m_thickness->value();
    params.sides = m_sides->value();
    return params;
}

void CGeneratorDialog::SetParams(const CFigureGenerator::Params &requested)
{
    const CFigureGenerator::Params params = CFigureGenerator::Bounded(requested);
    const QSignalBlocker blockShape(m_shape);
    m_shape->setCurrentIndex(m_shape->findData(int(params.shape)));
    OnShapeChanged();
    {
        const QSignalBlocker a(m_size), b(m_thickness), c(m_sides);
        m_size->setValue(params.size);
        m_thickness->setValue(params.shape == CFigureGenerator::PenroseStairs ? params.stepHeight : params.thickness);
        m_sides->setValue(params.sides);
    }
    UpdatePreview();
}

void CGeneratorDialog::OnShapeChanged()
{
    const auto shape = CFigureGenerator::Shape(m_shape->currentData().toInt());
    const QSignalBlocker a(m_size), b(m_thickness);
    m_sizeLabel->setText(CFigureGenerator::SizeName(shape));
    const CFigureGenerator::Range size = CFigureGenerator::SizeRange(shape);
    m_size->setRange(size.min, size.max);
    const bool stairs = shape == CFigureGenerator::PenroseStairs;
    const CFigureGenerator::Range second = stairs ? CFigureGenerator::StepHeightRange()
                                                  : CFigureGenerator::ThicknessRange();
    m_thicknessLabel->setText(stairs ? tr("Step height:") : tr("Beam thickness:"));
    m_thickness->setRange(second.min, second.max);
    const bool second_shown = stairs || CFigureGenerator::HasThickness(shape);
    m_thicknessLabel->setVisible(second_shown);
    m_thickness->setVisible(second_shown);
    const bool sides = shape == CFigureGenerator::PolygonFrame;
    m_sidesLabel->setVisible(sides);
    m_sides->setVisible(sides);
    UpdatePreview();
}

void CGeneratorDialog::UpdatePreview()
{
    m_figure = CFigureGenerator::Make(Params(), m_base);
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(m_figure.has_value());
    if (!m_figure) {
        m_preview->setPixmap(QPixmap());
        m_preview->setText(tr("The figure does not fit the largest grid."));
        return;
    }
    // The figure at its cube size, cut to its cubes, then fitted into the preview.
    const CFigure::Bounds bounds = m_figure->GetBounds();
    QImage image(bounds.Width(), bounds.Height(), QImage::Format_RGB32);
    image.fill(ColorFromRef(m_figure->BkColor));
    CWorkspaceRenderer::Params params;
    params.CubeSize = m_figure->CubeSize;
    params.Offset = QPoint(-bounds.left, -bounds.top);
    CWorkspaceRenderer().DrawImage(image, *m_figure, params);
    const QSize room = m_preview->contentsRect().size() - QSize(8, 8);
    if (image.width() > room.width() || image.height() > room.height())
        image = image.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    m_preview->setPixmap(QPixmap::fromImage(image));
}
