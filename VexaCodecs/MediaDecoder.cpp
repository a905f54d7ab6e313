// Opening and closing a media file, its stream description and durations.

#include "MediaDecoder.h"

#include "AudioConversion.h"
#include "CodecLibrary.h"
#include "TextConversion.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <new>

namespace {

constexpr int64_t kPlausibleDifference = 1800;   // seconds
constexpr int64_t kFlashVideoBitRate = 368000;   // assumed for Sorenson H.263 without a bit rate

double ToDouble(AVRational r)
{
    return r.den ? double(r.num) / r.den : 0.0;
}

int64_t StartOf(const AVStream *stream)
{
    return stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
}

} // namespace

MediaDecoder *MediaDecoder::Load(const char16_t *path, FileFormatInfo *info)
{
    MediaDecoder *decoder = new (std::nothrow) MediaDecoder;
    if (!decoder) {
        CodecLog("failed to create decoder...");
        return nullptr;
    }
    if (!decoder->Open(path, info)) {
        delete decoder;
        CodecLog("failed to load media file(%s)", Utf16ToUtf8(path).c_str());
        return nullptr;
    }
    return decoder;
}

bool MediaDecoder::Open(const char16_t *path, FileFormatInfo *info)
{
    path_ = Utf16ToUtf8(path);
    struct stat st;
    if (!path || path_.empty() || ::stat(path_.c_str(), &st) != 0) {
        CodecLog("media file(%s)don't exist..", path_.c_str());
        return false;
    }
    // The whole UTF-8 path goes to FFmpeg: a path cut to a fixed length would name another file.
    const int opened = avformat_open_input(&input_, path_.c_str(), nullptr, nullptr);
    if (opened < 0) {
        CodecLog("Failed to open media file(%s), Error code: %d", path_.c_str(), opened);
        return false;
    }
    {
        std::lock_guard lock(FfmpegLock());
        if (avformat_find_stream_info(input_, nullptr) < 0) {
            CodecLog("failed to find stream info...");
            return false;
        }
    }
    av_dump_format(input_, 0, path_.c_str(), 0);
    fileSize_ = std::max<int64_t>(avio_size(input_->pb), 0);

    for (unsigned i = 0; i < input_->nb_streams; ++i) {
        AVStream *stream = input_->streams[i];
        const AVMediaType type = stream->codecpar->codec_type;
        if (type == AVMEDIA_TYPE_VIDEO && !video_.Present() && !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
            if (!OpenVideo(int(i)))
                return false;
        } else if (type == AVMEDIA_TYPE_AUDIO && !audio_.Present()) {
            if (!OpenAudio(int(i)))
                return false;
        } else {
            stream->discard = AVDISCARD_ALL;
        }
    }
    if (info) {
        info->bitRate = int32_t(input_->bit_rate);
        Describe(info);
    }
    return StartReader();
}

bool MediaDecoder::OpenDecoder(Stream &s, int index, const char *missing, const char *cannotOpen)
{
    s.index = index;
    s.stream = input_->streams[index];
    s.timeBase = ToDouble(s.stream->time_base);
    s.startTime = StartOf(s.stream);
    // The demuxer hands over whole packets, so decoders need no truncated-input mode.
    std::lock_guard lock(FfmpegLock());
    const AVCodec *codec = avcodec_find_decoder(s.stream->codecpar->codec_id);
    if (!codec) {
        CodecLog("%s", missing);
        return false;
    }
    s.codec = avcodec_alloc_context3(codec);
    if (s.codec)
        s.codec->pkt_timebase = s.stream->time_base;  // lets the decoder stamp trimmed frames
    if (!s.codec || avcodec_parameters_to_context(s.codec, s.stream->codecpar) < 0
        || avcodec_open2(s.codec, codec, nullptr) < 0) {
        CodecLog("%s", cannotOpen);
        return false;
    }
    s.packet = av_packet_alloc();
    if (!s.packet)
        return false;
    if (s.queue)
        s.queue->Clear(true);
    else
        s.queue = std::make_unique<PacketQueue>();
    return true;
}

bool MediaDecoder::OpenVideo(int index)
{
    if (!OpenDecoder(video_, index, "failed to find decoder", "can't initialize video decoder..."))
        return false;
    if (!(videoFrame_ = av_frame_alloc())) {
        CodecLog("Failed to alloc decode frame...");
        return false;
    }
    if (!(argbFrame_ = av_frame_alloc())) {
        CodecLog("failed to alloc argb frame...");
        return false;
    }
    const AVCodecContext *c = video_.codec;
    displayWidth_ = c->width;
    displayHeight_ = c->height;
    if (c->sample_aspect_ratio.num != 0 && c->sample_aspect_ratio.den != 0 && c->height > 0) {
        const float f = float(ToDouble(c->sample_aspect_ratio) * c->width / c->height);
        displayWidth_ = int(c->height * double(f));
    }
    pictureSize_ = displayWidth_ * displayHeight_ * 4;
    // FFmpeg no longer gives decoders a codec time base; one frame period stands in for it.
    const AVRational frameRate = av_guess_frame_rate(input_, video_.stream, nullptr);
    codecTimeBase_ = frameRate.num ? ToDouble(av_inv_q(frameRate)) : 0.0;
    return DetermineVideoDuration();
}

bool MediaDecoder::OpenAudio(int index)
{
    if (!OpenDecoder(audio_, index, "failed to find audio decoder....", "failed to initialize audio decoder..."))
        return false;
    if (!(audioFrame_ = av_frame_alloc()) || !(preroll_ = av_packet_alloc()) || !(heldPacket_ = av_packet_alloc()))
        return false;
    const AVCodecContext *c = audio_.codec;
    audioBytesPerSecond_ = c->ch_layout.nb_channels * c->sample_rate * (SampleFormatBits(c->sample_fmt) / 8);
    return DetermineAudioDuration();
}

int64_t MediaDecoder::PlausibleDuration(int64_t duration, bool video) const
{
    if (input_->bit_rate <= 0)
        return duration;
    const int64_t estimate = fileSize_ * 8 / input_->bit_rate;
    if (std::llabs(estimate - duration) <= kPlausibleDifference)
        return duration;
    if (video)
        CodecLog("Get Error video file length.");
    return estimate;
}

bool MediaDecoder::DetermineVideoDuration()
{
    const AVStream *st = video_.stream;
    if (st->duration != AV_NOPTS_VALUE) {
        const int64_t end = StartOf(st) + st->duration;
        if (end <= 0) {
            CodecLog("video stream length must over zero.");
            return false;
        }
        videoDuration_ = PlausibleDuration(int64_t(end * video_.timeBase), true);
        return true;
    }
    CodecLog("Can't Get Video file length.");
    int64_t estimate;
    if (input_->duration != AV_NOPTS_VALUE) {
        estimate = input_->duration / AV_TIME_BASE;
    } else {
        int64_t bitRate = input_->bit_rate;
        if (bitRate == 0)
            bitRate = (video_.codec->bit_rate + video_.codec->bit_rate_tolerance) >> 1;
        if (bitRate == 0 && video_.codec->codec_id == AV_CODEC_ID_FLV1)
            bitRate = kFlashVideoBitRate;
        if (bitRate <= 0) {
            CodecLog("can't Estimate video file length.");
            return false;
        }
        estimate = fileSize_ * 8 / bitRate;
        if (estimate <= 0) {
            CodecLog("video length lower one second.");
            return false;
        }
    }
    durationEstimated_ = true;
    estimatedLength_ = PlausibleDuration(estimate, true);
    videoDuration_ = estimatedLength_;
    return true;
}

bool MediaDecoder::DetermineAudioDuration()
{
    const AVStream *st = audio_.stream;
    int64_t duration;
    if (durationEstimated_) {
        duration = estimatedLength_;
    } else if (st->duration != AV_NOPTS_VALUE) {
        duration = int64_t((StartOf(st) + st->duration) * audio_.timeBase);
    } else if (audio_.codec->bit_rate > 0) {
        duration = fileSize_ * 8 / audio_.codec->bit_rate;
    } else if (input_->duration != AV_NOPTS_VALUE) {
        // Neither the stream nor the codec tells; the container's own length still does.
        duration = input_->duration / AV_TIME_BASE;
    } else {
        return false;
    }
    audioDuration_ = PlausibleDuration(duration, false);
    return true;
}

void MediaDecoder::Describe(FileFormatInfo *info) const
{
    auto add = [info](int type, const Stream &s, int64_t duration) -> StreamInfo * {
        if (info->count >= 4)
            return nullptr;
        auto *entry = static_cast<StreamInfo *>(av_mallocz(sizeof(StreamInfo)));
        if (!entry)
            return nullptr;
        entry->type = type;
        entry->duration = duration;
        entry->valid = 1;
        CopyToUtf16Field(s.codec->codec->name, 32, entry->codecName, 64);
        info->streams[info->count++] = entry;
        return entry;
    };
    if (video_.Present()) {
        if (StreamInfo *v = add(0, video_, videoDuration_)) {
            const AVRational rate = av_guess_frame_rate(input_, video_.stream, nullptr);
            v->rate = rate.num;
            v->rateBase = rate.den;
            v->width = displayWidth_;
            v->height = displayHeight_;
        }
    }
    if (audio_.Present()) {
        if (StreamInfo *a = add(1, audio_, audioDuration_)) {
            a->rate = audio_.codec->sample_rate;
            a->bitRate = int32_t(audio_.codec->bit_rate);
            a->bitsPerSample = SampleFormatBits(audio_.codec->sample_fmt);
            a->channels = audio_.codec->ch_layout.nb_channels;
        }
    }
}

bool MediaDecoder::StartReader()
{
    if (reader_.joinable())
        return true;
    try {
        reader_ = std::thread([this] {
            // The reader runs at the lowest priority: decoding on the caller's side comes first.
            setpriority(PRIO_PROCESS, gettid(), 19);
            ReadPackets();
        });
    } catch (const std::system_error &) {
        return false;
    }
    return true;
}

MediaDecoder::~MediaDecoder()
{
    quit_ = true;
    readerWake_.Set();
    queueSpace_.Set();
    packetReady_.Set();
    if (reader_.joinable())
        reader_.join();
    sws_freeContext(displayScaler_);
    sws_freeContext(targetScaler_);
    av_frame_free(&videoFrame_);
    av_frame_free(&argbFrame_);
    av_frame_free(&audioFrame_);
    CloseResampler();
    {
        std::lock_guard lock(FfmpegLock());
        for (Stream *s : {&video_, &audio_}) {
            if (s->stream)
                s->stream->discard = AVDISCARD_ALL;
            avcodec_free_context(&s->codec);
        }
    }
    av_packet_free(&video_.packet);
    av_packet_free(&audio_.packet);
    av_packet_free(&preroll_);
    av_packet_free(&heldPacket_);
    avformat_close_input(&input_);
    std::lock_guard lock(lock_);
    video_.queue.reset();
    audio_.queue.reset();
}
