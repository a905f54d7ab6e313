#pragma once
// The base of every pixel effect, the picture view the effects work on, and the processing loop.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>

#include "VexaEffect.h"

namespace vexa_effect {

// Byte offsets of the channels inside a pixel.
enum Channel : int { kBlue = 0, kGreen = 1, kRed = 2, kAlpha = 3 };

// Whole pixels are handled as 32-bit words: blue in the low byte, alpha in the high byte.
static_assert(std::endian::native == std::endian::little);
constexpr uint32_t kAlphaMask = 0xFF000000u;

inline uint32_t LoadPixel(const uint8_t *pixel)
{
    uint32_t value;
    std::memcpy(&value, pixel, 4);
    return value;
}

inline void StorePixel(uint8_t *pixel, uint32_t value)
{
    std::memcpy(pixel, &value, 4);
}

inline uint32_t ChannelOf(uint32_t value, Channel channel)
{
    return (value >> (8 * channel)) & 0xFFu;
}

// The pixel with blue, green and red set to `grey` and its alpha kept.
inline uint32_t WithGrey(uint32_t value, uint32_t grey)
{
    return (value & kAlphaMask) | grey * 0x010101u;
}

inline uint8_t ClampByte(int64_t value)
{
    return static_cast<uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
}

// clamp(trunc(value)) for doubles, safe for values outside the int range (NaN gives 0).
inline uint8_t TruncByte(double value)
{
    return value >= 255.0 ? 255 : value > 0.0 ? static_cast<uint8_t>(value) : 0;
}

// Luminance used by the grey-based effects: (11 B + 59 G + 30 R) / 100, 0 to 255.
inline uint32_t Luminance(uint32_t value)
{
    return (11u * ChannelOf(value, kBlue) + 59u * ChannelOf(value, kGreen) + 30u * ChannelOf(value, kRed)) / 100u;
}

// A validated picture. Row y = 0 is the last row in memory.
struct PixelImage {
    uint8_t *pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;

    uint8_t *Row(int y) const { return pixels + stride * static_cast<std::ptrdiff_t>(height - 1 - y); }
    uint8_t *At(int x, int y) const { return Row(y) + 4 * static_cast<std::ptrdiff_t>(x); }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

// The view of a caller's descriptor, or nothing when the descriptor could not be used safely.
std::optional<PixelImage> ViewOf(const EffectImage *image);

// A compact private copy of a picture (stride = width * 4), same row order.
class WorkingCopy {
public:
    void Take(const PixelImage &image);
    const PixelImage &Image() const { return m_image; }

private:
    std::unique_ptr<uint8_t[]> m_buffer;
    PixelImage m_image;
};

class CPixBase {
public:
    CPixBase() = default;
    CPixBase(const CPixBase &) = delete;
    CPixBase &operator=(const CPixBase &) = delete;
    virtual ~CPixBase() = default;

    // Hook for effects that prepare before a request; the processing loop does not call it.
    virtual void OnEnterProcess() {}
    // Called once before the pixels are visited.
    virtual void OnBeforeProcess(PixelImage &) {}
    // Processes the pixel at (x, y), whose bytes start at `pixel`. Overrides take `pixel` as
    // __restrict: it promises the compiler that pixel stores leave the effect's own fields and
    // tables alone, which lets the inlined loops keep them in registers and vectorise.
    virtual void ProcessPixel(PixelImage &image, int x, int y, uint8_t *__restrict pixel) = 0;

protected:
    WorkingCopy m_copy; // empty except in distortion effects
};

// Runs one request: OnBeforeProcess, then every pixel from row 0 (the last row in memory) up.
// Instantiated per effect class, so ProcessPixel is called directly and inlined.
template <class Effect>
void ProcessImage(Effect &effect, PixelImage &image)
{
    effect.OnBeforeProcess(image);
    // Local bounds: pixel stores could otherwise alias the descriptor and force reloads.
    const int width = image.width;
    const int height = image.height;
    for (int y = 0; y < height; ++y) {
        uint8_t *pixel = image.Row(y);
        for (int x = 0; x < width; ++x, pixel += 4)
            effect.Effect::ProcessPixel(image, x, y, pixel);
    }
}

} // namespace vexa_effect
