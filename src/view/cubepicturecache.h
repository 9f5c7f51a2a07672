#pragma once

#include "geometry/surface.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <array>

class CTarvexDoc;
class QPainter;

// Pictures of the 64 cube kinds at one size and in one set of face colours, drawn once
// by the cube painter and then copied onto the screen. Each kind has three pictures:
// plain, and greyed as selected for either parity of the cell's x + y (the grey pattern
// is anchored at the workspace origin). Painting a part of the workspace from them
// gives exactly the pixels the document's DrawWorkspace gives for that part.
class CCubePictureCache
{
public:
    CCubePictureCache();
    ~CCubePictureCache();

    // Paints every cell whose picture touches area (workspace coordinates) with the
    // painter's origin at the workspace origin, in the document's drawing order:
    // cubes, selected cubes greyed, empty cells as one black dot. The background is
    // the caller's.
    void PaintArea(QPainter &painter, const CTarvexDoc &doc, const QRect &area);

    // Pictures are redrawn when the cube size or a face colour changes.
    int PictureCount() const { return m_built; }

private:
    struct Picture
    {
        QImage Image;   // premultiplied ARGB, transparent where the cube leaves the background
        QPoint Offset;  // of the image's top left corner from the cell's origin
    };
    enum Variant { Plain = 0, SelectedEven = 1, SelectedOdd = 2, VariantCount = 3 };

    void Prepare(int size, ColorRef top, ColorRef right, ColorRef left);
    const Picture &Get(int kind, Variant variant);
    Picture Build(int kind, Variant variant) const;

    int m_size = -1;
    ColorRef m_top = 0;
    ColorRef m_right = 0;
    ColorRef m_left = 0;
    QRect m_extent;   // what any picture can cover, relative to the cell's origin
    std::array<std::array<Picture, VariantCount>, 64> m_pictures;
    int m_built = 0;
};
