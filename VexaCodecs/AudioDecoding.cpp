// The audio consumer: decoding on the caller's thread, the conversion target and the resampler.

#include "MediaDecoder.h"

#include "AudioConversion.h"
#include "CodecLibrary.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kMaxDecodeErrors = 10;
constexpr int kTicksPerSecond = 10000000;
constexpr int kStereoFrameBytes = 4;
// Sample frames of one down-mixed block: the down-mix buffer holds as much as an AudioFrame.
constexpr int kMaxStereoFrames = VEXA_AUDIO_FRAME_BYTES / kStereoFrameBytes;
// Output frames kept free for what the resampler's filter still holds from earlier input.
constexpr int kResamplerSlack = 256;

} // namespace

bool MediaDecoder::SetAudioTarget(int sampleRate, int bitsPerSample, int channels)
{
    if (sampleRate <= 0 || channels <= 0) {
        CodecLog("Error parameter....");
        return false;
    }
    target_.sampleRate = sampleRate;
    target_.channels = channels;
    target_.format = bitsPerSample == 8 ? AV_SAMPLE_FMT_U8 : bitsPerSample == 32 ? AV_SAMPLE_FMT_S32 : AV_SAMPLE_FMT_S16;
    hasTarget_ = true;
    // Made again for the new target when a block needs it.
    CloseResampler();
    return true;
}

void MediaDecoder::CloseResampler()
{
    swr_free(&resampler_);
    resamplerInputRate_ = 0;
    resamplerDrained_ = false;
}

bool MediaDecoder::EnsureResampler(int inputRate)
{
    if (resampler_ && resamplerInputRate_ == inputRate)
        return true;
    CloseResampler();
    // Every block reaches the resampler as stereo signed 16-bit, through the down-mix.
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    AVChannelLayout out;
    av_channel_layout_default(&out, target_.channels);
    const bool made = swr_alloc_set_opts2(&resampler_, &out, target_.format, target_.sampleRate, &stereo,
                                          AV_SAMPLE_FMT_S16, inputRate, 0, nullptr) >= 0
        && av_opt_set_int(resampler_, "filter_size", 16, 0) >= 0
        && av_opt_set_int(resampler_, "phase_shift", 10, 0) >= 0
        && av_opt_set_int(resampler_, "linear_interp", 0, 0) >= 0
        && av_opt_set_double(resampler_, "cutoff", 0.8, 0) >= 0 && swr_init(resampler_) >= 0;
    av_channel_layout_uninit(&out);
    if (!made) {
        CloseResampler();
        return false;
    }
    resamplerInputRate_ = inputRate;
    return true;
}

void MediaDecoder::RestartAudio(const PendingFlush &flush)
{
    avcodec_flush_buffers(audio_.codec);
    audio_.drained = false;
    audioFrameHeld_ = false;
    audioClock_ = flush.clock;
    audioSkipUntil_ = flush.target;
    av_packet_unref(preroll_);
    av_packet_unref(heldPacket_);
    // Samples the resampler still holds belong to the old position.
    CloseResampler();
}

// The next audio packet to decode, skipping after a seek what ends before its target.
MediaDecoder::Fetch MediaDecoder::NextAudioPacket()
{
    if (heldPacket_->data) {
        av_packet_unref(audio_.packet);
        av_packet_move_ref(audio_.packet, heldPacket_);
        return Fetch::Packet;
    }
    for (;;) {
        const Fetch fetched = FetchPacket(audio_, video_);
        if (fetched != Fetch::Packet || audioSkipUntil_ == AV_NOPTS_VALUE) {
            if (fetched == Fetch::Exhausted)
                av_packet_unref(preroll_);
            return fetched;
        }
        AVPacket *p = audio_.packet;
        const int64_t start = p->pts != AV_NOPTS_VALUE ? p->pts : p->dts;
        if (start != AV_NOPTS_VALUE && p->duration > 0 && start + p->duration <= audioSkipUntil_) {
            // PCM packets decode on their own: none is kept to settle the decoder, or its
            // samples would play before the target.
            av_packet_unref(preroll_);
            if (PcmAudio())
                av_packet_unref(p);
            else
                av_packet_move_ref(preroll_, p);
            continue;
        }
        audioSkipUntil_ = AV_NOPTS_VALUE;
        if (preroll_->data) {
            av_packet_move_ref(heldPacket_, p);
            av_packet_move_ref(p, preroll_);
        }
        return Fetch::Packet;
    }
}

int32_t MediaDecoder::FailAudio(AudioFrame *frame, const char *message)
{
    CodecLog("%s", message);
    frame->size = 0;
    return 0;
}

int MediaDecoder::MaxConvertedFrames(int available)
{
    int count = std::min(available, kMaxStereoFrames);
    const bool resample = !(target_.format == AV_SAMPLE_FMT_S16 && target_.channels == 2
                            && target_.sampleRate == audioFrame_->sample_rate);
    if (!resample)
        return count;
    const int outFrameBytes = target_.channels * av_get_bytes_per_sample(target_.format);
    const int64_t maxOut = VEXA_AUDIO_FRAME_BYTES / outFrameBytes - kResamplerSlack;
    const int64_t fitting = maxOut * audioFrame_->sample_rate / target_.sampleRate;
    return int(std::clamp<int64_t>(fitting, 1, count));
}

bool MediaDecoder::ConvertAudio(int first, int count, AudioFrame *frame)
{
    const int channels = audioFrame_->ch_layout.nb_channels;
    samples16_.resize(size_t(count) * channels);
    SamplesToInt16(audioFrame_, first, count, samples16_.data());
    const int16_t *stereo = samples16_.data();
    if (channels != 2) {
        stereo_.resize(size_t(count) * 2);
        DownMixToStereo(samples16_.data(), channels, count, stereo_.data());
        stereo = stereo_.data();
    }
    if (target_.format == AV_SAMPLE_FMT_S16 && target_.channels == 2 && target_.sampleRate == audioFrame_->sample_rate) {
        std::memcpy(frame->data, stereo, size_t(count) * kStereoFrameBytes);
        frame->size = count * kStereoFrameBytes;
        return true;
    }
    if (!EnsureResampler(audioFrame_->sample_rate))
        return false;
    // The resampler never writes more than the record holds; any excess stays inside it and
    // comes out with the next block.
    const int outFrameBytes = target_.channels * av_get_bytes_per_sample(target_.format);
    uint8_t *out = frame->data;
    const auto *in = reinterpret_cast<const uint8_t *>(stereo);
    const int made = swr_convert(resampler_, &out, VEXA_AUDIO_FRAME_BYTES / outFrameBytes, &in, count);
    if (made < 0)
        return false;
    frame->size = made * outFrameBytes;
    return true;
}

// Delivers the next part of the held decoded frame: 1 a block, 0 no bytes this time, -1 the
// conversion failed.
int MediaDecoder::DeliverAudio(AudioFrame *frame)
{
    const AVFrame *f = audioFrame_;
    const int available = f->nb_samples - audioFrameUsed_;
    const int channels = f->ch_layout.nb_channels;
    if (available <= 0 || channels <= 0 || f->sample_rate <= 0) {
        audioFrameHeld_ = false;
        return 0;
    }
    const bool raw = !hasTarget_
        || (f->format == target_.format && channels == target_.channels && f->sample_rate == target_.sampleRate);
    const double blockTime = audioClock_;
    int count;
    frame->size = 0;
    if (raw) {
        const int frameBytes = channels * av_get_bytes_per_sample(DeliveredFormat(AVSampleFormat(f->format)));
        count = std::min(available, VEXA_AUDIO_FRAME_BYTES / frameBytes);
        if (count <= 0) {
            // More channels than one record can carry a single sample frame of.
            audioFrameHeld_ = false;
            return 0;
        }
        InterleaveSamples(f, audioFrameUsed_, count, frame->data);
        frame->size = count * frameBytes;
    } else {
        count = MaxConvertedFrames(available);
        if (!ConvertAudio(audioFrameUsed_, count, frame)) {
            audioFrameHeld_ = false;
            return -1;
        }
    }
    audioFrameUsed_ += count;
    if (audioFrameUsed_ >= f->nb_samples)
        audioFrameHeld_ = false;
    audioClock_ += double(count) / f->sample_rate;
    if (frame->size == 0)
        return 0;
    frame->pts = int64_t(blockTime * kTicksPerSecond);
    return 1;
}

bool MediaDecoder::PcmAudio() const
{
    // FFmpeg numbers its PCM codecs from the first audio id up to the first ADPCM one.
    const AVCodecID id = audio_.codec->codec_id;
    return id >= AV_CODEC_ID_PCM_S16LE && id < AV_CODEC_ID_ADPCM_IMA_QT;
}

double MediaDecoder::PacketTime(const AVPacket *packet) const
{
    double time = double(packet->pts - audio_.startTime) * audio_.timeBase;
    // Samples the decoder trims from the front of this packet (an encoder's delay) come before
    // the first sample it delivers.
    size_t size = 0;
    const uint8_t *skip = av_packet_get_side_data(packet, AV_PKT_DATA_SKIP_SAMPLES, &size);
    if (skip && size >= 4 && audio_.codec->sample_rate > 0)
        time += double(AV_RL32(skip)) / audio_.codec->sample_rate;
    return time;
}

int32_t MediaDecoder::GetNextAudioFrame(AudioFrame *frame)
{
    if (!frame) {
        CodecLog("Error parameter....");
        return 0;
    }
    frame->size = 0;
    if (!audio_.Present()) {
        CodecLog("no audio stream exist...");
        return 0;
    }
    if (!audio_.codec) {
        CodecLog("can't decode such audio data..");
        return 0;
    }
    if (!StartReader()) {
        CodecLog("failed to begin to read packet");
        return 0;
    }
    PendingFlush flush;
    if (TakePendingFlush(audio_, flush))
        RestartAudio(flush);

    int errors = 0;
    for (;;) {
        if (audioFrameHeld_) {
            const int delivered = DeliverAudio(frame);
            if (delivered < 0)
                return FailAudio(frame, "failed to decode audio..");
            if (delivered > 0)
                return 1;
            continue;
        }
        int result = avcodec_receive_frame(audio_.codec, audioFrame_);
        if (result == 0) {
            audioFrameHeld_ = true;
            audioFrameUsed_ = 0;
            continue;
        }
        if (result == AVERROR_EOF) {
            // What the resampler's filter still holds is the end of the stream.
            if (resampler_ && !resamplerDrained_) {
                const int outFrameBytes = target_.channels * av_get_bytes_per_sample(target_.format);
                uint8_t *out = frame->data;
                const int made = swr_convert(resampler_, &out, VEXA_AUDIO_FRAME_BYTES / outFrameBytes, nullptr, 0);
                if (made > 0) {
                    frame->size = made * outFrameBytes;
                    frame->pts = int64_t(audioClock_ * kTicksPerSecond);
                    return 1;
                }
                resamplerDrained_ = true;
            }
            CodecLog("finish decode....");
            return 0;
        }
        if (result != AVERROR(EAGAIN)) {
            if (++errors >= kMaxDecodeErrors)
                return FailAudio(frame, "Warning: Error while decode audio frame");
            continue;
        }
        switch (NextAudioPacket()) {
        case Fetch::Stopped:
            return 0;
        case Fetch::Flush:
            if (TakePendingFlush(audio_, flush))
                RestartAudio(flush);
            continue;
        case Fetch::Exhausted:
            if (audio_.drained)
                return FailAudio(frame, "finish decode....");
            // Let the decoder give up what it still holds; it then reports its end.
            audio_.drained = true;
            avcodec_send_packet(audio_.codec, nullptr);
            continue;
        case Fetch::Packet:
            break;
        }
        if (audio_.packet->pts != AV_NOPTS_VALUE)
            audioClock_ = PacketTime(audio_.packet);
        result = avcodec_send_packet(audio_.codec, audio_.packet);
        av_packet_unref(audio_.packet);
        if (result < 0 && result != AVERROR(EAGAIN) && ++errors >= kMaxDecodeErrors)
            return FailAudio(frame, "Warning: Error while decode audio frame");
    }
}
