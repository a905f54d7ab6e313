/* The version record every Lumivue binary carries.
 *
 * Layout (24 bytes, anywhere in the file):
 *   12 bytes  the marker "LumivueVerRc"
 *    8 bytes  four little-endian 16-bit numbers: major, minor, release, build
 *    4 bytes  the closing marker "End\0"
 * A reader scans the file for the marker and accepts the first occurrence followed, 8 bytes later,
 * by the closing marker. Files without such a record have no version.
 */
#ifndef LUMIVUE_VERSION_RECORD_H
#define LUMIVUE_VERSION_RECORD_H

#include <stdint.h>

#define LUMIVUE_VERSION_MARKER "LumivueVerRc"
#define LUMIVUE_VERSION_MARKER_SIZE 12
#define LUMIVUE_VERSION_CLOSING "End"
#define LUMIVUE_VERSION_CLOSING_SIZE 4
#define LUMIVUE_VERSION_RECORD_SIZE (LUMIVUE_VERSION_MARKER_SIZE + 8 + LUMIVUE_VERSION_CLOSING_SIZE)

typedef struct LumivueVersionRecord {
    char marker[LUMIVUE_VERSION_MARKER_SIZE];
    uint16_t number[4];
    char closing[LUMIVUE_VERSION_CLOSING_SIZE];
} LumivueVersionRecord;

#endif
