#pragma once
// Mixing the whole timeline down to an encoded file on a thread of its own, reporting through the
// host's callback: started, seconds written, and the result.

#include "MixEngine.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <thread>

class CMixFileJob {
public:
    // The engine must already run at `sampleRate` × `channels`.
    CMixFileJob(CMixEngine &engine, NotifyCallback notify, void *userData, const char16_t *path, int32_t formatId,
                int32_t bitRate, int32_t sampleRate, int32_t channels);
    // Cancels a running job and waits for its thread.
    ~CMixFileJob();
    CMixFileJob(const CMixFileJob &) = delete;
    CMixFileJob &operator=(const CMixFileJob &) = delete;

    void Start();
    void Cancel() { Cancelled = true; }

private:
    void Run();
    int32_t Encode();
    void Notify(int32_t code, int32_t value) const;

    CMixEngine &Engine;
    const NotifyCallback NotifyHost;
    void *const UserData;
    FmtContext Context{};
    const int64_t BytesPerSecond;
    const int64_t MixLength;
    int64_t BytesWritten = 0;
    std::atomic<bool> Cancelled{false};
    std::array<uint8_t, BlockBytes> Block{};
    std::thread Thread;
};
