#include "FCPixelLUTRoutine.h"

#include <algorithm>
#include <cmath>

namespace vexa_effect {

void FCPixelLUTRoutine::OnBeforeProcess(PixelImage &)
{
    for (int i = 0; i < 256; ++i)
        m_table[i] = ClampByte(InitLUTEntry(i));
    const bool switches[3] = {m_blue, m_green, m_red};
    for (int c = kBlue; c <= kRed; ++c)
        for (int i = 0; i < 256; ++i)
            m_channel[c][i] = static_cast<uint32_t>(switches[c] ? m_table[i] : i) << (8 * c);
}

int FCPixelBrightness::InitLUTEntry(int value)
{
    const int64_t level = m_level;
    return ClampByte(level > 0 ? value + (255 - value) * level / 200 : value + level * value / 200);
}

int FCPixelContrast::InitLUTEntry(int value)
{
    const double c = value / 255.0;
    const bool upper = c > 0.5;
    const double folded = upper ? std::max(0.0, 1.0 - c) : c;
    const double e = m_level / 100.0;
    const double exponent = e < 0.0 ? 1.0 + e : m_level == 100 ? 127.0 : 1.0 / (1.0 - e);
    double m = std::pow(2.0 * folded, exponent) * 0.5;
    if (upper)
        m = 1.0 - m;
    return TruncByte(m * 255.0);
}

FCPixelGamma::FCPixelGamma(double gamma) : m_inverseGamma(1.0 / (gamma < 0.01 ? 0.01 : gamma)) {}

int FCPixelGamma::InitLUTEntry(int value)
{
    const double scale = std::pow(255.0, m_inverseGamma) / 255.0;
    return TruncByte(std::round(std::pow(value, m_inverseGamma) / scale));
}

int FCPixelSolarize::InitLUTEntry(int value)
{
    return value < m_threshold ? value : 255 - value;
}

int FCPixelPosterize::InitLUTEntry(int value)
{
    const double step = 255.0 / (m_levels - 1);
    const double level = std::round(value / step);
    return TruncByte(std::round(step * level));
}

} // namespace vexa_effect
