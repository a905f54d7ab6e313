#include "DirectEffects.h"

#include <algorithm>

namespace vexa_effect {

namespace {

// The generator state of each thread, starting at 1 like an unseeded rand().
thread_local uint32_t t_randomState = 1;

} // namespace

ThreadRandom::ThreadRandom() : m_state(t_randomState) {}

ThreadRandom::~ThreadRandom()
{
    t_randomState = m_state;
}

void FCPixel3DGrid::OnBeforeProcess(PixelImage &image)
{
    m_columns.resize(static_cast<std::size_t>(image.width));
    for (int x = 0; x < image.width; ++x)
        m_columns[x] = Role(x);
}

void FCPixelVideo::OnBeforeProcess(PixelImage &image)
{
    // Channel doubled at (x, y), by y mod 3 and x mod 3: 0 blue, 1 green, 2 red.
    static constexpr uint8_t kPattern[3][3] = {{0, 1, 2}, {2, 0, 1}, {1, 2, 0}};
    m_channelMasks.Lay(image.width, kPattern, [](uint8_t channel) { return 0xFFu << (8 * channel); });
}

void FCPixelHalftoneM3::OnBeforeProcess(PixelImage &image)
{
    // White where the entry for (x mod 8, y mod 8) is below the pixel's level (luminance / 4).
    static constexpr uint8_t kMatrix[8][8] = {
        {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
        {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
        {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
        {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21},
    };
    m_thresholds.Lay(image.width, kMatrix, [](uint8_t entry) { return static_cast<uint32_t>(entry); });
}

namespace {

struct HueSaturation {
    double hue = 0.0; // 0 to 1
    double saturation = 0.0;
};

HueSaturation HueSaturationOf(int red, int green, int blue)
{
    const double r = red / 255.0, g = green / 255.0, b = blue / 255.0;
    const double max = std::max({r, g, b});
    const double min = std::min({r, g, b});
    HueSaturation hs;
    if (max == min)
        return hs;
    const double lightness = (max + min) / 2.0;
    const double delta = max - min;
    hs.saturation = lightness < 0.5 ? delta / (max + min) : delta / (2.0 - max - min);
    double hue;
    if (max == r)
        hue = (g - b) / delta;
    else if (max == g)
        hue = 2.0 + (b - r) / delta;
    else
        hue = 4.0 + (r - g) / delta;
    hue /= 6.0;
    if (hue < 0.0)
        hue += 1.0;
    hs.hue = hue;
    return hs;
}

double HueComponent(double p, double q, double t)
{
    if (t < 0.0)
        t += 1.0;
    if (t > 1.0)
        t -= 1.0;
    if (6.0 * t < 1.0)
        return p + (q - p) * 6.0 * t;
    if (2.0 * t < 1.0)
        return q;
    if (3.0 * t < 2.0)
        return p + (q - p) * (2.0 / 3.0 - t) * 6.0;
    return p;
}

} // namespace

FCPixelColorTone::FCPixelColorTone(int red, int green, int blue)
{
    const HueSaturation tone = HueSaturationOf(red, green, blue);
    for (int i = 0; i < 256; ++i) {
        // The tone's hue and saturation at lightness i / 255.
        const double lightness = i / 255.0;
        double r = lightness, g = lightness, b = lightness;
        if (tone.saturation != 0.0) {
            const double s = tone.saturation;
            const double q = lightness <= 0.5 ? lightness * (1.0 + s) : lightness + s - lightness * s;
            const double p = 2.0 * lightness - q;
            r = HueComponent(p, q, tone.hue + 1.0 / 3.0);
            g = HueComponent(p, q, tone.hue);
            b = HueComponent(p, q, tone.hue - 1.0 / 3.0);
        }
        // Scaled by the level, so the tone darkens with the grey it replaces.
        auto level = [i](double component) { return static_cast<uint32_t>(TruncByte(component * 255.0) / 255.0 * i); };
        m_tone[i] = level(r) << 16 | level(g) << 8 | level(b);
    }
}

} // namespace vexa_effect
