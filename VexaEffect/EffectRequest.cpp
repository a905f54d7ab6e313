#include "EffectRequest.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <limits>

#include "DirectEffects.h"
#include "FCPixelBilinearDistord.h"
#include "FCPixelLUTRoutine.h"

namespace vexa_effect {

namespace {

// clamp(trunc(value), low, high), computed without leaving the int range.
int TruncClamp(double value, int low, int high)
{
    return value <= low ? low : value >= high ? high : static_cast<int>(value);
}

// Percentage p to a level -100 to 100 (50 is neutral).
int SignedLevel(int32_t p)
{
    return TruncClamp(p / 100.0 * 200.0, 0, 200) - 100;
}

// Percentage p to a channel threshold 0 to 255.
int ChannelThreshold(int32_t p)
{
    return TruncClamp(p / 100.0 * 255.0, 0, 255);
}

template <class Effect, class... Args>
void Run(PixelImage &image, Args &&...args)
{
    Effect effect(std::forward<Args>(args)...);
    ProcessImage(effect, image);
}

// Indexed by effect id; ids without an entry have no effect.
constexpr EffectRunner kRunners[] = {
    [](const EffectParams &, PixelImage &image) { Run<FCPixelGrayscale>(image); },
    [](const EffectParams &, PixelImage &image) { Run<FCPixelInvert>(image); },
    [](const EffectParams &p, PixelImage &image) { Run<FCPixelBrightness>(image, SignedLevel(p.param1)); },
    [](const EffectParams &p, PixelImage &image) { Run<FCPixelContrast>(image, SignedLevel(p.param1)); },
    [](const EffectParams &p, PixelImage &image) { Run<FCPixelGamma>(image, p.param1 / 10.0); },
    [](const EffectParams &, PixelImage &image) { Run<FCPixelColorTone>(image, 109, 90, 0); }, // sepia
    [](const EffectParams &p, PixelImage &image) { Run<FCPixelEmboss>(image, p.param1); },
    [](const EffectParams &, PixelImage &image) { Run<FCPixelFlipHorizontal>(image); },
    [](const EffectParams &, PixelImage &image) { Run<FCPixelFlipVertical>(image); },
    [](const EffectParams &p, PixelImage &image) {
        Run<FCPixel3DGrid>(image, p.param1 < 2 ? 1 : p.param1, p.param2);
    },
    [](const EffectParams &p, PixelImage &image) { Run<FCPixelNoisify>(image, std::clamp(p.param1, 0, 100)); },
    [](const EffectParams &p, PixelImage &image) {
        Run<FCPixelPosterize>(image, TruncClamp(p.param1 / 100.0 * 20.0 + 2.0, 2, std::numeric_limits<int>::max()));
    },
    [](const EffectParams &p, PixelImage &image) { Run<FCPixelSolarize>(image, ChannelThreshold(p.param1)); },
    [](const EffectParams &p, PixelImage &image) { Run<FCPixelThreshold>(image, ChannelThreshold(p.param1)); },
    [](const EffectParams &, PixelImage &image) { Run<FCPixelVideo>(image); },
    [](const EffectParams &p, PixelImage &image) {
        Run<FCPixelWave>(image, std::max(p.param1, 1) * 2.0, static_cast<double>(std::max(p.param2, 1)));
    },
    [](const EffectParams &, PixelImage &image) { Run<FCPixelHalftoneM3>(image); },
};

} // namespace

EffectRunner FindEffect(int32_t id)
{
    return id >= 0 && id < static_cast<int32_t>(std::size(kRunners)) ? kRunners[id] : nullptr;
}

void CopyPixels(const PixelImage &source, const PixelImage &target)
{
    const int rows = std::min(source.height, target.height);
    const std::size_t rowBytes = static_cast<std::size_t>(std::min(source.width, target.width)) * 4;
    for (int i = 0; i < rows; ++i)
        std::memcpy(target.pixels + target.stride * i, source.pixels + source.stride * i, rowBytes);
}

} // namespace vexa_effect
