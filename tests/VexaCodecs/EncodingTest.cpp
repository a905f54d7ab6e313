// Encoding and muxing: audio files that decode back, container and codec choices that fail,
// the last partial frame, the format-context defaults and one encoder fed from two threads.

#include "CodecTestSupport.h"

#include <cmath>
#include <thread>

using namespace codectest;

namespace {

FmtContext AudioContext(const std::filesystem::path &path, int formatId, int audioCodec, int rate, int channels)
{
    FmtContext c{};
    const std::u16string wide = Wide(path);
    wide.copy(c.filePath, 259);
    c.formatId = formatId;
    c.videoCodec = -1;
    c.audioCodec = audioCodec;
    c.sampleRate = rate;
    c.channels = channels;
    c.bitsPerSample = 16;
    return c;
}

std::vector<int16_t> Tone(int frames, int channels, int rate, double hz, double level)
{
    std::vector<int16_t> samples(size_t(frames) * channels);
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            samples[size_t(i) * channels + c] = int16_t(level * 32767 * std::sin(2 * M_PI * hz * i / rate));
    return samples;
}

// Feeds samples in uneven pieces, flushes and closes.
void Encode(MediaEncoder *encoder, const std::vector<int16_t> &samples)
{
    const auto *bytes = reinterpret_cast<const uint8_t *>(samples.data());
    const size_t total = samples.size() * 2;
    const size_t pieces[] = {1000, 7, 4608, 12345, 333, 64};
    size_t done = 0;
    for (int i = 0; done < total; ++i) {
        const size_t n = std::min(pieces[i % 6], total - done);
        ASSERT_EQ(VexaAddAudioFrame(bytes + done, int32_t(n), encoder), 1);
        done += n;
    }
    EXPECT_EQ(VexaCloseAudio(encoder), 1);
    EXPECT_EQ(VexaDeInitializeEncoder(encoder), 1);
}

std::vector<int16_t> DecodeTo(const std::filesystem::path &path, int rate, int channels)
{
    LoadedFile file(path);
    EXPECT_NE(file.decoder, nullptr);
    VexaResample(rate, 16, channels, file.decoder);
    return SamplesOf<int16_t>(Joined(DecodeBlocks(file.decoder)));
}

} // namespace

TEST(Encoding, AudioOnlyMp3DecodesBackToWhatWasWritten)
{
    const std::filesystem::path path = ScratchFolder() / "mix.mp3";
    FmtContext context = AudioContext(path, 16, 1, 44100, 2);
    context.audioBitRate = 0;  // means 128 000
    LogCapture::Clear();
    MediaEncoder *encoder = VexaInitializeEncoder(&context);
    ASSERT_NE(encoder, nullptr);
    const std::vector<int16_t> tone = Tone(88200, 2, 44100, 440, 0.5);
    Encode(encoder, tone);
    EXPECT_TRUE(LogCapture::Has("Vexa Codecs: succeed to close audio stream"));
    EXPECT_TRUE(LogCapture::Has("Vexa Codecs: succeed to close encoder."));
    EXPECT_FALSE(LogCapture::Has("Vexa Codecs: succeed to close video stream."));

    LoadedFile file(path);
    ASSERT_NE(file.decoder, nullptr);
    ASSERT_EQ(file.info->count, 1);  // no video stream
    EXPECT_EQ(file.Audio()->bitRate, 128000);
    EXPECT_EQ(file.Audio()->rate, 44100);
    EXPECT_EQ(file.Audio()->channels, 2);
    const std::vector<int16_t> decoded = DecodeTo(path, 44100, 2);
    // Length within one codec frame (the encoder's delay is trimmed by the decoder).
    EXPECT_NEAR(double(decoded.size() / 2), 88200.0, 1152.0);
    // The tone's frequency from its rising zero crossings on the left channel.
    int crossings = 0;
    for (size_t i = 2; i < decoded.size(); i += 2)
        crossings += decoded[i - 2] < 0 && decoded[i] >= 0;
    EXPECT_NEAR(crossings / 2.0, 440.0, 3.0);
}

TEST(Encoding, UnknownFormatsAndMissingEncodersFail)
{
    const struct {
        int formatId, audioCodec;
        const char *reason;
    } cases[] = {
        {28, 1, "Error file format id..."},
        {-1, 1, "Error file format id..."},
        {13, 1, "Error file format id..."},       // RealMedia variable rate: no muxer
        {7, 4, "can't find audio encoder..."},    // AMR in 3GP: no encoder
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "format " << c.formatId << " audio " << c.audioCodec);
        const std::filesystem::path path = ScratchFolder() / ("failed" + std::to_string(c.formatId));
        FmtContext context = AudioContext(path, c.formatId, c.audioCodec, 8000, 1);
        LogCapture::Clear();
        EXPECT_EQ(VexaInitializeEncoder(&context), nullptr);
        EXPECT_TRUE(LogCapture::Has(std::string("Vexa Codecs: ") + c.reason));
        EXPECT_TRUE(LogCapture::Has("Vexa Codecs: failed to initialize encoder..."));
        EXPECT_FALSE(std::filesystem::exists(path));
    }
    LogCapture::Clear();
    EXPECT_EQ(VexaInitializeEncoder(nullptr), nullptr);
    EXPECT_TRUE(LogCapture::Has("Vexa Codecs: Error parameter..."));
}

TEST(Encoding, LastPartialFrameHoldsNoStaleSamples)
{
    // 16-bit PCM takes a short last frame: exactly what was written comes back.
    const std::filesystem::path wav = ScratchFolder() / "last.wav";
    FmtContext pcm = AudioContext(wav, 17, 17, 8000, 1);
    MediaEncoder *encoder = VexaInitializeEncoder(&pcm);
    ASSERT_NE(encoder, nullptr);
    std::vector<int16_t> samples(8192, 1000);  // one whole frame ...
    samples.resize(8192 + 3000, -7);           // ... and a part of the next
    Encode(encoder, samples);
    EXPECT_EQ(DecodeTo(wav, 8000, 1), samples);

    // AC-3 needs whole frames of 1536 samples: the rest of the last one is silence.
    const std::filesystem::path ac3 = ScratchFolder() / "last.ac3";
    FmtContext context = AudioContext(ac3, 23, 2, 48000, 1);
    encoder = VexaInitializeEncoder(&context);
    ASSERT_NE(encoder, nullptr);
    Encode(encoder, Tone(1536 * 3 + 300, 1, 48000, 1000, 0.7));
    const std::vector<int16_t> decoded = DecodeTo(ac3, 48000, 1);
    ASSERT_GE(decoded.size(), 1536u * 4);
    double tail = 0;
    for (size_t i = decoded.size() - 200; i < decoded.size(); ++i)
        tail = std::max(tail, std::fabs(decoded[i] / 32768.0));
    EXPECT_LT(tail, 0.05);
}

TEST(Encoding, OneEncoderFedFromTwoThreads)
{
    const std::filesystem::path path = ScratchFolder() / "two.wav";
    FmtContext context = AudioContext(path, 17, 17, 8000, 1);
    MediaEncoder *encoder = VexaInitializeEncoder(&context);
    ASSERT_NE(encoder, nullptr);
    auto feed = [encoder](int16_t value) {
        const std::vector<int16_t> chunk(500, value);
        for (int i = 0; i < 60; ++i)
            VexaAddAudioFrame(reinterpret_cast<const uint8_t *>(chunk.data()), 1000, encoder);
    };
    std::thread a(feed, int16_t(100)), b(feed, int16_t(-100));
    a.join();
    b.join();
    EXPECT_EQ(VexaCloseAudio(encoder), 1);
    EXPECT_EQ(VexaDeInitializeEncoder(encoder), 1);
    const std::vector<int16_t> decoded = DecodeTo(path, 8000, 1);
    ASSERT_EQ(decoded.size(), 60000u);
    EXPECT_EQ(std::count(decoded.begin(), decoded.end(), 100), 30000);
    EXPECT_EQ(std::count(decoded.begin(), decoded.end(), -100), 30000);
}

TEST(Encoding, FormatContextDefaults)
{
    FmtContext vcd;
    std::memset(&vcd, 0x5a, sizeof vcd);
    vcd.width = 352;
    vcd.height = 288;
    ASSERT_EQ(VexaGetDefaultFmtContext(1, &vcd), 1);
    EXPECT_EQ(vcd.filePath[0], 0);
    EXPECT_EQ(vcd.formatId, 1);
    EXPECT_EQ(vcd.audioCodec, 0);
    EXPECT_EQ(vcd.audioBitRate, 11200);
    EXPECT_EQ(vcd.channels, 2);
    EXPECT_EQ(vcd.sampleRate, 44100);
    EXPECT_EQ(vcd.bitsPerSample, 16);
    EXPECT_EQ(std::u16string(vcd.audioCodecName), u"mp2");
    EXPECT_EQ(vcd.videoCodec, 0);
    EXPECT_EQ(vcd.videoBitRate, 400000);
    EXPECT_EQ(vcd.frameRateNum, 25);
    EXPECT_EQ(vcd.frameRateDen, 1);
    EXPECT_EQ(vcd.width, 352);   // left as they were
    EXPECT_EQ(vcd.height, 288);
    EXPECT_EQ(VexaGetDefaultFmtContext(1, nullptr), 0);

    FmtContext other;
    std::memset(&other, 0x5a, sizeof other);
    ASSERT_EQ(VexaGetDefaultFmtContext(9, &other), 1);
    FmtContext cleared{};
    cleared.formatId = 9;
    EXPECT_EQ(std::memcmp(&other, &cleared, sizeof other), 0);
    EXPECT_EQ(VexaCheckFmtContext(&other), 1);
    EXPECT_EQ(VexaCheckFmtContext(&vcd), 1);

    EXPECT_EQ(VexaCloseVideo(0), 0);
    EXPECT_EQ(VexaCloseVideo(5), 1);
}
