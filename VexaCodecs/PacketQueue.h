#pragma once
// A bounded FIFO of demuxed packets for one stream. Not locked itself: the decoder's lock guards
// every call. Nodes come from a pool that grows in chunks and is kept until the queue goes, so
// steady-state queueing does not touch the heap (each node keeps its AVPacket record for reuse).

#include "Ffmpeg.h"

#include <cstdint>
#include <memory>
#include <vector>

class PacketQueue {
public:
    static constexpr int kInitialCapacity = 256;

    PacketQueue() = default;
    ~PacketQueue();
    PacketQueue(const PacketQueue &) = delete;
    PacketQueue &operator=(const PacketQueue &) = delete;

    // Takes over the payload of packet (which is left empty). Refused when full.
    bool Append(AVPacket *packet);
    // Moves the head packet into out. False when empty.
    bool Take(AVPacket *out);
    // Frees every packet; with resetCapacity also returns to the initial capacity.
    void Clear(bool resetCapacity = false);
    // Frees the packets from the head that end at or before time (decoding time stamps in the
    // stream's time base) except the last of them, which decoders with overlapping frames need
    // to produce the packet holding time. With keyFrame the queue is kept from the last key
    // packet starting at or before time instead; false (and nothing dropped) when the queue
    // holds no such packet.
    bool DropBefore(int64_t time, bool keyFrame = false);

    int Count() const { return count_; }
    int64_t Bytes() const { return bytes_; }
    int Capacity() const { return capacity_; }
    bool Full() const { return count_ >= capacity_; }
    bool Empty() const { return count_ == 0; }
    void DoubleCapacity() { capacity_ *= 2; }
    // Decoding time stamps of the first and last packet (AV_NOPTS_VALUE when empty or absent).
    int64_t HeadDts() const;
    int64_t TailDts() const;

private:
    struct Node {
        AVPacket *packet = nullptr;
        Node *next = nullptr;
    };
    static constexpr int kNodesPerChunk = 1024;

    Node *NewNode();
    static int64_t EndOf(const Node *node);
    void FreeHead();

    Node *head_ = nullptr;
    Node *tail_ = nullptr;
    Node *freeNodes_ = nullptr;
    std::vector<std::unique_ptr<Node[]>> chunks_;
    int count_ = 0;
    int64_t bytes_ = 0;
    int capacity_ = kInitialCapacity;
};
