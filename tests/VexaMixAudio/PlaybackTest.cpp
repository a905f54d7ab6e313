// Playback through SDL without a sound card: the disk driver (at full speed) captures what was
// played, the dummy driver runs in real time for pause, seek and stop, and a driver that does
// not exist stands for a machine without a usable device.

#include "MixTestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <thread>

using namespace mixtest;
using namespace std::chrono_literals;

namespace {

void UseDriver(const char *driver, const std::filesystem::path &capture = {})
{
    setenv("SDL_AUDIODRIVER", driver, 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    setenv("SDL_DISKAUDIOFILE", capture.c_str(), 1);
}

std::vector<int16_t> ReadRaw(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

int LastProgress(Recorder &recorder)
{
    int last = -1;
    for (const auto &[code, value] : recorder.All())
        if (code == VEXA_MIX_PROGRESS)
            last = value;
    return last;
}

// A 40-second mix: a low-rate file that playback brings to 48 000 Hz stereo.
Component LongMix(Recorder &recorder)
{
    static const auto file = WriteWav("forty.wav", 8000, 1, Pattern(8000 * 40));
    Component c = NewComponent(&recorder);
    EXPECT_NE(Add(c.get(), file), nullptr);
    return c;
}

} // namespace

TEST(Playback, TheDevicePlaysExactlyTheMix)
{
    const std::vector<int16_t> samples = Pattern(48000 * 2 * 2);
    const auto file = WriteWav("play.wav", 48000, 2, samples);
    const auto capture = ScratchFolder() / "played.raw";
    UseDriver("disk", capture);
    Recorder recorder;
    Component c = NewComponent(&recorder);
    ASSERT_NE(Add(c.get(), file), nullptr);
    VexaSetMixParameter(48000, 2, c.get());
    const std::vector<int16_t> mix = PullAll(c.get());

    ASSERT_TRUE(VexaPlayMixAudio(c.get()));
    ASSERT_TRUE(recorder.WaitForFinish(10s));
    VexaPauseMixAudio(c.get()); // closes the device: the capture is complete

    std::vector<int16_t> played = ReadRaw(capture);
    // The device may write whole silent buffers before the first callback.
    size_t lead = 0;
    while (lead + 2048 <= played.size()
           && std::all_of(played.begin() + std::ptrdiff_t(lead), played.begin() + std::ptrdiff_t(lead + 2048),
                          [](int16_t s) { return s == 0; }))
        lead += 2048;
    ASSERT_GE(played.size(), lead + mix.size());
    EXPECT_TRUE(std::equal(mix.begin(), mix.end(), played.begin() + std::ptrdiff_t(lead)));
    // After the end only silence.
    EXPECT_TRUE(std::all_of(played.begin() + std::ptrdiff_t(lead + mix.size()), played.end(),
                            [](int16_t s) { return s == 0; }));

    // The end came once; progress rose to the mix's 2 s, one notification per 1024-frame request.
    const auto seen = recorder.All();
    EXPECT_EQ(std::count(seen.begin(), seen.end(), std::make_pair(1, 0)), 1);
    EXPECT_EQ(LastProgress(recorder), 2);
    EXPECT_EQ(std::count_if(seen.begin(), seen.end(), [](auto n) { return n.first == 0; }),
              std::ptrdiff_t(mix.size() / 2048));
}

TEST(Playback, PauseKeepsThePlaceAndPlayContinues)
{
    UseDriver("dummy");
    Recorder recorder;
    Component c = LongMix(recorder);
    ASSERT_TRUE(VexaPlayMixAudio(c.get()));
    ASSERT_TRUE(recorder.WaitFor([](int code, int value) { return code == 0 && value >= 1; }, 10s));
    VexaPauseMixAudio(c.get());
    const size_t paused = recorder.All().size();
    const int at = LastProgress(recorder);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(recorder.All().size(), paused); // nothing while paused

    recorder.Clear();
    ASSERT_TRUE(VexaPlayMixAudio(c.get()));
    ASSERT_TRUE(recorder.WaitFor([](int code, int) { return code == 0; }, 10s));
    EXPECT_GE(recorder.All().front().second, at);
}

TEST(Playback, SeekMovesTheReportedPosition)
{
    UseDriver("dummy");
    Recorder recorder;
    Component c = LongMix(recorder);
    EXPECT_FALSE(VexaSeekMixAudio(30 * Second, c.get())); // nothing playing yet
    ASSERT_TRUE(VexaPlayMixAudio(c.get()));
    ASSERT_TRUE(recorder.WaitFor([](int code, int) { return code == 0; }, 10s));
    ASSERT_TRUE(VexaSeekMixAudio(30 * Second, c.get()));
    ASSERT_TRUE(recorder.WaitFor([](int code, int value) { return code == 0 && value >= 30; }, 10s));
    std::this_thread::sleep_for(200ms);
    const auto seen = recorder.All();
    const auto at30 = std::find_if(seen.begin(), seen.end(), [](auto n) { return n.first == 0 && n.second >= 30; });
    EXPECT_EQ(at30->second, 30);
    for (auto n = at30; n != seen.end(); ++n)
        EXPECT_TRUE(n->first == 0 && n->second >= 30 && n->second <= 31);
}

TEST(Playback, StopThenPlayStartsAgainAtZero)
{
    UseDriver("dummy");
    Recorder recorder;
    Component c = LongMix(recorder);
    ASSERT_TRUE(VexaPlayMixAudio(c.get()));
    ASSERT_TRUE(recorder.WaitFor([](int code, int value) { return code == 0 && value >= 1; }, 10s));
    VexaStopMixAudio(c.get());
    recorder.Clear();
    std::this_thread::sleep_for(100ms);
    EXPECT_TRUE(recorder.All().empty()); // the device is closed until the next play
    ASSERT_TRUE(VexaPlayMixAudio(c.get()));
    ASSERT_TRUE(recorder.WaitFor([](int code, int) { return code == 0; }, 10s));
    EXPECT_EQ(recorder.All().front(), std::make_pair(0, 0));
}

TEST(Playback, TheEndIsReportedOnce)
{
    UseDriver("dummy");
    Recorder recorder;
    Component c = NewComponent(&recorder);
    ASSERT_NE(Add(c.get(), WriteWav("one.wav", 8000, 1, Pattern(8000))), nullptr);
    ASSERT_TRUE(VexaPlayMixAudio(c.get()));
    ASSERT_TRUE(recorder.WaitForFinish(10s));
    std::this_thread::sleep_for(300ms); // later callbacks give silence and say nothing
    const auto seen = recorder.All();
    EXPECT_EQ(std::count_if(seen.begin(), seen.end(), [](auto n) { return n.first == 1; }), 1);
    EXPECT_EQ(seen.back(), std::make_pair(1, 0));
}

TEST(Playback, WithoutAUsableDeviceNothingIsPlayedOrReported)
{
    UseDriver("no-such-driver");
    Recorder recorder;
    Component c = LongMix(recorder);
    EXPECT_TRUE(VexaPlayMixAudio(c.get()));
    std::this_thread::sleep_for(200ms);
    EXPECT_TRUE(VexaSeekMixAudio(10 * Second, c.get()));
    VexaPauseMixAudio(c.get());
    VexaStopMixAudio(c.get());
    EXPECT_TRUE(recorder.All().empty());
    // Mixing to a file needs no device.
    const auto out = ScratchFolder() / "no-device.mp3";
    ASSERT_TRUE(VexaStartMixAudio(out.u16string().c_str(), c.get(), 128000, 16));
    ASSERT_TRUE(recorder.WaitForFinish());
    EXPECT_EQ(recorder.All().back(), std::make_pair(1, 0));
}
