/* VexaImageProcessing: picture loading, resizing and editing behind a flat C interface.
 *
 * Strings are NUL-terminated UTF-16. Functions report failure by a 0 result and, where a log sink
 * was installed, one line to it. No function throws.
 */
#ifndef VEXA_IMAGE_PROCESSING_H
#define VEXA_IMAGE_PROCESSING_H

#include <stdint.h>
#ifndef __cplusplus
#include <uchar.h>
#endif

#ifdef __cplusplus
#define VEXA_IMAGE_API extern "C" __attribute__((visibility("default")))
#else
#define VEXA_IMAGE_API __attribute__((visibility("default")))
#endif

/* Output type codes of saved pictures. */
enum {
    VEXA_OUT_BMP = 0,  /* "image/bmp",  ".bmp"  */
    VEXA_OUT_JPEG = 1, /* "image/jpeg", ".jpeg" */
    VEXA_OUT_PNG = 2   /* "image/png",  ".png"  */
};

/* Text style bits of FontInfo.style. */
enum {
    VEXA_FONT_BOLD = 1,
    VEXA_FONT_ITALIC = 2,
    VEXA_FONT_UNDERLINE = 4,
    VEXA_FONT_STRIKEOUT = 8
};

/* Text style, passed by value. The library's default is "Arial", 8 points, colour 0xFF000000,
 * alpha 255, style 0, alignment 0. */
typedef struct FontInfo {
    char16_t faceName[32]; /* NUL-terminated, at most 31 characters */
    float size;            /* points */
    uint32_t color;        /* 0xAARRGGBB; only red, green and blue are used */
    int32_t alpha;         /* 0..255; the low byte is the text's alpha */
    int32_t style;         /* VEXA_FONT_* bits */
    int32_t alignment;     /* kept with the text; no effect on drawing */
} FontInfo;

/* Locked pixels of an image: rows top-down, 4 bytes per pixel, B, G, R, A in memory. */
typedef struct BitsInfo {
    uint8_t *scan0;     /* first (top) row */
    int32_t stride;     /* bytes from one row to the next */
    int32_t width;
    int32_t height;
    int32_t zero;       /* always 0 */
    uintptr_t reserved; /* owned by the library while the bits are locked */
} BitsInfo;

/* Receives every diagnostic line of the library, prefixed "Vexa Codecs: ", at most 1023
 * characters. The text is valid only during the call. */
typedef void (*VexaLogCallback)(const char16_t *message);

/* Loads the picture at sourcePath, shrinks it to fit maxWidth x maxHeight keeping its aspect
 * ratio (never enlarging) and writes it to destPath as outType (VEXA_OUT_*) at the given encoder
 * quality. The extension of destPath's file name is replaced by the type's extension. A null or
 * empty destPath writes beside the source, under the source's name with that extension; writing
 * over the source works. EXIF orientation is applied. Safe to call from several threads at once;
 * needs no other set-up. Returns 1 on success, 0 on failure; a failure writes no file and leaves
 * an existing file at the destination as it was. */
VEXA_IMAGE_API int32_t VexaSetImageSize(const char16_t *sourcePath, const char16_t *destPath,
                                        int32_t maxWidth, int32_t maxHeight, int32_t outType,
                                        int32_t quality);

#endif
