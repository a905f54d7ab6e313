#pragma once
// What a running publish reports. The publish engine talks only to this interface, so it runs the
// same behind the progress window (which turns each call into its 0x1773 event) and in the
// headless command (which prints to the terminal).
//
// The engine calls from its own thread and each call returns only once the report has been
// handled, like a sent window message: an implementation on another thread blocks the caller.

#include <QString>

// The progress message and its stage codes.
constexpr int PublishProgressMessage = 0x1773;
constexpr int PublishStageMusic = 0x1779;  // stage 1: the music is mixed (the mixing notifications' message)
constexpr int PublishStagePhotos = 0x1776; // stage 2: the photos are fitted and re-encoded
constexpr int PublishStagePack = 0x1775;   // stage 3: packing and assembling the movie

class TProgressReceiver {
public:
    virtual ~TProgressReceiver() = default;

    // One progress message: `percent` 0..100 with stage 0, or percent 0 with a stage code when a
    // stage begins.
    virtual void PublishProgress(int percent, int stage) = 0;

    // A message for the user that does not end the publish.
    virtual void PublishNotice(const QString &text) = 0;
};

// The text shown while stage `number` (1 music, 2 photos, 3 packing) runs: "(2/3)  " followed by
// the stage's interface text and "...".
QString PublishStageText(int number);
