#include "AudioConversion.h"

#include <cmath>
#include <cstring>

int SampleFormatBits(AVSampleFormat format)
{
    switch (av_get_packed_sample_fmt(format)) {
    case AV_SAMPLE_FMT_U8: return 8;
    case AV_SAMPLE_FMT_S32:
    case AV_SAMPLE_FMT_FLT: return 32;
    case AV_SAMPLE_FMT_DBL: return 64;
    default: return 16;
    }
}

AVSampleFormat DeliveredFormat(AVSampleFormat format)
{
    const AVSampleFormat packed = av_get_packed_sample_fmt(format);
    switch (packed) {
    case AV_SAMPLE_FMT_U8:
    case AV_SAMPLE_FMT_S16:
    case AV_SAMPLE_FMT_S32:
    case AV_SAMPLE_FMT_FLT:
    case AV_SAMPLE_FMT_DBL: return packed;
    default: return AV_SAMPLE_FMT_S16;
    }
}

namespace {

int16_t FromU8(uint8_t v) { return int16_t((int(v) * 65535) / 256 - 32767); }
int16_t FromS16(int16_t v) { return v; }
int16_t FromS32(int32_t v) { return int16_t(v >> 16); }
int16_t FromS64(int64_t v) { return int16_t(v >> 48); }

template <typename F>
int16_t FromReal(F v)
{
    v *= F(32768);
    if (!(v > F(-32768)))  // also catches NaN
        return -32768;
    if (v > F(32767))
        return 32767;
    return int16_t(std::lrint(v));
}

// Calls convert(sample) for each sample of the range, channel-interleaved, writing to out.
template <typename T, typename Out, typename Convert>
void ForEachSample(const AVFrame *frame, int first, int count, Out *out, Convert convert)
{
    const int channels = frame->ch_layout.nb_channels;
    if (av_sample_fmt_is_planar(AVSampleFormat(frame->format))) {
        for (int c = 0; c < channels; ++c) {
            const T *in = reinterpret_cast<const T *>(frame->extended_data[c]) + first;
            for (int i = 0; i < count; ++i)
                out[i * channels + c] = convert(in[i]);
        }
    } else {
        const T *in = reinterpret_cast<const T *>(frame->extended_data[0]) + size_t(first) * channels;
        const size_t n = size_t(count) * channels;
        for (size_t i = 0; i < n; ++i)
            out[i] = convert(in[i]);
    }
}

} // namespace

void InterleaveSamples(const AVFrame *frame, int first, int count, uint8_t *out)
{
    const AVSampleFormat format = AVSampleFormat(frame->format);
    const AVSampleFormat delivered = DeliveredFormat(format);
    if (delivered != av_get_packed_sample_fmt(format)) {
        SamplesToInt16(frame, first, count, reinterpret_cast<int16_t *>(out));
        return;
    }
    const int channels = frame->ch_layout.nb_channels;
    const int bytes = av_get_bytes_per_sample(format);
    if (!av_sample_fmt_is_planar(format)) {
        std::memcpy(out, frame->extended_data[0] + size_t(first) * channels * bytes, size_t(count) * channels * bytes);
        return;
    }
    for (int c = 0; c < channels; ++c) {
        const uint8_t *in = frame->extended_data[c] + size_t(first) * bytes;
        uint8_t *o = out + size_t(c) * bytes;
        for (int i = 0; i < count; ++i, in += bytes, o += size_t(channels) * bytes)
            std::memcpy(o, in, bytes);
    }
}

void SamplesToInt16(const AVFrame *frame, int first, int count, int16_t *out)
{
    switch (av_get_packed_sample_fmt(AVSampleFormat(frame->format))) {
    case AV_SAMPLE_FMT_U8: ForEachSample<uint8_t>(frame, first, count, out, FromU8); break;
    case AV_SAMPLE_FMT_S16: ForEachSample<int16_t>(frame, first, count, out, FromS16); break;
    case AV_SAMPLE_FMT_S32: ForEachSample<int32_t>(frame, first, count, out, FromS32); break;
    case AV_SAMPLE_FMT_S64: ForEachSample<int64_t>(frame, first, count, out, FromS64); break;
    case AV_SAMPLE_FMT_FLT: ForEachSample<float>(frame, first, count, out, FromReal<float>); break;
    case AV_SAMPLE_FMT_DBL: ForEachSample<double>(frame, first, count, out, FromReal<double>); break;
    default: std::memset(out, 0, size_t(count) * frame->ch_layout.nb_channels * sizeof(int16_t)); break;
    }
}

void DownMixToStereo(const int16_t *in, int channels, int count, int16_t *out)
{
    for (int i = 0; i < count; ++i, in += channels, out += 2) {
        int left, right;
        switch (channels) {
        case 2: left = in[0]; right = in[1]; break;
        case 3:
        case 6: left = (in[0] + in[1]) / 2; right = (in[2] + in[1]) / 2; break;
        case 4: left = (in[0] + in[2]) / 2; right = (in[1] + in[3]) / 2; break;
        case 5: left = (in[0] + in[1] + in[3]) / 3; right = (in[2] + in[1] + in[4]) / 3; break;
        default: left = in[0]; right = 0; break;
        }
        out[0] = int16_t(left);
        out[1] = int16_t(right);
    }
}
