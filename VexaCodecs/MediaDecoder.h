#pragma once
// One open media file: the demuxer, the first video and first audio stream with their decoders,
// a reader thread that demultiplexes ahead into one bounded packet queue per stream, and the
// audio consumer that decodes on the caller's thread.
//
// Locking: lock_ guards both queues, the end-of-input flag and each stream's pending flush. The
// reader holds it while it checks the queues and reads and queues one packet; consumers while
// they take a packet; a seek for its whole run. Nobody waits on an event while holding it.

#include "Ffmpeg.h"
#include "ManualResetEvent.h"
#include "PacketQueue.h"
#include "VexaCodecs.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct MediaDecoder {
public:
    // Opens path and fills info (if given). Null on failure, with the reason logged.
    static MediaDecoder *Load(const char16_t *path, FileFormatInfo *info);
    ~MediaDecoder();
    MediaDecoder(const MediaDecoder &) = delete;
    MediaDecoder &operator=(const MediaDecoder &) = delete;

    int32_t GetNextAudioFrame(AudioFrame *frame);
    bool SetAudioTarget(int sampleRate, int bitsPerSample, int channels);
    bool Seek(int64_t ticks);
    int32_t GetNextVideoFrame(VideoFrame *frame);
    int32_t VideoBufferSize() const { return targetWidth_ ? targetSize_ : pictureSize_; }
    void ResizeVideo(int32_t &width, int32_t &height);
    void FlushAudio() { FlushQueue(audio_); }
    void FlushVideo() { FlushQueue(video_); }

    // Queue figures, for tests of the reader's flow control.
    struct QueueStats {
        int audioCount, audioCapacity, videoCount, videoCapacity;
        int fileSeeks;
    };
    QueueStats Stats();

private:
    // What each consumer keeps of its stream.
    struct Stream {
        int index = -1;
        AVStream *stream = nullptr;
        AVCodecContext *codec = nullptr;
        double timeBase = 0;       // seconds per stream time-stamp unit
        int64_t startTime = 0;     // first time stamp, stream units (0 when unknown)
        std::unique_ptr<PacketQueue> queue;
        AVPacket *packet = nullptr; // the packet being decoded
        bool drained = false;       // the decoder was told the input ended
        // Set by a seek, under lock_: the consumer flushes its decoder before its next packet,
        // restarts its clock at flushClock seconds and skips what ends before flushTarget.
        bool flushPending = false;
        double flushClock = 0;
        int64_t flushTarget = AV_NOPTS_VALUE;
        bool Present() const { return index >= 0; }
    };

    // The conversion target set by VexaResample.
    struct AudioTarget {
        int sampleRate = 0;
        int channels = 0;
        AVSampleFormat format = AV_SAMPLE_FMT_NONE;
    };

    enum class Fetch { Packet, Flush, Exhausted, Stopped };

    MediaDecoder() = default;
    bool Open(const char16_t *path, FileFormatInfo *info);
    bool OpenVideo(int index);
    bool OpenAudio(int index);
    bool OpenDecoder(Stream &s, int index, const char *missing, const char *cannotOpen);
    bool DetermineVideoDuration();
    bool DetermineAudioDuration();
    int64_t PlausibleDuration(int64_t duration, bool video) const;
    void Describe(FileFormatInfo *info) const;
    bool StartReader();

    void ReadPackets();
    Fetch FetchPacket(Stream &own, Stream &other);
    struct PendingFlush {
        double clock;
        int64_t target;
    };
    bool TakePendingFlush(Stream &s, PendingFlush &flush);
    void FlushQueue(Stream &s);

    void RestartAudio(const PendingFlush &flush);
    Fetch NextAudioPacket();
    // True for PCM audio, whose packets decode on their own, so none is needed to settle the decoder.
    bool PcmAudio() const;
    double PacketTime(const AVPacket *packet) const;
    int32_t FailAudio(AudioFrame *frame, const char *message);
    int DeliverAudio(AudioFrame *frame);
    bool ConvertAudio(int first, int count, AudioFrame *frame);
    int MaxConvertedFrames(int available);
    bool EnsureResampler(int inputRate);
    void CloseResampler();

    std::string path_;
    int64_t fileSize_ = 0;
    AVFormatContext *input_ = nullptr;
    Stream video_, audio_;

    // Video.
    AVFrame *videoFrame_ = nullptr;
    AVFrame *argbFrame_ = nullptr;  // wraps the caller's buffer
    int displayWidth_ = 0, displayHeight_ = 0, pictureSize_ = 0;
    double codecTimeBase_ = 0;     // one frame period, seconds
    int64_t videoDuration_ = 0;
    double videoClock_ = 0;
    int targetWidth_ = 0, targetHeight_ = 0, targetSize_ = 0;  // resize target, 0 x 0 = none
    SwsContext *displayScaler_ = nullptr;
    SwsContext *targetScaler_ = nullptr;

    enum class Picture { Ready, Failed, Finished };
    Picture DecodePicture();
    void RestartVideo(const PendingFlush &flush);
    bool ConvertPicture(VideoFrame *frame);

    // Audio.
    AVFrame *audioFrame_ = nullptr;
    int audioFrameUsed_ = 0;        // sample frames of audioFrame_ already delivered
    bool audioFrameHeld_ = false;   // audioFrame_ holds samples not yet delivered
    double audioClock_ = 0;
    // After a seek, packets ending at or before audioSkipUntil_ are skipped but the last of them,
    // kept in preroll_ and decoded first (overlapping frames need it); heldPacket_ then waits.
    int64_t audioSkipUntil_ = AV_NOPTS_VALUE;
    AVPacket *preroll_ = nullptr;
    AVPacket *heldPacket_ = nullptr;
    int64_t audioDuration_ = 0;
    int audioBytesPerSecond_ = 0;
    bool hasTarget_ = false;
    AudioTarget target_;
    SwrContext *resampler_ = nullptr;
    int resamplerInputRate_ = 0;
    bool resamplerDrained_ = false;
    std::vector<int16_t> samples16_;  // all channels as 16-bit, before the down-mix
    std::vector<int16_t> stereo_;     // the down-mixed block

    bool durationEstimated_ = false;
    int64_t estimatedLength_ = 0;

    // Reader thread and its flow control.
    std::mutex lock_;
    std::thread reader_;
    bool endOfInput_ = false;
    std::atomic<bool> quit_{false};
    int fileSeeks_ = 0;
    ManualResetEvent readerWake_;        // set on seek and close; the reader sleeps on it after end of input
    ManualResetEvent queueSpace_;        // set when a consumer took a packet or needs more
    ManualResetEvent packetReady_{true}; // set after each queued packet and at end of input
};
