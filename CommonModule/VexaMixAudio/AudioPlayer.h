#pragma once
// Playback of the engine's mix through SDL's default audio device at 48 000 Hz, signed 16-bit,
// stereo. The device pulls on SDL's audio thread; pausing closes the device and keeps the place.

#include "MixEngine.h"

#include <SDL2/SDL.h>

#include <array>
#include <atomic>
#include <cstdint>

class CAudioPlayer {
public:
    static constexpr int Rate = 48000;
    static constexpr int Channels = 2;
    static constexpr int64_t BytesPerSecond = Rate * Channels * 2;

    // Initialises SDL's audio subsystem; the engine must then be started at 48 000 Hz stereo.
    CAudioPlayer(CMixEngine &engine, NotifyCallback notify, void *userData);
    ~CAudioPlayer();
    CAudioPlayer(const CAudioPlayer &) = delete;
    CAudioPlayer &operator=(const CAudioPlayer &) = delete;

    // Opens the device and lets it play; a device that cannot be opened plays nothing.
    void Play();
    void Pause() { CloseDevice(); }
    bool Seek(int64_t time);
    void Stop();

private:
    static void Callback(void *player, Uint8 *stream, int length);
    void Fill(Uint8 *stream, int length);
    void CloseDevice();
    void Notify(int32_t code, int32_t value) const;

    CMixEngine &Engine;
    const NotifyCallback NotifyHost;
    void *const UserData;
    const bool AudioReady;
    SDL_AudioDeviceID Device = 0;

    // Used by the device thread only, or while the device is closed.
    std::array<uint8_t, BlockBytes> Block{};
    int BlockPosition = BlockBytes;

    // Shared with the device thread: a 64-bit count, which does not overflow in long sessions.
    std::atomic<int64_t> BytesPlayed{0};
    std::atomic<bool> Playing{false};
};
