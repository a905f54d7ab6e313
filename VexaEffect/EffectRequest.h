#pragma once
// Turns an effect request into its effect object and runs it over a picture.

#include "CPixBase.h"

namespace vexa_effect {

// Makes the effect object of a request from its parameters and runs it over the picture.
using EffectRunner = void (*)(const EffectParams &params, PixelImage &image);

// The runner of effect `id`, or null when the id names no effect. Runners may throw std::bad_alloc.
EffectRunner FindEffect(int32_t id);

// Copies the pixels both pictures have, row i in memory to row i in memory.
void CopyPixels(const PixelImage &source, const PixelImage &target);

} // namespace vexa_effect
