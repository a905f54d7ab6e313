#include "PacketQueue.h"

#include "CodecLibrary.h"

PacketQueue::~PacketQueue()
{
    Clear();
    for (auto &chunk : chunks_)
        for (int i = 0; i < kNodesPerChunk; ++i)
            av_packet_free(&chunk[i].packet);
}

PacketQueue::Node *PacketQueue::NewNode()
{
    if (!freeNodes_) {
        chunks_.push_back(std::make_unique<Node[]>(kNodesPerChunk));
        Node *chunk = chunks_.back().get();
        for (int i = 0; i < kNodesPerChunk; ++i) {
            chunk[i].next = freeNodes_;
            freeNodes_ = &chunk[i];
        }
    }
    Node *node = freeNodes_;
    if (!node->packet && !(node->packet = av_packet_alloc()))
        return nullptr;
    freeNodes_ = node->next;
    node->next = nullptr;
    return node;
}

bool PacketQueue::Append(AVPacket *packet)
{
    if (Full()) {
        CodecLog("queue at max size....");
        return false;
    }
    // Demuxed packets are normally reference-counted already; the queue must own its payload.
    Node *node = NewNode();
    if (!node || av_packet_make_refcounted(packet) < 0) {
        CodecLog("failed to dup packet...");
        if (node) {
            node->next = freeNodes_;
            freeNodes_ = node;
        }
        return false;
    }
    av_packet_move_ref(node->packet, packet);
    if (tail_)
        tail_->next = node;
    else
        head_ = node;
    tail_ = node;
    ++count_;
    bytes_ += node->packet->size;
    return true;
}

void PacketQueue::FreeHead()
{
    Node *node = head_;
    head_ = node->next;
    if (!head_)
        tail_ = nullptr;
    --count_;
    bytes_ -= node->packet->size;
    av_packet_unref(node->packet);
    node->next = freeNodes_;
    freeNodes_ = node;
}

bool PacketQueue::Take(AVPacket *out)
{
    if (!head_)
        return false;
    av_packet_unref(out);
    av_packet_move_ref(out, head_->packet);
    bytes_ -= out->size;
    FreeHead();
    return true;
}

void PacketQueue::Clear(bool resetCapacity)
{
    while (head_)
        FreeHead();
    if (resetCapacity)
        capacity_ = kInitialCapacity;
}

bool PacketQueue::DropBefore(int64_t time, bool keyFrame)
{
    if (keyFrame) {
        const Node *start = nullptr;
        for (const Node *n = head_; n && n->packet->dts != AV_NOPTS_VALUE && n->packet->dts <= time; n = n->next)
            if (n->packet->flags & AV_PKT_FLAG_KEY)
                start = n;
        if (!start)
            return false;
        while (head_ != start)
            FreeHead();
        return true;
    }
    while (head_ && head_->next) {
        const int64_t secondEnd = EndOf(head_->next);
        if (secondEnd == AV_NOPTS_VALUE || secondEnd > time)
            break;
        FreeHead();
    }
    return true;
}

// A packet ends at its stamp plus its duration, or where the next one starts.
int64_t PacketQueue::EndOf(const Node *node)
{
    const AVPacket *p = node->packet;
    if (p->dts == AV_NOPTS_VALUE)
        return AV_NOPTS_VALUE;
    if (p->duration > 0)
        return p->dts + p->duration;
    return node->next ? node->next->packet->dts : AV_NOPTS_VALUE;
}

int64_t PacketQueue::HeadDts() const
{
    return head_ ? head_->packet->dts : AV_NOPTS_VALUE;
}

int64_t PacketQueue::TailDts() const
{
    return tail_ ? tail_->packet->dts : AV_NOPTS_VALUE;
}
