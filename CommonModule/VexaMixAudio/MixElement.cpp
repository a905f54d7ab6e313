#include "MixElement.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr size_t PendingSamples = VEXA_AUDIO_FRAME_BYTES / 2 + BlockSamples;

int16_t Clamp16(int64_t v)
{
    return int16_t(std::clamp<int64_t>(v, -32768, 32767));
}

} // namespace

CMixElement::CMixElement() : Frame(std::make_unique<AudioFrame>()), Pending(std::make_unique<int16_t[]>(PendingSamples)) {}

CMixElement::~CMixElement()
{
    Unload();
}

void CMixElement::Unload()
{
    VexaUnloadMediaFile(Decoder);
    Decoder = nullptr;
    VexaFreeFileFormatInfo(Info);
    Info = nullptr;
}

bool CMixElement::Load(bool byPath)
{
    Unload();
    if (!VexaMallocFileFormatInfo(&Info))
        return false;
    Decoder = VexaLoadMediaFile(Record.path, Info);
    if (!Decoder)
        return false;
    const StreamInfo *audio = nullptr;
    for (int i = 0; i < Info->count && !audio; ++i)
        if (Info->streams[i] && Info->streams[i]->type == 1)
            audio = Info->streams[i];
    if (!audio)
        return false;
    if (byPath) {
        Record.clipEnabled = 0;
        Record.fadeIn = 0;
        Record.fadeOut = 0;
        Record.length = audio->duration * TicksPerSecond;
        Record.clipStart = 0;
        Record.clipLength = Record.length;
        Record.volume = 100;
    }
    Prepare(44100, 2);
    return true;
}

void CMixElement::Prepare(int rate, int channels)
{
    Rate = rate;
    Channels = channels;
    if (!Decoder)
        return;
    VexaResample(rate, 16, channels, Decoder);
    const int64_t perTick = int64_t(rate) * channels;
    Total = Span() * perTick / TicksPerSecond;
    FadeIn = Record.fadeIn * perTick / TicksPerSecond;
    FadeOut = Record.fadeOut * perTick / TicksPerSecond;
}

void CMixElement::SeekTo(int64_t offset)
{
    Delivered = int64_t(Rate) * Channels * offset / TicksPerSecond;
    PendingStart = PendingCount = 0;
    if (!Decoder)
        return;
    VexaSeekMediaFile((Record.clipEnabled ? Record.clipStart : 0) + offset, Decoder);
}

void CMixElement::ApplyGain(const int16_t *in, int16_t *out, int count)
{
    for (int i = 0; i < count; ++i) {
        const int64_t n = ++Delivered;
        double v = Record.volume == 100 ? in[i] : std::trunc(Record.volume / 100.0 * in[i]);
        if (FadeIn > n)
            v = std::trunc((1.0 - double(FadeIn - n) / double(FadeIn)) * v);
        if (FadeOut > 0 && n > Total - FadeOut)
            v = n >= Total ? 0.0 : std::trunc(double(Total - n) / double(FadeOut) * v);
        out[i] = Clamp16(int64_t(v));
    }
}

bool CMixElement::ReadBlock(int16_t *out)
{
    if (!Decoder)
        return false;
    if (PendingCount < BlockSamples) {
        std::memmove(Pending.get(), Pending.get() + PendingStart, PendingCount * 2);
        PendingStart = 0;
        const int64_t clipEnd = Record.clipStart + Record.clipLength;
        while (PendingCount < BlockSamples) {
            VexaFlushVideo(Decoder);
            if (!VexaGetNextAudioFrame(Frame.get(), Decoder))
                break;
            if (Record.clipEnabled && Frame->pts >= clipEnd)
                break;
            const size_t samples = size_t(Frame->size) / 2;
            std::memcpy(Pending.get() + PendingCount, Frame->data, samples * 2);
            PendingCount += samples;
        }
        if (PendingCount == 0)
            return false;
    }
    const int count = int(std::min<size_t>(PendingCount, BlockSamples));
    ApplyGain(Pending.get() + PendingStart, out, count);
    std::fill(out + count, out + BlockSamples, int16_t(0));
    PendingStart += size_t(count);
    PendingCount -= size_t(count);
    return true;
}
