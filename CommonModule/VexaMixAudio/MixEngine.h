#pragma once
// The mixing engine: a thread that keeps a ring of 32 mixed blocks filled ahead of whoever takes
// them (the audio device, a file job or the host pulling blocks). Overlapping elements are
// averaged; each element enters and leaves the mix at block boundaries.

#include "MixElement.h"

#include "ManualResetEvent.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

class CMixEngine {
public:
    static constexpr int RingBlocks = 32;

    CMixEngine() = default;
    ~CMixEngine() { Stop(); }
    CMixEngine(const CMixEngine &) = delete;
    CMixEngine &operator=(const CMixEngine &) = delete;

    // Starts the thread over `elements` (prepared, at their beginnings, sorted by start), which
    // it reads without further locking until Stop. `length` is the mix length in ticks and
    // `origin` the timeline time the mix starts at.
    void Start(std::vector<CMixElement *> elements, int64_t bytesPerSecond, int64_t length, int64_t origin);
    // Ends the thread and empties the ring; a taker still waiting fails.
    void Stop();
    bool Running() const { return Thread.joinable(); }

    // Copies the next block (4096 bytes) to `out`, waiting while the ring is empty; false at the
    // end of the mix or when the engine stops.
    bool TakeBlock(uint8_t *out);
    // Moves the mix to `time` ticks after its start; false when the engine does not run.
    bool Seek(int64_t time);

    int64_t BytesPerSecond() const { return BytesPerSec; }
    int64_t Length() const { return MixLength; }

private:
    void Run();
    bool ProduceBlock(int16_t *block);

    std::mutex Lock;
    std::thread Thread;
    std::atomic<bool> Quit{true}; // also before the first start, so takers fail at once
    bool End = false; // no further block can be produced until a seek or restart

    ManualResetEvent SpaceFree;  // a block was taken or the ring was emptied
    ManualResetEvent BlockReady; // a block was produced
    ManualResetEvent EngineWake; // the mix was moved after its end

    std::array<std::array<int16_t, BlockSamples>, RingBlocks> Ring{};
    int Filled = 0;
    int ReadIndex = 0;
    int WriteIndex = 0;

    int64_t Produced = 0; // bytes since the mix start
    int64_t BytesPerSec = 0;
    int64_t MixLength = 0;
    int64_t Origin = 0;
    std::vector<CMixElement *> Elements;
    std::array<int32_t, BlockSamples> Sums{};
    std::array<int16_t, BlockSamples> ElementBlock{};
};
