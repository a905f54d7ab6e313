/* VexaMixAudio: lays music files on a timeline, mixes them into one stream of signed 16-bit PCM,
 * plays the mix through SDL and mixes it down to an encoded file.
 *
 * Times are ticks: signed 64-bit counts of 100-nanosecond units (10 000 000 per second).
 * Strings are NUL-terminated UTF-16. A null component makes every entry point do nothing and
 * return 0, false or null. Failures are a false or null result; the library writes no log.
 *
 * Threads: the mixing engine of a component produces blocks on a thread of its own; playback
 * pulls them on SDL's audio thread and a mix to a file on a job thread. The notification
 * callback runs on those two threads; keep it short (post the values on).
 *
 * Element changes: the engine reads the elements without the component lock. Call
 * VexaMusicElementChanged before deleting an element or writing through a MusicElement pointer
 * while anything may be playing or mixing; the changes take effect at the next start.
 */
#ifndef VEXA_MIX_AUDIO_H
#define VEXA_MIX_AUDIO_H

#include "VexaCodecs.h"

#include <stdint.h>

#ifdef __cplusplus
#define VEXA_MIX_AUDIO_API extern "C" __attribute__((visibility("default")))
#else
#define VEXA_MIX_AUDIO_API __attribute__((visibility("default")))
#endif

/* Notification codes and their values. */
enum {
    VEXA_MIX_PROGRESS = 0, /* value: whole seconds written to the file, or the playback position */
    VEXA_MIX_FINISHED = 1, /* value: one of the VEXA_MIX_RESULT_ values */
    VEXA_MIX_STARTED = 2   /* a mix to a file has created its encoder; value 0 */
};
enum {
    VEXA_MIX_RESULT_DONE = 0,      /* file written, or playback reached the end of the mix */
    VEXA_MIX_RESULT_FAILED = 1,    /* no encoder, encoder failure, or less than half the mix produced */
    VEXA_MIX_RESULT_CANCELLED = 2
};

/* Called as (code, value, user data) from the library's threads. */
typedef void (*NotifyCallback)(int32_t code, int32_t value, void *userData);

/* One music file on the timeline. */
typedef struct MusicElement {
    char16_t path[260];
    int64_t length;      /* whole file; whole seconds of its audio stream when added by path */
    int64_t clipLength;  /* used part of the file */
    int64_t clipStart;   /* where the used part begins in the file */
    int64_t start;       /* where the element begins on the timeline */
    int64_t fadeIn;      /* 0 = none */
    int64_t fadeOut;     /* 0 = none */
    int32_t clipEnabled; /* non-zero: play the clip; zero: the whole file from its beginning */
    int32_t volume;      /* percent, 100 = unchanged */
    int32_t id;          /* assigned by the library, never reused within a component */
} MusicElement;

/* Opaque component handle. */
typedef struct MusicComponent MusicComponent;

/* ---- Components and elements ---- */

/* A new component (mix format 44 100 Hz stereo, blank validation off), or null. Without a window
 * system to attach to, parentWindow gives no view; pass null. */
VEXA_MIX_AUDIO_API MusicComponent *VexaInitializeMusicComponent(NotifyCallback callback, void *userData,
                                                                void *parentWindow);
/* Stops playback, the file job and the engine, and frees every element and the component. */
VEXA_MIX_AUDIO_API void VexaDeinitializeMusicComponent(MusicComponent *component);

/* Opens the file; the element plays the whole file from timeline time 0 at volume 100. The record
 * stays owned by the component until the element is deleted. Null when the file has no usable
 * audio or 512 elements exist. */
VEXA_MIX_AUDIO_API MusicElement *VexaAddMusicElement(const char16_t *path, MusicComponent *component);
/* Adds a copy of the record (null: all zeros) with a new id, keeping its length, clip and fades. */
VEXA_MIX_AUDIO_API int32_t VexaAddMusicElementEx(const MusicElement *element, MusicComponent *component);
/* An id no element has changes nothing. */
VEXA_MIX_AUDIO_API void VexaDeleteMusicElement(int32_t id, MusicComponent *component);
/* Copies clipLength, clipStart, fadeIn, fadeOut, start and volume when the clip lies within the
 * file, start is not negative and the fades fit the clip; otherwise changes nothing. */
VEXA_MIX_AUDIO_API int32_t VexaUpdateMusicElement(int32_t id, const MusicElement *element,
                                                  MusicComponent *component);
/* Tears down playback, the file job and the engine so that the next start uses the current data. */
VEXA_MIX_AUDIO_API void VexaMusicElementChanged(MusicComponent *component);
/* End of the last element, less the start of the first unless blank validation is on. */
VEXA_MIX_AUDIO_API int64_t VexaGetMixAudioLength(MusicComponent *component);
/* Non-zero: the mix starts at timeline time 0, silence before the first element included. */
VEXA_MIX_AUDIO_API void VexaMixBlankValidate(uint8_t flag, MusicComponent *component);
/* Sample rate and channels of mixes to a file and of the pull interface. */
VEXA_MIX_AUDIO_API void VexaSetMixParameter(int32_t sampleRate, int32_t channels, MusicComponent *component);

/* ---- Playback (48 000 Hz stereo through SDL's default device) ---- */

/* Starts playback from the mix start, or resumes after a pause. One progress notification per
 * device callback; VEXA_MIX_FINISHED once at the end of the mix. Without a usable audio device
 * nothing is played and nothing is notified. */
VEXA_MIX_AUDIO_API int32_t VexaPlayMixAudio(MusicComponent *component);
/* Closes the device, keeping the position. */
VEXA_MIX_AUDIO_API void VexaPauseMixAudio(MusicComponent *component);
/* Moves playback to time (relative to the mix start); false when nothing was played yet. */
VEXA_MIX_AUDIO_API int32_t VexaSeekMixAudio(int64_t time, MusicComponent *component);
/* Closes the device and rewinds to 0; the next play opens it again. */
VEXA_MIX_AUDIO_API void VexaStopMixAudio(MusicComponent *component);

/* ---- Mixing to a file ---- */

/* Mixes the whole timeline at the component's mix format into an MP3 stream in the container
 * formatId (see VexaCodecs.h; 16 is .mp3) on a thread of its own. Notifies VEXA_MIX_STARTED, then
 * progress in seconds written, then VEXA_MIX_FINISHED with the result. True once started. */
VEXA_MIX_AUDIO_API int32_t VexaStartMixAudio(const char16_t *path, MusicComponent *component, int32_t bitRate,
                                             int32_t formatId);
/* Asks a running mix to stop; it then finishes with VEXA_MIX_RESULT_CANCELLED. False without one. */
VEXA_MIX_AUDIO_API int32_t VexaCancelMixAudio(MusicComponent *component);

/* ---- Pulling the mix ---- */

/* Restarts the mix from its start at the component's mix format for VexaGetNextMixAudio. */
VEXA_MIX_AUDIO_API int32_t VexaStartGetMixAudio(MusicComponent *component);
/* One block of 4096 bytes with its time in pts; false at the end of the mix. */
VEXA_MIX_AUDIO_API int32_t VexaGetNextMixAudio(AudioFrame *frame, MusicComponent *component);

#endif
