// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/thumbnailer.h"

#include "app/commandlineexport.h"
#include "app/translations.h"
#include "files/fileexception.h"
#include "files/safefilewriter.h"
#include "geometry/figure.h"
#include "geometry/workspacerenderer.h"

#include <QCoreApplication>
#include <QBuffer>

#include <cstdio>
#include <cstring>

namespace {

// Previews larger than this are not drawn: file managers ask for 128 to 1024 pixels.
constexpr int MaxThumbnailSize = 4096;

} // namespace

bool CThumbnailer::IsRequested(int argc, char **argv)
{
    return argc > 1 && (std::strcmp(argv[1], "--thumbnail") == 0);
}

int CThumbnailer::FittingCubeSize(const CFigure &figure, int size)
{
    CFigure measured = figure;   // rows are shared: only the cube size changes
    auto fits = [&](int cube) {
        measured.CubeSize = cube;
        const CFigure::Bounds b = measured.GetBounds();
        return b.Width() <= size && b.Height() <= size;
    };
    // The picture grows with the cube size: search for the largest size that fits.
    int low = MinCubeSize;           // answer when nothing fits
    int high = qMax(figure.CubeSize, MinCubeSize);
    if (fits(high))
        low = high;
    while (high - low > 1) {
        const int middle = (low + high) / 2;
        (fits(middle) ? low : high) = middle;
    }
    return low;
}

QImage CThumbnailer::Render(const CFigure &figure, int size)
{
    CFigure drawn = figure;
    drawn.CubeSize = FittingCubeSize(figure, size);
    const CFigure::Bounds b = drawn.GetBounds();
    QImage image(b.Width(), b.Height(), QImage::Format_RGB32);
    if (!image.isNull()) {
        image.fill(ColorFromRef(drawn.BkColor));
        CWorkspaceRenderer::Params params;
        params.CubeSize = drawn.CubeSize;
        params.Offset = QPoint(-b.left, -b.top);
        CWorkspaceRenderer().DrawImage(image, drawn, params);
    }
    if (image.width() > size || image.height() > size)
        image = image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

int CThumbnailer::Write(const QString &figurePath, const QString &outputPath, int size, QString *message)
{
    auto fail = [message](const QString &text) {
        if (message)
            *message = text;
        return 1;
    };
    if (size < 1 || size > MaxThumbnailSize)
        return fail(CThumbnailer::tr("The preview size must be a number from 1 to %1.").arg(MaxThumbnailSize));
    CFigure figure;
    QString reason;
    if (!CCommandLineExport::ReadFigure(figurePath, figure, &reason))
        return fail(reason);
    const QImage image = Render(figure, size);
    if (image.isNull())
        return fail(CThumbnailer::tr("The preview could not be drawn."));
    // Written through the safe writer: OUT is replaced only when complete, and never
    // when it is something else than a regular file.
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    if (!image.save(&png, "PNG"))
        return fail(CThumbnailer::tr("The preview could not be drawn."));
    const bool written = CFileException::Guard(&reason, [&] {
        CSafeFileWriter writer(outputPath);
        writer.Write(png.data().constData(), png.data().size());
        writer.Commit();
        return true;
    });
    if (!written)
        return fail(CThumbnailer::tr("The preview could not be saved to %1.\n%2").arg(outputPath, reason));
    return 0;
}

int CThumbnailer::Run(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    CTranslations::Install(app);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        std::fprintf(stderr, "tarvex: %s\n",
                     CThumbnailer::tr("--thumbnail needs the size, the figure file and the output file: "
                        "tarvex --thumbnail SIZE IN OUT").toLocal8Bit().constData());
        return 2;
    }
    bool ok = false;
    const int size = args.at(2).toInt(&ok);
    QString message;
    const int code = Write(args.at(3), args.at(4), ok ? size : 0, &message);
    if (code != 0)
        std::fprintf(stderr, "tarvex: %s\n", message.toLocal8Bit().constData());
    return code;
}
