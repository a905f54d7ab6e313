/* The record itself, linked into every binary; kept even though nothing references it. */
#include "VersionRecord.h"

__attribute__((used, section(".lumivue_version")))
static const LumivueVersionRecord lumivue_version_record = {
    {'L', 'u', 'm', 'i', 'v', 'u', 'e', 'V', 'e', 'r', 'R', 'c'},
    {LUMIVUE_VERSION_MAJOR, LUMIVUE_VERSION_MINOR, LUMIVUE_VERSION_RELEASE, LUMIVUE_VERSION_BUILD},
    LUMIVUE_VERSION_CLOSING,
};
