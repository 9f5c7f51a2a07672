// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the pictures that the help pages, the About page and the desktop use, with the
// program's own cube painter, and writes a sample figure for screen captures.
//
//   tarvex_helppictures pictures DIR          door.png, okbutton.png, helpnav.png, helpnav@2x.png
//   tarvex_helppictures icons DIR             tarvex.svg, tarvex-SIZE.png, the figure file icon, helpicon.png
//   tarvex_helppictures buttons STRIP DIR     btn_*.png cut from a toolbar strip
//   tarvex_helppictures figure FILE.xml       an impossible triangle as a figure file

#include "document/tarvexdoc.h"
#include "geometry/cubegeometry.h"
#include "geometry/cubepainter.h"
#include "geometry/surface.h"
#include "support/testdocument.h"

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>
#include <QSvgRenderer>
#include <QTextStream>

#include <cstdio>

namespace {

const QColor Magenta(255, 0, 255);

// Places an impossible triangle of side n cubes whose corner A is the cell start:
// down the right-hand slope, up the vertical side and back down to A. Every cube is
// placed after the one before it, so it hides that one; the last cube keeps its
// corner off A, so A stays in front of it and the loop closes impossibly.
void PlaceTriangle(CTarvexDoc &doc, QPoint start, int n)
{
    const int directions[3] = {LowerRight, Top, LowerLeft};
    QPoint cell = start;
    PlaceCube(doc, cell.x(), cell.y(), 0);
    for (int side = 0; side < 3; ++side) {
        for (int step = 0; step < n; ++step) {
            const bool last = side == 2 && step == n - 2;
            cell = NeighbourCell(cell.x(), cell.y(), directions[side]);
            if (side == 2 && step == n - 1)
                return; // back at A
            PlaceCube(doc, cell.x(), cell.y(), last ? (1 << LowerLeft) : 0);
        }
    }
}

// A document of the given cube size holding one triangle of side n, grid just large
// enough.
std::unique_ptr<CTarvexDoc> TriangleDocument(int cubeSize, int n, QPoint start, QSize grid)
{
    auto doc = std::make_unique<CTarvexDoc>(false);
    EditFigure(*doc, [&](CFigure &f) { f.CubeSize = cubeSize; });
    doc->ResizeGrid(grid.width(), grid.height());
    PlaceTriangle(*doc, start, n);
    return doc;
}

// Paints a document's figure centred in an image of the given size.
void PaintCentred(QImage &image, const CTarvexDoc &doc)
{
    const CFigure::Bounds b = doc.Figure().GetBounds();
    const int w = b.right - b.left - 2;
    const int h = b.bottom - b.top - 2;
    QPainter p(&image);
    doc.DrawWorkspace(p, false, 1, (image.width() - w) / 2 - b.left, (image.height() - h) / 2 - b.top, false);
}

bool Save(const QImage &image, const QString &path)
{
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("wrote %s (%d x %d)\n", qPrintable(path), image.width(), image.height());
    return true;
}

// The About page picture: an impossible triangle of cubes in front of a night sky
// gradient, framed like a doorway.
QImage DrawDoor()
{
    QImage image(140, 178, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient sky(0, 0, 0, 178);
    sky.setColorAt(0, QColor(10, 16, 60));
    sky.setColorAt(1, QColor(0, 0, 0));
    p.fillRect(image.rect(), sky);
    p.setPen(QColor(90, 90, 120));
    p.drawRect(0, 0, 139, 177);
    p.drawRect(3, 3, 133, 171);
    p.end();
    auto doc = TriangleDocument(20, 5, QPoint(1, 10), QSize(10, 30));
    PaintCentred(image, *doc);
    return image;
}

// The About page's OK picture: a raised grey button with the word OK.
QImage DrawOkButton()
{
    QImage image(60, 24, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    QLinearGradient face(0, 0, 0, 24);
    face.setColorAt(0, QColor(236, 236, 236));
    face.setColorAt(1, QColor(176, 176, 176));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(255, 255, 255));
    p.setBrush(face);
    p.drawRoundedRect(QRectF(0.5, 0.5, 59, 23), 4, 4);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(20, 20, 20));
    p.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("OK"));
    return image;
}

// Arrow pointing left (dir -1) or right (dir 1) inside a 25 x 24 cell at x0, drawn at
// scale device pixels per picture pixel (the outline as wide as one picture pixel).
void DrawNavArrow(QPainter &p, int x0, int dir, int scale)
{
    const int cx = x0 + 12;
    QPolygon arrow;
    arrow << QPoint(cx + 9 * dir, 12) << QPoint(cx + 1 * dir, 4) << QPoint(cx + 1 * dir, 8) << QPoint(cx - 9 * dir, 8)
          << QPoint(cx - 9 * dir, 16) << QPoint(cx + 1 * dir, 16) << QPoint(cx + 1 * dir, 20);
    if (scale == 1) {
        p.setPen(QColor(0, 90, 0));
    } else {
        // The same outline through the centres of the scaled pixels, one picture pixel wide.
        QPolygonF dense;
        for (const QPoint &point : arrow)
            dense << QPointF(point) * scale + QPointF(scale - 1, scale - 1) / 2.0;
        p.setPen(QPen(QColor(0, 90, 0), scale, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
        p.setBrush(QColor(40, 170, 60));
        p.drawPolygon(dense);
        return;
    }
    p.setBrush(QColor(40, 170, 60));
    p.drawPolygon(arrow);
}

// The help window's toolbar strip: Back and Forward, magenta where transparent; at
// scale 2 the same drawing at twice the resolution, for dense screens.
QImage DrawHelpNav(int scale = 1)
{
    QImage image(50 * scale, 24 * scale, QImage::Format_RGB32);
    image.fill(Magenta);
    QPainter p(&image);
    DrawNavArrow(p, 0, -1, scale);
    DrawNavArrow(p, 25, 1, scale);
    return image;
}

// A small group of cubes touching face to face: one at the back with another stacked
// on it, and two in front, drawn back to front by the cube painter.
void DrawCubeGroup(QPainter &p, QRect box)
{
    // The group is 4 Hx wide and 3.5 H high, H being half the cube size.
    int size = qMin(box.width() * 100 / 173, box.height() * 100 / 175);
    CCubePainter cube;
    cube.Size = size;
    const CubePoints pt = ComputeCubePoints(0, 0, size);
    const int h = size / 2;
    const int hx = pt.X[4] - pt.X[2];
    const int hy = pt.Y[2];
    const int left = box.left() + (box.width() - 4 * hx) / 2 - (h - hx) + hx;
    const int top = box.top() + (box.height() - (3 * h + hy)) / 2 + h;
    const QPoint places[4] = {QPoint(left, top), QPoint(left, top - h), QPoint(left - hx, top + hy),
                              QPoint(left + hx, top + hy)};
    for (const QPoint &place : places) {
        cube.Left = place.x();
        cube.Top = place.y();
        cube.Draw(p);
    }
}

// The application icon as a drawing: the cube group, drawn by the cube painter into
// an SVG of IconUnits x IconUnits (the cube outlines stay 1 unit wide at any size).
constexpr int IconUnits = 128;

void DrawAppIcon(QPainter &p)
{
    const int margin = IconUnits / 32;
    DrawCubeGroup(p, QRect(margin, margin, IconUnits - 2 * margin, IconUnits - 2 * margin));
}

// The figure file type's icon: a page with a folded corner and the cube group on it.
void DrawFileIcon(QPainter &p)
{
    const qreal u = IconUnits / 16.0;
    QPainterPath page;
    page.moveTo(2.5 * u, 0.5 * u);
    page.lineTo(10.5 * u, 0.5 * u);
    page.lineTo(13.5 * u, 3.5 * u);
    page.lineTo(13.5 * u, 15.5 * u);
    page.lineTo(2.5 * u, 15.5 * u);
    page.closeSubpath();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(110, 110, 110), u / 2));
    p.setBrush(QColor(250, 250, 250));
    p.drawPath(page);
    QPainterPath fold;
    fold.moveTo(10.5 * u, 0.5 * u);
    fold.lineTo(10.5 * u, 3.5 * u);
    fold.lineTo(13.5 * u, 3.5 * u);
    p.setBrush(QColor(215, 215, 215));
    p.drawPath(fold);
    p.setRenderHint(QPainter::Antialiasing, false);
    DrawCubeGroup(p, QRect(int(3.5 * u), int(4.5 * u), int(9 * u), int(9 * u)));
}

// Writes the drawing as NAME.svg and as NAME-SIZE.png at every size desktops ask for,
// each rendered from the SVG with antialiased edges.
bool SaveIcon(const QDir &dir, const QString &name, void (*draw)(QPainter &))
{
    const QString svgPath = dir.filePath(name + ".svg");
    {
        QSvgGenerator svg;
        svg.setFileName(svgPath);
        svg.setSize(QSize(IconUnits, IconUnits));
        svg.setViewBox(QRect(0, 0, IconUnits, IconUnits));
        svg.setTitle(QStringLiteral("Tarvex"));
        QPainter p(&svg);
        draw(p);
    }
    QSvgRenderer renderer(svgPath);
    if (!renderer.isValid())
        return false;
    for (int edge : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QImage image(edge, edge, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        renderer.render(&p);
        p.end();
        if (!Save(image.convertToFormat(QImage::Format_ARGB32),
                  dir.filePath(QStringLiteral("%1-%2.png").arg(name).arg(edge))))
            return false;
    }
    return true;
}

// The help window's icon: the cube group with a question mark badge.
QImage DrawHelpIcon()
{
    const int edge = 64;
    QImage image(edge, edge, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    DrawCubeGroup(p, QRect(0, 0, 50, 50));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(QColor(30, 80, 200));
    p.drawEllipse(QRectF(33, 33, 29, 29));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(22);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRect(33, 33, 29, 29), Qt::AlignCenter, QStringLiteral("?"));
    return image;
}

const char *const ButtonNames[10] = {"btn_select",  "btn_new",  "btn_open", "btn_save", "btn_print",
                                     "btn_options", "btn_undo", "btn_redo", "btn_help", "btn_about"};

// Cuts the ten 25 x 24 pictures out of a toolbar strip, magenta made transparent.
bool CutButtons(const QString &stripPath, const QString &dir)
{
    QImage strip(stripPath);
    if (strip.isNull() || strip.width() < 250 || strip.height() < 24) {
        std::fprintf(stderr, "%s is not a 250 x 24 toolbar strip\n", qPrintable(stripPath));
        return false;
    }
    strip = strip.convertToFormat(QImage::Format_ARGB32);
    for (int i = 0; i < 10; ++i) {
        QImage button = strip.copy(25 * i, 0, 25, 24);
        for (int y = 0; y < button.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(button.scanLine(y));
            for (int x = 0; x < button.width(); ++x)
                if ((line[x] & 0xFFFFFF) == 0xFF00FF)
                    line[x] = 0;
        }
        if (!Save(button, QDir(dir).filePath(QString::fromLatin1(ButtonNames[i]) + ".png")))
            return false;
    }
    return true;
}

int Usage()
{
    std::fprintf(stderr, "usage: tarvex_helppictures pictures DIR | icons DIR | buttons STRIP DIR |\n"
                         "       figure FILE.xml\n");
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2)
        return Usage();
    const QString command = args[0];
    const QString target = args[1];
    if (command == "pictures") {
        const QDir dir(target);
        return Save(DrawDoor(), dir.filePath("door.png")) && Save(DrawOkButton(), dir.filePath("okbutton.png"))
                       && Save(DrawHelpNav(), dir.filePath("helpnav.png"))
                       && Save(DrawHelpNav(2), dir.filePath("helpnav@2x.png"))
                   ? 0
                   : 1;
    }
    if (command == "icons") {
        const QDir dir(target);
        return SaveIcon(dir, QStringLiteral("tarvex"), DrawAppIcon)
                       && SaveIcon(dir, QStringLiteral("application-x-tarvex-figure"), DrawFileIcon)
                       && Save(DrawHelpIcon(), dir.filePath("helpicon.png"))
                   ? 0
                   : 1;
    }
    if (command == "buttons" && args.size() == 3)
        return CutButtons(target, args[2]) ? 0 : 1;
    if (command == "figure") {
        CTestDocument doc(20, 40);
        PlaceTriangle(doc, QPoint(3, 14), 6);
        QString error;
        if (!doc.SaveFigureXml(target, &error)) {
            std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(target), qPrintable(error));
            return 1;
        }
        std::printf("wrote %s\n", qPrintable(target));
        return 0;
    }
    return Usage();
}
