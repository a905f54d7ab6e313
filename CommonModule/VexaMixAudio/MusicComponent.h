#pragma once
// A music component: up to 512 elements on a timeline, the mix format, and the one engine that
// playback, a file job and the pull interface share. Starting any of them restarts the engine and
// ends the others.

#include "AudioPlayer.h"
#include "AudioView.h"
#include "MixElement.h"
#include "MixEngine.h"
#include "MixFileJob.h"

#include <memory>
#include <mutex>
#include <vector>

struct MusicComponent {
public:
    static constexpr size_t MaxElements = 512;

    MusicComponent(NotifyCallback notify, void *userData, void *parentWindow);
    ~MusicComponent();
    MusicComponent(const MusicComponent &) = delete;
    MusicComponent &operator=(const MusicComponent &) = delete;

    MusicElement *AddElement(const char16_t *path);
    bool AddElement(const MusicElement &record);
    void DeleteElement(int32_t id);
    bool UpdateElement(int32_t id, const MusicElement &record);
    // Ends playback, the file job and the engine.
    void TearDown();
    int64_t MixLength();
    void SetBlankValidate(bool on);
    void SetMixFormat(int32_t rate, int32_t channels);

    void Play();
    void Pause();
    bool Seek(int64_t time);
    void Stop();

    void StartMixToFile(const char16_t *path, int32_t bitRate, int32_t formatId);
    bool CancelMixToFile();

    void StartPull();
    bool NextPull(AudioFrame &frame);

private:
    CMixElement *Add(std::unique_ptr<CMixElement> element, bool byPath);
    int64_t MixLengthLocked() const;
    // Prepares every element for rate × channels (0: the mix format) and starts the engine at
    // the mix start.
    void StartEngine(int32_t rate, int32_t channels);

    const NotifyCallback Notify;
    void *const UserData;

    std::mutex Lock; // elements, id counter, flag, mix format
    std::vector<std::unique_ptr<CMixElement>> Elements;
    int32_t NextId = 0;
    bool BlankValidate = false;
    int32_t MixRate = 44100;
    int32_t MixChannels = 2;

    // Declared before its users so that it outlives them.
    CMixEngine Engine;
    std::unique_ptr<CMixFileJob> Job;
    std::unique_ptr<CAudioPlayer> Player;
    std::unique_ptr<CAudioView> View;
    int64_t PullPosition = 0;
};
