// Mixing to a file: the notifications of a whole run, cancelling, an output that cannot be made,
// and the teardown that an element change needs while a job runs.

#include "MixTestSupport.h"

using namespace mixtest;

namespace {

// Seconds of audio in a file, decoded at 44 100 Hz stereo.
double DecodedSeconds(const std::filesystem::path &path)
{
    FileFormatInfo *info = nullptr;
    VexaMallocFileFormatInfo(&info);
    MediaDecoder *decoder = VexaLoadMediaFile(path.u16string().c_str(), info);
    EXPECT_NE(decoder, nullptr);
    VexaResample(44100, 16, 2, decoder);
    auto frame = std::make_unique<AudioFrame>();
    int64_t bytes = 0;
    while (VexaGetNextAudioFrame(frame.get(), decoder))
        bytes += frame->size;
    VexaUnloadMediaFile(decoder);
    VexaFreeFileFormatInfo(info);
    return double(bytes) / (44100 * 4);
}

// A component holding `seconds` of music (8000 Hz mono files laid end to end).
Component Timeline(Recorder &recorder, int seconds)
{
    static const auto ten = WriteWav("ten.wav", 8000, 1, Pattern(8000 * 10));
    Component c = NewComponent(&recorder);
    for (int at = 0; at < seconds; at += 10) {
        MusicElement *e = Add(c.get(), ten);
        EXPECT_NE(e, nullptr);
        e->start = at * Second;
    }
    return c;
}

} // namespace

TEST(FileJob, MixesTheTimelineToAnMp3WithProgressInSeconds)
{
    Recorder recorder;
    Component c = Timeline(recorder, 10);
    const auto out = ScratchFolder() / "ten.mp3";
    ASSERT_TRUE(VexaStartMixAudio(out.u16string().c_str(), c.get(), 128000, 16));
    ASSERT_TRUE(recorder.WaitForFinish());

    const auto seen = recorder.All();
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen.front(), std::make_pair(2, 0));
    EXPECT_EQ(seen.back(), std::make_pair(1, 0));
    int last = -1;
    for (size_t i = 1; i + 1 < seen.size(); ++i) {
        ASSERT_EQ(seen[i].first, 0) << i;
        EXPECT_GE(seen[i].second, last);
        last = seen[i].second;
    }
    EXPECT_EQ(seen[1].second, 0);
    EXPECT_EQ(last, 10);
    EXPECT_NEAR(DecodedSeconds(out), 10.0, 0.1);
}

TEST(FileJob, CancelEndsTheJobWithCancelled)
{
    Recorder recorder;
    Component c = Timeline(recorder, 300);
    EXPECT_FALSE(VexaCancelMixAudio(c.get())); // no job yet
    const auto out = ScratchFolder() / "cancelled.mp3";
    ASSERT_TRUE(VexaStartMixAudio(out.u16string().c_str(), c.get(), 128000, 16));
    ASSERT_TRUE(recorder.WaitFor([](int code, int) { return code == 0; }, std::chrono::seconds(30)));
    EXPECT_TRUE(VexaCancelMixAudio(c.get()));
    ASSERT_TRUE(recorder.WaitForFinish());
    EXPECT_EQ(recorder.All().back(), std::make_pair(1, 2));
    EXPECT_LT(recorder.All().size(), 1000u); // well before 300 s of blocks
}

TEST(FileJob, ElementChangeTearsARunningJobDown)
{
    Recorder recorder;
    Component c = Timeline(recorder, 300);
    const auto out = ScratchFolder() / "torn.mp3";
    ASSERT_TRUE(VexaStartMixAudio(out.u16string().c_str(), c.get(), 128000, 16));
    VexaMusicElementChanged(c.get());
    // The job has ended before the call returned.
    const auto seen = recorder.All();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().first, 1);
    EXPECT_FALSE(VexaCancelMixAudio(c.get()));
}

TEST(FileJob, AnOutputThatCannotBeMadeFailsWithoutStarting)
{
    struct Case {
        const char *what;
        std::filesystem::path path;
        int formatId;
    };
    const Case cases[] = {
        {"unknown format id", ScratchFolder() / "bad-format.mp3", 999},
        {"folder that does not exist", ScratchFolder() / "no" / "such" / "folder.mp3", 16},
    };
    for (const Case &k : cases) {
        Recorder recorder;
        Component c = Timeline(recorder, 10);
        ASSERT_TRUE(VexaStartMixAudio(k.path.u16string().c_str(), c.get(), 128000, k.formatId)) << k.what;
        ASSERT_TRUE(recorder.WaitForFinish()) << k.what;
        EXPECT_EQ(recorder.All(), (std::vector<std::pair<int, int>>{{1, 1}})) << k.what;
        EXPECT_FALSE(std::filesystem::exists(k.path)) << k.what;
    }
}

TEST(FileJob, AnEmptyTimelineWritesAnEmptyMix)
{
    Recorder recorder;
    Component c = NewComponent(&recorder);
    const auto out = ScratchFolder() / "empty.mp3";
    ASSERT_TRUE(VexaStartMixAudio(out.u16string().c_str(), c.get(), 128000, 16));
    ASSERT_TRUE(recorder.WaitForFinish());
    EXPECT_EQ(recorder.All(), (std::vector<std::pair<int, int>>{{2, 0}, {1, 0}}));
}
