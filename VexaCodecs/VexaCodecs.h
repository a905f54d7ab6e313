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

/* ---- Video pictures of a loaded file ---- */

/* Bytes one picture needs: the resize target's size when one is set, else the display size
 * (width x height x 4). */
VEXA_CODECS_API int32_t VexaGetVideoBuffersize(MediaDecoder *decoder);

/* Decodes the next picture into frame->data (at least VexaGetVideoBuffersize bytes; a non-zero
 * frame->size smaller than that is refused) and fills width, height, stride, pts and nextPts.
 * After the last packet the decoder gives up the pictures it still holds, once. */
VEXA_CODECS_API int32_t VexaGetNextVideoFrame(VideoFrame *frame, MediaDecoder *decoder);

/* Sets the size pictures are delivered at, fitted inside *width x *height keeping the display
 * aspect, and writes the size used back; 0 x 0 (or the display size) restores the display size. */
VEXA_CODECS_API int32_t VexaResizeVideoSize(int32_t *width, int32_t *height, MediaDecoder *decoder);

/* Scales source into destination (bicubic). Equal sizes copy the bytes (at most the smaller of
 * the two sizes); otherwise each record's size must be width x height x 4. */
VEXA_CODECS_API int32_t VexaResizeImage(const VideoFrame *source, VideoFrame *destination);

/* ---- Encoding and muxing ---- */

/* A caller-owned description of an output file. */
typedef struct FmtContext {
    char16_t filePath[260];
    int32_t formatId;        /* container, see below */
    int32_t videoCodec;      /* index of the video codec table; < 0 or > 20: no video */
    int32_t frameRateNum;
    int32_t frameRateDen;
    int32_t videoBitRate;    /* bits per second */
    int32_t width;
    int32_t height;
    int32_t h264Profile;     /* FFmpeg profile number (66 baseline, 77 main, 100 high), 0 = default */
    int32_t h264Level;       /* e.g. 30 for level 3.0, 0 = default */
    char16_t audioCodecName[64]; /* informational */
    int32_t audioCodec;      /* index of the audio codec table; < 0 or > 19: no audio */
    int32_t sampleRate;
    int32_t bitsPerSample;   /* 8 unsigned, 32 signed, anything else signed 16-bit */
    int32_t channels;
    int32_t audioBitRate;    /* bits per second, 0 = 128 000 */
} FmtContext;

/* Container ids: 0 .mpg, 1 VCD, 2 .mpg, 3 SVCD, 4 DVD (.vob), 5 .mp4, 6 .mov, 7 .3gp, 8 .3g2,
 * 9 .avi, 10 .wmv, 11 .asf, 12 .rm, 13 .rmvb, 14 .flv, 15 .ogg, 16 .mp3, 17 .wav, 18 .ape,
 * 19 .wma, 20 .mkv, 21 .dv, 22 .aac, 23 .ac3, 24 .aiff, 25 .flac, 26 .m4a, 27 .m4v.
 * Video codecs: 0 MPEG-1, 1 MPEG-2, 2 MPEG-4 Part 2, 3 H.263, 4 Xvid, 5 H.264, 6 WMV1, 7 WMV2,
 * 8 WMV3, 9-12 RealVideo 1-4, 13 AVS, 14 Theora, 15-17 MS-MPEG-4 v1-v3, 18 Motion JPEG,
 * 19 Flash Video, 20 DV. Audio codecs: 0 MP2, 1 MP3, 2 AC-3, 3 AAC, 4 AMR-NB, 5 AMR-WB, 6 WMA1,
 * 7 WMA2, 8 MS ADPCM, 9 IMA ADPCM, 10 Vorbis, 11 RealAudio 14.4, 12 RealAudio 28.8, 13 DTS,
 * 14 DV audio, 15 Monkey's Audio, 16 DVD PCM, 17 PCM 16-bit LE, 18 PCM 16-bit BE, 19 FLAC.
 * A container or codec that this FFmpeg cannot write fails at VexaInitializeEncoder. */

/* Opaque encoder handle. */
typedef struct MediaEncoder MediaEncoder;

/* Fill a record with the defaults of a container (id 1: the VCD settings; others: all zero but
 * formatId) / check a record. The two are meant for one thread at a time. */
VEXA_CODECS_API int32_t VexaGetDefaultFmtContext(int32_t formatId, FmtContext *context);
VEXA_CODECS_API int32_t VexaCheckFmtContext(FmtContext *context);

/* Creates the output file and writes its header; null on failure (no file is left behind). */
VEXA_CODECS_API MediaEncoder *VexaInitializeEncoder(FmtContext *context);

/* Encodes one picture of 32-bit pixels (bytes B, G, R, A); pixelFormat must be 1. Rows are
 * width x 4 bytes; what lies outside the encoded size is ignored. */
VEXA_CODECS_API int32_t VexaAddVideoFrame(int32_t width, int32_t height, int32_t pixelFormat, const uint8_t *data,
                                          int32_t unused, MediaEncoder *encoder);
/* The same from a VideoFrame; a negative stride reads a bottom-up picture. */
VEXA_CODECS_API int32_t VexaAddVideoFrameEx(const VideoFrame *frame, MediaEncoder *encoder);
/* 1 if value is non-zero; video is closed by VexaDeInitializeEncoder. */
VEXA_CODECS_API int32_t VexaCloseVideo(int32_t value);

/* Adds interleaved samples in the record's format, rate and channel count; any byte count. */
VEXA_CODECS_API int32_t VexaAddAudioFrame(const uint8_t *data, int32_t size, MediaEncoder *encoder);
/* Encodes the buffered partial frame: shorter where the encoder allows it, else padded with
 * silence. */
VEXA_CODECS_API int32_t VexaCloseAudio(MediaEncoder *encoder);
/* Drains the encoders, writes the trailer, closes the file and frees the handle (always). */
VEXA_CODECS_API int32_t VexaDeInitializeEncoder(MediaEncoder *encoder);

#endif
