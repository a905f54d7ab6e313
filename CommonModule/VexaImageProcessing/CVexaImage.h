#pragma once
// The library's raster image: CVexaImage owns one CVexaImageImp, the abstract image interface
// that every picture of the library is handled through.

#include "VexaImageProcessing.h"

#include <cstdint>
#include <memory>

// Pixel format codes of made images.
enum VexaPixelFormat : int {
    kPixelFormatARGB32 = 0, // 4 bytes, B, G, R, A; every image the library makes itself
    kPixelFormatRGB24 = 1,  // 3 bytes, B, G, R
    kPixelFormatRGB32 = 2,  // 4 bytes, B, G, R, unused
};

// Resampling of scaled draws.
enum VexaInterpolation : int {
    kInterpolationNearest = 0,
    kInterpolationBilinear = 1,
    kInterpolationHighQualityBilinear = 2,
    kInterpolationBicubic = 3,
    kInterpolationHighQualityBicubic = 4,
};

// Outline styles of DrawRectangle.
enum VexaOutlineStyle : int {
    kOutlineSolid = 0,
    kOutlineDotted = 1,
    kOutlineDashed = 2,
    kOutlineDashDot = 3,
};

// Flip flags.
enum : int {
    kFlipHorizontal = 1, // mirror left-right
    kFlipVertical = 2,   // mirror top-bottom
};

// Rotation codes; any other code is a half turn.
enum : int {
    kRotateNone = 0,
    kRotateCounterClockwise = 1,
    kRotateHalf = 2,
    kRotateClockwise = 3,
};

struct VexaRectF {
    double x, y, width, height;
};

// The library's default text style.
FontInfo DefaultFontInfo();

class CVexaImageImp {
public:
    virtual ~CVexaImageImp() = default;

    // An image over the caller's pixels (stride = width x bytes per pixel); the buffer must
    // outlive the image.
    virtual bool CreateFromBuffer(int width, int height, void *pixels, int format) = 0;
    // A new transparent black image; any old picture is released first.
    virtual bool Create(int width, int height, int format) = 0;
    // Decodes a picture file, upright; on failure the image is left empty.
    virtual bool LoadFromFile(const char16_t *path) = 0;
    virtual bool GetSize(int *width, int *height) = 0;
    virtual int GetWidth() = 0;
    virtual int GetHeight() = 0;
    // Draws source unscaled with its top-left corner at (x, y), alpha-blended.
    virtual bool DrawImage(CVexaImageImp *source, int x, int y) = 0;
    // A 1.0-wide outline in an ARGB colour.
    virtual bool DrawRectangle(VexaRectF rect, int outlineStyle, uint32_t argb) = 0;
    // Scales the source rectangle of source into the destination rectangle, alpha-blended.
    virtual bool DrawImageRect(CVexaImageImp *source, VexaRectF dest, VexaRectF src,
                               int interpolation) = 0;
    // Scales the whole source into the rectangle (x, y, width, height).
    virtual bool DrawImageRectI(CVexaImageImp *source, int x, int y, int width, int height,
                                int interpolation) = 0;
    // Lays the text out from (x, y); with frame, outlines its bounding box in dotted blue.
    virtual bool DrawText(const char16_t *text, const FontInfo &font, float x, float y,
                          bool frame) = 0;
    // Size of the text laid out from (0, 0).
    virtual bool MeasureText(const char16_t *text, const FontInfo &font, float *width,
                             float *height) = 0;
    // Flip flags kFlip*; into result when given (reused when it has this size), else in place.
    virtual bool Flip(int flags, CVexaImageImp *result) = 0;
    // Rotation code kRotate* into result (reused when its size fits).
    virtual bool Rotate(int code, CVexaImageImp *result) = 0;
    // The whole image, read-write, as 32-bit ARGB.
    virtual bool LockBits(BitsInfo *bits) = 0;
    // Writes locked pixels back and clears the descriptor.
    virtual bool UnlockBits(BitsInfo *bits) = 0;
    // Encodes as output type VEXA_OUT_* at quality; the file name's extension becomes the
    // type's. A failed save leaves any existing file untouched.
    virtual bool Save(const char16_t *path, int outType, int quality) = 0;
};

class CVexaImage {
public:
    explicit CVexaImage(const char16_t *path);       // a picture file
    CVexaImage(int width, int height);               // transparent 32-bit ARGB
    CVexaImage(int width, int height, uint32_t fill); // every pixel the 32-bit value fill
    explicit CVexaImage(std::unique_ptr<CVexaImageImp> imp);
    virtual ~CVexaImage();

    CVexaImage(const CVexaImage &) = delete;
    CVexaImage &operator=(const CVexaImage &) = delete;

    // Null when the picture could not be made or loaded.
    CVexaImageImp *Imp() const { return m_imp.get(); }
    explicit operator bool() const { return m_imp != nullptr; }

private:
    std::unique_ptr<CVexaImageImp> m_imp;
};
