// The decoding entry points: thin guards around MediaDecoder.

#include "MediaDecoder.h"

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
