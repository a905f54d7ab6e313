#include "publish/UMixMusic.h"

#include "platform/ProgramFolder.h"
#include "project/UDataDef.h"
#include "publish/ProgressReceiver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace {

constexpr qint64 TicksPerSecond = 10000000;
constexpr qint64 FadeTicks = 3 * TicksPerSecond;
constexpr int32_t MixBitRate = 128000;
constexpr int32_t Mp3FormatId = 16;

const char16_t *Wide(const QString &text)
{
    return reinterpret_cast<const char16_t *>(text.utf16());
}

} // namespace

QString MixedMusicPath()
{
    return ProgramFile(QStringLiteral("Temp/TempMusic.mp3"));
}

TMusicMix::TMusicMix(Listener listener) : Listen(std::move(listener)) {}

TMusicMix::~TMusicMix()
{
    VexaDeinitializeMusicComponent(MixerHandle);
}

void TMusicMix::Notify(int32_t code, int32_t value, void *self)
{
    auto *mix = static_cast<TMusicMix *>(self);
    // A mix that failed may have left part of a file; without it the movie is made without music.
    // The library has closed the file before it reports the end.
    if (code == VEXA_MIX_FINISHED && value != VEXA_MIX_RESULT_DONE)
        QFile::remove(mix->Target);
    mix->Listen(code, value);
}

bool TMusicMix::MixMusic(const TAudioList &audios, const QString &target)
{
    Target = target;
    MixerHandle = VexaInitializeMusicComponent(&TMusicMix::Notify, this, nullptr);
    if (!MixerHandle)
        return false;
    qint64 position = 0;
    int added = 0;
    for (int i = 0; i < audios.Count(); ++i) {
        const TAudio &audio = *audios.Items(i);
        MusicElement *element = VexaAddMusicElement(Wide(audio.FileName()), MixerHandle);
        if (!element)
            continue; // a file that cannot be used is left out
        element->clipStart = audio.BeginTime() * TicksPerSecond;
        element->clipLength = (audio.EndTime() - audio.BeginTime()) * TicksPerSecond;
        element->start = position;
        element->clipEnabled = 1;
        element->fadeIn = audio.bFadeIn() ? FadeTicks : 0;
        element->fadeOut = audio.FadeOut() ? FadeTicks : 0;
        position += element->clipLength;
        ++added;
    }
    // Without a usable file there is nothing to mix; the movie is then made without music.
    if (added == 0)
        return false;
    VexaMusicElementChanged(MixerHandle);
    Seconds = VexaGetMixAudioLength(MixerHandle) / TicksPerSecond;
    QDir().mkpath(QFileInfo(target).absolutePath());
    return VexaStartMixAudio(Wide(target), MixerHandle, MixBitRate, Mp3FormatId) != 0;
}

void TMusicMix::Cancel()
{
    VexaCancelMixAudio(MixerHandle);
}

int TMusicMix::Percent(int seconds) const
{
    if (Seconds <= 0)
        return 0;
    return std::clamp(int(std::lround(double(seconds) / double(Seconds) * 100)), 0, 100);
}

bool MixProjectMusic(TProjItem &project, TProgressReceiver &progress)
{
    if (project.Audios()->Count() == 0)
        return !project.CancelRequested();

    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<std::pair<int, int>> notifications;
    TMusicMix mix([&](int code, int value) {
        {
            std::lock_guard lock(mutex);
            notifications.emplace_back(code, value);
        }
        arrived.notify_one();
    });
    if (!mix.MixMusic(*project.Audios(), MixedMusicPath()))
        return !project.CancelRequested();

    bool cancelling = false;
    for (bool finished = false; !finished;) {
        std::unique_lock lock(mutex);
        arrived.wait_for(lock, std::chrono::milliseconds(100), [&] { return !notifications.empty(); });
        if (project.CancelRequested() && !cancelling) {
            cancelling = true;
            mix.Cancel();
        }
        while (!notifications.empty() && !finished) {
            const auto [code, value] = notifications.front();
            notifications.pop_front();
            if (code == VEXA_MIX_STARTED)
                progress.PublishProgress(0, PublishStageMusic);
            else if (code == VEXA_MIX_PROGRESS)
                progress.PublishProgress(mix.Percent(value), 0);
            else if (code == VEXA_MIX_FINISHED) {
                progress.PublishProgress(100, 0);
                finished = true;
            }
        }
    }
    return !project.CancelRequested();
}
