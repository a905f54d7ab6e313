// The image object: making, loading, turning, flipping, pixel access, scaled drawing, text.

#include "CQtImageImp.h"
#include "CVexaImage.h"
#include "PictureFixtures.h"

#include <gtest/gtest.h>

#include <QImageWriter>

#include <functional>
#include <thread>

namespace {

// Pixel (x, y) of a marked image holds x and y, so any move of a pixel shows.
constexpr uint32_t Mark(int x, int y)
{
    return 0xFF000000u | uint32_t(x) << 8 | uint32_t(y);
}

std::unique_ptr<CQtImageImp> MarkedImage(int width, int height)
{
    auto image = std::make_unique<CQtImageImp>();
    EXPECT_TRUE(image->Create(width, height, kPixelFormatARGB32));
    BitsInfo bits{};
    EXPECT_TRUE(image->LockBits(&bits));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            reinterpret_cast<uint32_t *>(bits.scan0 + y * bits.stride)[x] = Mark(x, y);
    EXPECT_TRUE(image->UnlockBits(&bits));
    return image;
}

using PixelMap = std::function<QPoint(int x, int y, int w, int h)>; // where source (x, y) goes

void ExpectMoved(const QImage &result, int w, int h, const PixelMap &to)
{
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QPoint p = to(x, y, w, h);
            EXPECT_EQ(result.pixel(p), Mark(x, y)) << "source " << x << "," << y;
        }
}

TEST(ImageTest, RotatesByQuarterTurns)
{
    const struct {
        int code;
        bool swapped;
        PixelMap to;
    } cases[] = {
        {kRotateNone, false, [](int x, int y, int, int) { return QPoint(x, y); }},
        {kRotateCounterClockwise, true, [](int x, int y, int w, int) { return QPoint(y, w - 1 - x); }},
        {kRotateClockwise, true, [](int x, int y, int, int h) { return QPoint(h - 1 - y, x); }},
        {kRotateHalf, false, [](int x, int y, int w, int h) { return QPoint(w - 1 - x, h - 1 - y); }},
        {7, false, [](int x, int y, int w, int h) { return QPoint(w - 1 - x, h - 1 - y); }},
    };
    const auto source = MarkedImage(3, 2);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.code);
        CQtImageImp result; // empty, so made to measure
        ASSERT_TRUE(source->Rotate(c.code, &result));
        ASSERT_EQ(result.Picture().size(), c.swapped ? QSize(2, 3) : QSize(3, 2));
        ExpectMoved(result.Picture(), 3, 2, c.to);
    }
    // Code 1: the top-left pixel of the 2 x 3 result is the source's top-right pixel.
    CQtImageImp turned;
    ASSERT_TRUE(source->Rotate(kRotateCounterClockwise, &turned));
    EXPECT_EQ(turned.Picture().pixel(0, 0), Mark(2, 0));
}

TEST(ImageTest, FlipsIntoAResultAndInPlace)
{
    const PixelMap maps[] = {
        [](int x, int y, int, int) { return QPoint(x, y); },
        [](int x, int y, int w, int) { return QPoint(w - 1 - x, y); },
        [](int x, int y, int, int h) { return QPoint(x, h - 1 - y); },
        [](int x, int y, int w, int h) { return QPoint(w - 1 - x, h - 1 - y); },
    };
    for (int flags = 0; flags < 4; ++flags) {
        SCOPED_TRACE(flags);
        const auto source = MarkedImage(5, 3);
        CQtImageImp reused;
        ASSERT_TRUE(reused.Create(5, 3, kPixelFormatARGB32));
        CQtImageImp replaced;
        ASSERT_TRUE(replaced.Create(2, 2, kPixelFormatARGB32));
        for (CQtImageImp *result : {&reused, &replaced}) {
            ASSERT_TRUE(source->Flip(flags, result));
            ASSERT_EQ(result->Picture().size(), QSize(5, 3));
            ExpectMoved(result->Picture(), 5, 3, maps[flags]);
        }
        ASSERT_TRUE(source->Flip(flags, nullptr));
        ExpectMoved(source->Picture(), 5, 3, maps[flags]);
    }
}

TEST(ImageTest, LockedBitsAreTopDownBgra)
{
    CVexaImage image(2, 2, 0x80112233u);
    ASSERT_TRUE(image);
    BitsInfo bits{};
    ASSERT_TRUE(image.Imp()->LockBits(&bits));
    EXPECT_EQ(bits.width, 2);
    EXPECT_EQ(bits.height, 2);
    EXPECT_EQ(bits.stride, 8);
    EXPECT_EQ(bits.zero, 0);
    EXPECT_EQ(QByteArray(reinterpret_cast<char *>(bits.scan0), 4), QByteArray("\x33\x22\x11\x80"));
    bits.scan0[0] = 0x44; // blue of the top-left pixel
    EXPECT_FALSE(image.Imp()->LockBits(&bits)); // one lock at a time
    ASSERT_TRUE(image.Imp()->UnlockBits(&bits));
    EXPECT_EQ(bits.scan0, nullptr);
    const QImage &picture = static_cast<CQtImageImp *>(image.Imp())->Picture();
    EXPECT_EQ(picture.pixel(0, 0), 0x80112244u);
    EXPECT_EQ(picture.pixel(0, 1), 0x80112233u);

    // A 24-bit image over the caller's buffer is locked as 32-bit pixels and written back.
    uint8_t pixels[2 * 1 * 3] = {1, 2, 3, 4, 5, 6};
    CQtImageImp rgb;
    ASSERT_TRUE(rgb.CreateFromBuffer(2, 1, pixels, kPixelFormatRGB24));
    ASSERT_TRUE(rgb.LockBits(&bits));
    EXPECT_EQ(QByteArray(reinterpret_cast<char *>(bits.scan0), 8), QByteArray("\x01\x02\x03\xFF\x04\x05\x06\xFF"));
    bits.scan0[4] = 9;
    ASSERT_TRUE(rgb.UnlockBits(&bits));
    EXPECT_EQ(pixels[3], 9);
}

TEST(ImageTest, MakingAndEmptyImages)
{
    CQtImageImp image;
    int width = 7, height = 7;
    EXPECT_FALSE(image.GetSize(&width, &height));
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
    BitsInfo bits{};
    EXPECT_FALSE(image.LockBits(&bits));
    EXPECT_FALSE(image.Flip(1, nullptr));
    EXPECT_FALSE(image.Save(u"/tmp/never.png", VEXA_OUT_PNG, 80));

    EXPECT_FALSE(image.Create(10, 10, 3));  // unknown format code
    EXPECT_FALSE(image.Create(10, 0, kPixelFormatARGB32));
    EXPECT_FALSE(image.Create(40000, 40000, kPixelFormatARGB32)); // over 1 GiB
    ASSERT_TRUE(image.Create(3, 2, kPixelFormatARGB32));
    EXPECT_EQ(image.Picture().pixel(2, 1), 0u); // transparent black
    EXPECT_TRUE(image.GetSize(&width, &height));
    EXPECT_EQ(QSize(width, height), QSize(3, 2));

    CVexaImage canvas(200, 100, 0xFFE5E5E5u);
    const QImage &filled = static_cast<CQtImageImp *>(canvas.Imp())->Picture();
    EXPECT_EQ(filled.pixel(0, 0), 0xFFE5E5E5u);
    EXPECT_EQ(filled.pixel(199, 99), 0xFFE5E5E5u);
}

TEST(ImageTest, LoadsCommonFormats)
{
    QTemporaryDir dir;
    const QImage picture = SplitPicture(8, 4);
    // A 1 x 1 red GIF (Qt writes no GIF).
    const QByteArray gif("GIF89a\x01\0\x01\0\x80\0\0\xFF\0\0\0\0\0!\xF9\x04\0\0\0\0\0,\0\0\0\0\x01\0\x01\0\0\x02\x02\x44\x01\0;", 43);
    WriteTestFile(dir.filePath("red.gif"), gif);
    CVexaImage fromGif(U16(dir.filePath("red.gif")).c_str());
    ASSERT_TRUE(fromGif);
    EXPECT_EQ(static_cast<CQtImageImp *>(fromGif.Imp())->Picture().pixel(0, 0), 0xFFFF0000u);

    QList<QByteArray> formats = {"bmp", "jpeg", "png"};
    for (const QByteArray &optional : {QByteArray("webp"), QByteArray("tiff")})
        if (QImageWriter::supportedImageFormats().contains(optional))
            formats << optional;
    for (const QByteArray &format : formats) {
        SCOPED_TRACE(format.toStdString());
        const QString path = dir.filePath("picture." + format);
        WriteTestFile(path, Encoded(picture, format.constData(), 100));
        CVexaImage loaded(U16(path).c_str());
        ASSERT_TRUE(loaded);
        const QImage &pixels = static_cast<CQtImageImp *>(loaded.Imp())->Picture();
        ASSERT_EQ(pixels.size(), QSize(8, 4));
        EXPECT_TRUE(Near(pixels.pixel(1, 1), qRgb(255, 0, 0), 40));
        EXPECT_TRUE(Near(pixels.pixel(6, 2), qRgb(0, 0, 255), 40));
    }
    EXPECT_FALSE(CVexaImage(U16(dir.filePath("missing.png")).c_str()));
}

TEST(ImageTest, HighQualityScalingKeepsFlatColoursAndAlpha)
{
    // A flat half-transparent colour stays exactly that colour whatever the scale: the weights
    // sum to one and alpha is handled premultiplied, so no dark fringe.
    for (QSize target : {QSize(37, 23), QSize(300, 90), QSize(1, 1)}) {
        SCOPED_TRACE(target.width());
        CVexaImage source(101, 61, 0x80336699u);
        CQtImageImp canvas;
        ASSERT_TRUE(canvas.Create(target.width(), target.height(), kPixelFormatARGB32));
        ASSERT_TRUE(canvas.DrawImageRectI(source.Imp(), 0, 0, target.width(), target.height(),
                                          kInterpolationBicubic));
        const QImage &out = canvas.Picture();
        for (QPoint p : {QPoint(0, 0), QPoint(target.width() / 2, target.height() / 2),
                         QPoint(target.width() - 1, target.height() - 1)}) {
            EXPECT_NEAR(qAlpha(out.pixel(p)), 0x80, 1);
            EXPECT_TRUE(Near(out.pixel(p), 0x80336699u, 2)) << std::hex << out.pixel(p);
        }
    }
    // A destination rectangle with fractional edges leaves the edge pixels partly covered.
    CVexaImage opaque(50, 50, 0xFFFFFFFFu);
    CQtImageImp canvas;
    ASSERT_TRUE(canvas.Create(10, 10, kPixelFormatARGB32));
    ASSERT_TRUE(canvas.DrawImageRect(opaque.Imp(), {0.5, 0, 9, 10}, {0, 0, 50, 50}, kInterpolationBicubic));
    EXPECT_NEAR(qAlpha(canvas.Picture().pixel(0, 5)), 128, 2);
    EXPECT_EQ(qAlpha(canvas.Picture().pixel(5, 5)), 255);
    EXPECT_NEAR(qAlpha(canvas.Picture().pixel(9, 5)), 128, 2);
}

TEST(ImageTest, TextWithAMissingFaceFallsBackToSansSerif)
{
    CQtImageImp canvas;
    ASSERT_TRUE(canvas.Create(200, 60, kPixelFormatARGB32));
    FontInfo missing = DefaultFontInfo();
    const char16_t face[] = u"No Such Face 12345";
    std::copy(std::begin(face), std::end(face), missing.faceName);
    missing.size = 20;
    FontInfo sans = missing;
    const char16_t sansFace[] = u"Sans Serif";
    std::copy(std::begin(sansFace), std::end(sansFace), sans.faceName);

    // The first text of the process is measured on a thread that ends before the rest.
    float width = 0, height = 0;
    std::thread([&] { EXPECT_TRUE(canvas.MeasureText(u"Lumivue", missing, &width, &height)); }).join();
    float sansWidth = 0, sansHeight = 0;
    ASSERT_TRUE(canvas.MeasureText(u"Lumivue", sans, &sansWidth, &sansHeight));
    EXPECT_GT(width, 40);
    EXPECT_GT(height, 10);
    EXPECT_FLOAT_EQ(width, sansWidth);
    EXPECT_FLOAT_EQ(height, sansHeight);

    missing.color = 0xFF00FF00u; // green, drawn at the text's own alpha
    missing.alpha = 255;
    ASSERT_TRUE(canvas.DrawText(u"Lumivue", missing, 10, 5, true));
    const QImage &out = canvas.Picture();
    int green = 0;
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = out.pixel(x, y);
            if (qGreen(p) > 200 && qRed(p) < 60 && qBlue(p) < 60) {
                ++green;
                EXPECT_TRUE(x >= 10 && x <= 10 + width && y >= 5 && y <= 5 + height);
            }
        }
    EXPECT_GT(green, 20);
    int frame = 0; // dotted blue along the top of the text's box
    for (int x = 10; x < 10 + width; ++x)
        frame += out.pixel(x, 5) == 0xFF0000FFu;
    EXPECT_GT(frame, width / 4);
}

} // namespace
