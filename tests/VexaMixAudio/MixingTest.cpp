// The mix through the pull interface, over WAV files already in the mix format so that the
// samples arrive exactly: single elements, averaging, leading silence, clips, volume and fades.

#include "MixTestSupport.h"

#include <cmath>

using namespace mixtest;

namespace {

// 8000 Hz mono: a block of 2048 samples is 0.256 s.
constexpr int Rate = 8000;
constexpr size_t Block = 2048;

Component MonoComponent()
{
    Component c = NewComponent();
    VexaSetMixParameter(Rate, 1, c.get());
    return c;
}

std::vector<int16_t> Constant(size_t count, int16_t value)
{
    return std::vector<int16_t>(count, value);
}

std::vector<int16_t> Slice(const std::vector<int16_t> &v, size_t from, size_t count)
{
    return {v.begin() + std::ptrdiff_t(from), v.begin() + std::ptrdiff_t(std::min(v.size(), from + count))};
}

} // namespace

TEST(Mixing, OneElementPassesUnchanged)
{
    const std::vector<int16_t> stereo = Pattern(44100 * 2 * 3 / 2);
    const auto path = WriteWav("pattern.wav", 44100, 2, stereo);
    Component c = NewComponent(); // the default 44 100 Hz stereo
    ASSERT_NE(Add(c.get(), path), nullptr);
    MusicElement *e = Add(c.get(), path);
    ASSERT_NE(e, nullptr);
    VexaDeleteMusicElement(e->id, c.get());

    std::vector<int64_t> pts;
    const std::vector<int16_t> mix = PullAll(c.get(), &pts);
    // The 1.5 s of the file (its stream length is whole seconds: 1 s) end at the first block
    // boundary at or past 1 s; the rest of the last block is silent.
    const size_t blocks = (44100 * 2 * 2 + 4095) / 4096;
    ASSERT_EQ(mix.size(), blocks * Block);
    EXPECT_EQ(Slice(mix, 0, blocks * Block), Slice(stereo, 0, blocks * Block));
    ASSERT_EQ(pts.size(), blocks);
    for (size_t i = 0; i < pts.size(); ++i)
        EXPECT_EQ(pts[i], int64_t(i) * 4096 * Second / 176400) << i;
}

TEST(Mixing, OverlappingElementsGiveTheirAverage)
{
    Component c = MonoComponent();
    MusicElement *a = Add(c.get(), WriteWav("a.wav", Rate, 1, Constant(Rate * 4, -10001)));
    MusicElement *b = Add(c.get(), WriteWav("b.wav", Rate, 1, Constant(Rate * 2, 2000)));
    ASSERT_TRUE(a && b);
    b->start = Second; // enters at the first block from 1 s on: block 4 (1.024 s)

    const std::vector<int16_t> mix = PullAll(c.get());
    ASSERT_EQ(mix.size(), 16 * Block); // 4 s
    const auto block = [&](size_t k) { return Slice(mix, k * Block, Block); };
    for (size_t k : {0u, 3u, 12u, 14u})
        EXPECT_EQ(block(k), Constant(Block, -10001)) << "block " << k;
    // (−10001 + 2000) / 2 truncates toward zero.
    for (size_t k = 4; k <= 10; ++k)
        EXPECT_EQ(block(k), Constant(Block, -4000)) << "block " << k;
}

TEST(Mixing, BlankValidationKeepsTheSilenceBeforeTheFirstElement)
{
    const std::vector<int16_t> first = Pattern(Rate * 5);
    const auto a = WriteWav("first.wav", Rate, 1, first);
    const auto b = WriteWav("second.wav", Rate, 1, Constant(Rate * 5, 1234));
    struct Case {
        uint8_t flag;
        size_t seconds;
        size_t firstAt;  // block where the first element begins: the first at or after its start
        size_t secondAt; // and the second
    };
    for (const Case k : {Case{0, 15, 0, 40}, Case{1, 25, 40, 79}}) {
        Component c = MonoComponent();
        VexaMixBlankValidate(k.flag, c.get());
        MusicElement *ea = Add(c.get(), a);
        MusicElement *eb = Add(c.get(), b);
        ASSERT_TRUE(ea && eb);
        eb->start = 20 * Second;
        ea->start = 10 * Second;

        const std::vector<int16_t> mix = PullAll(c.get());
        const size_t blocks = (k.seconds * Rate * 2 + 4095) / 4096;
        ASSERT_EQ(mix.size(), blocks * Block) << int(k.flag);
        EXPECT_EQ(Slice(mix, 0, k.firstAt * Block), Constant(k.firstAt * Block, 0)) << int(k.flag);
        // Entering late, it still leaves at the first block past its end: 19 blocks of it play.
        EXPECT_EQ(Slice(mix, k.firstAt * Block, 19 * Block), Slice(first, 0, 19 * Block)) << int(k.flag);
        EXPECT_EQ(Slice(mix, (k.secondAt - 1) * Block, Block), Constant(Block, 0)) << int(k.flag);
        EXPECT_EQ(Slice(mix, k.secondAt * Block, Block), Constant(Block, 1234)) << int(k.flag);
    }
}

TEST(Mixing, ClipPlaysThePartOfTheFileFromItsStart)
{
    const std::vector<int16_t> samples = Samples(Rate * 4, [](size_t i) { return int16_t(i / Rate + 1); });
    Component c = MonoComponent();
    MusicElement *e = Add(c.get(), WriteWav("seconds.wav", Rate, 1, samples));
    ASSERT_NE(e, nullptr);
    e->clipEnabled = 1;
    e->clipStart = 2 * Second;
    e->clipLength = Second;
    e->start = 7 * Second;

    const std::vector<int16_t> mix = PullAll(c.get());
    ASSERT_EQ(mix.size(), 4 * Block); // 1 s rounded up to blocks
    // The third second of the file (the decoder starts at the packet holding the clip start).
    EXPECT_EQ(Slice(mix, Rate / 4, Rate / 2), Constant(Rate / 2, 3));
}

TEST(Mixing, VolumeAndLinearFadesOverInterleavedSamples)
{
    // A fade-in of 3 s at 44 100 Hz stereo spans Fi = 264 600 interleaved samples; sample n
    // (counted from 1) of the element is scaled by n / Fi.
    const auto path = WriteWav("level.wav", 44100, 2, Constant(44100 * 2 * 4, 20000));
    Component c = NewComponent();
    MusicElement *e = Add(c.get(), path);
    ASSERT_NE(e, nullptr);
    e->fadeIn = 3 * Second;
    e->fadeOut = Second; // Fo = 88 200 over T = 352 800
    const std::vector<int16_t> mix = PullAll(c.get());
    ASSERT_GE(mix.size(), 352800u);
    struct Expect {
        size_t n;
        int16_t value;
    };
    const Expect fades[] = {
        {1, 0},            // 20000 / 264600 truncates to 0
        {14, 1},           // 1.058
        {100000, 7558},    // 7558.58
        {264599, 19999},   // last sample of the fade-in
        {264600, 20000},   // the fade-in is over
        {264601, 19999},   // the fade-out begins after T − Fo: 88199 / 88200 × 20000
        {264700, 19977},   // (352800 − 264700) / 88200 × 20000 = 19977.3
        {352799, 0},       // 0.23
        {352800, 0},       // n = T
    };
    for (const Expect &x : fades)
        EXPECT_EQ(mix[x.n - 1], x.value) << "n = " << x.n;

    // Volume truncates toward zero: half of −20001.
    Component half = MonoComponent();
    MusicElement *h = Add(half.get(), WriteWav("negative.wav", Rate, 1, Constant(Rate, -20001)));
    ASSERT_NE(h, nullptr);
    h->volume = 50;
    EXPECT_EQ(PullAll(half.get())[0], -10000);
}

TEST(Mixing, PullingAgainRestartsTheMix)
{
    const std::vector<int16_t> samples = Pattern(Rate * 2);
    Component c = MonoComponent();
    ASSERT_NE(Add(c.get(), WriteWav("again.wav", Rate, 1, samples)), nullptr);
    const std::vector<int16_t> once = PullAll(c.get());
    auto frame = std::make_unique<AudioFrame>();
    EXPECT_FALSE(VexaGetNextMixAudio(frame.get(), c.get())); // stays at its end
    EXPECT_EQ(PullAll(c.get()), once);
    EXPECT_EQ(Slice(once, 0, samples.size()), samples);
}
