#pragma once
// The effect catalogue that VexaEnumEffect lists, and the parameters of each effect.

#include "VexaEffect.h"

namespace vexa_effect {

// The catalogue in display order, ended by an entry with id -1.
const EffectEntry *CatalogueEntries();

// The parameter enumerator shared by every entry that has parameters.
void EnumEffectParams(int32_t effectId, VexaParamCallback callback, void *user);

} // namespace vexa_effect
