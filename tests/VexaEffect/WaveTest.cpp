// The wave distortion: source positions and bilinear sampling of the unmodified copy.

#include <gtest/gtest.h>

#include "TestImage.h"

namespace {

constexpr int32_t kWave = 15;

// Blue 20 x, green 20 y (y counted from the bottom row), red 100, opaque.
TestImage Gradient(int width, int height, int stride = 0)
{
    TestImage image(width, height, stride);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.Set(x, y, {static_cast<uint8_t>(20 * x), static_cast<uint8_t>(20 * y), 100, 255});
    return image;
}

Pixel GradientAt(double x, double y)
{
    return {static_cast<uint8_t>(20 * x), static_cast<uint8_t>(20 * y), 100, 255};
}

TEST(Wave, MovesPixelsAlongTheRipple)
{
    // Wavelength 2 x 2 = 4, amplitude 1, centre (4, 4): at distance 1 the ripple is at its crest.
    TestImage image = Gradient(9, 9);
    ASSERT_TRUE(image.Apply(kWave, 2, 1));
    EXPECT_EQ(image.Get(4, 4), GradientAt(4, 4)); // the centre stays
    EXPECT_EQ(image.Get(5, 4), GradientAt(6, 5));
    EXPECT_EQ(image.Get(3, 4), GradientAt(4, 5));
    EXPECT_EQ(image.Get(4, 5), GradientAt(5, 6));
    // At distance sqrt 2 the source is (5.7957, 5.7957): blended and truncated.
    EXPECT_EQ(image.Get(5, 5), (Pixel{115, 115, 100, 255}));
}

TEST(Wave, StretchesTheShorterSide)
{
    // 8 x 4: y distances count double, so pixel (5, 2) samples halfway between rows 2 and 3.
    TestImage image = Gradient(8, 4);
    ASSERT_TRUE(image.Apply(kWave, 2, 1));
    EXPECT_EQ(image.Get(5, 2), (Pixel{120, 50, 100, 255}));
}

TEST(Wave, BlendsTranslucentNeighboursByAlpha)
{
    TestImage image(9, 9);
    image.Fill(Grey(200));
    image.Set(6, 6, Grey(200, 0));
    ASSERT_TRUE(image.Apply(kWave, 2, 1));
    EXPECT_EQ(image.Get(5, 5), Grey(201, 93));
}

TEST(Wave, LeavesAUniformPictureAsItIs)
{
    TestImage image(20, 15);
    image.Fill({30, 60, 90, 255});
    const auto before = image.Bytes();
    ASSERT_TRUE(image.Apply(kWave, 3, 40));
    EXPECT_EQ(image.Bytes(), before);
}

TEST(Wave, PaddedRowsGiveTheSameResult)
{
    TestImage compact = Gradient(7, 5);
    TestImage padded = Gradient(7, 5, 7 * 4 + 12);
    ASSERT_TRUE(compact.Apply(kWave, 1, 3));
    ASSERT_TRUE(padded.Apply(kWave, 1, 3));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(padded.Get(x, y), compact.Get(x, y)) << x << "," << y;
    EXPECT_TRUE(padded.PaddingIntact());
}

} // namespace
