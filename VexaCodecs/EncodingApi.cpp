// The encoding entry points: thin guards around MediaEncoder.

#include "CodecLibrary.h"
#include "MediaEncoder.h"

VEXA_CODECS_API MediaEncoder *VexaInitializeEncoder(FmtContext *context)
{
    if (!context) {
        CodecLog("Error parameter...");
        CodecLog("failed to initialize encoder...");
        return nullptr;
    }
    return MediaEncoder::Create(context);
}

VEXA_CODECS_API int32_t VexaAddVideoFrame(int32_t width, int32_t height, int32_t pixelFormat, const uint8_t *data,
                                          int32_t, MediaEncoder *encoder)
{
    return encoder ? encoder->AddVideoFrame(width, height, pixelFormat, data) : 0;
}

VEXA_CODECS_API int32_t VexaAddVideoFrameEx(const VideoFrame *frame, MediaEncoder *encoder)
{
    return encoder ? encoder->AddVideoFrameEx(frame) : 0;
}

VEXA_CODECS_API int32_t VexaCloseVideo(int32_t value)
{
    return value != 0 ? 1 : 0;
}

VEXA_CODECS_API int32_t VexaAddAudioFrame(const uint8_t *data, int32_t size, MediaEncoder *encoder)
{
    return encoder ? encoder->AddAudioFrame(data, size) : 0;
}

VEXA_CODECS_API int32_t VexaCloseAudio(MediaEncoder *encoder)
{
    return encoder ? encoder->CloseAudio() : 0;
}

VEXA_CODECS_API int32_t VexaDeInitializeEncoder(MediaEncoder *encoder)
{
    if (!encoder)
        return 0;
    const int32_t closed = encoder->Close();
    delete encoder;
    return closed;
}
