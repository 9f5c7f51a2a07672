// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/cubepainter.h"

#include <QBrush>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QVector>

namespace {

// For every pixel of a cube's bounding square at the origin, a mask of the parts whose
// region holds it. Built once per size from the very regions HitPart stands for, so
// lookups give the same answers as testing the regions one by one.
class PartMaskCache
{
public:
    const QVector<quint8> &MaskFor(int size)
    {
        auto it = m_masks.constFind(size);
        if (it != m_masks.constEnd())
            return it.value();
        if (m_masks.size() >= 32)
            m_masks.clear();
        const int side = size + 1;
        QVector<quint8> mask(side * side, 0);
        for (int part = 0; part < CubePartCount; ++part) {
            const QRegion region = ::GetPartRegion(0, 0, size, part);
            for (const QRect &r : region) {
                for (int y = qMax(0, r.top()); y <= qMin(size, r.bottom()); ++y)
                    for (int x = qMax(0, r.left()); x <= qMin(size, r.right()); ++x)
                        mask[y * side + x] |= quint8(1 << part);
            }
        }
        return *m_masks.insert(size, mask);
    }

private:
    QHash<int, QVector<quint8>> m_masks;
};

PartMaskCache &Masks()
{
    static PartMaskCache cache;
    return cache;
}

} // namespace

CCubePainter::~CCubePainter() = default;

CubePoints CCubePainter::ComputeCubePoints() const
{
    return Points ? MovedCubePoints(*Points, Left, Top) : ::ComputeCubePoints(Left, Top, Size);
}

QRegion CCubePainter::GetPartRegion(int part) const
{
    return QRegion(PartPolygon(ComputeCubePoints(), part), Qt::WindingFill);
}

QRegion CCubePainter::GetCubeRegion() const
{
    return ::GetCubeRegion(ComputeCubePoints(), Index);
}

void CCubePainter::Draw(QPainter &painter) const
{
    painter.save();
    PreparePainter(painter);
    const CubePoints p = ComputeCubePoints();
    const int *X = p.X;
    const int *Y = p.Y;

    if (Index >= 0 && Index <= 63) {
        const QPolygon faces[3] = {FacePolygon(0), FacePolygon(1), FacePolygon(2)};
        const ColorRef colors[3] = {TopColor, RightColor, LeftColor};
        for (int f = 0; f < 3; ++f) {
            const QColor c = ColorFromRef(colors[f]);
            QPen pen = SolidPen(c);
            pen.setWidth(PenWidth);
            painter.setPen(pen);
            painter.setBrush(c);
            painter.drawPolygon(faces[f]);
        }
    }

    painter.setPen(SolidPen(Qt::black));
    painter.setBrush(Qt::NoBrush);
    if (Index == EmptyCubeIndex || DrawOutline) {
        const QPoint hexagon[] = {{X[4], Y[2]}, {X[4], Y[7]}, {X[2], Y[9]}, {X[0], Y[7]}, {X[0], Y[2]},
                                  {X[2], Y[0]}, {X[4], Y[2]}, {X[2], Y[4]}, {X[0], Y[2]}};
        painter.drawPolyline(hexagon, int(std::size(hexagon)));
        painter.drawLine(QPoint(X[2], Y[4]), QPoint(X[2], Y[9]));
    }
    if (DrawPartBorders) {
        const QPoint centre[] = {{X[1], Y[1]}, {X[2], Y[2]}, {X[3], Y[1]}, {X[3], Y[3]}, {X[4], Y[5]},
                                 {X[3], Y[6]}, {X[3], Y[8]}, {X[2], Y[7]}, {X[1], Y[8]}, {X[1], Y[6]},
                                 {X[0], Y[5]}, {X[1], Y[3]}, {X[1], Y[1]}};
        painter.drawPolyline(centre, int(std::size(centre)));
    }
    painter.restore();
}

QPolygon CCubePainter::FacePolygon(int face) const
{
    const CubePoints p = ComputeCubePoints();
    const int *X = p.X;
    const int *Y = p.Y;
    const int i = Index;
    switch (face) {
    case 0: // top
        return QPolygon({(i & 32) ? QPoint(X[1], Y[3]) : QPoint(X[0], Y[2]), QPoint(X[1], Y[1]),
                         (i & 1) ? QPoint(X[2], Y[2]) : QPoint(X[2], Y[0]), QPoint(X[3], Y[1]),
                         (i & 2) ? QPoint(X[3], Y[3]) : QPoint(X[4], Y[2]), QPoint(X[2], Y[4])});
    case 1: // right-hand side
        return QPolygon({(i & 2) ? QPoint(X[3], Y[3]) : QPoint(X[4], Y[2]), QPoint(X[4], Y[5]),
                         (i & 4) ? QPoint(X[3], Y[6]) : QPoint(X[4], Y[7]), QPoint(X[3], Y[8]),
                         (i & 8) ? QPoint(X[2], Y[7]) : QPoint(X[2], Y[9]), QPoint(X[2], Y[4])});
    default: // left-hand side
        return QPolygon({(i & 8) ? QPoint(X[2], Y[7]) : QPoint(X[2], Y[9]), QPoint(X[1], Y[8]),
                         (i & 16) ? QPoint(X[1], Y[6]) : QPoint(X[0], Y[7]), QPoint(X[0], Y[5]),
                         (i & 32) ? QPoint(X[1], Y[3]) : QPoint(X[0], Y[2]), QPoint(X[2], Y[4])});
    }
}

int CCubePainter::HitPart(int x, int y, bool allParts) const
{
    const int dx = x - Left;
    const int dy = y - Top;
    if (Size < 0 || dx < 0 || dy < 0 || dx > Size || dy > Size)
        return -1;
    const quint8 parts = Masks().MaskFor(Size)[dy * (Size + 1) + dx];
    for (int part = 0; part < CubePartCount; ++part) {
        if (!(parts & (1 << part)))
            continue;
        if (allParts || part == Centre || !(Index & (1 << part)))
            return part;
    }
    return -1;
}

void CCubePainter::FillSelected(QPainter &painter) const
{
    FillRegionWithOp(painter, GetCubeRegion(), CreateGrayPatternBrush(), QPainter::RasterOp_SourceOrDestination);
}

void CCubePainter::DrawFrameXor(QPainter &painter, int dx, int dy) const
{
    const QRegion region = ::GetCubeRegion(MovedCubePoints(ComputeCubePoints(), dx, dy), Index);
    FillRegionWithOp(painter, RegionBorder(region), QBrush(Qt::white), QPainter::RasterOp_SourceXorDestination);
}

bool CCubePainter::IsInsideRegion(const QRegion &region) const
{
    return GetCubeRegion().subtracted(region).isEmpty();
}

QBrush CreateGrayPatternBrush()
{
    return QBrush(CreateCheckerImage(Qt::black, Qt::white));
}
