#include "FCPixelBilinearDistord.h"

#include <algorithm>
#include <cstring>

namespace vexa_effect {

namespace {

// What a neighbour outside the picture reads as: white, fully transparent.
constexpr uint8_t kOutside[4] = {255, 255, 255, 0};

// Positions are kept this far inside the int range so they can be truncated safely.
constexpr double kPositionLimit = 2147483392.0;

// Below this a fraction counts as zero.
constexpr double kEpsilon = 1.1920929e-7;

double Blend(double p00, double p10, double p01, double p11, double ax, double ay)
{
    const double u = p00 + ax * (p10 - p00);
    const double w = p01 + ax * (p11 - p01);
    return u + ay * (w - u);
}

} // namespace

void FCPixelBilinearDistord::OnBeforeProcess(PixelImage &image)
{
    m_copy.Take(image);
}

void FCPixelBilinearDistord::SampleAt(double sx, double sy, uint8_t *pixel) const
{
    const PixelImage &copy = m_copy.Image();
    sx = std::clamp(sx, -kPositionLimit, kPositionLimit);
    sy = std::clamp(sy, -kPositionLimit, kPositionLimit);
    const int x0 = static_cast<int>(sx);
    const int y0 = static_cast<int>(sy);
    const double ax = sx - x0;
    const double ay = sy - y0;
    auto neighbour = [&copy](int x, int y) { return copy.Contains(x, y) ? copy.At(x, y) : kOutside; };
    const uint8_t *p00 = neighbour(x0, y0);
    const uint8_t *p10 = neighbour(x0 + 1, y0);
    const uint8_t *p01 = neighbour(x0, y0 + 1);
    const uint8_t *p11 = neighbour(x0 + 1, y0 + 1);

    const bool allEqual = std::memcmp(p00, p10, 4) == 0 && std::memcmp(p00, p01, 4) == 0 &&
                          std::memcmp(p00, p11, 4) == 0;
    if (allEqual || (ax < kEpsilon && ay < kEpsilon)) {
        std::memcpy(pixel, p00, 4);
        return;
    }
    if (p00[kAlpha] == 255 && p10[kAlpha] == 255 && p01[kAlpha] == 255 && p11[kAlpha] == 255) {
        for (int c = kBlue; c <= kRed; ++c)
            pixel[c] = static_cast<uint8_t>(Blend(p00[c], p10[c], p01[c], p11[c], ax, ay));
        pixel[kAlpha] = 255;
        return;
    }
    // Colours are blended weighted by their alpha, then divided by the blended alpha.
    const int alpha = static_cast<int>(Blend(p00[kAlpha], p10[kAlpha], p01[kAlpha], p11[kAlpha], ax, ay));
    if (alpha <= 0) {
        std::memcpy(pixel, kOutside, 4);
        return;
    }
    for (int c = kBlue; c <= kRed; ++c) {
        const int weighted = static_cast<int>(Blend(p00[c] * p00[kAlpha], p10[c] * p10[kAlpha],
                                                    p01[c] * p01[kAlpha], p11[c] * p11[kAlpha], ax, ay));
        pixel[c] = ClampByte(weighted / alpha);
    }
    pixel[kAlpha] = static_cast<uint8_t>(alpha);
}

} // namespace vexa_effect
