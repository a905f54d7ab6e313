#pragma once
// The library's process-wide state: the initialised flag, the FFmpeg lock and the log channel.

#include <mutex>

// Serialises what FFmpeg does not make thread-safe: stream probing and codec open and close.
std::mutex &FfmpegLock();

// Formats one line printf-style (the formatted text is cut at 1023 bytes), prefixes it with
// "Vexa Codecs: " and hands it to the log callback in UTF-16. Nothing is formatted without one.
void CodecLog(const char *format, ...) __attribute__((format(printf, 1, 2)));
