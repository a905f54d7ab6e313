#include "FormatContext.h"

#include <cstring>
#include <memory>

namespace {

std::unique_ptr<CFormatContext> g_current;

} // namespace

int32_t CFormatContext::GetDefaultFmtContext(FmtContext *context)
{
    if (!context)
        return 0;
    std::memset(context, 0, sizeof *context);
    context->formatId = formatId_;
    return 1;
}

int32_t CFormatContext::CheckFmtContext(FmtContext *)
{
    return 1;
}

int32_t CVCDMpgFormatCtx::GetDefaultFmtContext(FmtContext *context)
{
    if (!context)
        return 0;
    context->filePath[0] = 0;
    context->formatId = 1;
    context->audioCodec = 0;
    context->audioBitRate = 11200;
    context->channels = 2;
    context->sampleRate = 44100;
    context->bitsPerSample = 16;
    std::memset(context->audioCodecName, 0, sizeof context->audioCodecName);
    std::memcpy(context->audioCodecName, u"mp2", sizeof u"mp2");
    context->videoCodec = 0;
    context->videoBitRate = 400000;
    context->frameRateNum = 25;
    context->frameRateDen = 1;
    return 1;
}

CFormatContext &MakeCurrentFormatContext(int32_t formatId)
{
    g_current.reset();
    if (formatId == 1)
        g_current = std::make_unique<CVCDMpgFormatCtx>();
    else
        g_current = std::make_unique<CFormatContext>(formatId);
    return *g_current;
}

void ReleaseFormatContext()
{
    g_current.reset();
}

VEXA_CODECS_API int32_t VexaGetDefaultFmtContext(int32_t formatId, FmtContext *context)
{
    return MakeCurrentFormatContext(formatId).GetDefaultFmtContext(context);
}

VEXA_CODECS_API int32_t VexaCheckFmtContext(FmtContext *context)
{
    if (!context)
        return 0;
    return MakeCurrentFormatContext(context->formatId).CheckFmtContext(context);
}
