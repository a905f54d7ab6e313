#include "AudioPlayer.h"

#include <algorithm>
#include <cstring>

CAudioPlayer::CAudioPlayer(CMixEngine &engine, NotifyCallback notify, void *userData)
    : Engine(engine), NotifyHost(notify), UserData(userData), AudioReady(SDL_InitSubSystem(SDL_INIT_AUDIO) == 0)
{
}

CAudioPlayer::~CAudioPlayer()
{
    CloseDevice();
    if (AudioReady)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void CAudioPlayer::Notify(int32_t code, int32_t value) const
{
    if (NotifyHost)
        NotifyHost(code, value, UserData);
}

void CAudioPlayer::Play()
{
    Playing = true;
    if (!AudioReady || Device != 0)
        return;
    SDL_AudioSpec wanted{};
    wanted.freq = Rate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = Channels;
    wanted.samples = 1024;
    wanted.callback = &CAudioPlayer::Callback;
    wanted.userdata = this;
    // Without a sound card SDL initialises but opening fails; then nothing plays.
    SDL_AudioSpec obtained{};
    Device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (Device != 0)
        SDL_PauseAudioDevice(Device, 0);
}

void CAudioPlayer::CloseDevice()
{
    if (Device == 0)
        return;
    SDL_CloseAudioDevice(Device); // returns once the device thread has ended
    Device = 0;
}

bool CAudioPlayer::Seek(int64_t time)
{
    Playing = false;
    BytesPlayed = BytesPerSecond * time / TicksPerSecond;
    const bool moved = Engine.Seek(time);
    Playing = true;
    return moved;
}

void CAudioPlayer::Stop()
{
    CloseDevice();
    Playing = false;
    BytesPlayed = 0;
    Engine.Seek(0);
    Playing = true;
}

void CAudioPlayer::Callback(void *player, Uint8 *stream, int length)
{
    static_cast<CAudioPlayer *>(player)->Fill(stream, length);
}

void CAudioPlayer::Fill(Uint8 *stream, int length)
{
    if (!Playing) {
        std::memset(stream, 0, size_t(length));
        return;
    }
    while (length > 0) {
        if (BlockPosition == BlockBytes) {
            if (!Engine.TakeBlock(Block.data())) {
                std::memset(stream, 0, size_t(length));
                Playing = false;
                Notify(VEXA_MIX_FINISHED, VEXA_MIX_RESULT_DONE);
                return;
            }
            BlockPosition = 0;
        }
        const int part = std::min(length, BlockBytes - BlockPosition);
        std::memcpy(stream, Block.data() + BlockPosition, size_t(part));
        BlockPosition += part;
        stream += part;
        length -= part;
        const int64_t played = BytesPlayed.fetch_add(part) + part;
        if (length == 0)
            Notify(VEXA_MIX_PROGRESS, int32_t(played / BytesPerSecond));
    }
}
