// Sample conversions: formats to 16-bit, interleaving and the stereo down-mix table.

#include "AudioConversion.h"
#include "CodecLibrary.h"
#include "CodecTestSupport.h"

#include <cmath>
#include <cstring>

using namespace codectest;

namespace {

// A frame of the given format and channel count holding samples (channel-interleaved order).
template <typename T>
AVFrame *MakeFrame(AVSampleFormat format, int channels, const std::vector<T> &samples)
{
    AVFrame *frame = av_frame_alloc();
    frame->format = format;
    frame->nb_samples = int(samples.size()) / channels;
    av_channel_layout_default(&frame->ch_layout, channels);
    EXPECT_EQ(av_frame_get_buffer(frame, 0), 0);
    const bool planar = av_sample_fmt_is_planar(format);
    for (int i = 0; i < frame->nb_samples; ++i)
        for (int c = 0; c < channels; ++c) {
            T *plane = reinterpret_cast<T *>(frame->extended_data[planar ? c : 0]);
            plane[planar ? i : i * channels + c] = samples[i * channels + c];
        }
    return frame;
}

std::vector<int16_t> ToInt16(AVFrame *frame, int first, int count)
{
    std::vector<int16_t> out(size_t(count) * frame->ch_layout.nb_channels);
    SamplesToInt16(frame, first, count, out.data());
    av_frame_free(&frame);
    return out;
}

} // namespace

TEST(Conversion, EveryFormatBecomesSixteenBit)
{
    EXPECT_EQ(ToInt16(MakeFrame<uint8_t>(AV_SAMPLE_FMT_U8, 1, {0, 1, 128, 255}), 0, 4),
              (std::vector<int16_t>{-32767, -32512, 0, 32512}));
    EXPECT_EQ(ToInt16(MakeFrame<int32_t>(AV_SAMPLE_FMT_S32, 1, {0x12345678, -65536, -1}), 0, 3),
              (std::vector<int16_t>{0x1234, -1, -1}));
    // Float and double saturate instead of wrapping; NaN counts as the bottom.
    EXPECT_EQ(ToInt16(MakeFrame<float>(AV_SAMPLE_FMT_FLT, 1, {0.5f, -0.5f, 1.5f, -2.0f, NAN, 0.99999f}), 0, 6),
              (std::vector<int16_t>{16384, -16384, 32767, -32768, -32768, 32767}));
    EXPECT_EQ(ToInt16(MakeFrame<double>(AV_SAMPLE_FMT_DBL, 1, {0.25, 7.0, -1.0}), 0, 3),
              (std::vector<int16_t>{8192, 32767, -32768}));
    // Planar input is interleaved, and a range starts at its first sample frame.
    EXPECT_EQ(ToInt16(MakeFrame<int16_t>(AV_SAMPLE_FMT_S16P, 2, {1, -1, 2, -2, 3, -3}), 1, 2),
              (std::vector<int16_t>{2, -2, 3, -3}));
}

TEST(Conversion, InterleavesInTheDecodedFormat)
{
    AVFrame *planar = MakeFrame<float>(AV_SAMPLE_FMT_FLTP, 2, {0.1f, 0.2f, 0.3f, 0.4f});
    EXPECT_EQ(DeliveredFormat(AV_SAMPLE_FMT_FLTP), AV_SAMPLE_FMT_FLT);
    std::vector<float> out(4);
    InterleaveSamples(planar, 0, 2, reinterpret_cast<uint8_t *>(out.data()));
    EXPECT_EQ(out, (std::vector<float>{0.1f, 0.2f, 0.3f, 0.4f}));
    av_frame_free(&planar);

    // 64-bit integers fall outside the bits rule and arrive as 16-bit.
    EXPECT_EQ(DeliveredFormat(AV_SAMPLE_FMT_S64P), AV_SAMPLE_FMT_S16);
    AVFrame *wide = MakeFrame<int64_t>(AV_SAMPLE_FMT_S64, 1, {int64_t(0x4000) << 48});
    int16_t value = 0;
    InterleaveSamples(wide, 0, 1, reinterpret_cast<uint8_t *>(&value));
    EXPECT_EQ(value, 0x4000);
    av_frame_free(&wide);

    const struct {
        AVSampleFormat format;
        int bits;
    } rule[] = {{AV_SAMPLE_FMT_U8, 8}, {AV_SAMPLE_FMT_S16P, 16}, {AV_SAMPLE_FMT_S32, 32},
                {AV_SAMPLE_FMT_FLTP, 32}, {AV_SAMPLE_FMT_DBL, 64}, {AV_SAMPLE_FMT_S64, 16}};
    for (const auto &r : rule)
        EXPECT_EQ(SampleFormatBits(r.format), r.bits) << av_get_sample_fmt_name(r.format);
}

TEST(Conversion, DownMixTable)
{
    // Sums divide with truncation toward zero: -3 / 2 is -1, not -2.
    const struct {
        std::vector<int16_t> in;
        int16_t left, right;
    } cases[] = {
        {{-3}, -3, 0},
        {{100, -200}, 100, -200},
        {{-3, 0, 7}, -1, 3},                               // (c0+c1)/2, (c2+c1)/2
        {{10, 21, -30, -41}, -10, -10},                    // (c0+c2)/2, (c1+c3)/2
        {{32767, 32767, 32767, 32767, 32767}, 32767, 32767}, // (c0+c1+c3)/3 without overflow
        {{1, 2, 4, 8, 16}, 3, 7},                          // (1+2+8)/3, (4+2+16)/3
        {{-5, -2, 9, 1000, 1000, 1000}, -3, 3},            // six channels: as three
        {{7, 1, 1, 1, 1, 1, 1}, 7, 0},
        {{-9, 1, 1, 1, 1, 1, 1, 1}, -9, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.in.size() << " channels");
        int16_t out[2] = {99, 99};
        DownMixToStereo(c.in.data(), int(c.in.size()), 1, out);
        EXPECT_EQ(out[0], c.left);
        EXPECT_EQ(out[1], c.right);
    }
}

TEST(Conversion, LogTextAndPrefix)
{
    LogCapture::Clear();
    CodecLog("value %d and %s", 42, "t\xc3\xa9xt");
    CodecLog("%s", std::string(3000, 'x').c_str());
    const std::vector<std::string> lines = LogCapture::Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "Vexa Codecs: value 42 and t\xc3\xa9xt");
    EXPECT_EQ(lines[1], "Vexa Codecs: " + std::string(1023, 'x'));
}
