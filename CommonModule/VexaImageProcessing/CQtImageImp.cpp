#include "CQtImageImp.h"

#include "ImagingPlatform.h"
#include "PictureFile.h"
#include "Resampler.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>

#include <algorithm>
#include <cstring>

namespace {

struct OutputType {
    const char *mime;
    const char *extension;
};
constexpr OutputType kOutputTypes[] = {
    {"image/bmp", ".bmp"},
    {"image/jpeg", ".jpeg"},
    {"image/png", ".png"},
};

// Large enough that text laid out from a point is never wrapped or clipped.
constexpr qreal kLayoutExtent = 1e6;
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop;
constexpr QRgb kFrameColor = 0xFF0000FFu;

QImage::Format QtFormat(int format)
{
    switch (format) {
    case kPixelFormatARGB32: return QImage::Format_ARGB32;
    case kPixelFormatRGB24: return QImage::Format_BGR888;
    case kPixelFormatRGB32: return QImage::Format_RGB32;
    default: return QImage::Format_Invalid;
    }
}

bool IsFourByte(const QImage &image)
{
    return image.depth() == 32;
}

// The picture as 4-byte B, G, R, A pixels, shared when it already is.
QImage FourByteView(const QImage &image)
{
    return IsFourByte(image) ? image : image.convertToFormat(QImage::Format_ARGB32);
}

// The file name's extension (from its last ".", a leading "." not counting) becomes extension.
QString WithExtension(const QString &path, const char *extension)
{
    const qsizetype nameStart = path.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > nameStart ? path.left(dot) : path;
    return stem + QLatin1String(extension);
}

QString FromUtf16(const char16_t *text)
{
    return QString::fromUtf16(text);
}

QFont MakeFont(const FontInfo &info)
{
    const char16_t *end = std::find(std::begin(info.faceName), std::end(info.faceName), u'\0');
    const QString face = QString::fromUtf16(info.faceName, end - info.faceName);
    QFont font;
    if (!face.isEmpty() && QFontDatabase::families().contains(face, Qt::CaseInsensitive)) {
        font.setFamily(face);
    } else {
        font.setStyleHint(QFont::SansSerif);
        font.setFamily(QStringLiteral("Sans Serif"));
    }
    font.setPointSizeF(info.size);
    font.setBold(info.style & VEXA_FONT_BOLD);
    font.setItalic(info.style & VEXA_FONT_ITALIC);
    font.setUnderline(info.style & VEXA_FONT_UNDERLINE);
    font.setStrikeOut(info.style & VEXA_FONT_STRIKEOUT);
    return font;
}

QPen OutlinePen(QRgb color, int style)
{
    QPen pen(QColor::fromRgba(color), 1.0);
    switch (style) {
    case kOutlineDotted: pen.setStyle(Qt::DotLine); break;
    case kOutlineDashed: pen.setStyle(Qt::DashLine); break;
    case kOutlineDashDot: pen.setStyle(Qt::DashDotLine); break;
    default: pen.setStyle(Qt::SolidLine); break;
    }
    return pen;
}

} // namespace

CQtImageImp::CQtImageImp()
{
    StartImagingPlatform();
}

CQtImageImp::CQtImageImp(QImage picture) : m_bitmap(std::move(picture))
{
    StartImagingPlatform();
}

bool CQtImageImp::CreateFromBuffer(int width, int height, void *pixels, int format)
{
    const QImage::Format qtFormat = QtFormat(format);
    if (!pixels || qtFormat == QImage::Format_Invalid || !PictureSizeAllowed(width, height))
        return false;
    const int bytesPerPixel = format == kPixelFormatRGB24 ? 3 : 4;
    m_bitmap = QImage(static_cast<uchar *>(pixels), width, height, width * bytesPerPixel, qtFormat);
    return !m_bitmap.isNull();
}

bool CQtImageImp::Create(int width, int height, int format)
{
    m_bitmap = QImage();
    const QImage::Format qtFormat = QtFormat(format);
    if (qtFormat == QImage::Format_Invalid || !PictureSizeAllowed(width, height))
        return false;
    m_bitmap = QImage(width, height, qtFormat);
    if (m_bitmap.isNull())
        return false;
    m_bitmap.fill(m_bitmap.hasAlphaChannel() ? QColor(Qt::transparent) : QColor(Qt::black));
    return true;
}

bool CQtImageImp::LoadFromFile(const char16_t *path)
{
    m_bitmap = path ? CPictureFile(FromUtf16(path)).Read() : QImage();
    return !m_bitmap.isNull();
}

bool CQtImageImp::GetSize(int *width, int *height)
{
    if (width)
        *width = 0;
    if (height)
        *height = 0;
    if (m_bitmap.isNull())
        return false;
    if (width)
        *width = m_bitmap.width();
    if (height)
        *height = m_bitmap.height();
    return true;
}

int CQtImageImp::GetWidth()
{
    return m_bitmap.width();
}

int CQtImageImp::GetHeight()
{
    return m_bitmap.height();
}

const QImage *CQtImageImp::DrawablePicture(CVexaImageImp *source)
{
    const auto *imp = dynamic_cast<CQtImageImp *>(source);
    return imp && !imp->m_bitmap.isNull() ? &imp->m_bitmap : nullptr;
}

void CQtImageImp::TakeResolution(const QImage &source)
{
    m_bitmap.setDotsPerMeterX(source.dotsPerMeterX());
    m_bitmap.setDotsPerMeterY(source.dotsPerMeterY());
}

bool CQtImageImp::DrawImage(CVexaImageImp *source, int x, int y)
{
    const QImage *picture = DrawablePicture(source);
    if (!picture || m_bitmap.isNull() || m_locked)
        return false;
    TakeResolution(*picture);
    QPainter painter;
    if (!painter.begin(&m_bitmap))
        return false;
    painter.drawImage(QPoint(x, y), *picture);
    return painter.end();
}

bool CQtImageImp::DrawRectangle(VexaRectF rect, int outlineStyle, uint32_t argb)
{
    if (m_bitmap.isNull() || m_locked)
        return false;
    QPainter painter;
    if (!painter.begin(&m_bitmap))
        return false;
    painter.setPen(OutlinePen(argb, outlineStyle));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect.x, rect.y, rect.width, rect.height));
    return painter.end();
}

bool CQtImageImp::DrawImageRect(CVexaImageImp *source, VexaRectF dest, VexaRectF src,
                                int interpolation)
{
    const QImage *picture = DrawablePicture(source);
    if (!picture || m_bitmap.isNull() || m_locked)
        return false;
    TakeResolution(*picture);
    const bool positive = dest.width > 0 && dest.height > 0 && src.width > 0 && src.height > 0;
    if (positive && (interpolation == kInterpolationBicubic ||
                     interpolation == kInterpolationHighQualityBicubic)) {
        // Lanczos in premultiplied space, then blended like any other draw.
        const QImage premultiplied = picture->hasAlphaChannel()
            ? picture->convertToFormat(QImage::Format_ARGB32_Premultiplied)
            : IsFourByte(*picture) ? *picture : picture->convertToFormat(QImage::Format_RGB32);
        const ResampledLayer layer = ResampleLanczos(premultiplied, src, dest, m_bitmap.size());
        if (layer.image.isNull()) // nothing of dest lies on this image
            return true;
        if (BlendLayer(layer, m_bitmap))
            return true;
        QPainter painter;
        if (!painter.begin(&m_bitmap))
            return false;
        painter.drawImage(layer.origin, layer.image);
        return painter.end();
    }
    QPainter painter;
    if (!painter.begin(&m_bitmap))
        return false;
    painter.setRenderHint(QPainter::SmoothPixmapTransform,
                          interpolation != kInterpolationNearest);
    painter.drawImage(QRectF(dest.x, dest.y, dest.width, dest.height), *picture,
                      QRectF(src.x, src.y, src.width, src.height));
    return painter.end();
}

bool CQtImageImp::DrawImageRectI(CVexaImageImp *source, int x, int y, int width, int height,
                                 int interpolation)
{
    const QImage *picture = DrawablePicture(source);
    if (!picture)
        return false;
    return DrawImageRect(source, VexaRectF{double(x), double(y), double(width), double(height)},
                         VexaRectF{0, 0, double(picture->width()), double(picture->height())},
                         interpolation);
}

bool CQtImageImp::DrawText(const char16_t *text, const FontInfo &font, float x, float y,
                           bool frame)
{
    if (!text || m_bitmap.isNull() || m_locked || !(font.size > 0) || !StartTextPlatform())
        return false;
    QPainter painter;
    if (!painter.begin(&m_bitmap))
        return false;
    const QString content = FromUtf16(text);
    painter.setFont(MakeFont(font));
    painter.setPen(QColor(qRed(font.color), qGreen(font.color), qBlue(font.color),
                          font.alpha & 0xFF));
    const QRectF layout(x, y, kLayoutExtent, kLayoutExtent);
    QRectF box;
    painter.drawText(layout, kTextFlags, content, &box);
    if (frame) {
        painter.setPen(OutlinePen(kFrameColor, kOutlineDotted));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(x, y, box.width(), box.height()));
    }
    return painter.end();
}

bool CQtImageImp::MeasureText(const char16_t *text, const FontInfo &font, float *width,
                              float *height)
{
    if (!text || !width || !height || m_bitmap.isNull() || !(font.size > 0) ||
        !StartTextPlatform())
        return false;
    const QFontMetricsF metrics(MakeFont(font), &m_bitmap);
    const QRectF box =
        metrics.boundingRect(QRectF(0, 0, kLayoutExtent, kLayoutExtent), kTextFlags, FromUtf16(text));
    *width = float(box.width());
    *height = float(box.height());
    return true;
}

bool CQtImageImp::PrepareResult(CVexaImageImp *result, int width, int height, BitsInfo *bits)
{
    if (!result)
        return false;
    if (result->GetWidth() != width || result->GetHeight() != height) {
        if (!result->Create(width, height, kPixelFormatARGB32))
            return false;
    }
    return result->LockBits(bits);
}

bool CQtImageImp::Flip(int flags, CVexaImageImp *result)
{
    if (m_bitmap.isNull() || m_locked || result == this)
        return false;
    flags &= kFlipHorizontal | kFlipVertical;
    if (!result) {
        FlipInPlace(flags);
        return true;
    }
    const QImage source = FourByteView(m_bitmap);
    const int width = source.width(), height = source.height();
    BitsInfo bits{};
    if (!PrepareResult(result, width, height, &bits))
        return false;
    const size_t rowBytes = std::min<size_t>(size_t(bits.stride), size_t(source.bytesPerLine()));
    for (int y = 0; y < height; ++y) {
        const int targetRow = flags & kFlipVertical ? height - 1 - y : y;
        const auto *from = reinterpret_cast<const uint32_t *>(source.constScanLine(y));
        uint8_t *to = bits.scan0 + size_t(targetRow) * bits.stride;
        if (flags & kFlipHorizontal) {
            auto *target = reinterpret_cast<uint32_t *>(to);
            for (int x = 0; x < width; ++x)
                target[width - 1 - x] = from[x];
        } else {
            std::memcpy(to, from, rowBytes);
        }
    }
    return result->UnlockBits(&bits);
}

void CQtImageImp::FlipInPlace(int flags)
{
    if (flags == 0)
        return;
    BitsInfo bits{};
    LockBits(&bits);
    const size_t rowBytes = size_t(bits.width) * 4;
    if (flags & kFlipHorizontal) {
        for (int y = 0; y < bits.height; ++y) {
            auto *row = reinterpret_cast<uint32_t *>(bits.scan0 + size_t(y) * bits.stride);
            std::reverse(row, row + bits.width);
        }
    }
    if (flags & kFlipVertical) {
        if (m_rowBuffer.size() < rowBytes)
            m_rowBuffer.resize(rowBytes);
        for (int y = 0; y < bits.height / 2; ++y) {
            uint8_t *top = bits.scan0 + size_t(y) * bits.stride;
            uint8_t *bottom = bits.scan0 + size_t(bits.height - 1 - y) * bits.stride;
            std::memcpy(m_rowBuffer.data(), top, rowBytes);
            std::memcpy(top, bottom, rowBytes);
            std::memcpy(bottom, m_rowBuffer.data(), rowBytes);
        }
    }
    UnlockBits(&bits);
}

bool CQtImageImp::Rotate(int code, CVexaImageImp *result)
{
    if (m_bitmap.isNull() || m_locked || !result || result == this)
        return false;
    if (code == kRotateNone)
        return Flip(0, result);
    if (code != kRotateCounterClockwise && code != kRotateClockwise)
        return Flip(kFlipHorizontal | kFlipVertical, result);
    const QImage source = FourByteView(m_bitmap);
    const int width = source.width(), height = source.height();
    BitsInfo bits{};
    if (!PrepareResult(result, height, width, &bits))
        return false;
    for (int y = 0; y < height; ++y) {
        const auto *from = reinterpret_cast<const uint32_t *>(source.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            // Counter-clockwise: (x, y) goes to (y, W-1-x); clockwise: to (H-1-y, x).
            const int tx = code == kRotateCounterClockwise ? y : height - 1 - y;
            const int ty = code == kRotateCounterClockwise ? width - 1 - x : x;
            reinterpret_cast<uint32_t *>(bits.scan0 + size_t(ty) * bits.stride)[tx] = from[x];
        }
    }
    return result->UnlockBits(&bits);
}

bool CQtImageImp::LockBits(BitsInfo *bits)
{
    if (!bits || m_bitmap.isNull() || m_locked)
        return false;
    QImage &pixels = IsFourByte(m_bitmap) ? m_bitmap
                                          : (m_lockedCopy = m_bitmap.convertToFormat(QImage::Format_ARGB32));
    if (pixels.isNull())
        return false;
    *bits = BitsInfo{pixels.bits(), int32_t(pixels.bytesPerLine()), pixels.width(), pixels.height(), 0, 0};
    m_locked = true;
    return true;
}

bool CQtImageImp::UnlockBits(BitsInfo *bits)
{
    if (!m_locked)
        return false;
    if (!m_lockedCopy.isNull()) {
        // Back into the 24-bit picture's own buffer, which may be the caller's.
        for (int y = 0; y < m_bitmap.height(); ++y) {
            const uchar *from = m_lockedCopy.constScanLine(y);
            uchar *to = m_bitmap.scanLine(y);
            for (int x = 0; x < m_bitmap.width(); ++x, from += 4, to += 3)
                std::memcpy(to, from, 3);
        }
        m_lockedCopy = QImage();
    }
    m_locked = false;
    if (bits)
        *bits = BitsInfo{};
    return true;
}

bool CQtImageImp::Save(const char16_t *path, int outType, int quality)
{
    if (!path || !*path || m_bitmap.isNull() || m_locked || outType < 0 ||
        outType >= int(std::size(kOutputTypes)))
        return false;
    const OutputType &type = kOutputTypes[outType];
    const QList<QByteArray> formats = QImageWriter::imageFormatsForMimeType(type.mime);
    if (formats.isEmpty())
        return false;
    // Written to a temporary file beside the target and renamed over it only when complete.
    QSaveFile file(WithExtension(FromUtf16(path), type.extension));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, formats.first());
    writer.setQuality(quality);
    if (!writer.write(m_bitmap)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
