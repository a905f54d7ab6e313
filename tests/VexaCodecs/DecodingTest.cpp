// Stream descriptions and decoded audio: formats, conversion targets, the down-mix, time stamps.

#include "CodecTestSupport.h"

#include <cmath>

using namespace codectest;

namespace {

std::string Narrow(const char16_t *text)
{
    return std::filesystem::path(std::u16string(text)).string();
}

struct ExpectedStream {
    int type;
    const char *codec;
    int rate, rateOrBitRate, widthOrBits, heightOrChannels;
    int64_t duration;
};

struct DescribedFile {
    const char *name;
    int bitRate;
    std::vector<ExpectedStream> streams;
};

// rateOrBitRate -1: the codec's bit rate is not checked (container-dependent).
const DescribedFile kDescribed[] = {
    {"stereo16.wav", 1411552, {{1, "pcm_s16le", 44100, 1411200, 16, 2, 1}}},
    {"mono8.wav", 176752, {{1, "pcm_u8", 22050, 176400, 8, 1, 1}}},
    {"six_ch.wav", 769280, {{1, "pcm_s16le", 8000, 768000, 16, 6, 0}}},
    {"tone.mp3", 64448, {{1, "mp3float", 44100, 64000, 32, 2, 4}}},
    {"tone.ogg", 37828, {{1, "vorbis", 44100, 64000, 32, 2, 2}}},
    {"tone.flac", 282820, {{1, "flac", 44100, -1, 16, 2, 2}}},
    {"tone.m4a", 69328, {{1, "aac", 44100, 64095, 32, 2, 2}}},
    {"wide8ch.flac", 934592, {{1, "flac", 48000, -1, 32, 8, 1}}},
    {"av.avi", 147278, {{0, "mpeg4", 100, 1, 64, 48, 4}, {1, "mp3float", 22050, 32000, 32, 1, 4}}},
    {"av.mp4", 94260, {{0, "h264", 25, 1, 160, 120, 2}, {1, "aac", 44100, 48690, 32, 1, 2}}},
    {"video_only.mp4", 48040, {{0, "h264", 25, 1, 160, 120, 1}}},
};

std::vector<uint8_t> DecodeWhole(const char *name, int rate = 0, int bits = 0, int channels = 0)
{
    LoadedFile file(Fixture(name));
    EXPECT_NE(file.decoder, nullptr) << name;
    if (rate) {
        EXPECT_EQ(VexaResample(rate, bits, channels, file.decoder), 1);
    }
    return Joined(DecodeBlocks(file.decoder));
}

} // namespace

TEST(Decoding, DescribesEveryFixture)
{
    for (const DescribedFile &f : kDescribed) {
        SCOPED_TRACE(f.name);
        LoadedFile file(Fixture(f.name));
        ASSERT_NE(file.decoder, nullptr);
        EXPECT_EQ(file.info->bitRate, f.bitRate);
        ASSERT_EQ(file.info->count, int(f.streams.size()));
        for (size_t i = 0; i < f.streams.size(); ++i) {
            const StreamInfo &s = *file.info->streams[i];
            const ExpectedStream &e = f.streams[i];
            EXPECT_EQ(s.type, e.type);
            EXPECT_EQ(s.valid, 1);
            EXPECT_EQ(Narrow(s.codecName), e.codec);
            EXPECT_EQ(s.rate, e.rate);
            if (e.rateOrBitRate >= 0) {
                EXPECT_EQ(s.rateBase, e.rateOrBitRate);
            }
            EXPECT_EQ(s.width, e.widthOrBits);
            EXPECT_EQ(s.height, e.heightOrChannels);
            EXPECT_EQ(s.duration, e.duration);
        }
    }
}

TEST(Decoding, VideoWithoutAudioHasNoAudioFrames)
{
    LoadedFile file(Fixture("video_only.mp4"));
    ASSERT_NE(file.decoder, nullptr);
    ASSERT_EQ(file.info->count, 1);
    EXPECT_EQ(file.info->streams[0]->type, 0);
    LogCapture::Clear();
    auto frame = std::make_unique<AudioFrame>();
    frame->size = 99;
    EXPECT_EQ(VexaGetNextAudioFrame(frame.get(), file.decoder), 0);
    EXPECT_EQ(frame->size, 0);
    EXPECT_TRUE(LogCapture::Has("Vexa Codecs: no audio stream exist..."));
    EXPECT_EQ(VexaGetNextAudioFrame(nullptr, file.decoder), 0);
    EXPECT_TRUE(LogCapture::Has("Vexa Codecs: Error parameter...."));
}

TEST(Decoding, WholeFilesDecodeToTheirLength)
{
    const struct {
        const char *name;
        double seconds, tolerance;
    } cases[] = {
        {"stereo16.wav", 1.0, 0.0}, {"tone.mp3", 4.0, 0.06}, {"tone.ogg", 2.0, 0.01},
        {"tone.flac", 2.0, 0.0},    {"tone.m4a", 2.0, 0.03}, {"av.avi", 4.0, 0.1},
        {"av.mp4", 2.0, 0.05},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        LogCapture::Clear();
        const std::vector<uint8_t> pcm = DecodeWhole(c.name, 44100, 16, 2);
        EXPECT_NEAR(pcm.size() / 4 / 44100.0, c.seconds, c.tolerance + 0.001);
        EXPECT_TRUE(LogCapture::Has("Vexa Codecs: finish decode...."));
    }
}

TEST(Decoding, TargetFormatsGiveTheirRatesAndSampleSizes)
{
    const struct {
        int rate, bits, channels;
    } targets[] = {{44100, 16, 2}, {48000, 16, 2}, {22050, 8, 1}, {44100, 32, 2}, {8000, 16, 1}};
    for (const auto &t : targets) {
        SCOPED_TRACE(testing::Message() << t.rate << "/" << t.bits << "/" << t.channels);
        const std::vector<uint8_t> pcm = DecodeWhole("tone.ogg", t.rate, t.bits, t.channels);
        const double frames = double(pcm.size()) / (t.bits / 8) / t.channels;
        EXPECT_NEAR(frames / t.rate, 2.0, 0.01);
        // The tone is at half scale: a silent or garbled conversion shows in its peak.
        double peak = 0;
        for (size_t i = 0; i < pcm.size(); i += t.bits / 8) {
            double v = t.bits == 8 ? (pcm[i] - 128) / 128.0
                : t.bits == 16 ? int16_t(pcm[i] | pcm[i + 1] << 8) / 32768.0
                               : int32_t(pcm[i] | pcm[i + 1] << 8 | pcm[i + 2] << 16 | uint32_t(pcm[i + 3]) << 24) / 2147483648.0;
            peak = std::max(peak, std::fabs(v));
        }
        EXPECT_GT(peak, 0.3);
        EXPECT_LT(peak, 0.8);
    }
}

TEST(Decoding, MatchingSourceIsReturnedUnconverted)
{
    // 44.1 kHz stereo 16-bit sources with that target: the decoder's own blocks, byte for byte.
    for (const char *name : {"stereo16.wav", "tone.flac"}) {
        SCOPED_TRACE(name);
        LoadedFile plain(Fixture(name)), targeted(Fixture(name));
        VexaResample(44100, 16, 2, targeted.decoder);
        const std::vector<Block> a = DecodeBlocks(plain.decoder), b = DecodeBlocks(targeted.decoder);
        ASSERT_EQ(a.size(), b.size());
        for (size_t i = 0; i < a.size(); ++i) {
            EXPECT_EQ(a[i].data, b[i].data);
            EXPECT_EQ(a[i].pts, b[i].pts);
        }
    }
}

TEST(Decoding, MonoEightBitBecomesStereoWithSilentRight)
{
    // Unsigned 8-bit v becomes (v * 65535) / 256 - 32767 on the left; the right stays silent.
    const std::vector<uint8_t> raw = DecodeWhole("mono8.wav");
    const std::vector<int16_t> stereo = SamplesOf<int16_t>(DecodeWhole("mono8.wav", 22050, 16, 2));
    ASSERT_EQ(raw.size(), 22050u);
    ASSERT_EQ(stereo.size(), 2 * raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        ASSERT_EQ(stereo[2 * i], (raw[i] * 65535) / 256 - 32767) << i;
        ASSERT_EQ(stereo[2 * i + 1], 0) << i;
    }
    // Resampled to 44.1 kHz the right channel stays exactly silent.
    const std::vector<int16_t> resampled = SamplesOf<int16_t>(DecodeWhole("mono8.wav", 44100, 16, 2));
    EXPECT_NEAR(resampled.size() / 2.0, 44100, 100);
    int16_t leftPeak = 0;
    for (size_t i = 0; i + 1 < resampled.size(); i += 2) {
        ASSERT_EQ(resampled[i + 1], 0) << i;
        leftPeak = std::max<int16_t>(leftPeak, resampled[i]);
    }
    EXPECT_GT(leftPeak, 20000);
}

TEST(Decoding, SixChannelsMixDownByTheTable)
{
    const std::vector<int16_t> raw = SamplesOf<int16_t>(DecodeWhole("six_ch.wav"));
    const std::vector<int16_t> stereo = SamplesOf<int16_t>(DecodeWhole("six_ch.wav", 8000, 16, 2));
    ASSERT_EQ(raw.size(), 6u * 4000);
    ASSERT_EQ(stereo.size(), 2u * 4000);
    for (size_t i = 0; i < 4000; ++i) {
        const int16_t *c = &raw[6 * i];
        ASSERT_EQ(stereo[2 * i], (c[0] + c[1]) / 2) << i;
        ASSERT_EQ(stereo[2 * i + 1], (c[2] + c[1]) / 2) << i;
    }
}

TEST(Decoding, DecodedFrameLargerThanTheRecordIsSplit)
{
    // One FLAC block here decodes to 65535 samples x 8 channels x 4 bytes, far above 576 000.
    LoadedFile file(Fixture("wide8ch.flac"));
    const std::vector<Block> blocks = DecodeBlocks(file.decoder);
    size_t total = 0;
    for (size_t i = 0; i < blocks.size(); ++i) {
        EXPECT_LE(blocks[i].data.size(), size_t(VEXA_AUDIO_FRAME_BYTES));
        EXPECT_EQ(blocks[i].data.size() % 32, 0u);
        if (i > 0) {
            // Each block starts where the previous one ended.
            const int64_t previousFrames = blocks[i - 1].data.size() / 32;
            EXPECT_NEAR(blocks[i].pts - blocks[i - 1].pts, previousFrames * kTicksPerSecond / 48000, 1);
        }
        total += blocks[i].data.size();
    }
    EXPECT_EQ(total, 72000u * 32);

    // More than six channels: channel 0 on the left (top 16 bits), silence on the right.
    const std::vector<int32_t> raw = SamplesOf<int32_t>(Joined(blocks));
    const std::vector<int16_t> stereo = SamplesOf<int16_t>(DecodeWhole("wide8ch.flac", 48000, 16, 2));
    ASSERT_EQ(stereo.size(), 2u * 72000);
    for (size_t i = 0; i < 72000; ++i) {
        ASSERT_EQ(stereo[2 * i], int16_t(raw[8 * i] >> 16)) << i;
        ASSERT_EQ(stereo[2 * i + 1], 0) << i;
    }
}

TEST(Decoding, TimeStampsFollowTheSamples)
{
    LoadedFile file(Fixture("tone.mp3"));
    VexaResample(44100, 16, 2, file.decoder);
    const std::vector<Block> blocks = DecodeBlocks(file.decoder);
    ASSERT_GT(blocks.size(), 100u);
    EXPECT_EQ(blocks[0].pts, 0);
    for (size_t i = 1; i < blocks.size(); ++i) {
        const int64_t expected = blocks[i - 1].pts + int64_t(blocks[i - 1].data.size() / 4) * kTicksPerSecond / 44100;
        ASSERT_NEAR(blocks[i].pts, expected, 2) << i;
    }
}
