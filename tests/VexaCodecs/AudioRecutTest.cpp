// Audio handed to an encoder in any block size is re-cut into whole codec frames.

#include "CodecTestSupport.h"
#include "MediaEncoder.h"

using namespace codectest;

TEST(AudioRecut, BytesShortOfAFrameWaitForTheNextCallOrTheFlush)
{
    FmtContext context{};
    Wide(ScratchFolder() / "recut.mp3").copy(context.filePath, 259);
    context.formatId = 16;
    context.videoCodec = -1;
    context.audioCodec = 1;
    context.sampleRate = 44100;
    context.channels = 2;
    context.bitsPerSample = 16;
    MediaEncoder *encoder = MediaEncoder::Create(&context);
    ASSERT_NE(encoder, nullptr);
    const int frameBytes = 1152 * 4;  // one MP3 frame of 16-bit stereo
    const std::vector<uint8_t> samples(3 * frameBytes, 0);
    const struct {
        int bytes, bufferedAfter;
    } steps[] = {
        {1000, 1000},                   // less than a frame: only kept
        {frameBytes - 1000 - 1, frameBytes - 1},
        {1, 0},                         // completes the frame exactly
        {2 * frameBytes + 10, 10},      // two whole frames straight from the input
    };
    for (const auto &s : steps) {
        ASSERT_EQ(encoder->AddAudioFrame(samples.data(), s.bytes), 1);
        EXPECT_EQ(encoder->BufferedAudioBytes(), s.bufferedAfter) << s.bytes;
    }
    EXPECT_EQ(encoder->CloseAudio(), 1);
    EXPECT_EQ(encoder->BufferedAudioBytes(), 0);
    EXPECT_EQ(encoder->Close(), 1);
    delete encoder;
}
