#include "ImageLog.h"

#include <QString>

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace {
std::atomic<VexaLogCallback> g_sink{nullptr};
constexpr int kMaxLogCharacters = 1023;
} // namespace

void SetImageLogSink(VexaLogCallback sink)
{
    g_sink.store(sink);
}

void ImageLog(const char *format, ...)
{
    const VexaLogCallback sink = g_sink.load();
    if (!sink)
        return;
    char text[4 * kMaxLogCharacters];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    QString line = QStringLiteral("Vexa Codecs: ") + QString::fromUtf8(text);
    line.truncate(kMaxLogCharacters);
    sink(reinterpret_cast<const char16_t *>(line.utf16()));
}
