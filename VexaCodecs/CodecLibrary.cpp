#include "CodecLibrary.h"

#include "Ffmpeg.h"
#include "FormatContext.h"
#include "TextConversion.h"
#include "VexaCodecs.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <string>

namespace {

std::atomic<bool> g_initialized{false};
std::atomic<LogCallback> g_log{nullptr};

constexpr size_t kLogBufferSize = 1024;

// The end of a cut text must not split a UTF-8 sequence.
size_t Utf8Boundary(const char *text, size_t length)
{
    size_t end = length;
    while (end > 0 && (static_cast<unsigned char>(text[end - 1]) & 0xC0) == 0x80)
        --end;
    if (end > 0) {
        const unsigned char lead = text[end - 1];
        const size_t needed = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : 4;
        if (lead >= 0xC0 && length - (end - 1) < needed)
            return end - 1;
    }
    return length;
}

} // namespace

std::mutex &FfmpegLock()
{
    static std::mutex lock;
    return lock;
}

void CodecLog(const char *format, ...)
{
    const LogCallback log = g_log.load();
    if (!log)
        return;
    char buffer[kLogBufferSize];
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (written < 0)
        return;
    const size_t length = std::min<size_t>(written, kLogBufferSize - 1);
    std::u16string line = u"Vexa Codecs: ";
    line += Utf8ToUtf16(std::string_view(buffer, Utf8Boundary(buffer, length)));
    log(line.c_str());
}

VEXA_CODECS_API int32_t VexaInitializeCodecs(LogCallback log)
{
    bool expected = false;
    if (!g_initialized.compare_exchange_strong(expected, true))
        return 2;
    // FFmpeg 5.1 registers its codecs and formats itself; only the callback is ours to keep.
    if (log)
        g_log.store(log);
    return 1;
}

VEXA_CODECS_API void VexaDeInitializeCodecs(int32_t)
{
    // The FFmpeg lock is a static object, so it outlives every late caller; clearing the flag
    // lets a later initialisation start afresh instead of finding a deleted lock.
    ReleaseFormatContext();
    g_log.store(nullptr);
    g_initialized.store(false);
}

VEXA_CODECS_API void VexaEnterFfmpegCriticalSection(void)
{
    FfmpegLock().lock();
}

VEXA_CODECS_API void VexaLeaveFfmpegCriticalSection(void)
{
    FfmpegLock().unlock();
}

VEXA_CODECS_API void *VexaMalloc(size_t size)
{
    return av_malloc(size);
}

VEXA_CODECS_API void *VexaRealloc(void *pointer, size_t size)
{
    return av_realloc(pointer, size);
}

VEXA_CODECS_API void VexaFree(void *pointer)
{
    av_free(pointer);
}
