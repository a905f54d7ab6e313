#include "MixEngine.h"

#include <algorithm>
#include <cstring>

void CMixEngine::Start(std::vector<CMixElement *> elements, int64_t bytesPerSecond, int64_t length, int64_t origin)
{
    Stop();
    Quit = false;
    SpaceFree.Reset();
    BlockReady.Reset();
    EngineWake.Reset();
    Elements = std::move(elements);
    BytesPerSec = bytesPerSecond;
    MixLength = length;
    Origin = origin;
    Produced = 0;
    End = false;
    Thread = std::thread(&CMixEngine::Run, this);
}

void CMixEngine::Stop()
{
    if (!Thread.joinable())
        return;
    Quit = true;
    SpaceFree.Set();
    BlockReady.Set();
    EngineWake.Set();
    Thread.join();
    Filled = ReadIndex = WriteIndex = 0;
}

void CMixEngine::Run()
{
    while (!Quit) {
        std::unique_lock lock(Lock);
        End = false;
        if (Filled == RingBlocks) {
            BlockReady.Set();
            lock.unlock();
            SpaceFree.Wait();
            SpaceFree.Reset();
            continue;
        }
        if (ProduceBlock(Ring[size_t(WriteIndex)].data())) {
            WriteIndex = (WriteIndex + 1) % RingBlocks;
            ++Filled;
            lock.unlock();
            BlockReady.Set();
        } else {
            End = true;
            lock.unlock();
            // Takers waiting for a block learn that none will come.
            BlockReady.Set();
            EngineWake.Wait();
            EngineWake.Reset();
        }
    }
}

bool CMixEngine::ProduceBlock(int16_t *block)
{
    const int64_t time = Produced * TicksPerSecond / BytesPerSec;
    if (time >= MixLength)
        return false;
    Sums.fill(0);
    int active = 0;
    for (CMixElement *element : Elements) {
        const int64_t start = element->Start() - Origin;
        if (start > time)
            break;
        if (start + element->Span() <= time)
            continue;
        if (!element->ReadBlock(ElementBlock.data()))
            continue;
        for (int i = 0; i < BlockSamples; ++i)
            Sums[size_t(i)] += ElementBlock[size_t(i)];
        ++active;
    }
    // Averaging keeps overlapping elements within range; one element passes as it is.
    const int divisor = std::max(active, 1);
    for (int i = 0; i < BlockSamples; ++i)
        block[i] = int16_t(std::clamp(Sums[size_t(i)] / divisor, -32768, 32767));
    Produced += BlockBytes;
    return true;
}

bool CMixEngine::TakeBlock(uint8_t *out)
{
    while (!Quit) {
        std::unique_lock lock(Lock);
        if (Filled > 0) {
            std::memcpy(out, Ring[size_t(ReadIndex)].data(), BlockBytes);
            ReadIndex = (ReadIndex + 1) % RingBlocks;
            --Filled;
            lock.unlock();
            SpaceFree.Set();
            return true;
        }
        if (End)
            return false;
        lock.unlock();
        BlockReady.Wait();
        BlockReady.Reset();
    }
    return false;
}

bool CMixEngine::Seek(int64_t time)
{
    if (!Thread.joinable())
        return false;
    {
        std::lock_guard lock(Lock);
        for (CMixElement *element : Elements) {
            const int64_t start = element->Start() - Origin;
            const bool inside = start < time && time <= start + element->Span();
            element->SeekTo(inside ? time - start : 0);
        }
        Filled = ReadIndex = WriteIndex = 0;
        Produced = BytesPerSec * time / TicksPerSecond;
        // Blocks follow again unless the new position is past the end; the engine decides that.
        End = false;
    }
    EngineWake.Set();
    SpaceFree.Set();
    return true;
}
