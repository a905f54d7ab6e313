#include "EffectCatalogue.h"

#include <algorithm>
#include <string_view>

namespace vexa_effect {

namespace {

// Ids 10 (noise) and 15 (wave) are applied by VexaDoEffect but deliberately not listed.
// The display names are shown to users exactly as they stand here.
constexpr EffectEntry kCatalogue[] = {
    {0, u"Gray", nullptr, 0},
    {1, u"Invert", nullptr, 0},
    {2, u"Brightness", EnumEffectParams, 0},
    {3, u"Contrast", EnumEffectParams, 0},
    {4, u"Gamma", EnumEffectParams, 0},
    {5, u"Sepia", nullptr, 0},
    {6, u"Embossment", EnumEffectParams, 0},
    {7, u"Filp Horizontally", nullptr, 0},
    {8, u"Filp Vertically", nullptr, 0},
    {9, u"3DGrid", EnumEffectParams, 0},
    {11, u"Posterization", EnumEffectParams, 0},
    {12, u"Solarization", EnumEffectParams, 0},
    {13, u"Threshold", EnumEffectParams, 0},
    {14, u"Video", nullptr, 0},
    {16, u"Halftone", nullptr, 0},
    {-1, u"", nullptr, 0},
};

struct ParamDefault {
    int32_t id;
    const char16_t *name;
    int32_t defaultValue;
};

// Every parameter, grouped by effect, in the order each effect reports them.
constexpr ParamDefault kParams[] = {
    {2, u"Brightness", 50}, {3, u"Contrast", 50},  {4, u"Gamma", 50},      {6, u"Emboss", 5},
    {9, u"Size", 50},       {9, u"Depth", 20},     {10, u"Level", 50},     {11, u"Level", 10},
    {12, u"Threshold", 10}, {13, u"Level", 50},    {15, u"Wavelength", 25}, {15, u"Amplitude", 30},
};

} // namespace

const EffectEntry *CatalogueEntries()
{
    return kCatalogue;
}

void EnumEffectParams(int32_t effectId, VexaParamCallback callback, void *user)
{
    if (callback == nullptr)
        return;
    for (const ParamDefault &param : kParams) {
        if (param.id != effectId)
            continue;
        ParamInfo info{};
        info.id = param.id;
        const std::u16string_view name(param.name);
        std::copy(name.begin(), name.end(), info.name);
        info.defaultValue = param.defaultValue;
        callback(&info, user);
    }
}

} // namespace vexa_effect
