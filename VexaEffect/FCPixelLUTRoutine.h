#pragma once
// Effects that map every colour channel through one 256-entry table, filled once per request.

#include <array>

#include "CPixBase.h"

namespace vexa_effect {

class FCPixelLUTRoutine : public CPixBase {
public:
    void OnBeforeProcess(PixelImage &image) override;
    void ProcessPixel(PixelImage &, int, int, uint8_t *__restrict pixel) override
    {
        const uint32_t v = LoadPixel(pixel);
        StorePixel(pixel, (v & kAlphaMask) | m_channel[kRed][ChannelOf(v, kRed)] |
                              m_channel[kGreen][ChannelOf(v, kGreen)] | m_channel[kBlue][ChannelOf(v, kBlue)]);
    }
    // The table entry for channel value `value` (0 to 255); entries are limited to 0 to 255.
    virtual int InitLUTEntry(int value) = 0;

private:
    std::array<uint8_t, 256> m_table{};
    bool m_blue = true;
    bool m_green = true;
    bool m_red = true;
    // What ProcessPixel maps each channel through: the table when the channel's switch is on,
    // the identity when it is off, so the pixel loop has no branches. Entries are already
    // shifted to their channel's place in the pixel word.
    uint32_t m_channel[3][256] = {};
};

// Level -100 (black) to 100 (white).
class FCPixelBrightness final : public FCPixelLUTRoutine {
public:
    explicit FCPixelBrightness(int level) : m_level(level) {}
    int InitLUTEntry(int value) override;

private:
    int m_level;
};

// Level -100 (flat grey) to 100 (two-tone).
class FCPixelContrast final : public FCPixelLUTRoutine {
public:
    explicit FCPixelContrast(int level) : m_level(level) {}
    int InitLUTEntry(int value) override;

private:
    int m_level;
};

class FCPixelGamma final : public FCPixelLUTRoutine {
public:
    // Gammas below 0.01 are taken as 0.01; the inverse is what the table uses.
    explicit FCPixelGamma(double gamma);
    int InitLUTEntry(int value) override;

private:
    double m_inverseGamma;
};

// Values at or above the threshold are inverted.
class FCPixelSolarize final : public FCPixelLUTRoutine {
public:
    explicit FCPixelSolarize(int threshold) : m_threshold(threshold) {}
    int InitLUTEntry(int value) override;

private:
    int m_threshold;
};

// Reduces every channel to `levels` evenly spaced values (at least 2).
class FCPixelPosterize final : public FCPixelLUTRoutine {
public:
    explicit FCPixelPosterize(int levels) : m_levels(levels < 2 ? 2 : levels) {}
    int InitLUTEntry(int value) override;

private:
    int m_levels;
};

} // namespace vexa_effect
