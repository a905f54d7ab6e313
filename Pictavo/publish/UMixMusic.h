#pragma once
// Stage 1 of a publish: the project's music laid end to end on a music component, each file cut
// to its clip with 3-second fades where chosen, and mixed by the mixing library on its own
// thread into the MP3 file that the publish engine packs.
//
// The progress window and the headless command share it: both receive the library's
// notifications (code, value) from the library's thread and show them on their own.

#include "VexaMixAudio.h"

#include <QString>
#include <functional>

class TAudioList;
class TProgressReceiver;
class TProjItem;

// The mixed music of a publish: "Temp/TempMusic.mp3" in the program folder.
QString MixedMusicPath();

class TMusicMix {
public:
    // Called on the mixing library's thread with each notification.
    using Listener = std::function<void(int code, int value)>;

    explicit TMusicMix(Listener listener);
    // Releases the component; a running mix is cancelled and waited for.
    ~TMusicMix();
    TMusicMix(const TMusicMix &) = delete;
    TMusicMix &operator=(const TMusicMix &) = delete;

    // Adds every usable music file end to end and starts mixing to `target` at 128 000 bit/s.
    // False when no file could be used or the mix could not be started; then no notification
    // follows.
    bool MixMusic(const TAudioList &audios, const QString &target);
    // Asks a running mix to stop; it then finishes with the cancelled result.
    void Cancel();

    // Length of the whole mix in whole seconds.
    qint64 TotalSeconds() const { return Seconds; }
    // Progress of the mix for a notified value in seconds: 0 while the total length is 0.
    int Percent(int seconds) const;

private:
    static void Notify(int32_t code, int32_t value, void *self);

    const Listener Listen;
    QString Target;
    MusicComponent *MixerHandle = nullptr;
    qint64 Seconds = 0;
};

// Runs stage 1 to its end for a publish without windows, reporting to `progress`. A failed mix
// leaves no music file, so the movie is made without music. Returns false when the publish was
// cancelled meanwhile (`project.CancelRequested()`, which also cancels the mix).
bool MixProjectMusic(TProjItem &project, TProgressReceiver &progress);
