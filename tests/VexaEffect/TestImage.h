#pragma once
// A small 32-bit picture for effect tests, addressed the way the effects count rows:
// y = 0 is the LAST row in memory. Row padding is filled with a guard byte.

#include <array>
#include <cstdint>
#include <vector>

#include "VexaEffect.h"

using Pixel = std::array<uint8_t, 4>; // B, G, R, A

constexpr uint8_t kGuard = 0xA5;

inline Pixel Grey(uint8_t v, uint8_t a = 255)
{
    return {v, v, v, a};
}

class TestImage {
public:
    TestImage(int width, int height, int stride = 0)
        : m_width(width), m_height(height), m_stride(stride ? stride : width * 4),
          m_bytes(static_cast<size_t>(m_stride) * height, kGuard)
    {
        Fill({0, 0, 0, 255});
    }

    int Width() const { return m_width; }
    int Height() const { return m_height; }

    uint8_t *At(int x, int y) { return m_bytes.data() + m_stride * (m_height - 1 - y) + 4 * x; }
    Pixel Get(int x, int y) { return {At(x, y)[0], At(x, y)[1], At(x, y)[2], At(x, y)[3]}; }
    void Set(int x, int y, Pixel p)
    {
        for (int i = 0; i < 4; ++i)
            At(x, y)[i] = p[i];
    }
    void Fill(Pixel p)
    {
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                Set(x, y, p);
    }
    // One row (width 256) holding grey 0..255, for checking a table effect value by value.
    static TestImage Ramp()
    {
        TestImage image(256, 1);
        for (int i = 0; i < 256; ++i)
            image.Set(i, 0, Grey(static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i)));
        return image;
    }

    EffectImage Descriptor()
    {
        return EffectImage{m_bytes.data(), m_width, m_height, m_stride, m_width * m_height * 4, {}};
    }
    bool Apply(int32_t id, int32_t p1 = 0, int32_t p2 = 0)
    {
        EffectImage image = Descriptor();
        const EffectParams params{id, p1, p2, 0};
        return VexaDoEffect(&image, nullptr, &params) != 0;
    }
    const std::vector<uint8_t> &Bytes() const { return m_bytes; }
    bool PaddingIntact() const
    {
        for (int row = 0; row < m_height; ++row)
            for (int i = m_width * 4; i < m_stride; ++i)
                if (m_bytes[static_cast<size_t>(row) * m_stride + i] != kGuard)
                    return false;
        return true;
    }

private:
    int m_width;
    int m_height;
    int m_stride;
    std::vector<uint8_t> m_bytes;
};
