#pragma once
// One output file being written: the muxer, an optional video and an optional audio stream with
// their encoders. Every entry point holds the encoder's lock for its whole run, so one encoder
// may be fed from several threads.

#include "Ffmpeg.h"
#include "VexaCodecs.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

struct MediaEncoder {
public:
    // Creates the file and writes its header. Null on failure, with the reason logged.
    static MediaEncoder *Create(const FmtContext *context);
    ~MediaEncoder();
    MediaEncoder(const MediaEncoder &) = delete;
    MediaEncoder &operator=(const MediaEncoder &) = delete;

    int32_t AddVideoFrame(int32_t width, int32_t height, int32_t pixelFormat, const uint8_t *data);
    int32_t AddVideoFrameEx(const VideoFrame *frame);
    int32_t AddAudioFrame(const uint8_t *data, int32_t size);
    int32_t CloseAudio();
    // Drains the encoders, writes the trailer and closes the file.
    int32_t Close();

    // Bytes of input audio waiting for a whole codec frame, for tests.
    int BufferedAudioBytes();

private:
    MediaEncoder() = default;
    bool Open(const FmtContext &context);
    bool AddVideoStream(const FmtContext &context, AVCodecID id);
    bool AddAudioStream(const FmtContext &context, AVCodecID id);
    bool OpenVideoEncoder(AVDictionary **options);
    bool OpenAudioEncoder();
    bool EncodePicture();
    bool EncodeAudio(const uint8_t *samples, int count);
    bool EncodeLastAudio();
    // Sends frame (null drains) and writes every packet the encoder gives back.
    bool SendAndWrite(AVCodecContext *codec, AVStream *stream, AVFrame *frame, const char *writeFailure);
    void RemoveUnfinishedFile();

    std::mutex lock_;
    std::string path_;
    AVFormatContext *output_ = nullptr;
    bool fileOpen_ = false;
    bool headerWritten_ = false;
    AVPacket *packet_ = nullptr;

    AVStream *videoStream_ = nullptr;
    AVCodecContext *video_ = nullptr;
    AVFrame *picture_ = nullptr;  // in the encoder's pixel format
    AVFrame *argb_ = nullptr;     // the caller's picture, at the encoded size
    SwsContext *scaler_ = nullptr;
    int64_t nextPicture_ = 0;

    AVStream *audioStream_ = nullptr;
    AVCodecContext *audio_ = nullptr;
    AVFrame *audioFrame_ = nullptr;
    SwrContext *converter_ = nullptr;   // input layout to the encoder's, when they differ
    AVSampleFormat inputFormat_ = AV_SAMPLE_FMT_S16;
    int inputFrameBytes_ = 0;           // one sample of every channel
    int samplesPerFrame_ = 0;
    std::vector<uint8_t> sampleBuffer_; // one codec frame of input
    int buffered_ = 0;                  // bytes in sampleBuffer_
    int64_t nextSample_ = 0;
};
