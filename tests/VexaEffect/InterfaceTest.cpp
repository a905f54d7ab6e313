// What the apply exports accept and refuse, and the copy of VexaDoEffectEx.

#include <gtest/gtest.h>

#include <functional>

#include "TestImage.h"

namespace {

TEST(EffectInterface, NullParamsFail)
{
    TestImage image(2, 2);
    EffectImage descriptor = image.Descriptor();
    EXPECT_EQ(VexaDoEffect(&descriptor, nullptr, nullptr), 0);
    EXPECT_EQ(VexaDoEffectEx(&descriptor, &descriptor, nullptr, nullptr), 0);
}

TEST(EffectInterface, IdsWithoutAnEffectSucceedAndChangeNothing)
{
    for (int32_t id : {-1, 17, 1000, -5}) {
        TestImage image(3, 2);
        image.Set(1, 1, {1, 2, 3, 4});
        const auto before = image.Bytes();
        EXPECT_TRUE(image.Apply(id, 80, 80)) << id;
        EXPECT_EQ(image.Bytes(), before) << id;
    }
}

TEST(EffectInterface, UnusableDescriptorsFailWithoutTouchingMemory)
{
    const std::pair<const char *, std::function<void(EffectImage &)>> cases[] = {
        {"null pixels", [](EffectImage &d) { d.pixels = nullptr; }},
        {"zero width", [](EffectImage &d) { d.width = 0; }},
        {"negative height", [](EffectImage &d) { d.height = -3; }},
        {"short stride", [](EffectImage &d) { d.stride = d.width * 4 - 1; }},
        {"negative stride", [](EffectImage &d) { d.stride = -d.stride; }},
        {"huge width", [](EffectImage &d) { d.width = 0x40000000; }},
    };
    for (int32_t id : {0, 8, 15}) {
        for (const auto &[name, spoil] : cases) {
            TestImage image(4, 3);
            image.Set(0, 0, {1, 2, 3, 4});
            const auto before = image.Bytes();
            EffectImage descriptor = image.Descriptor();
            spoil(descriptor);
            const EffectParams params{id, 50, 50, 0};
            EXPECT_EQ(VexaDoEffect(&descriptor, nullptr, &params), 0) << name << ", id " << id;
            EXPECT_EQ(VexaDoEffectEx(&descriptor, nullptr, nullptr, &params), 0) << name << ", id " << id;
            EXPECT_EQ(image.Bytes(), before) << name << ", id " << id;
        }
        const EffectParams params{id, 50, 50, 0};
        EXPECT_EQ(VexaDoEffect(nullptr, nullptr, &params), 0);
    }
}

TEST(EffectInterface, EffectsLeaveRowPaddingAlone)
{
    for (int32_t id = 0; id <= 16; ++id) {
        TestImage image(5, 4, 5 * 4 + 8);
        image.Fill({10, 120, 240, 128});
        image.Set(2, 1, {200, 30, 90, 255});
        ASSERT_TRUE(image.Apply(id, 60, 40)) << id;
        EXPECT_TRUE(image.PaddingIntact()) << id;
    }
}

TEST(EffectInterface, ExCopiesRowsBetweenDifferentStrides)
{
    TestImage source(3, 2, 3 * 4 + 4);
    TestImage target(3, 2, 3 * 4 + 12);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            source.Set(x, y, {static_cast<uint8_t>(x), static_cast<uint8_t>(y), 7, 9});
    EffectImage from = source.Descriptor();
    EffectImage to = target.Descriptor();
    const EffectParams copy{-1, 0, 0, 0};
    ASSERT_EQ(VexaDoEffectEx(&from, &to, nullptr, &copy), 1);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(target.Get(x, y), source.Get(x, y));
    EXPECT_TRUE(target.PaddingIntact());
}

TEST(EffectInterface, ExCopiesOnlyWhatBothPicturesHold)
{
    TestImage source(2, 2);
    source.Fill(Grey(50));
    TestImage target(3, 3);
    target.Fill(Grey(9));
    EffectImage from = source.Descriptor();
    EffectImage to = target.Descriptor();
    const EffectParams copy{-1, 0, 0, 0};
    ASSERT_EQ(VexaDoEffectEx(&from, &to, nullptr, &copy), 1);
    // Row i in memory goes to row i in memory: the top two rows of the target, two pixels each.
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(target.Get(x, y), Grey(y >= 1 && x < 2 ? 50 : 9)) << x << "," << y;

    EXPECT_EQ(VexaDoEffectEx(&from, nullptr, nullptr, &copy), 0);
}

TEST(EffectInterface, ExAppliesOtherIdsToTheImageOnly)
{
    TestImage image(2, 1);
    image.Fill(Grey(10));
    TestImage target(2, 1);
    const auto untouched = target.Bytes();
    EffectImage from = image.Descriptor();
    EffectImage to = target.Descriptor();
    const EffectParams invert{1, 0, 0, 0};
    ASSERT_EQ(VexaDoEffectEx(&from, &to, nullptr, &invert), 1);
    EXPECT_EQ(image.Get(0, 0), Grey(245));
    EXPECT_EQ(target.Bytes(), untouched);
}

} // namespace
