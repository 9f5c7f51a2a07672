// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/thumbnailer.h"

#include "app/commandlineexport.h"
#include "app/translations.h"
#include "files/fileexception.h"
#include "files/regularfile.h"
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

QImage CThumbnailer::Render(const CFigure &figure, int size)
{
    const CFigure::Bounds b = figure.GetBounds();
    if (b.IsEmpty() || size < 1 || b.Width() <= 0 || b.Height() <= 0)
        return QImage();
    // The whole figure within size x size, never above its own size, every cube at its
    // true position times the zoom: the picture keeps the figure's proportions.
    const QRect bounds(b.left, b.top, b.Width(), b.Height());
    CWorkspaceRenderer renderer;
    CWorkspaceRenderer::Params params;
    params.CubeSize = figure.CubeSize;
    params.Zoom = qMin(1.0, qMin(double(size) / bounds.width(), double(size) / bounds.height()));
    const QRgb background = ColorFromRef(figure.BkColor).rgb();
    QImage image;
    if (CWorkspaceRenderer::DrawnSize(params) < CWorkspaceRenderer::MinCrispSize) {
        // Cubes of a few pixels have no shape left: the true drawing, averaged.
        image = renderer.DrawAveraged(figure, bounds, background, params);
    } else {
        const QRect target = CWorkspaceRenderer::ZoomedRect(bounds, params.Zoom);
        image = QImage(target.size(), QImage::Format_RGB32);
        if (!image.isNull()) {
            image.fill(background);
            params.Offset = -target.topLeft();
            renderer.DrawImage(image, figure, params);
        }
    }
    // Rounding may give a pixel too many.
    if (image.width() > size || image.height() > size)
        image = image.copy(0, 0, qMin(size, image.width()), qMin(size, image.height()));
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
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    if (!image.save(&png, "PNG"))
        return fail(CThumbnailer::tr("The preview could not be drawn."));
    // A file manager that made OUT itself may keep it open and read the preview back
    // through that descriptor: an existing regular file is written in place. Anything
    // else goes through the safe writer, which replaces OUT only when complete and
    // never when it is something else than a regular file.
    CRegularFile existing;
    if (existing.OpenExistingForWriting(outputPath)) {
        if (!existing.ReplaceContents(png.data()))
            return fail(
                CThumbnailer::tr("The preview could not be saved to %1.\n%2").arg(outputPath, existing.ErrorString()));
        return 0;
    }
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
                                      "tarvex --thumbnail SIZE IN OUT")
                         .toLocal8Bit()
                         .constData());
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
