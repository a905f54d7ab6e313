// The library's exports.

#include "VexaEffect.h"

#include <atomic>
#include <new>

#include "EffectCatalogue.h"
#include "EffectRequest.h"

using namespace vexa_effect;

namespace {

// The library-wide marker: made by the first call of any export, released by VexaEffectDestory.
std::atomic<bool> g_marker{false};

void EnsureMarker()
{
    g_marker.store(true, std::memory_order_relaxed);
}

// Shared by both apply exports once the id has been found to name an effect.
uint8_t RunEffect(EffectRunner runner, const EffectParams &params, EffectImage *image)
{
    std::optional<PixelImage> view = ViewOf(image);
    if (!view)
        return 0;
    try {
        runner(params, *view);
    } catch (const std::bad_alloc &) {
        return 0; // only distortion effects allocate, before any pixel is written
    }
    return 1;
}

} // namespace

VEXA_EFFECT_API void VexaEnumEffect(VexaEntryCallback callback, void *user)
{
    EnsureMarker();
    if (callback == nullptr)
        return;
    for (const EffectEntry *entry = CatalogueEntries(); entry->id != -1; ++entry) {
        if (!callback(entry, user))
            return;
    }
}

VEXA_EFFECT_API uint8_t VexaDoEffect(EffectImage *image, void *, const EffectParams *params)
{
    EnsureMarker();
    if (params == nullptr)
        return 0;
    const EffectRunner runner = FindEffect(params->id);
    return runner == nullptr ? 1 : RunEffect(runner, *params, image);
}

VEXA_EFFECT_API uint8_t VexaDoEffectEx(EffectImage *image, EffectImage *target, void *, const EffectParams *params)
{
    EnsureMarker();
    if (params == nullptr)
        return 0;
    if (params->id == -1) {
        const std::optional<PixelImage> source = ViewOf(image);
        const std::optional<PixelImage> destination = ViewOf(target);
        if (!source || !destination)
            return 0;
        CopyPixels(*source, *destination);
        return 1;
    }
    const EffectRunner runner = FindEffect(params->id);
    return runner == nullptr ? 1 : RunEffect(runner, *params, image);
}

VEXA_EFFECT_API int32_t VexaEffectDestory(void)
{
    return g_marker.exchange(false, std::memory_order_relaxed) ? 1 : 0;
}
