// Effects computed from each pixel's own values: exact results on small hand-made pictures.

#include <gtest/gtest.h>

#include <string>

#include "TestImage.h"

namespace {

enum EffectId { kGray = 0, kInvert = 1, kSepia = 5, kEmboss = 6, kFlipH = 7, kFlipV = 8, kGrid = 9,
                kNoise = 10, kThreshold = 13, kVideo = 14, kHalftone = 16 };

TEST(PixelEffects, GreyUsesIntegerLuminanceAndKeepsAlpha)
{
    TestImage image(2, 1);
    image.Set(0, 0, {10, 20, 30, 77});
    image.Set(1, 0, {255, 255, 255, 0});
    ASSERT_TRUE(image.Apply(kGray));
    EXPECT_EQ(image.Get(0, 0), (Pixel{21, 21, 21, 77}));
    EXPECT_EQ(image.Get(1, 0), (Pixel{255, 255, 255, 0}));
}

TEST(PixelEffects, InvertKeepsAlpha)
{
    TestImage image(1, 1);
    image.Set(0, 0, {0, 100, 255, 9});
    ASSERT_TRUE(image.Apply(kInvert));
    EXPECT_EQ(image.Get(0, 0), (Pixel{255, 155, 0, 9}));
}

TEST(PixelEffects, ThresholdComparesLuminanceStrictly)
{
    // p1 = 50 gives threshold 127; pure green has luminance 150.
    TestImage image(3, 1);
    image.Set(0, 0, {0, 255, 0, 40});
    image.Set(1, 0, Grey(127));
    image.Set(2, 0, Grey(128));
    ASSERT_TRUE(image.Apply(kThreshold, 50));
    EXPECT_EQ(image.Get(0, 0), (Pixel{255, 255, 255, 40}));
    EXPECT_EQ(image.Get(1, 0), Grey(0));
    EXPECT_EQ(image.Get(2, 0), Grey(255));
}

// Pixels numbered 1, 2, 3 … in every byte, so any misplaced byte shows.
TestImage Numbered(int width, int height)
{
    TestImage image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const auto n = static_cast<uint8_t>(1 + y * width + x);
            image.Set(x, y, {n, static_cast<uint8_t>(n + 100), static_cast<uint8_t>(n + 200), n});
        }
    return image;
}

TEST(PixelEffects, FlipsSwapWholePixelsAndKeepTheMiddle)
{
    const TestImage original = Numbered(3, 3);
    TestImage horizontal = original;
    ASSERT_TRUE(horizontal.Apply(kFlipH));
    TestImage vertical = original;
    ASSERT_TRUE(vertical.Apply(kFlipV));
    TestImage source = original;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(horizontal.Get(x, y), source.Get(2 - x, y)) << x << "," << y;
            EXPECT_EQ(vertical.Get(x, y), source.Get(x, 2 - y)) << x << "," << y;
        }
}

TEST(PixelEffects, EmbossComparesWithTheUnprocessedRightNeighbour)
{
    auto row = [] {
        TestImage image(4, 1);
        image.Set(0, 0, {100, 100, 100, 10});
        image.Set(1, 0, Grey(50));
        image.Set(2, 0, {51, 51, 52, 255});
        image.Set(3, 0, Grey(0));
        return image;
    };
    TestImage image = row();
    ASSERT_TRUE(image.Apply(kEmboss, 2));
    EXPECT_EQ(image.Get(0, 0), Grey(228, 10)); // 150 / 3 * 2 + 128
    EXPECT_EQ(image.Get(1, 0), Grey(126));     // -4 / 3 truncates to -1
    EXPECT_EQ(image.Get(2, 0), Grey(230));     // 154 / 3 * 2 + 128
    EXPECT_EQ(image.Get(3, 0), Grey(128));     // the last column

    TestImage strong = row();
    ASSERT_TRUE(strong.Apply(kEmboss, -2147483647)); // clamped, no overflow
    EXPECT_EQ(strong.Get(0, 0), Grey(0, 10));
    EXPECT_EQ(strong.Get(1, 0), Grey(255));

    TestImage flat(3, 2);
    flat.Fill(Grey(90));
    ASSERT_TRUE(flat.Apply(kEmboss, 5));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(flat.Get(x, y), Grey(128));
}

TEST(PixelEffects, GridBevelsCellsCountingRowsFromTheBottom)
{
    // Cell 5, depth 20: '-' lowered, '+' raised; rows listed from y = 4 (first in memory) down to 0.
    const char *expected[5] = {"     ", " +++ ", " + - ", " --- ", "     "};
    TestImage image(5, 5);
    image.Fill(Grey(100));
    ASSERT_TRUE(image.Apply(kGrid, 5, 20));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) {
            const char mark = expected[4 - y][x];
            EXPECT_EQ(image.Get(x, y), Grey(mark == '+' ? 120 : mark == '-' ? 80 : 100)) << x << "," << y;
        }

    TestImage bright(5, 5);
    bright.Fill(Grey(250));
    ASSERT_TRUE(bright.Apply(kGrid, 5, 20));
    EXPECT_EQ(bright.Get(1, 3), Grey(255));
    EXPECT_EQ(bright.Get(1, 1), Grey(230));
}

TEST(PixelEffects, GridCellsBelowThreeChangeNothing)
{
    for (int cell : {2, 1, 0, -7}) {
        TestImage image = Numbered(6, 6);
        const auto before = image.Bytes();
        ASSERT_TRUE(image.Apply(kGrid, cell, 50));
        EXPECT_EQ(image.Bytes(), before) << "cell " << cell;
    }
}

TEST(PixelEffects, VideoDoublesOneChannelInADiagonalPattern)
{
    TestImage image(4, 3);
    image.Fill(Grey(100));
    image.Set(3, 0, {200, 200, 200, 255});
    ASSERT_TRUE(image.Apply(kVideo));
    // From the bottom row up: blue, green, red at x = 0, 1, 2, then the pattern shifts.
    const int channel[3][3] = {{0, 1, 2}, {2, 0, 1}, {1, 2, 0}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) {
            Pixel expected = Grey(100);
            expected[channel[y][x]] = 200;
            EXPECT_EQ(image.Get(x, y), expected) << x << "," << y;
        }
    EXPECT_EQ(image.Get(3, 0), (Pixel{255, 200, 200, 255})); // x = 3 repeats x = 0, capped at 255
}

TEST(PixelEffects, HalftoneDithersWithTheMatrixFromTheBottomRow)
{
    const int matrix[8][8] = {
        {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26}, {12, 44, 4, 36, 14, 46, 6, 38},
        {60, 28, 52, 20, 62, 30, 54, 22}, {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
        {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21},
    };
    for (int grey : {128, 131, 132}) {
        TestImage image(8, 8);
        image.Fill(Grey(static_cast<uint8_t>(grey), 60));
        ASSERT_TRUE(image.Apply(kHalftone));
        const int level = grey / 4;
        int white = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const bool on = matrix[y][x] < level;
                white += on;
                EXPECT_EQ(image.Get(x, y), Grey(on ? 255 : 0, 60)) << grey << ": " << x << "," << y;
            }
        EXPECT_EQ(white, level);
    }
}

TEST(PixelEffects, SepiaTonesTheLuminance)
{
    const std::pair<uint8_t, Pixel> cases[] = {
        {0, {0, 0, 0, 33}}, {100, {0, 64, 78, 33}}, {128, {0, 105, 128, 33}}, {255, {255, 255, 255, 33}},
    };
    TestImage image(4, 1);
    for (int i = 0; i < 4; ++i)
        image.Set(i, 0, Grey(cases[i].first, 33));
    ASSERT_TRUE(image.Apply(kSepia));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(image.Get(i, 0), cases[i].second) << int(cases[i].first);
}

TEST(PixelEffects, NoiseMovesAllThreeChannelsTogether)
{
    TestImage quiet(16, 16);
    quiet.Fill(Grey(128, 7));
    const auto before = quiet.Bytes();
    ASSERT_TRUE(quiet.Apply(kNoise, 0));
    EXPECT_EQ(quiet.Bytes(), before);

    TestImage noisy = quiet;
    ASSERT_TRUE(noisy.Apply(kNoise, 100));
    int changed = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const Pixel p = noisy.Get(x, y);
            EXPECT_EQ(p[0], p[1]);
            EXPECT_EQ(p[0], p[2]);
            EXPECT_EQ(p[3], 7);
            changed += p[0] != 128;
        }
    EXPECT_GT(changed, 200);

    // The generator goes on from where the last request left it.
    TestImage again = quiet;
    ASSERT_TRUE(again.Apply(kNoise, 100));
    EXPECT_NE(again.Bytes(), noisy.Bytes());
}

} // namespace
