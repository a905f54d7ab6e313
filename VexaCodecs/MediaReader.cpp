// The reader thread, the consumers' packet fetching, flushing and seeking.

#include "MediaDecoder.h"

#include "CodecLibrary.h"

namespace {

constexpr int64_t kAudioSeekPreroll = 100000;  // microseconds

// RAII owner of one AVPacket for the reader.
struct PacketHolder {
    AVPacket *packet = av_packet_alloc();
    ~PacketHolder() { av_packet_free(&packet); }
};

} // namespace

void MediaDecoder::ReadPackets()
{
    PacketHolder holder;
    AVPacket *packet = holder.packet;
    while (!quit_) {
        std::unique_lock lock(lock_);
        endOfInput_ = false;
        PacketQueue *video = video_.queue.get();
        PacketQueue *audio = audio_.queue.get();
        if ((video && video->Full()) || (audio && audio->Full())) {
            // A full queue whose partner is empty is a standoff only the starving consumer can
            // break (by growing the full queue), so wake it.
            if ((audio && audio->Full() && video && video->Empty()) || (audio && audio->Empty() && video && video->Full()))
                packetReady_.Set();
            lock.unlock();
            queueSpace_.Wait();
            queueSpace_.Reset();
            continue;
        }
        if (!packet || av_read_frame(input_, packet) < 0) {
            endOfInput_ = true;
            packetReady_.Set();
            lock.unlock();
            readerWake_.Wait();
            readerWake_.Reset();
            continue;
        }
        bool queued = true;
        if (video && packet->stream_index == video_.index) {
            queued = video->Append(packet);
        } else if (audio && packet->stream_index == audio_.index) {
            queued = audio->Append(packet);
            if (!queued)
                endOfInput_ = true;
        }
        av_packet_unref(packet);
        lock.unlock();
        if (queued) {
            packetReady_.Set();
        } else {
            packetReady_.Set();
            readerWake_.Wait();
            readerWake_.Reset();
        }
    }
}

bool MediaDecoder::TakePendingFlush(Stream &s, PendingFlush &flush)
{
    std::lock_guard lock(lock_);
    if (!s.flushPending)
        return false;
    s.flushPending = false;
    flush = {s.flushClock, s.flushTarget};
    return true;
}

MediaDecoder::Fetch MediaDecoder::FetchPacket(Stream &own, Stream &other)
{
    av_packet_unref(own.packet);
    for (;;) {
        if (quit_)
            return Fetch::Stopped;
        std::unique_lock lock(lock_);
        if (own.flushPending)
            return Fetch::Flush;
        if (own.queue->Take(own.packet)) {
            if (!other.queue || !other.queue->Full())
                queueSpace_.Set();
            return Fetch::Packet;
        }
        if (endOfInput_)
            return Fetch::Exhausted;
        // Our queue is empty while the reader still has input: if it stopped because the other
        // stream's queue is full, let that queue grow so our packets can come through.
        if (other.queue && other.queue->Full())
            other.queue->DoubleCapacity();
        queueSpace_.Set();
        lock.unlock();
        packetReady_.Wait();
        packetReady_.Reset();
    }
}

void MediaDecoder::FlushQueue(Stream &s)
{
    std::lock_guard lock(lock_);
    if (s.queue)
        s.queue->Clear();
    queueSpace_.Set();
}

bool MediaDecoder::Seek(int64_t ticks)
{
    std::unique_lock lock(lock_);
    const int64_t microseconds = ticks / 10;
    constexpr AVRational kMicroseconds{1, 1000000};
    Stream *reference = video_.Present() ? &video_ : audio_.Present() ? &audio_ : nullptr;

    // Target in a stream's own time stamps (which start at its start time).
    auto target = [&](const Stream &s) {
        if (!s.Present())
            return int64_t(0);
        return av_rescale_q(microseconds, kMicroseconds, s.stream->time_base) + s.startTime;
    };

    // Inside the buffered range every stream's queue covers the target: keep the demuxer where
    // it is and drop what lies before the target. Video must restart at a key frame, so without
    // one before the target the file is seeked after all.
    auto covers = [&](const Stream &s) {
        if (!s.Present())
            return true;
        const int64_t t = target(s), head = s.queue->HeadDts(), tail = s.queue->TailDts();
        return head != AV_NOPTS_VALUE && tail != AV_NOPTS_VALUE && head <= t && t <= tail;
    };
    bool seekFile = !reference || !covers(video_) || !covers(audio_);
    if (!seekFile && video_.Present())
        seekFile = !video_.queue->DropBefore(target(video_), true);
    if (!seekFile && audio_.Present())
        audio_.queue->DropBefore(target(audio_));

    if (seekFile) {
        // Land on the last seek point at or before the target, never after it. Audio alone goes
        // back a little further, so that the decoder has a packet to settle on before the target
        // (the consumer skips the rest up to it).
        int result;
        if (reference) {
            const int64_t s = target(*reference);
            result = -1;
            if (reference == &audio_) {
                // Some demuxers refuse a point before the start; the target itself then does.
                const int64_t early = s - av_rescale_q(kAudioSeekPreroll, kMicroseconds, audio_.stream->time_base);
                result = avformat_seek_file(input_, reference->index, INT64_MIN, early, early, 0);
            }
            if (result < 0)
                result = avformat_seek_file(input_, reference->index, INT64_MIN, s, s, 0);
        } else {
            result = avformat_seek_file(input_, -1, INT64_MIN, microseconds, microseconds, 0);
        }
        if (result < 0) {
            CodecLog("failed to seek file...");
            return false;
        }
        ++fileSeeks_;
        for (Stream *s : {&video_, &audio_})
            if (s->queue)
                s->queue->Clear();
    }
    // Only a seek that happened clears the end of input: after a failed one the reader, asleep
    // at the end, is not woken, so a cleared flag would leave consumers waiting for nothing.
    endOfInput_ = false;
    for (Stream *s : {&video_, &audio_}) {
        if (!s->Present())
            continue;
        s->flushPending = true;
        s->flushClock = double(ticks / 10000000);
        s->flushTarget = target(*s);
    }
    lock.unlock();
    queueSpace_.Set();
    readerWake_.Set();
    return true;
}

MediaDecoder::QueueStats MediaDecoder::Stats()
{
    std::lock_guard lock(lock_);
    QueueStats stats{};
    if (audio_.queue) {
        stats.audioCount = audio_.queue->Count();
        stats.audioCapacity = audio_.queue->Capacity();
    }
    if (video_.queue) {
        stats.videoCount = video_.queue->Count();
        stats.videoCapacity = video_.queue->Capacity();
    }
    stats.fileSeeks = fileSeeks_;
    return stats;
}
