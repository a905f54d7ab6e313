// Creating an output file, encoding pictures and audio into it, and closing it.

#include "MediaEncoder.h"

#include "CodecLibrary.h"
#include "TextConversion.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

constexpr AVPixelFormat kArgb = AV_PIX_FMT_RGB32;  // bytes B, G, R, A in memory
constexpr int kDefaultAudioBitRate = 128000;
constexpr int kAudioOutputBytes = 16384;

struct OutputFormat {
    const char *extension;
    const char *shortName;
};

// Format ids: the extension goes to FFmpeg's guess; a short name takes precedence. FFmpeg
// guesses ".vob" as SVCD, so the DVD id names its muxer.
constexpr OutputFormat kFormats[] = {
    {".mpg", nullptr}, {".mpg", "vcd"}, {".mpg", nullptr}, {".mpg", "svcd"}, {".vob", "dvd"}, {".mp4", nullptr},
    {".mov", nullptr}, {".3gp", nullptr}, {".3g2", nullptr}, {".avi", nullptr}, {".wmv", nullptr}, {".asf", nullptr},
    {".rm", nullptr}, {".rmvb", nullptr}, {".flv", nullptr}, {".ogg", nullptr}, {".mp3", nullptr}, {".wav", nullptr},
    {".ape", nullptr}, {".wma", nullptr}, {".mkv", nullptr}, {".dv", nullptr}, {".aac", nullptr}, {".ac3", nullptr},
    {".aiff", nullptr}, {".flac", nullptr}, {".m4a", nullptr}, {".m4v", nullptr},
};

constexpr AVCodecID kVideoCodecs[] = {
    AV_CODEC_ID_MPEG1VIDEO, AV_CODEC_ID_MPEG2VIDEO, AV_CODEC_ID_MPEG4,     AV_CODEC_ID_H263,      AV_CODEC_ID_MPEG4,
    AV_CODEC_ID_H264,       AV_CODEC_ID_WMV1,       AV_CODEC_ID_WMV2,      AV_CODEC_ID_WMV3,      AV_CODEC_ID_RV10,
    AV_CODEC_ID_RV20,       AV_CODEC_ID_RV30,       AV_CODEC_ID_RV40,      AV_CODEC_ID_CAVS,      AV_CODEC_ID_THEORA,
    AV_CODEC_ID_MSMPEG4V1,  AV_CODEC_ID_MSMPEG4V2,  AV_CODEC_ID_MSMPEG4V3, AV_CODEC_ID_MJPEG,     AV_CODEC_ID_FLV1,
    AV_CODEC_ID_DVVIDEO,
};
constexpr int kXvid = 4;

constexpr AVCodecID kAudioCodecs[] = {
    AV_CODEC_ID_MP2,       AV_CODEC_ID_MP3,           AV_CODEC_ID_AC3,       AV_CODEC_ID_AAC,
    AV_CODEC_ID_AMR_NB,    AV_CODEC_ID_AMR_WB,        AV_CODEC_ID_WMAV1,     AV_CODEC_ID_WMAV2,
    AV_CODEC_ID_ADPCM_MS,  AV_CODEC_ID_ADPCM_IMA_WAV, AV_CODEC_ID_VORBIS,    AV_CODEC_ID_RA_144,
    AV_CODEC_ID_RA_288,    AV_CODEC_ID_DTS,           AV_CODEC_ID_DVAUDIO,   AV_CODEC_ID_APE,
    AV_CODEC_ID_PCM_DVD,   AV_CODEC_ID_PCM_S16LE,     AV_CODEC_ID_PCM_S16BE, AV_CODEC_ID_FLAC,
};

template <typename T, size_t N>
bool InTable(const T (&)[N], int index)
{
    return index >= 0 && size_t(index) < N;
}

// The first format of list (ending with none) that is wanted, else the list's first.
template <typename F>
F Supported(const F *list, F none, std::initializer_list<F> wanted)
{
    if (!list)
        return *wanted.begin();
    for (F w : wanted)
        for (const F *f = list; *f != none; ++f)
            if (*f == w)
                return w;
    return list[0];
}

void SetCodecTag(AVCodecContext *codec, const AVFormatContext *output, const char *fourcc)
{
    // A FourCC is a matter of the container (AVI); where it does not fit, the muxer picks its own.
    const uint32_t tag = MKTAG(fourcc[0], fourcc[1], fourcc[2], fourcc[3]);
    const AVCodecTag *const *tags = output->oformat->codec_tag;
    if (tags && av_codec_get_id(tags, tag) == codec->codec_id)
        codec->codec_tag = tag;
}

} // namespace

MediaEncoder *MediaEncoder::Create(const FmtContext *context)
{
    MediaEncoder *encoder = new (std::nothrow) MediaEncoder;
    if (!encoder) {
        CodecLog("failed to create encoder...");
        return nullptr;
    }
    bool opened;
    {
        std::lock_guard lock(encoder->lock_);
        opened = encoder->Open(*context);
    }
    if (!opened) {
        CodecLog("failed to initialize encoder...");
        encoder->RemoveUnfinishedFile();
        delete encoder;
        return nullptr;
    }
    return encoder;
}

bool MediaEncoder::Open(const FmtContext &context)
{
    path_ = Utf16ToUtf8(context.filePath);
    const AVOutputFormat *format = nullptr;
    if (InTable(kFormats, context.formatId)) {
        const OutputFormat &f = kFormats[context.formatId];
        format = av_guess_format(f.shortName, (std::string("output") + f.extension).c_str(), nullptr);
    }
    if (!format) {
        CodecLog("Error file format id...");
        return false;
    }
    if (avformat_alloc_output_context2(&output_, format, nullptr, path_.c_str()) < 0 || !output_
        || !(packet_ = av_packet_alloc())) {
        CodecLog("Failed to alloc format context...");
        return false;
    }
    AVDictionary *videoOptions = nullptr;
    const bool withVideo = InTable(kVideoCodecs, context.videoCodec);
    if (withVideo && !AddVideoStream(context, kVideoCodecs[context.videoCodec])) {
        CodecLog("failed to create video stream...");
        return false;
    }
    if (InTable(kAudioCodecs, context.audioCodec) && !AddAudioStream(context, kAudioCodecs[context.audioCodec])) {
        CodecLog("Failed to create audio stream");
        return false;
    }
    av_dump_format(output_, 0, path_.c_str(), 1);
    if (video_ && !OpenVideoEncoder(&videoOptions))
        return false;
    if (audio_ && !OpenAudioEncoder())
        return false;
    if (!(format->flags & AVFMT_NOFILE)) {
        if (avio_open(&output_->pb, path_.c_str(), AVIO_FLAG_WRITE) < 0) {
            CodecLog("Could not open '%s'\n", path_.c_str());
            return false;
        }
        fileOpen_ = true;
    }
    if (avformat_write_header(output_, nullptr) < 0) {
        CodecLog("failed to write file header...");
        return false;
    }
    headerWritten_ = true;
    return true;
}

bool MediaEncoder::AddVideoStream(const FmtContext &c, AVCodecID id)
{
    const AVCodec *codec = avcodec_find_encoder(id);
    if (!(videoStream_ = avformat_new_stream(output_, nullptr)) || !(video_ = avcodec_alloc_context3(codec)))
        return false;
    AVCodecContext *v = video_;
    v->codec_type = AVMEDIA_TYPE_VIDEO;
    v->codec_id = id;
    v->bit_rate = c.videoBitRate;
    v->bit_rate_tolerance = c.videoBitRate;
    v->rc_min_rate = v->rc_max_rate = c.videoBitRate;
    v->rc_buffer_size = int(c.videoBitRate * 1.2);
    v->rc_initial_buffer_occupancy = int(int64_t(c.videoBitRate) * 3 / 4);
    v->width = c.width;
    v->height = c.height;
    v->time_base = AVRational{c.frameRateDen, c.frameRateNum};
    v->framerate = AVRational{c.frameRateNum, c.frameRateDen};
    v->gop_size = 12;
    const AVPixelFormat wanted = id == AV_CODEC_ID_DVVIDEO ? AV_PIX_FMT_YUV422P : AV_PIX_FMT_YUV420P;
    v->pix_fmt = codec ? Supported(codec->pix_fmts, AV_PIX_FMT_NONE, {wanted}) : wanted;

    const int64_t muxRate = id == AV_CODEC_ID_MPEG2VIDEO ? 2 * int64_t(c.videoBitRate) : v->rc_buffer_size;
    switch (id) {
    case AV_CODEC_ID_MPEG2VIDEO:
        v->max_b_frames = 2;
        v->gop_size = c.frameRateNum < 26 ? 15 : 18;
        [[fallthrough]];
    case AV_CODEC_ID_MPEG1VIDEO:
        if (id == AV_CODEC_ID_MPEG1VIDEO)
            v->mb_decision = FF_MB_DECISION_RD;
        if (output_->priv_data) {
            av_opt_set_int(output_->priv_data, "muxrate", muxRate, 0);
            av_opt_set_int(output_->priv_data, "preload", 500000, 0);
        }
        output_->max_delay = 700000;
        break;
    case AV_CODEC_ID_H264:
        v->i_quant_factor = 0.71f;
        v->flags |= AV_CODEC_FLAG_LOOP_FILTER;
        v->me_cmp |= FF_CMP_CHROMA;
        v->qcompress = 0.6f;
        if (c.h264Profile > 0)
            v->profile = c.h264Profile;
        if (c.h264Level > 0)
            v->level = c.h264Level;
        v->me_range = 16;
        v->max_qdiff = 4;
        v->qmin = 10;
        v->qmax = 51;
        v->keyint_min = 25;
        break;
    case AV_CODEC_ID_MPEG4:
        if (c.videoCodec == kXvid) {
            SetCodecTag(v, output_, "XVID");
            if (v->sample_aspect_ratio.num == 0)
                v->sample_aspect_ratio = videoStream_->sample_aspect_ratio = AVRational{1, 1};
        } else {
            SetCodecTag(v, output_, "DIVX");
        }
        break;
    default:
        break;
    }
    videoStream_->time_base = v->time_base;
    if (output_->oformat->flags & AVFMT_GLOBALHEADER)
        v->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    return true;
}

bool MediaEncoder::AddAudioStream(const FmtContext &c, AVCodecID id)
{
    const AVCodec *codec = avcodec_find_encoder(id);
    if (!(audioStream_ = avformat_new_stream(output_, nullptr)) || !(audio_ = avcodec_alloc_context3(codec)))
        return false;
    AVCodecContext *a = audio_;
    const int bitRate = c.audioBitRate ? c.audioBitRate : kDefaultAudioBitRate;
    a->codec_type = AVMEDIA_TYPE_AUDIO;
    a->codec_id = id;
    a->bit_rate = a->bit_rate_tolerance = a->rc_min_rate = a->rc_max_rate = a->rc_buffer_size = bitRate;
    a->rc_initial_buffer_occupancy = bitRate * 3 / 4;
    a->sample_rate = c.sampleRate;
    av_channel_layout_default(&a->ch_layout, std::max(c.channels, 1));
    inputFormat_ = c.bitsPerSample == 8 ? AV_SAMPLE_FMT_U8 : c.bitsPerSample == 32 ? AV_SAMPLE_FMT_S32 : AV_SAMPLE_FMT_S16;
    // The encoder's own layout: the input's, its planar form, or whatever the encoder takes.
    a->sample_fmt = codec ? Supported(codec->sample_fmts, AV_SAMPLE_FMT_NONE, {inputFormat_, av_get_planar_sample_fmt(inputFormat_)})
                          : inputFormat_;
    a->time_base = AVRational{1, std::max(c.sampleRate, 1)};
    audioStream_->time_base = a->time_base;
    if (output_->oformat->flags & AVFMT_GLOBALHEADER)
        a->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    return true;
}

bool MediaEncoder::OpenVideoEncoder(AVDictionary **options)
{
    std::unique_lock lock(FfmpegLock());
    const AVCodec *codec = avcodec_find_encoder(video_->codec_id);
    if (!codec) {
        CodecLog("failed to find encoder...");
        return false;
    }
    // Settings the encoders take as private options (ignored by those without them).
    av_dict_set(options, "rc_init_cplx", "0.5", 0);
    av_dict_set(options, "rc_buf_aggressivity", "1.0", 0);
    if (video_->codec_id == AV_CODEC_ID_H264) {
        av_dict_set(options, "x264-params",
                    "partitions=i4x4,i8x8,p8x8,b8x8:b-adapt=1:scenecut=40:me=hex:direct=spatial:subme=6:fast-pskip=1", 0);
    }
    const int opened = avcodec_open2(video_, codec, options);
    av_dict_free(options);
    lock.unlock();
    if (opened < 0 || avcodec_parameters_from_context(videoStream_->codecpar, video_) < 0) {
        CodecLog("failed to initialize encoder...");
        return false;
    }
    picture_ = av_frame_alloc();
    argb_ = av_frame_alloc();
    if (!picture_ || !argb_) {
        CodecLog("failed malloc frame ");
        return false;
    }
    picture_->format = video_->pix_fmt;
    argb_->format = kArgb;
    for (AVFrame *f : {picture_, argb_}) {
        f->width = video_->width;
        f->height = video_->height;
        if (av_frame_get_buffer(f, 0) < 0) {
            CodecLog("failed to malloc frame buf...");
            return false;
        }
    }
    return true;
}

bool MediaEncoder::OpenAudioEncoder()
{
    std::unique_lock lock(FfmpegLock());
    const AVCodec *codec = avcodec_find_encoder(audio_->codec_id);
    if (!codec) {
        CodecLog("can't find audio encoder...");
        return false;
    }
    const int opened = avcodec_open2(audio_, codec, nullptr);
    lock.unlock();
    if (opened < 0 || avcodec_parameters_from_context(audioStream_->codecpar, audio_) < 0) {
        CodecLog("failed to initialize audio encoder...");
        return false;
    }
    const int channels = audio_->ch_layout.nb_channels;
    if (audio_->frame_size > 1) {
        samplesPerFrame_ = audio_->frame_size;
    } else {
        samplesPerFrame_ = kAudioOutputBytes / channels;
        const AVCodecID id = audio_->codec_id;
        if (id == AV_CODEC_ID_PCM_S16LE || id == AV_CODEC_ID_PCM_S16BE || id == AV_CODEC_ID_PCM_U16LE
            || id == AV_CODEC_ID_PCM_U16BE)
            samplesPerFrame_ /= 2;
    }
    inputFrameBytes_ = channels * av_get_bytes_per_sample(inputFormat_);
    audioFrame_ = av_frame_alloc();
    if (!audioFrame_) {
        CodecLog("Out of memory when alloc samples...");
        return false;
    }
    audioFrame_->format = audio_->sample_fmt;
    audioFrame_->nb_samples = samplesPerFrame_;
    audioFrame_->sample_rate = audio_->sample_rate;
    try {
        sampleBuffer_.resize(size_t(samplesPerFrame_) * inputFrameBytes_);
    } catch (const std::bad_alloc &) {
        CodecLog("Out of memory when alloc samples...");
        return false;
    }
    if (av_channel_layout_copy(&audioFrame_->ch_layout, &audio_->ch_layout) < 0 || av_frame_get_buffer(audioFrame_, 0) < 0) {
        CodecLog("Out of memory when alloc samples...");
        return false;
    }
    if (audio_->sample_fmt != inputFormat_) {
        if (swr_alloc_set_opts2(&converter_, &audio_->ch_layout, audio_->sample_fmt, audio_->sample_rate,
                                &audio_->ch_layout, inputFormat_, audio_->sample_rate, 0, nullptr) < 0
            || swr_init(converter_) < 0) {
            CodecLog("failed to initialize audio encoder...");
            return false;
        }
    }
    return true;
}

bool MediaEncoder::SendAndWrite(AVCodecContext *codec, AVStream *stream, AVFrame *frame, const char *writeFailure)
{
    if (avcodec_send_frame(codec, frame) < 0)
        return false;
    for (;;) {
        const int received = avcodec_receive_packet(codec, packet_);
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF)
            return true;
        if (received < 0)
            return false;
        // One picture lasts one period of the codec's time base; containers that cut the stream
        // to its edit length would otherwise drop the last picture.
        if (packet_->duration == 0 && codec->codec_type == AVMEDIA_TYPE_VIDEO)
            packet_->duration = 1;
        av_packet_rescale_ts(packet_, codec->time_base, stream->time_base);
        packet_->stream_index = stream->index;
        if (av_interleaved_write_frame(output_, packet_) < 0) {
            CodecLog("%s", writeFailure);
            return false;
        }
    }
}

bool MediaEncoder::EncodePicture()
{
    scaler_ = sws_getCachedContext(scaler_, video_->width, video_->height, kArgb, video_->width, video_->height,
                                   video_->pix_fmt, SWS_BICUBIC, nullptr, nullptr, nullptr);
    if (!scaler_ || av_frame_make_writable(picture_) < 0
        || sws_scale(scaler_, argb_->data, argb_->linesize, 0, video_->height, picture_->data, picture_->linesize) < 0) {
        CodecLog("failed to convert image....");
        return false;
    }
    picture_->pts = nextPicture_++;
    if (!SendAndWrite(video_, videoStream_, picture_, "failed to write encode frame....")) {
        CodecLog("failed to encode video.");
        return false;
    }
    return true;
}

int32_t MediaEncoder::AddVideoFrame(int32_t width, int32_t height, int32_t pixelFormat, const uint8_t *data)
{
    std::lock_guard lock(lock_);
    if (!video_)
        return 0;
    if (pixelFormat != 1) {
        CodecLog("only support argb32 pixel format...");
        return 0;
    }
    if (!data || width <= 0 || height <= 0 || av_frame_make_writable(argb_) < 0) {
        CodecLog("Error parameter....avframe, data");
        return 0;
    }
    // Rows of width pixels; only what lies inside the encoded size is taken.
    const int rows = std::min(height, video_->height);
    const size_t rowBytes = size_t(std::min(width, video_->width)) * 4;
    for (int y = 0; y < rows; ++y)
        std::memcpy(argb_->data[0] + size_t(y) * argb_->linesize[0], data + size_t(y) * width * 4, rowBytes);
    return EncodePicture() ? 1 : 0;
}

int32_t MediaEncoder::AddVideoFrameEx(const VideoFrame *frame)
{
    std::lock_guard lock(lock_);
    if (!video_)
        return 0;
    if (!frame || !frame->data || av_frame_make_writable(argb_) < 0) {
        CodecLog("Error parameter....avframe, data");
        return 0;
    }
    // A negative stride walks a bottom-up picture from its top row, which the caller points at.
    const int rows = std::min(frame->height, video_->height);
    const size_t rowBytes = std::min<size_t>(std::abs(frame->stride), argb_->linesize[0]);
    for (int y = 0; y < rows; ++y)
        std::memcpy(argb_->data[0] + size_t(y) * argb_->linesize[0], frame->data + int64_t(y) * frame->stride, rowBytes);
    return EncodePicture() ? 1 : 0;
}

// Encodes count sample frames of input-format samples as one codec frame.
bool MediaEncoder::EncodeAudio(const uint8_t *samples, int count)
{
    if (av_frame_make_writable(audioFrame_) < 0)
        return false;
    audioFrame_->nb_samples = count;
    if (converter_) {
        if (swr_convert(converter_, audioFrame_->extended_data, count, &samples, count) != count)
            return false;
    } else {
        std::memcpy(audioFrame_->data[0], samples, size_t(count) * inputFrameBytes_);
    }
    audioFrame_->pts = nextSample_;
    nextSample_ += count;
    return SendAndWrite(audio_, audioStream_, audioFrame_, "failed to write audio frame...");
}

int32_t MediaEncoder::AddAudioFrame(const uint8_t *data, int32_t size)
{
    std::lock_guard lock(lock_);
    if (!audio_ || !data || size < 0)
        return 0;
    const int frameBytes = samplesPerFrame_ * inputFrameBytes_;
    while (buffered_ + size >= frameBytes) {
        bool encoded;
        if (buffered_ > 0) {
            // Only the bytes that complete the buffered frame are copied.
            const int taken = frameBytes - buffered_;
            std::memcpy(sampleBuffer_.data() + buffered_, data, taken);
            encoded = EncodeAudio(sampleBuffer_.data(), samplesPerFrame_);
            data += taken;
            size -= taken;
        } else {
            encoded = EncodeAudio(data, samplesPerFrame_);
            data += frameBytes;
            size -= frameBytes;
        }
        buffered_ = 0;
        if (!encoded)
            return 0;
    }
    std::memcpy(sampleBuffer_.data() + buffered_, data, size);
    buffered_ += size;
    return 1;
}

bool MediaEncoder::EncodeLastAudio()
{
    const int count = buffered_ / inputFrameBytes_;
    buffered_ = 0;
    if (count == 0)
        return true;
    const bool shortFrameAllowed = audio_->frame_size <= 1
        || (audio_->codec->capabilities & (AV_CODEC_CAP_VARIABLE_FRAME_SIZE | AV_CODEC_CAP_SMALL_LAST_FRAME));
    if (shortFrameAllowed)
        return EncodeAudio(sampleBuffer_.data(), count);
    // A whole frame is required: the rest of it is silence, never samples of an earlier frame.
    uint8_t *planes[1] = {sampleBuffer_.data()};
    av_samples_set_silence(planes, count, samplesPerFrame_ - count, audio_->ch_layout.nb_channels, inputFormat_);
    return EncodeAudio(sampleBuffer_.data(), samplesPerFrame_);
}

int32_t MediaEncoder::CloseAudio()
{
    std::lock_guard lock(lock_);
    if (!audio_)
        return 0;
    return EncodeLastAudio() ? 1 : 0;
}

int MediaEncoder::BufferedAudioBytes()
{
    std::lock_guard lock(lock_);
    return buffered_;
}

int32_t MediaEncoder::Close()
{
    std::lock_guard lock(lock_);
    if (!output_ || !headerWritten_)
        return 1;
    bool ok = true;
    // Encoders hold back pictures and samples; drain them before the trailer. Audio that was
    // added after VexaCloseAudio goes out with the drain as well.
    if (video_)
        ok = SendAndWrite(video_, videoStream_, nullptr, "failed to write encode frame....") && ok;
    if (audio_) {
        ok = EncodeLastAudio() && ok;
        ok = SendAndWrite(audio_, audioStream_, nullptr, "failed to write audio frame...") && ok;
    }
    ok = av_write_trailer(output_) == 0 && ok;
    if (video_)
        CodecLog("succeed to close video stream.");
    if (audio_)
        CodecLog("succeed to close audio stream");
    if (fileOpen_) {
        ok = avio_closep(&output_->pb) == 0 && ok;
        fileOpen_ = false;
    }
    CodecLog("succeed to close encoder.");
    return ok ? 1 : 0;
}

void MediaEncoder::RemoveUnfinishedFile()
{
    if (fileOpen_) {
        avio_closep(&output_->pb);
        fileOpen_ = false;
        ::unlink(path_.c_str());
    }
}

MediaEncoder::~MediaEncoder()
{
    {
        std::lock_guard lock(FfmpegLock());
        avcodec_free_context(&video_);
        avcodec_free_context(&audio_);
    }
    av_frame_free(&picture_);
    av_frame_free(&argb_);
    av_frame_free(&audioFrame_);
    sws_freeContext(scaler_);
    swr_free(&converter_);
    av_packet_free(&packet_);
    if (fileOpen_)
        avio_closep(&output_->pb);
    avformat_free_context(output_);
}
