// The packet queue: bounds, ownership of payloads and dropping up to a seek target.

#include "CodecTestSupport.h"
#include "PacketQueue.h"

using namespace codectest;

namespace {

struct Stamp {
    int64_t dts, duration;
    bool key = true;
};

// Appends one packet per stamp, each with a small payload of its own.
void Fill(PacketQueue &queue, const std::vector<Stamp> &stamps)
{
    AVPacket *packet = av_packet_alloc();
    for (const Stamp &s : stamps) {
        ASSERT_EQ(av_new_packet(packet, 16), 0);
        packet->dts = packet->pts = s.dts;
        packet->duration = s.duration;
        packet->flags = s.key ? AV_PKT_FLAG_KEY : 0;
        ASSERT_TRUE(queue.Append(packet));
        EXPECT_EQ(packet->data, nullptr);  // the queue took the payload over
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
}

std::vector<int64_t> Remaining(PacketQueue &queue)
{
    std::vector<int64_t> dts;
    AVPacket *packet = av_packet_alloc();
    while (queue.Take(packet))
        dts.push_back(packet->dts);
    av_packet_free(&packet);
    return dts;
}

} // namespace

TEST(PacketQueue, DropBeforeKeepsThePacketHoldingTheTargetAndOneBefore)
{
    const std::vector<Stamp> timed = {{0, 10}, {10, 10}, {20, 10}, {30, 10}};
    const std::vector<Stamp> untimed = {{0, 0}, {10, 0}, {20, 0}, {30, 0}};  // ends from the next stamp
    const struct {
        const std::vector<Stamp> &stamps;
        int64_t target;
        std::vector<int64_t> kept;
    } cases[] = {
        // A packet stamped exactly at the target stays; of those ending at or before it, the
        // last one stays too.
        {timed, 0, {0, 10, 20, 30}},
        {timed, 10, {0, 10, 20, 30}},
        {timed, 20, {10, 20, 30}},
        {timed, 25, {10, 20, 30}},
        {timed, 99, {30}},
        {untimed, 0, {0, 10, 20, 30}},
        {untimed, 25, {10, 20, 30}},
        {untimed, 99, {20, 30}},  // the last one's end is unknown
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "target " << c.target);
        PacketQueue queue;
        Fill(queue, c.stamps);
        EXPECT_TRUE(queue.DropBefore(c.target));
        EXPECT_EQ(queue.Bytes(), int64_t(c.kept.size()) * 16);
        EXPECT_EQ(Remaining(queue), c.kept);
    }
}

TEST(PacketQueue, DropBeforeForVideoKeepsTheLastKeyFrame)
{
    PacketQueue queue;
    Fill(queue, {{0, 1, false}, {1, 1, true}, {2, 1, false}, {3, 1, false}, {4, 1, true}, {5, 1, false}});
    EXPECT_TRUE(queue.DropBefore(3, true));
    EXPECT_EQ(Remaining(queue), (std::vector<int64_t>{1, 2, 3, 4, 5}));

    PacketQueue noKey;
    Fill(noKey, {{0, 1, false}, {1, 1, false}, {5, 1, true}});
    EXPECT_FALSE(noKey.DropBefore(2, true));
    EXPECT_EQ(noKey.Count(), 3);
}

TEST(PacketQueue, RefusesWhenFullAndGrowsOnRequest)
{
    PacketQueue queue;
    std::vector<Stamp> stamps;
    for (int i = 0; i < 3000; ++i)
        stamps.push_back({i, 1});
    Fill(queue, std::vector<Stamp>(stamps.begin(), stamps.begin() + PacketQueue::kInitialCapacity));
    EXPECT_TRUE(queue.Full());

    LogCapture::Clear();
    AVPacket *extra = av_packet_alloc();
    ASSERT_EQ(av_new_packet(extra, 4), 0);
    EXPECT_FALSE(queue.Append(extra));
    EXPECT_TRUE(LogCapture::Has("Vexa Codecs: queue at max size...."));
    EXPECT_NE(extra->data, nullptr);  // still the caller's
    av_packet_free(&extra);

    // Growing past one pool chunk of nodes keeps every packet in order.
    while (queue.Capacity() < 3000)
        queue.DoubleCapacity();
    Fill(queue, std::vector<Stamp>(stamps.begin() + PacketQueue::kInitialCapacity, stamps.end()));
    EXPECT_EQ(queue.Count(), 3000);
    EXPECT_EQ(queue.HeadDts(), 0);
    EXPECT_EQ(queue.TailDts(), 2999);
    const std::vector<int64_t> all = Remaining(queue);
    ASSERT_EQ(all.size(), 3000u);
    EXPECT_EQ(all[1500], 1500);

    queue.Clear(true);
    EXPECT_EQ(queue.Capacity(), PacketQueue::kInitialCapacity);
    EXPECT_EQ(queue.HeadDts(), AV_NOPTS_VALUE);
}
