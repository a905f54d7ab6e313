// The reader's flow control: bounded queues, growth when one stream starves, and which seeks
// are served from the queues.

#include "CodecTestSupport.h"
#include "MediaDecoder.h"

#include <chrono>
#include <functional>
#include <future>
#include <thread>

using namespace codectest;

namespace {

struct Decoder {
    explicit Decoder(const char *name) : handle(MediaDecoder::Load(Wide(Fixture(name)).c_str(), nullptr)) {}
    ~Decoder() { delete handle; }
    MediaDecoder *handle;
};

// Waits (up to 10 s) until the reader's queues satisfy done.
bool WaitFor(MediaDecoder *decoder, const std::function<bool(const MediaDecoder::QueueStats &)> &done)
{
    for (int i = 0; i < 1000; ++i) {
        if (done(decoder->Stats()))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// Waits until the reader has stopped changing the queues for a while.
MediaDecoder::QueueStats Settled(MediaDecoder *decoder)
{
    MediaDecoder::QueueStats last = decoder->Stats();
    for (int stable = 0; stable < 10;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const MediaDecoder::QueueStats now = decoder->Stats();
        stable = now.audioCount == last.audioCount && now.videoCount == last.videoCount ? stable + 1 : 0;
        last = now;
    }
    return last;
}

double DecodeAudioSeconds(MediaDecoder *decoder, bool flushVideo)
{
    auto frame = std::make_unique<AudioFrame>();
    size_t bytes = 0;
    while (true) {
        if (flushVideo)
            decoder->FlushVideo();
        if (!decoder->GetNextAudioFrame(frame.get()))
            break;
        bytes += frame->size;
    }
    return bytes / 4 / 44100.0;
}

} // namespace

TEST(ReaderFlow, UnconsumedVideoQueueGrowsSoAudioKeepsFlowing)
{
    // av.avi holds 400 video packets: more than one queue's worth before the audio ends.
    Decoder decoder("av.avi");
    ASSERT_NE(decoder.handle, nullptr);
    ASSERT_TRUE(WaitFor(decoder.handle, [](auto &s) { return s.videoCount == PacketQueue::kInitialCapacity; }));
    const MediaDecoder::QueueStats stalled = Settled(decoder.handle);
    EXPECT_EQ(stalled.videoCount, PacketQueue::kInitialCapacity);  // the reader stopped there
    EXPECT_EQ(stalled.videoCapacity, PacketQueue::kInitialCapacity);

    decoder.handle->SetAudioTarget(44100, 16, 2);
    EXPECT_NEAR(DecodeAudioSeconds(decoder.handle, false), 4.0, 0.1);
    const MediaDecoder::QueueStats grown = decoder.handle->Stats();
    EXPECT_EQ(grown.videoCapacity, 2 * PacketQueue::kInitialCapacity);
    EXPECT_EQ(grown.videoCount, 400);
}

TEST(ReaderFlow, FlushingVideoBeforeEachRequestNeedsNoGrowth)
{
    Decoder decoder("av.avi");
    ASSERT_NE(decoder.handle, nullptr);
    decoder.handle->SetAudioTarget(44100, 16, 2);
    EXPECT_NEAR(DecodeAudioSeconds(decoder.handle, true), 4.0, 0.1);
    EXPECT_EQ(decoder.handle->Stats().videoCapacity, PacketQueue::kInitialCapacity);
}

TEST(ReaderFlow, SeeksInsideTheQueueLeaveTheFileAlone)
{
    Decoder decoder("tone.mp3");
    ASSERT_NE(decoder.handle, nullptr);
    decoder.handle->SetAudioTarget(44100, 16, 2);
    // The whole file (about 157 packets) fits in the queue.
    const MediaDecoder::QueueStats full = Settled(decoder.handle);
    ASSERT_GT(full.audioCount, 150);

    ASSERT_TRUE(decoder.handle->Seek(0));
    EXPECT_EQ(decoder.handle->Stats().fileSeeks, 0);
    EXPECT_EQ(decoder.handle->Stats().audioCount, full.audioCount);  // nothing dropped at 0

    ASSERT_TRUE(decoder.handle->Seek(20000000));
    EXPECT_EQ(decoder.handle->Stats().fileSeeks, 0);
    EXPECT_NEAR(decoder.handle->Stats().audioCount, full.audioCount / 2, 3);

    auto frame = std::make_unique<AudioFrame>();
    ASSERT_TRUE(decoder.handle->GetNextAudioFrame(frame.get()));
    EXPECT_LE(frame->pts, 20000000);
    EXPECT_GT(frame->pts, 20000000 - 600000);

    // Behind the queue's head: the file is seeked and the queue refilled from there.
    ASSERT_TRUE(decoder.handle->Seek(10000000));
    EXPECT_EQ(decoder.handle->Stats().fileSeeks, 1);
    ASSERT_TRUE(decoder.handle->GetNextAudioFrame(frame.get()));
    EXPECT_LE(frame->pts, 10000000);
    EXPECT_GT(frame->pts, 10000000 - 600000);
}

TEST(ReaderFlow, FailedSeekAtTheEndLeavesTheEndInPlace)
{
    // The reader sleeps at the end of input; a seek that fails must not leave the consumer
    // waiting for packets that no one will read.
    Decoder decoder("unseekable.avi");
    ASSERT_NE(decoder.handle, nullptr);
    decoder.handle->SetAudioTarget(44100, 16, 2);
    ASSERT_TRUE(decoder.handle->Seek(5000000));
    auto frame = std::make_unique<AudioFrame>();
    ASSERT_TRUE(decoder.handle->GetNextAudioFrame(frame.get()));
    Settled(decoder.handle);  // the rest of the file is queued, the reader at its end
    LogCapture::Clear();
    ASSERT_FALSE(decoder.handle->Seek(0));
    EXPECT_TRUE(LogCapture::Has("Vexa Codecs: failed to seek file..."));
    auto rest = std::async(std::launch::async, [&] { return DecodeAudioSeconds(decoder.handle, true); });
    if (rest.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        ADD_FAILURE() << "audio requests after a failed seek never returned";
        std::_Exit(1);
    }
    EXPECT_GT(rest.get(), 0.0);
    // A seek that works resumes decoding.
    ASSERT_TRUE(decoder.handle->Seek(5000000));
    EXPECT_GT(DecodeAudioSeconds(decoder.handle, true), 0.0);
}
