// The decoding entry points: thin guards around MediaDecoder.

#include "MediaDecoder.h"

#include <algorithm>
#include <cstring>

VEXA_CODECS_API FileFormatInfo *VexaMallocFileFormatInfo(FileFormatInfo **info)
{
    auto *made = static_cast<FileFormatInfo *>(av_mallocz(sizeof(FileFormatInfo)));
    if (info)
        *info = made;
    return made;
}

VEXA_CODECS_API void VexaFreeFileFormatInfo(FileFormatInfo *info)
{
    if (!info)
        return;
    for (int i = 0; i < info->count && i < 4; ++i)
        av_free(info->streams[i]);
    av_free(info);
}

VEXA_CODECS_API MediaDecoder *VexaLoadMediaFile(const char16_t *path, FileFormatInfo *info)
{
    return MediaDecoder::Load(path, info);
}

VEXA_CODECS_API int32_t VexaUnloadMediaFile(MediaDecoder *decoder)
{
    if (!decoder)
        return 0;
    delete decoder;
    return 1;
}

VEXA_CODECS_API int32_t VexaGetNextAudioFrame(AudioFrame *frame, MediaDecoder *decoder)
{
    if (!decoder)
        return 0;
    return decoder->GetNextAudioFrame(frame);
}

VEXA_CODECS_API int32_t VexaFlushAudio(MediaDecoder *decoder)
{
    if (!decoder)
        return 0;
    decoder->FlushAudio();
    return 1;
}

VEXA_CODECS_API int32_t VexaFlushVideo(MediaDecoder *decoder)
{
    if (!decoder)
        return 0;
    decoder->FlushVideo();
    return 1;
}

VEXA_CODECS_API int32_t VexaSeekMediaFile(int64_t time, MediaDecoder *decoder)
{
    return decoder && decoder->Seek(time) ? 1 : 0;
}

VEXA_CODECS_API int32_t VexaResample(int32_t sampleRate, int32_t bitsPerSample, int32_t channels, MediaDecoder *decoder)
{
    return decoder && decoder->SetAudioTarget(sampleRate, bitsPerSample, channels) ? 1 : 0;
}

VEXA_CODECS_API int32_t VexaGetVideoBuffersize(MediaDecoder *decoder)
{
    return decoder ? decoder->VideoBufferSize() : 0;
}

VEXA_CODECS_API int32_t VexaGetNextVideoFrame(VideoFrame *frame, MediaDecoder *decoder)
{
    return decoder ? decoder->GetNextVideoFrame(frame) : 0;
}

VEXA_CODECS_API int32_t VexaResizeVideoSize(int32_t *width, int32_t *height, MediaDecoder *decoder)
{
    if (!decoder || !width || !height)
        return 0;
    decoder->ResizeVideo(*width, *height);
    return 1;
}

VEXA_CODECS_API int32_t VexaResizeImage(const VideoFrame *source, VideoFrame *destination)
{
    if (!source || !destination || !source->data || !destination->data)
        return 0;
    if (source->width == destination->width && source->height == destination->height) {
        const int32_t bytes = std::min(source->size, destination->size);
        if (bytes < 0)
            return 0;
        std::memcpy(destination->data, source->data, size_t(bytes));
        return 1;
    }
    auto fits = [](const VideoFrame *f) {
        return f->width > 0 && f->height > 0 && int64_t(f->size) == int64_t(f->width) * f->height * 4;
    };
    if (!fits(source) || !fits(destination))
        return 0;
    constexpr AVPixelFormat kArgb = AV_PIX_FMT_RGB32;
    SwsContext *scaler = sws_getContext(source->width, source->height, kArgb, destination->width, destination->height,
                                        kArgb, SWS_BICUBIC, nullptr, nullptr, nullptr);
    if (!scaler)
        return 0;
    const uint8_t *const in[4] = {source->data, nullptr, nullptr, nullptr};
    const int inStride[4] = {source->width * 4, 0, 0, 0};
    uint8_t *const out[4] = {destination->data, nullptr, nullptr, nullptr};
    const int outStride[4] = {destination->width * 4, 0, 0, 0};
    const int rows = sws_scale(scaler, in, inStride, 0, source->height, out, outStride);
    sws_freeContext(scaler);
    return rows == destination->height ? 1 : 0;
}
