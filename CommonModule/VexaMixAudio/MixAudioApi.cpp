// The exported entry points: each checks its handle, runs the component's operation and keeps
// every exception inside the library.

#include "MusicComponent.h"

#include <new>

namespace {

template <typename Result, typename Operation>
Result Guarded(MusicComponent *component, Result failed, Operation operation)
{
    if (!component)
        return failed;
    try {
        return operation(*component);
    } catch (...) {
        return failed;
    }
}

template <typename Operation>
void Guarded(MusicComponent *component, Operation operation)
{
    Guarded(component, 0, [&](MusicComponent &c) {
        operation(c);
        return 0;
    });
}

} // namespace

VEXA_MIX_AUDIO_API MusicComponent *VexaInitializeMusicComponent(NotifyCallback callback, void *userData,
                                                                void *parentWindow)
{
    VexaInitializeCodecs(nullptr);
    try {
        return new MusicComponent(callback, userData, parentWindow);
    } catch (...) {
        return nullptr;
    }
}

VEXA_MIX_AUDIO_API void VexaDeinitializeMusicComponent(MusicComponent *component)
{
    delete component;
}

VEXA_MIX_AUDIO_API MusicElement *VexaAddMusicElement(const char16_t *path, MusicComponent *component)
{
    if (!path)
        return nullptr;
    return Guarded<MusicElement *>(component, nullptr, [&](MusicComponent &c) { return c.AddElement(path); });
}

VEXA_MIX_AUDIO_API int32_t VexaAddMusicElementEx(const MusicElement *element, MusicComponent *component)
{
    return Guarded(component, 0, [&](MusicComponent &c) { return int32_t(c.AddElement(element ? *element : MusicElement{})); });
}

VEXA_MIX_AUDIO_API void VexaDeleteMusicElement(int32_t id, MusicComponent *component)
{
    Guarded(component, [&](MusicComponent &c) { c.DeleteElement(id); });
}

VEXA_MIX_AUDIO_API int32_t VexaUpdateMusicElement(int32_t id, const MusicElement *element, MusicComponent *component)
{
    if (!element)
        return 0;
    return Guarded(component, 0, [&](MusicComponent &c) { return int32_t(c.UpdateElement(id, *element)); });
}

VEXA_MIX_AUDIO_API void VexaMusicElementChanged(MusicComponent *component)
{
    Guarded(component, [](MusicComponent &c) { c.TearDown(); });
}

VEXA_MIX_AUDIO_API int64_t VexaGetMixAudioLength(MusicComponent *component)
{
    return Guarded(component, int64_t(0), [](MusicComponent &c) { return c.MixLength(); });
}

VEXA_MIX_AUDIO_API void VexaMixBlankValidate(uint8_t flag, MusicComponent *component)
{
    Guarded(component, [&](MusicComponent &c) { c.SetBlankValidate(flag != 0); });
}

VEXA_MIX_AUDIO_API void VexaSetMixParameter(int32_t sampleRate, int32_t channels, MusicComponent *component)
{
    Guarded(component, [&](MusicComponent &c) { c.SetMixFormat(sampleRate, channels); });
}

VEXA_MIX_AUDIO_API int32_t VexaPlayMixAudio(MusicComponent *component)
{
    return Guarded(component, 0, [](MusicComponent &c) {
        c.Play();
        return 1;
    });
}

VEXA_MIX_AUDIO_API void VexaPauseMixAudio(MusicComponent *component)
{
    Guarded(component, [](MusicComponent &c) { c.Pause(); });
}

VEXA_MIX_AUDIO_API int32_t VexaSeekMixAudio(int64_t time, MusicComponent *component)
{
    return Guarded(component, 0, [&](MusicComponent &c) { return int32_t(c.Seek(time)); });
}

VEXA_MIX_AUDIO_API void VexaStopMixAudio(MusicComponent *component)
{
    Guarded(component, [](MusicComponent &c) { c.Stop(); });
}

VEXA_MIX_AUDIO_API int32_t VexaStartMixAudio(const char16_t *path, MusicComponent *component, int32_t bitRate,
                                             int32_t formatId)
{
    if (!path)
        return 0;
    return Guarded(component, 0, [&](MusicComponent &c) {
        c.StartMixToFile(path, bitRate, formatId);
        return 1;
    });
}

VEXA_MIX_AUDIO_API int32_t VexaCancelMixAudio(MusicComponent *component)
{
    return Guarded(component, 0, [](MusicComponent &c) { return int32_t(c.CancelMixToFile()); });
}

VEXA_MIX_AUDIO_API int32_t VexaStartGetMixAudio(MusicComponent *component)
{
    return Guarded(component, 0, [](MusicComponent &c) {
        c.StartPull();
        return 1;
    });
}

VEXA_MIX_AUDIO_API int32_t VexaGetNextMixAudio(AudioFrame *frame, MusicComponent *component)
{
    if (!frame)
        return 0;
    return Guarded(component, 0, [&](MusicComponent &c) { return int32_t(c.NextPull(*frame)); });
}
