// VexaSetImageSize: a picture file shrunk to fit a box and written in a chosen format.

#include "CQtImageImp.h"
#include "ImageLog.h"
#include "PictureFile.h"
#include "VexaImageProcessing.h"

#include <QString>

#include <new>

namespace {

// How much larger than the copy the picture is decoded where the format can reduce while
// decoding. JPEG reduction in the DCT is a block filter; leaving at least this much of the
// shrink to the Lanczos filter keeps the copy as sharp and clean as a reduction from the full
// picture, at a fraction of the decoding time.
constexpr double kDecodeMargin = 1.5;

// The size of a width x height picture fitted into the box: kept when it fits, else scaled
// down keeping its aspect ratio, truncating, the height filling the box on a tie.
QSize FitToBox(long long width, long long height, long long maxWidth, long long maxHeight)
{
    if (width <= maxWidth && height <= maxHeight)
        return QSize(int(width), int(height));
    if (width * maxHeight > height * maxWidth)
        return QSize(int(maxWidth), int(height * maxWidth / width));
    return QSize(int(width * maxHeight / height), int(maxHeight));
}

// A copy of source in a new transparent image of the given size, scaled to fill it along one
// axis and centred along the other.
std::unique_ptr<CQtImageImp> ScaledCopy(CQtImageImp &source, QSize size, QSize sourceSize)
{
    auto copy = std::make_unique<CQtImageImp>();
    if (!copy->Create(size.width(), size.height(), kPixelFormatARGB32)) {
        ImageLog("error size: %dx%d", size.width(), size.height());
        return nullptr;
    }
    const double w = sourceSize.width(), h = sourceSize.height();
    const double boxWidth = size.width(), boxHeight = size.height();
    VexaRectF dest{};
    if (w * boxHeight < h * boxWidth) {
        dest.height = boxHeight;
        dest.width = w * boxHeight / h;
        dest.x = (boxWidth - dest.width) / 2;
    } else {
        dest.width = boxWidth;
        dest.height = h * boxWidth / w;
        dest.y = (boxHeight - dest.height) / 2;
    }
    const VexaRectF whole{0, 0, double(source.GetWidth()), double(source.GetHeight())};
    if (!copy->DrawImageRect(&source, dest, whole, kInterpolationBicubic))
        return nullptr;
    return copy;
}

int32_t SetImageSize(const char16_t *sourcePath, const char16_t *destPath, int maxWidth,
                     int maxHeight, int outType, int quality)
{
    if (!sourcePath)
        return 0;
    std::unique_ptr<CQtImageImp> copy;
    {
        CPictureFile file(QString::fromUtf16(sourcePath));
        QSize size = file.Size();
        QImage decoded;
        if (!size.isValid()) { // the format does not tell its size before decoding
            decoded = file.Read();
            size = decoded.size();
        }
        if (size.isEmpty())
            return 0;
        const QSize fitted = FitToBox(size.width(), size.height(), maxWidth, maxHeight);
        if (decoded.isNull())
            decoded = file.Read((QSizeF(fitted) * kDecodeMargin).toSize());
        if (decoded.isNull())
            return 0;
        CQtImageImp source(std::move(decoded));
        copy = ScaledCopy(source, fitted, size);
        if (!copy)
            return 0;
    } // the source is released and its file closed before the output is written
    const char16_t *target = destPath && *destPath ? destPath : sourcePath;
    return copy->Save(target, outType, quality) ? 1 : 0;
}

} // namespace

VEXA_IMAGE_API int32_t VexaSetImageSize(const char16_t *sourcePath, const char16_t *destPath,
                                        int32_t maxWidth, int32_t maxHeight, int32_t outType,
                                        int32_t quality)
{
    try {
        return SetImageSize(sourcePath, destPath, maxWidth, maxHeight, outType, quality);
    } catch (const std::bad_alloc &) {
        return 0;
    }
}
