#ifndef VEXA_EFFECT_H
#define VEXA_EFFECT_H
/*
 * libVexaEffect: whole-image pixel effects on 32-bit pictures.
 *
 * Pixels are 4 bytes, B, G, R, A in memory. The library treats the LAST row in memory as row 0
 * (bottom-up order); rows are `stride` bytes apart. Every effect works in place on the caller's
 * buffer and on the caller's thread; the library keeps no per-call state and takes no locks.
 *
 * Ownership: the library never keeps or frees a pointer it is given. Catalogue entries handed to
 * an entry callback live inside the library and stay valid while it is loaded; parameter records
 * handed to a parameter callback live only during that call.
 *
 * Failures are return values; nothing is thrown across this interface.
 */

#include <stdint.h>
#ifndef __cplusplus
#include <uchar.h>
#endif

#ifdef __cplusplus
#define VEXA_EFFECT_API extern "C" __attribute__((visibility("default")))
#else
#define VEXA_EFFECT_API extern __attribute__((visibility("default")))
#endif

/* A parameter of an effect, produced by a parameter enumerator. No range is carried: the
 * effects read parameters as percentages (0 to 100) unless their description says otherwise. */
typedef struct ParamInfo {
    int32_t id;             /* effect id */
    char16_t name[64];      /* UTF-16, NUL-terminated */
    int32_t defaultValue;
} ParamInfo;

/* Called once per parameter; the result is ignored. */
typedef uint8_t (*VexaParamCallback)(const ParamInfo *param, void *user);

/* Reports the parameters of `effectId` in order; ids without parameters produce no calls. */
typedef void (*VexaParamEnumerator)(int32_t effectId, VexaParamCallback callback, void *user);

/* One catalogue entry. */
typedef struct EffectEntry {
    int32_t id;                     /* -1 ends the table */
    char16_t name[64];              /* display name, UTF-16, NUL-terminated */
    VexaParamEnumerator enumerator; /* null when the effect has no parameters */
    int32_t reserved;               /* 0 */
} EffectEntry;

/* Called once per catalogue entry; return 0 to stop the enumeration. */
typedef uint8_t (*VexaEntryCallback)(const EffectEntry *entry, void *user);

/* An effect request. Parameters an effect does not use are ignored. */
typedef struct EffectParams {
    int32_t id;
    int32_t param1;
    int32_t param2;
    int32_t param3;
} EffectParams;

/* A picture: `pixels` points at the first row in memory, which is the picture's top row for
 * top-down buffers and the effects' highest row number. */
typedef struct EffectImage {
    uint8_t *pixels;
    int32_t width;
    int32_t height;
    int32_t stride;      /* bytes from one row to the next; at least width * 4 */
    int32_t size;        /* width * height * 4; informative, not read */
    int32_t reserved[6]; /* 0 */
} EffectImage;

/*
 * Calls `callback` with each catalogue entry in table order until it returns 0 or the table
 * ends. A null callback does nothing.
 */
VEXA_EFFECT_API void VexaEnumEffect(VexaEntryCallback callback, void *user);

/*
 * Applies the effect `params->id` in place to `image`; `reserved` is ignored.
 * Returns 1 when done and for ids that have no effect (which change nothing, -1 included);
 * returns 0 for a null `params`, and for a null or invalid `image` (null pixels, a width or
 * height that is not positive, a stride below width * 4), which is then left untouched.
 */
VEXA_EFFECT_API uint8_t VexaDoEffect(EffectImage *image, void *reserved, const EffectParams *params);

/*
 * As VexaDoEffect, except that id -1 copies `image` into `target`: row i in memory of the
 * source goes to row i in memory of the target, for the rows and pixels both pictures have.
 * With id -1 both descriptors must be valid, otherwise nothing is copied and 0 is returned.
 */
VEXA_EFFECT_API uint8_t VexaDoEffectEx(EffectImage *image, EffectImage *target, void *reserved,
                                       const EffectParams *params);

/*
 * Releases the library-wide marker that the other exports create on first use.
 * Returns 1 when there was one, 0 when there was none.
 */
VEXA_EFFECT_API int32_t VexaEffectDestory(void);

#endif
