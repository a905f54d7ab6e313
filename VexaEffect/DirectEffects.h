#pragma once
// Effects that compute each pixel directly from its own values (and, for a few, one other pixel).

#include <array>
#include <vector>

#include "CPixBase.h"

namespace vexa_effect {

// 255 when `on`, else 0, without a branch (the pixels of a photo make such branches unpredictable).
inline uint32_t Mask(bool on)
{
    return (0u - static_cast<uint32_t>(on)) & 0xFFu;
}

class FCPixelGrayscale final : public CPixBase {
public:
    void ProcessPixel(PixelImage &, int, int, uint8_t *__restrict pixel) override
    {
        const uint32_t v = LoadPixel(pixel);
        StorePixel(pixel, WithGrey(v, Luminance(v)));
    }
};

class FCPixelInvert final : public CPixBase {
public:
    void ProcessPixel(PixelImage &, int, int, uint8_t *__restrict pixel) override
    {
        StorePixel(pixel, LoadPixel(pixel) ^ 0x00FFFFFFu); // 255 - v for each colour byte
    }
};

// White where the luminance is above the threshold, black elsewhere.
class FCPixelThreshold final : public CPixBase {
public:
    explicit FCPixelThreshold(int threshold) : m_threshold(threshold) {}
    void ProcessPixel(PixelImage &, int, int, uint8_t *__restrict pixel) override
    {
        const uint32_t v = LoadPixel(pixel);
        StorePixel(pixel, WithGrey(v, Mask(static_cast<int>(Luminance(v)) > m_threshold)));
    }

private:
    int m_threshold;
};

inline void SwapPixels(uint8_t *a, uint8_t *b)
{
    const uint32_t first = LoadPixel(a);
    StorePixel(a, LoadPixel(b));
    StorePixel(b, first);
}

class FCPixelFlipHorizontal final : public CPixBase {
public:
    void ProcessPixel(PixelImage &image, int x, int y, uint8_t *__restrict pixel) override
    {
        if (x < image.width / 2)
            SwapPixels(pixel, image.At(image.width - 1 - x, y));
    }
};

class FCPixelFlipVertical final : public CPixBase {
public:
    void ProcessPixel(PixelImage &image, int x, int y, uint8_t *__restrict pixel) override
    {
        if (y < image.height / 2)
            SwapPixels(pixel, image.At(x, image.height - 1 - y));
    }
};

// Grey relief from the difference to the right-hand neighbour, which the loop has not yet visited.
class FCPixelEmboss final : public CPixBase {
public:
    explicit FCPixelEmboss(int level) : m_level(level) {}
    void ProcessPixel(PixelImage &image, int x, int, uint8_t *__restrict pixel) override
    {
        int64_t v = 128;
        if (x < image.width - 1) {
            const uint8_t *n = pixel + 4;
            const int diff = (pixel[kBlue] + pixel[kGreen] + pixel[kRed]) - (n[kBlue] + n[kGreen] + n[kRed]);
            v = static_cast<int64_t>(diff / 3) * m_level + 128;
        }
        pixel[kBlue] = pixel[kGreen] = pixel[kRed] = ClampByte(v);
    }

private:
    int m_level;
};

// Raises and lowers the edges of square cells so the picture looks like bevelled tiles.
class FCPixel3DGrid final : public CPixBase {
public:
    // Cells smaller than 3 leave the picture unchanged.
    FCPixel3DGrid(int cellSize, int depth) : m_cell(cellSize < 1 ? 1 : cellSize), m_depth(depth) {}
    // Works out the role of every column once, so the pixel loop divides only per row.
    void OnBeforeProcess(PixelImage &image) override;
    void ProcessPixel(PixelImage &, int x, int y, uint8_t *__restrict pixel) override
    {
        const uint8_t column = m_columns[x];
        const uint8_t row = Role(y);
        int64_t offset = 0;
        if ((row & kSecond) && (column & kInside))
            offset = -m_depth; // second row of a cell
        else if ((row & kSecondLast) && (column & kInside))
            offset = m_depth;
        else if ((column & kSecond) && (row & kInside))
            offset = m_depth; // second column
        else if ((column & kSecondLast) && (row & kInside))
            offset = -m_depth;
        if (offset == 0)
            return;
        pixel[kBlue] = ClampByte(pixel[kBlue] + offset);
        pixel[kGreen] = ClampByte(pixel[kGreen] + offset);
        pixel[kRed] = ClampByte(pixel[kRed] + offset);
    }

private:
    // Where a row or column number c lies in its cell, as bits.
    enum : uint8_t {
        kInside = 1,     // neither the first (c mod d = 0) nor the last ((c + 1) mod d = 0)
        kSecond = 2,     // (c - 1) mod d = 0
        kSecondLast = 4, // (c + 2) mod d = 0
    };
    uint8_t Role(int c) const
    {
        const int d = m_cell;
        return static_cast<uint8_t>((c % d != 0 && (c + 1) % d != 0 ? kInside : 0) |
                                    ((c - 1) % d == 0 ? kSecond : 0) | ((c + 2) % d == 0 ? kSecondLast : 0));
    }

    int m_cell;
    int m_depth;
    std::vector<uint8_t> m_columns;
};

// This thread's random generator (values 0 to 32767), borrowed for one request and handed back
// when it ends. It is never seeded, so the sequence continues across requests on one thread.
class ThreadRandom {
public:
    ThreadRandom();
    ~ThreadRandom();
    ThreadRandom(const ThreadRandom &) = delete;
    ThreadRandom &operator=(const ThreadRandom &) = delete;

    int Next()
    {
        m_state = m_state * 214013u + 2531011u;
        return static_cast<int>((m_state >> 16) & 0x7FFF);
    }

private:
    uint32_t m_state;
};

// Adds approximately normal noise, the same amount to all three channels.
class FCPixelNoisify final : public CPixBase {
public:
    explicit FCPixelNoisify(int level) : m_level(level) {}
    void ProcessPixel(PixelImage &, int, int, uint8_t *__restrict pixel) override
    {
        const int sum = m_random.Next() + m_random.Next() + m_random.Next() + m_random.Next();
        const double z = sum * 0.0000528596089837 - 3.46410161514;
        const int noise = static_cast<int>(z * m_level * 127 / 100);
        pixel[kBlue] = ClampByte(pixel[kBlue] + noise);
        pixel[kGreen] = ClampByte(pixel[kGreen] + noise);
        pixel[kRed] = ClampByte(pixel[kRed] + noise);
    }

private:
    int m_level; // 0 to 100
    ThreadRandom m_random;
};

// An n x n tile repeated over the picture, laid out along whole rows once per request, so the
// pixel loop reads it in order instead of working out x mod n for every pixel.
template <int N>
class TiledPattern {
public:
    // Stores map(tile[y mod n][x mod n]) for every column x and tile row.
    template <class Map>
    void Lay(int width, const uint8_t (&tile)[N][N], Map map)
    {
        m_width = static_cast<std::size_t>(width);
        m_values.resize(N * m_width);
        for (int row = 0; row < N; ++row)
            for (int x = 0; x < width; ++x)
                m_values[row * m_width + x] = map(tile[row][x % N]);
    }
    uint32_t At(int x, int y) const { return m_values[static_cast<std::size_t>(y % N) * m_width + x]; }

private:
    std::size_t m_width = 0;
    std::vector<uint32_t> m_values;
};

// Doubles one channel per pixel in a repeating 3 x 3 pattern of diagonal lines.
class FCPixelVideo final : public CPixBase {
public:
    void OnBeforeProcess(PixelImage &image) override;
    void ProcessPixel(PixelImage &, int x, int y, uint8_t *__restrict pixel) override
    {
        const uint32_t mask = m_channelMasks.At(x, y);
        const uint32_t v = LoadPixel(pixel);
        // Every byte doubled, those that would pass 255 held at 255.
        const uint32_t high = (v >> 7) & 0x010101u;
        const uint32_t doubled = ((v & 0x7F7F7Fu) << 1) | ((high << 8) - high);
        StorePixel(pixel, (v & ~mask) | (doubled & mask));
    }

private:
    TiledPattern<3> m_channelMasks; // 0xFF in the byte of the channel to double
};

// Ordered dithering of the luminance to black and white with an 8 x 8 threshold matrix.
class FCPixelHalftoneM3 final : public CPixBase {
public:
    void OnBeforeProcess(PixelImage &image) override;
    void ProcessPixel(PixelImage &, int x, int y, uint8_t *__restrict pixel) override
    {
        const uint32_t v = LoadPixel(pixel);
        StorePixel(pixel, WithGrey(v, Mask(m_thresholds.At(x, y) < Luminance(v) / 4)));
    }

private:
    TiledPattern<8> m_thresholds;
};

// Recolours the luminance with the hue and saturation of a tone colour (sepia in the catalogue).
class FCPixelColorTone final : public CPixBase {
public:
    FCPixelColorTone(int red, int green, int blue);
    void ProcessPixel(PixelImage &, int, int, uint8_t *__restrict pixel) override
    {
        const uint32_t v = LoadPixel(pixel);
        StorePixel(pixel, (v & kAlphaMask) | m_tone[Luminance(v)]);
    }

private:
    // Per level: the three table entries packed as a pixel word (red << 16 | green << 8 | blue).
    std::array<uint32_t, 256> m_tone{};
};

} // namespace vexa_effect
