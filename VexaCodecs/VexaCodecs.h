/* VexaCodecs: media decoding and encoding over FFmpeg behind a plain C interface.
 *
 * Times crossing this interface are ticks: signed 64-bit counts of 100-nanosecond units
 * (10 000 000 per second), except the stream durations of StreamInfo, which are whole seconds.
 * Strings are NUL-terminated UTF-16; paths are handed to FFmpeg as UTF-8 of any length.
 *
 * Every failure is a 0 / null result plus one line to the log callback (each line starts with
 * "Vexa Codecs: "). A null handle makes every entry point do nothing and return 0 or null.
 * VexaInitializeCodecs must come first; only the allocator functions may be called before it.
 */
#ifndef VEXA_CODECS_H
#define VEXA_CODECS_H

#include <stddef.h>
#include <stdint.h>
#ifndef __cplusplus
#include <uchar.h>
#endif

#ifdef __cplusplus
#define VEXA_CODECS_API extern "C" __attribute__((visibility("default")))
#else
#define VEXA_CODECS_API __attribute__((visibility("default")))
#endif

/* Receives every log line of the library, on whatever thread produced it. */
typedef void (*LogCallback)(const char16_t *message);

/* One described stream. The meaning of the last three fields depends on the type. */
typedef struct StreamInfo {
    int32_t type;            /* 0 video, 1 audio */
    int64_t duration;        /* whole seconds */
    char16_t codecName[64];  /* decoder short name, at most 32 characters */
    uint8_t valid;           /* 1 */
    int32_t rate;            /* video: frame-rate numerator; audio: sample rate in Hz */
    union {
        int32_t rateBase;    /* video: frame-rate denominator */
        int32_t bitRate;     /* audio: codec bit rate, bits per second */
    };
    union {
        int32_t width;       /* video: display width */
        int32_t bitsPerSample; /* audio: 8 (unsigned), 16, 32 (signed 32-bit or float), 64 (double) */
    };
    union {
        int32_t height;      /* video: display height */
        int32_t channels;    /* audio: channel count */
    };
} StreamInfo;

/* Filled by VexaLoadMediaFile; allocate with VexaMallocFileFormatInfo, free with
 * VexaFreeFileFormatInfo (even after a failed load: entries may already be there). */
typedef struct FileFormatInfo {
    int32_t count;           /* valid entries in streams: 0, 1 or 2; a video entry comes first */
    int32_t bitRate;         /* container bit rate, bits per second, 0 = not reported */
    StreamInfo *streams[4];
} FileFormatInfo;

/* A caller-owned picture: 32-bit pixels, bytes B, G, R, A in memory. */
typedef struct VideoFrame {
    uint8_t *data;
    int32_t width;
    int32_t height;
    int32_t stride;          /* bytes per row */
    int32_t size;            /* buffer size in bytes */
    int64_t pts;             /* start of the picture, ticks */
    int64_t nextPts;         /* expected start of the following picture, ticks */
} VideoFrame;

#define VEXA_AUDIO_FRAME_BYTES 576000

/* A caller-owned block of decoded, interleaved samples. */
typedef struct AudioFrame {
    uint8_t data[VEXA_AUDIO_FRAME_BYTES];
    int32_t size;            /* valid bytes in data */
    int64_t pts;             /* time of the first sample, ticks */
} AudioFrame;

/* Opaque decoder handle. */
typedef struct MediaDecoder MediaDecoder;

/* Library set-up: 1 on the first call, 2 on any later one (which keeps the first callback).
 * After VexaDeInitializeCodecs the next call starts afresh and returns 1 again. */
VEXA_CODECS_API int32_t VexaInitializeCodecs(LogCallback log);
VEXA_CODECS_API void VexaDeInitializeCodecs(int32_t unused);

/* The process-wide lock around FFmpeg codec open/close and stream probing, for clients that
 * open codecs themselves. */
VEXA_CODECS_API void VexaEnterFfmpegCriticalSection(void);
VEXA_CODECS_API void VexaLeaveFfmpegCriticalSection(void);

/* FFmpeg's aligned allocator. */
VEXA_CODECS_API void *VexaMalloc(size_t size);
VEXA_CODECS_API void *VexaRealloc(void *pointer, size_t size);
VEXA_CODECS_API void VexaFree(void *pointer);

VEXA_CODECS_API FileFormatInfo *VexaMallocFileFormatInfo(FileFormatInfo **info);
VEXA_CODECS_API void VexaFreeFileFormatInfo(FileFormatInfo *info);

/* Opens a media file and starts its reader thread; info (optional) receives the description. */
VEXA_CODECS_API MediaDecoder *VexaLoadMediaFile(const char16_t *path, FileFormatInfo *info);
VEXA_CODECS_API int32_t VexaUnloadMediaFile(MediaDecoder *decoder);

/* The next block of decoded audio: 1 and the record filled, or 0 with size 0 (end of input,
 * no audio, decoding failed). Without a conversion target the samples come interleaved in the
 * decoded format (planar formats are interleaved; formats other than unsigned 8-bit, signed 16
 * and 32-bit, float and double become signed 16-bit). A block never exceeds the record: a larger
 * decoded frame is delivered over several calls. */
VEXA_CODECS_API int32_t VexaGetNextAudioFrame(AudioFrame *frame, MediaDecoder *decoder);

/* Discard the queued packets of one stream (a client that wants only audio flushes the video
 * queue before each audio request). */
VEXA_CODECS_API int32_t VexaFlushAudio(MediaDecoder *decoder);
VEXA_CODECS_API int32_t VexaFlushVideo(MediaDecoder *decoder);

/* Positions both streams at time (ticks); the next block starts with flushed decoder state at
 * the packet that holds the target or, after a seek of the file, at the key frame before it. */
VEXA_CODECS_API int32_t VexaSeekMediaFile(int64_t time, MediaDecoder *decoder);

/* Sets the audio conversion target: sample rate, bits per sample (8 unsigned, 16 or 32 signed)
 * and channels. A source already in that form is returned unconverted; otherwise every block is
 * first brought to signed 16-bit (float and double saturate, 32-bit keeps its top half), mixed
 * down to stereo and then resampled. 0 for a null handle or a non-positive rate or channel count. */
VEXA_CODECS_API int32_t VexaResample(int32_t sampleRate, int32_t bitsPerSample, int32_t channels,
                                     MediaDecoder *decoder);

#endif
