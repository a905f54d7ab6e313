// Seeking: inside and outside the buffered range, past the end, and the first packet of a file.

#include "CodecTestSupport.h"

#include <algorithm>
#include <thread>

using namespace codectest;

namespace {

std::vector<Block> Reference(const char *name)
{
    LoadedFile file(Fixture(name));
    VexaResample(44100, 16, 2, file.decoder);
    return DecodeBlocks(file.decoder);
}

// Checks that blocks continue the reference stream at their own time stamp, sample for sample.
void ExpectSamplesMatch(const std::vector<Block> &reference, const std::vector<Block> &blocks)
{
    const std::vector<uint8_t> whole = Joined(reference), part = Joined(blocks);
    ASSERT_FALSE(blocks.empty());
    const size_t offset = size_t((blocks[0].pts * 44100 + kTicksPerSecond / 2) / kTicksPerSecond) * 4;
    ASSERT_LE(offset + part.size(), whole.size());
    EXPECT_TRUE(std::equal(part.begin(), part.end(), whole.begin() + offset));
}

// Lossless sources, where a restarted decoder gives the same samples as a continuous one.
const char *const kLossless[] = {"stereo16.wav", "tone.flac"};

} // namespace

TEST(Seeking, SeekToZeroOnAFreshFileKeepsTheFirstPacket)
{
    // What every mixing start does: load, then seek to 0, immediately or once the reader has run.
    for (const char *name : {"stereo16.wav", "tone.flac", "tone.mp3", "tone.ogg", "tone.m4a"}) {
        const std::vector<Block> reference = Reference(name);
        for (int waitMs : {0, 100}) {
            SCOPED_TRACE(testing::Message() << name << " after " << waitMs << " ms");
            LoadedFile file(Fixture(name));
            VexaResample(44100, 16, 2, file.decoder);
            std::this_thread::sleep_for(std::chrono::milliseconds(waitMs));
            ASSERT_EQ(VexaSeekMediaFile(0, file.decoder), 1);
            const std::vector<Block> blocks = DecodeBlocks(file.decoder);
            ASSERT_EQ(blocks.size(), reference.size());
            EXPECT_EQ(blocks.front().pts, reference.front().pts);
            EXPECT_EQ(Joined(blocks), Joined(reference));
        }
    }
}

TEST(Seeking, BackwardsOutsideTheBufferedRange)
{
    for (const char *name : kLossless) {
        SCOPED_TRACE(name);
        const std::vector<Block> reference = Reference(name);
        LoadedFile file(Fixture(name));
        VexaResample(44100, 16, 2, file.decoder);
        // Consume past 0.8 s: the queue no longer holds 0.3 s.
        auto frame = std::make_unique<AudioFrame>();
        while (VexaGetNextAudioFrame(frame.get(), file.decoder) && frame->pts < 8000000) {
        }
        const int64_t target = 3000000;
        ASSERT_EQ(VexaSeekMediaFile(target, file.decoder), 1);
        const std::vector<Block> after = DecodeBlocks(file.decoder, 3);
        ASSERT_EQ(after.size(), 3u);
        EXPECT_LE(after[0].pts, target);
        EXPECT_GT(after[0].pts, target - kTicksPerSecond / 4);
        ExpectSamplesMatch(reference, after);
    }
}

TEST(Seeking, ForwardsInsideTheBufferedRange)
{
    for (const char *name : kLossless) {
        SCOPED_TRACE(name);
        const std::vector<Block> reference = Reference(name);
        LoadedFile file(Fixture(name));
        VexaResample(44100, 16, 2, file.decoder);
        DecodeBlocks(file.decoder, 2);
        const int64_t target = 6000000;
        ASSERT_EQ(VexaSeekMediaFile(target, file.decoder), 1);
        const std::vector<Block> after = DecodeBlocks(file.decoder);
        EXPECT_LE(after.at(0).pts, target);
        EXPECT_GT(after.at(0).pts, target - kTicksPerSecond / 4);
        ExpectSamplesMatch(reference, after);
    }
}

TEST(Seeking, CompressedSourcesLandAtOrBeforeTheTarget)
{
    for (const char *name : {"tone.mp3", "tone.ogg", "tone.m4a", "av.avi", "av.mp4"}) {
        SCOPED_TRACE(name);
        LoadedFile file(Fixture(name));
        VexaResample(44100, 16, 2, file.decoder);
        for (int64_t target : {15000000, 2000000, 12000000}) {
            ASSERT_EQ(VexaSeekMediaFile(target, file.decoder), 1);
            const std::vector<Block> after = DecodeBlocks(file.decoder, 1);
            ASSERT_EQ(after.size(), 1u);
            EXPECT_LE(after[0].pts, target);
            EXPECT_GT(after[0].pts, target - kTicksPerSecond);
        }
    }
}

TEST(Seeking, PastTheEndThenBackResumes)
{
    LoadedFile file(Fixture("tone.mp3"));
    VexaResample(44100, 16, 2, file.decoder);
    const size_t all = DecodeBlocks(file.decoder).size();
    EXPECT_EQ(VexaSeekMediaFile(100 * kTicksPerSecond, file.decoder), 1);
    EXPECT_TRUE(DecodeBlocks(file.decoder).size() <= 1);
    ASSERT_EQ(VexaSeekMediaFile(0, file.decoder), 1);
    EXPECT_EQ(DecodeBlocks(file.decoder).size(), all);
}

TEST(Seeking, FromAnotherThreadWhileDecodingAndFlushing)
{
    // The mixing library's pattern from several threads at once: one thread pulls audio (and
    // discards video), another seeks, a third flushes the video queue.
    LoadedFile file(Fixture("av.avi"));
    ASSERT_NE(file.decoder, nullptr);
    VexaResample(44100, 16, 2, file.decoder);
    std::atomic<bool> done{false};
    std::thread consumer([&] {
        auto frame = std::make_unique<AudioFrame>();
        while (!done) {
            VexaFlushVideo(file.decoder);
            if (!VexaGetNextAudioFrame(frame.get(), file.decoder))
                std::this_thread::yield();
        }
    });
    std::thread flusher([&] {
        while (!done)
            VexaFlushVideo(file.decoder);
    });
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(VexaSeekMediaFile((i * 7919 % 40) * kTicksPerSecond / 10, file.decoder), 1);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    done = true;
    consumer.join();
    flusher.join();

    // Afterwards the whole file still decodes from the start.
    ASSERT_EQ(VexaSeekMediaFile(0, file.decoder), 1);
    const std::vector<uint8_t> pcm = Joined(DecodeBlocks(file.decoder));
    EXPECT_NEAR(pcm.size() / 4 / 44100.0, 4.0, 0.1);
}
