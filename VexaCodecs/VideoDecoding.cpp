// The video consumer: pictures decoded on the caller's thread and converted to 32-bit pixels at
// the display size or at a resize target that keeps the display aspect.

#include "MediaDecoder.h"

#include "CodecLibrary.h"

#include <cmath>

namespace {

constexpr int kMaxDecodeErrors = 10;
constexpr double kTicksPerSecond = 10000000.0;
constexpr AVPixelFormat kArgb = AV_PIX_FMT_RGB32;  // bytes B, G, R, A in memory

} // namespace

void MediaDecoder::ResizeVideo(int32_t &width, int32_t &height)
{
    if (width <= 0 || height <= 0 || (width == displayWidth_ && height == displayHeight_)
        || displayWidth_ <= 0 || displayHeight_ <= 0) {
        targetWidth_ = targetHeight_ = targetSize_ = 0;
        width = displayWidth_;
        height = displayHeight_;
        return;
    }
    if (width == targetWidth_ && height == targetHeight_)
        return;
    // Fit inside width x height, keeping the display aspect.
    if (int64_t(displayWidth_) * height > int64_t(width) * displayHeight_) {
        targetWidth_ = width;
        targetHeight_ = int(int64_t(width) * displayHeight_ / displayWidth_);
    } else {
        targetWidth_ = int(int64_t(displayWidth_) * height / displayHeight_);
        targetHeight_ = height;
    }
    targetWidth_ = std::max(targetWidth_, 1);
    targetHeight_ = std::max(targetHeight_, 1);
    targetSize_ = targetWidth_ * targetHeight_ * 4;
    sws_freeContext(targetScaler_);
    targetScaler_ = nullptr;
    width = targetWidth_;
    height = targetHeight_;
}

void MediaDecoder::RestartVideo(const PendingFlush &flush)
{
    avcodec_flush_buffers(video_.codec);
    video_.drained = false;
    videoClock_ = flush.clock;
}

// Decodes the next picture into videoFrame_ and advances the video clock.
MediaDecoder::Picture MediaDecoder::DecodePicture()
{
    int errors = 0;
    for (;;) {
        const int result = avcodec_receive_frame(video_.codec, videoFrame_);
        if (result == 0)
            break;
        if (result == AVERROR_EOF) {
            CodecLog("no more video frame exist...");
            return Picture::Finished;
        }
        if (result != AVERROR(EAGAIN)) {
            if (++errors >= kMaxDecodeErrors) {
                CodecLog("failed to decode this frame.");
                return Picture::Failed;
            }
            continue;
        }
        PendingFlush flush;
        switch (FetchPacket(video_, audio_)) {
        case Fetch::Stopped:
            return Picture::Failed;
        case Fetch::Flush:
            if (TakePendingFlush(video_, flush))
                RestartVideo(flush);
            continue;
        case Fetch::Exhausted:
            if (video_.drained) {
                CodecLog("no more video frame exist...");
                return Picture::Finished;
            }
            // Pictures still held for reordering come out once the decoder knows the input ended.
            video_.drained = true;
            avcodec_send_packet(video_.codec, nullptr);
            continue;
        case Fetch::Packet:
            break;
        }
        const int sent = avcodec_send_packet(video_.codec, video_.packet);
        av_packet_unref(video_.packet);
        if (sent < 0 && sent != AVERROR(EAGAIN) && ++errors >= kMaxDecodeErrors) {
            CodecLog("failed to decode this frame.");
            return Picture::Failed;
        }
    }
    // The decoder's own estimate of the picture's time, from the reordered stamps.
    const int64_t stamp = videoFrame_->best_effort_timestamp;
    double pts = stamp == AV_NOPTS_VALUE ? 0.0 : double(stamp - video_.startTime) * video_.timeBase;
    if (std::fabs(pts) > 0.00001)
        videoClock_ = pts;
    else
        pts = videoClock_;
    videoFrame_->pts = int64_t(pts * kTicksPerSecond);
    videoClock_ += codecTimeBase_ + videoFrame_->repeat_pict * codecTimeBase_ * 0.5;
    return Picture::Ready;
}

bool MediaDecoder::ConvertPicture(VideoFrame *frame)
{
    const bool resized = targetWidth_ > 0;
    const int width = resized ? targetWidth_ : displayWidth_;
    const int height = resized ? targetHeight_ : displayHeight_;
    SwsContext *&scaler = resized ? targetScaler_ : displayScaler_;
    // Made once and reused; made again only if the decoded pictures change size or format.
    scaler = sws_getCachedContext(scaler, videoFrame_->width, videoFrame_->height, AVPixelFormat(videoFrame_->format),
                                  width, height, kArgb, SWS_BICUBIC, nullptr, nullptr, nullptr);
    frame->width = width;
    frame->height = height;
    frame->stride = width * 4;
    if (!scaler || av_image_fill_arrays(argbFrame_->data, argbFrame_->linesize, frame->data, kArgb, width, height, 1) < 0)
        return false;
    return sws_scale(scaler, videoFrame_->data, videoFrame_->linesize, 0, videoFrame_->height, argbFrame_->data,
                     argbFrame_->linesize) == height;
}

int32_t MediaDecoder::GetNextVideoFrame(VideoFrame *frame)
{
    if (!frame || !frame->data || (frame->size > 0 && frame->size < VideoBufferSize())) {
        CodecLog("Error parameter...");
        return 0;
    }
    if (!video_.Present()) {
        CodecLog("no video stream exist....");
        return 0;
    }
    if (!video_.codec) {
        CodecLog("can't decode such video....");
        return 0;
    }
    if (!StartReader()) {
        CodecLog("failed to begin to read packet");
        return 0;
    }
    PendingFlush flush;
    if (TakePendingFlush(video_, flush))
        RestartVideo(flush);
    if (DecodePicture() != Picture::Ready)
        return 0;
    if (!ConvertPicture(frame))
        CodecLog(targetWidth_ ? "waning: falied to resize..." : "warning: failed to convert to argb...");
    frame->pts = videoFrame_->pts;
    frame->nextPts = int64_t(videoClock_ * kTicksPerSecond);
    av_frame_unref(videoFrame_);
    return 1;
}
