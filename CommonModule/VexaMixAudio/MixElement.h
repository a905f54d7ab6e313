#pragma once
// One music element: the host's record, the file's decoder and the state of reading it into the
// mix (sample counts for the mix format, delivered samples, decoded samples not yet mixed).

#include "VexaMixAudio.h"

#include <cstddef>
#include <cstdint>
#include <memory>

constexpr int64_t TicksPerSecond = 10000000;
// Interleaved samples in one engine block (4096 bytes of signed 16-bit).
constexpr int BlockSamples = 2048;
constexpr int BlockBytes = BlockSamples * 2;

class CMixElement {
public:
    CMixElement();
    ~CMixElement();
    CMixElement(const CMixElement &) = delete;
    CMixElement &operator=(const CMixElement &) = delete;

    // Opens Record.path; with `byPath`, fills length, clip, fades and volume from the file. False
    // when the file cannot be opened or has no audio stream.
    bool Load(bool byPath);

    // Length on the timeline: the clip when enabled, else the whole file.
    int64_t Span() const { return Record.clipEnabled ? Record.clipLength : Record.length; }
    int64_t Start() const { return Record.start; }

    // Sets the decoder's output format and the sample counts for it.
    void Prepare(int rate, int channels);
    // Goes to `offset` ticks into the element (0: its beginning), dropping undelivered samples.
    void SeekTo(int64_t offset);

    // Up to 2048 samples with gain into `out`, the rest of a short read silent; false when the
    // element has nothing more to give.
    bool ReadBlock(int16_t *out);

    // Volume and fades on `count` samples that follow the ones already delivered.
    void ApplyGain(const int16_t *in, int16_t *out, int count);

    // What the host sees and writes through the pointer it was given.
    MusicElement Record{};

private:
    void Unload();

    MediaDecoder *Decoder = nullptr;
    FileFormatInfo *Info = nullptr;
    int Rate = 44100;
    int Channels = 2;
    int64_t Total = 0;     // samples of the span
    int64_t FadeIn = 0;    // samples of the fade-in
    int64_t FadeOut = 0;   // samples of the fade-out
    int64_t Delivered = 0; // samples handed to the mix since the element's beginning
    std::unique_ptr<AudioFrame> Frame;
    // Decoded samples not yet mixed: room for a whole decoded block beside a block's remainder.
    std::unique_ptr<int16_t[]> Pending;
    size_t PendingStart = 0;
    size_t PendingCount = 0;
};
