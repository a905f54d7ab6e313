// Table effects: each is checked value by value on a grey ramp, through the request parameters.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestImage.h"

namespace {

enum EffectId { kBrightness = 2, kContrast = 3, kGamma = 4, kPosterize = 11, kSolarize = 12 };

// The ramp after effect `id`: entry i is what grey i became. Alpha must be left as it was.
std::vector<int> Mapped(int32_t id, int32_t p1)
{
    TestImage ramp = TestImage::Ramp();
    EXPECT_TRUE(ramp.Apply(id, p1));
    std::vector<int> out;
    for (int i = 0; i < 256; ++i) {
        const Pixel p = ramp.Get(i, 0);
        EXPECT_EQ(p[0], p[1]);
        EXPECT_EQ(p[0], p[2]);
        EXPECT_EQ(p[3], 255 - i);
        out.push_back(p[0]);
    }
    return out;
}

std::vector<int> Identity()
{
    std::vector<int> out;
    for (int i = 0; i < 256; ++i)
        out.push_back(i);
    return out;
}

TEST(TableEffects, NeutralSettingsChangeNothing)
{
    EXPECT_EQ(Mapped(kBrightness, 50), Identity());
    EXPECT_EQ(Mapped(kContrast, 50), Identity());
    EXPECT_EQ(Mapped(kGamma, 10), Identity()); // gamma 1
}

struct Entry {
    int32_t id;
    int32_t p1;
    int value;
    int expected;
};

class TableEntry : public testing::TestWithParam<Entry> {};

TEST_P(TableEntry, MapsValue)
{
    const Entry &e = GetParam();
    EXPECT_EQ(Mapped(e.id, e.p1)[e.value], e.expected);
}

INSTANTIATE_TEST_SUITE_P(TableEffects, TableEntry, testing::Values(
    // Brightness: level = trunc(p1 / 100 * 200) - 100, integer steps.
    Entry{kBrightness, 100, 100, 177}, Entry{kBrightness, 0, 100, 50},
    Entry{kBrightness, 29, 200, 157},  // level -43: 29 / 100 * 200 truncates to 57
    Entry{kBrightness, 57, 0, 16},     // level 13
    Entry{kBrightness, 58, 0, 19},     // level 15
    Entry{kBrightness, 2147483647, 0, 127}, Entry{kBrightness, -2147483647 - 1, 255, 128},
    // Contrast.
    Entry{kContrast, 100, 127, 77}, Entry{kContrast, 100, 128, 177}, Entry{kContrast, 100, 255, 255},
    Entry{kContrast, 0, 0, 127}, Entry{kContrast, 0, 255, 127},
    Entry{kContrast, 70, 100, 85}, Entry{kContrast, 70, 200, 223}, Entry{kContrast, 30, 100, 110},
    // Gamma = p1 / 10, rounded to nearest; below 0.01 counts as 0.01.
    Entry{kGamma, 50, 128, 222}, Entry{kGamma, 20, 100, 160}, Entry{kGamma, 0, 254, 172},
    Entry{kGamma, -5, 254, 172},
    // Solarize: threshold 25 from p1 = 10.
    Entry{kSolarize, 10, 200, 55}, Entry{kSolarize, 10, 20, 20}, Entry{kSolarize, 10, 25, 230},
    // Posterize: p1 = 10 gives 4 levels; p1 = 0 and below give 2.
    Entry{kPosterize, 10, 128, 170}, Entry{kPosterize, 10, 42, 0}, Entry{kPosterize, 10, 43, 85},
    Entry{kPosterize, 0, 127, 0}, Entry{kPosterize, 0, 128, 255}, Entry{kPosterize, -40, 128, 255}),
    [](const testing::TestParamInfo<Entry> &info) {
        const Entry &e = info.param;
        auto number = [](int64_t n) { return (n < 0 ? "m" : "") + std::to_string(n < 0 ? -n : n); };
        return "id" + number(e.id) + "_p" + number(e.p1) + "_value" + number(e.value) + "_" + std::to_string(info.index);
    });

TEST(TableEffects, PosterizeUsesEvenlySpacedLevels)
{
    // p1 = 100 gives 22 levels: every output is a multiple of 255 / 21, rounded.
    std::vector<int> levels;
    for (int v : Mapped(kPosterize, 100))
        if (levels.empty() || levels.back() != v)
            levels.push_back(v);
    ASSERT_EQ(levels.size(), 22u);
    for (size_t i = 0; i < levels.size(); ++i)
        EXPECT_EQ(levels[i], static_cast<int>(255.0 / 21 * i + 0.5));
}

} // namespace
