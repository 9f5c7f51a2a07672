// Draws the pictures that the help pages, the About page and the desktop use, with the
// program's own cube painter, and writes a sample figure for screen captures.
//
//   tarvex_helppictures pictures DIR          door.png, okbutton.png, helpnav.png
//   tarvex_helppictures icons DIR             tarvex-64.png, tarvex-256.png, helpicon.png
//   tarvex_helppictures placeholder-strip FILE   a 250 x 24 toolbar strip of our own
//   tarvex_helppictures buttons STRIP DIR     btn_*.png cut from a toolbar strip
//   tarvex_helppictures placeholder-screens DIR  mainwin.png, mainwin2.png (drawn, not captured)
//   tarvex_helppictures figure FILE.xml       an impossible triangle as a figure file

#include "document/tarvexdoc.h"
#include "geometry/cubegeometry.h"
#include "geometry/cubepainter.h"
#include "geometry/surface.h"

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
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
    doc.PlaceCube(cell.x(), cell.y(), 0);
    for (int side = 0; side < 3; ++side) {
        for (int step = 0; step < n; ++step) {
            const bool last = side == 2 && step == n - 2;
            cell = NeighbourCell(cell.x(), cell.y(), directions[side]);
            if (side == 2 && step == n - 1)
                return;   // back at A
            doc.PlaceCube(cell.x(), cell.y(), last ? (1 << LowerLeft) : 0);
        }
    }
}

// A document of the given cube size holding one triangle of side n, grid just large
// enough.
std::unique_ptr<CTarvexDoc> TriangleDocument(int cubeSize, int n, QPoint start, QSize grid)
{
    auto doc = std::make_unique<CTarvexDoc>(false);
    doc->CubeSize = cubeSize;
    doc->ResizeGrid(grid.width(), grid.height());
    PlaceTriangle(*doc, start, n);
    return doc;
}

// Paints a document's figure centred in an image of the given size.
void PaintCentred(QImage &image, const CTarvexDoc &doc)
{
    const CTarvexDoc::Bounds b = doc.GetFigureBounds();
    const int w = b.right - b.left - 2;
    const int h = b.bottom - b.top - 2;
    QPainter p(&image);
    doc.DrawWorkspace(p, false, 1, (image.width() - w) / 2 - b.left,
                      (image.height() - h) / 2 - b.top, false);
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

// Arrow pointing left (dir -1) or right (dir 1) inside a 25 x 24 cell at x0.
void DrawNavArrow(QPainter &p, int x0, int dir)
{
    const int cx = x0 + 12;
    QPolygon arrow;
    arrow << QPoint(cx + 9 * dir, 12) << QPoint(cx + 1 * dir, 4) << QPoint(cx + 1 * dir, 8)
          << QPoint(cx - 9 * dir, 8) << QPoint(cx - 9 * dir, 16) << QPoint(cx + 1 * dir, 16)
          << QPoint(cx + 1 * dir, 20);
    p.setPen(QColor(0, 90, 0));
    p.setBrush(QColor(40, 170, 60));
    p.drawPolygon(arrow);
}

// The help window's toolbar strip: Back and Forward, magenta where transparent.
QImage DrawHelpNav()
{
    QImage image(50, 24, QImage::Format_RGB32);
    image.fill(Magenta);
    QPainter p(&image);
    DrawNavArrow(p, 0, -1);
    DrawNavArrow(p, 25, 1);
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
    const QPoint places[4] = {QPoint(left, top), QPoint(left, top - h),
                              QPoint(left - hx, top + hy), QPoint(left + hx, top + hy)};
    for (const QPoint &place : places) {
        cube.Left = place.x();
        cube.Top = place.y();
        cube.Draw(p);
    }
}

QImage DrawAppIcon(int edge)
{
    QImage image(edge, edge, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    const int margin = edge / 32;
    DrawCubeGroup(p, QRect(margin, margin, edge - 2 * margin, edge - 2 * margin));
    return image;
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

// --- The placeholder toolbar strip: ten 25 x 24 pictures on magenta. ---

void DrawSelectArrow(QPainter &p)
{
    QPolygon arrow;
    arrow << QPoint(8, 3) << QPoint(8, 19) << QPoint(12, 15) << QPoint(15, 21)
          << QPoint(17, 20) << QPoint(14, 14) << QPoint(19, 14);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawPolygon(arrow);
}

void DrawNewPage(QPainter &p)
{
    QPolygon page;
    page << QPoint(6, 2) << QPoint(15, 2) << QPoint(19, 6) << QPoint(19, 21) << QPoint(6, 21);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawPolygon(page);
    p.drawLine(15, 2, 15, 6);
    p.drawLine(15, 6, 19, 6);
}

void DrawFolder(QPainter &p)
{
    p.setPen(Qt::black);
    p.setBrush(QColor(230, 190, 60));
    p.drawPolygon(QPolygon({QPoint(3, 6), QPoint(9, 6), QPoint(11, 8), QPoint(18, 8),
                            QPoint(18, 19), QPoint(3, 19)}));
    p.setBrush(QColor(250, 220, 110));
    p.drawPolygon(QPolygon({QPoint(6, 11), QPoint(22, 11), QPoint(18, 19), QPoint(3, 19)}));
}

void DrawDiskette(QPainter &p)
{
    p.setPen(Qt::black);
    p.setBrush(QColor(40, 60, 150));
    p.drawRect(4, 3, 16, 17);
    p.setBrush(QColor(220, 220, 220));
    p.drawRect(8, 3, 8, 6);
    p.setBrush(Qt::white);
    p.drawRect(7, 12, 10, 8);
    p.fillRect(13, 4, 2, 4, QColor(40, 60, 150));
}

void DrawPrinter(QPainter &p)
{
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(7, 3, 10, 7);
    p.setBrush(QColor(170, 170, 170));
    p.drawRect(3, 9, 18, 8);
    p.setBrush(Qt::white);
    p.drawRect(7, 14, 10, 7);
    p.fillRect(18, 11, 2, 2, QColor(0, 170, 0));
}

void DrawOptionsWindow(QPainter &p)
{
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(2, 4, 15, 14);
    p.fillRect(3, 5, 14, 3, QColor(20, 40, 160));
    QPolygon pencil;
    pencil << QPoint(21, 7) << QPoint(23, 9) << QPoint(13, 19) << QPoint(10, 20) << QPoint(11, 17);
    p.setBrush(QColor(240, 200, 40));
    p.drawPolygon(pencil);
}

void DrawTurnArrow(QPainter &p, bool clockwise)
{
    p.save();
    if (!clockwise) {
        p.translate(25, 0);
        p.scale(-1, 1);
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(QColor(0, 0, 160), 3, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRect(5, 6, 14, 14), 200 * 16, -250 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 160));
    p.drawPolygon(QPolygon({QPoint(17, 4), QPoint(23, 12), QPoint(14, 13)}));
    p.restore();
}

void DrawQuestionMark(QPainter &p)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(20);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0, 0, 160));
    p.drawText(QRect(0, 0, 25, 24), Qt::AlignCenter, QStringLiteral("?"));
}

QImage DrawPlaceholderStrip()
{
    QImage image(250, 24, QImage::Format_RGB32);
    image.fill(Magenta);
    QPainter p(&image);
    using Drawer = void (*)(QPainter &);
    const Drawer drawers[] = {
        DrawSelectArrow, DrawNewPage, DrawFolder, DrawDiskette, DrawPrinter,
        DrawOptionsWindow, [](QPainter &q) { DrawTurnArrow(q, false); },
        [](QPainter &q) { DrawTurnArrow(q, true); }, DrawQuestionMark,
        [](QPainter &q) { DrawCubeGroup(q, QRect(1, 1, 23, 22)); }};
    for (int i = 0; i < 10; ++i) {
        p.save();
        p.translate(25 * i, 0);
        p.setClipRect(0, 0, 25, 24);
        drawers[i](p);
        p.restore();
    }
    return image;
}

const char *const ButtonNames[10] = {"btn_select", "btn_new", "btn_open", "btn_save",
                                     "btn_print", "btn_options", "btn_undo", "btn_redo",
                                     "btn_help", "btn_about"};

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

// --- Placeholder screen pictures: the main window's layout drawn with the painter. ---

void DrawMockWindow(QImage &image, bool constructorTab, bool selected)
{
    const QColor face(239, 239, 239);
    image.fill(face);
    QPainter p(&image);
    const int barWidth = 149;
    const int toolbarHeight = 34;

    // Tabs.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    p.setFont(font);
    p.setPen(QColor(160, 160, 160));
    p.setBrush(face);
    p.drawRect(2, 22, barWidth - 5, image.height() - 25);
    const QRect tabs[2] = {QRect(4, 3, 48, 20), QRect(52, 3, 78, 20)};
    const char *names[2] = {"Cubes", "Constructor"};
    for (int t = 0; t < 2; ++t) {
        const bool current = (t == 1) == constructorTab;
        p.setPen(QColor(160, 160, 160));
        p.setBrush(current ? face : QColor(225, 225, 225));
        p.drawRect(tabs[t].adjusted(0, current ? -2 : 0, 0, current ? 1 : 0));
        p.setPen(Qt::black);
        p.drawText(tabs[t], Qt::AlignCenter, QString::fromLatin1(names[t]));
    }
    CCubePainter cube;
    if (constructorTab) {
        cube.Size = 134;
        cube.Left = 7;
        cube.Top = 104;
        cube.Index = 9;
        cube.DrawOutline = true;
        cube.DrawPartBorders = true;
        cube.Draw(p);
    } else {
        cube.Size = 24;
        for (int i = 0; i <= 64; ++i) {
            cube.Left = 7 + 2 + 26 * (i % 5);
            cube.Top = 28 + 2 + 26 * (i / 5);
            cube.Index = i;
            cube.Draw(p);
        }
    }

    // Toolbar.
    QImage strip = DrawPlaceholderStrip();
    const int buttons[15] = {0, -1, -1, 1, 2, 3, 4, -1, 5, -1, 6, 7, -1, 8, 9};
    int x = barWidth + 2;
    for (int s : buttons) {
        if (s < 0) {
            x += 8;
            continue;
        }
        QImage picture = strip.copy(25 * s, 0, 25, 24);
        picture.setAlphaChannel(picture.createMaskFromColor(Magenta.rgb(), Qt::MaskOutColor)
                                    .convertToFormat(QImage::Format_Grayscale8));
        p.drawImage(x + 4, 4, picture.convertToFormat(QImage::Format_ARGB32));
        if (s == 0 && selected) {
            p.setPen(QColor(120, 120, 120));
            p.setBrush(Qt::NoBrush);
            p.drawRect(x, 1, 32, 31);
        }
        x += 33;
    }

    // Workspace.
    CTarvexDoc doc(false);
    doc.ResizeGrid(20, 40);
    PlaceTriangle(doc, QPoint(3, 14), 6);
    if (selected) {
        doc.ToggleSelectMode();
        doc.SelectAll();
    }
    const QRect view(barWidth, toolbarHeight, image.width() - barWidth, image.height() - toolbarHeight);
    p.fillRect(view, ColorFromRef(doc.BkColor));
    p.setClipRect(view);
    p.translate(view.topLeft());
    doc.DrawWorkspace(p, true, 1, 0, 0, false);
}

QImage DrawMockScreen(bool constructorTab, bool selected)
{
    QImage big(696, 540, QImage::Format_RGB32);
    DrawMockWindow(big, constructorTab, selected);
    return big.scaled(348, 270, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

int Usage()
{
    std::fprintf(stderr,
                 "usage: tarvex_helppictures pictures DIR | icons DIR | placeholder-strip FILE |\n"
                 "       buttons STRIP DIR | placeholder-screens DIR | figure FILE.xml\n");
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
        return Save(DrawDoor(), dir.filePath("door.png"))
                       && Save(DrawOkButton(), dir.filePath("okbutton.png"))
                       && Save(DrawHelpNav(), dir.filePath("helpnav.png"))
                   ? 0 : 1;
    }
    if (command == "icons") {
        const QDir dir(target);
        return Save(DrawAppIcon(64), dir.filePath("tarvex-64.png"))
                       && Save(DrawAppIcon(256), dir.filePath("tarvex-256.png"))
                       && Save(DrawHelpIcon(), dir.filePath("helpicon.png"))
                   ? 0 : 1;
    }
    if (command == "placeholder-strip")
        return Save(DrawPlaceholderStrip(), target) ? 0 : 1;
    if (command == "buttons" && args.size() == 3)
        return CutButtons(target, args[2]) ? 0 : 1;
    if (command == "placeholder-screens") {
        const QDir dir(target);
        return Save(DrawMockScreen(false, false), dir.filePath("mainwin.png"))
                       && Save(DrawMockScreen(true, true), dir.filePath("mainwin2.png"))
                   ? 0 : 1;
    }
    if (command == "figure") {
        CTarvexDoc doc(false);
        doc.ResizeGrid(20, 40);
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
