#pragma once
// Distortion effects: each pixel is resampled from a copy of the picture at a computed position.

#include <algorithm>
#include <cmath>
#include <numbers>

#include "CPixBase.h"

namespace vexa_effect {

class FCPixelBilinearDistord : public CPixBase {
public:
    // Copies the whole picture into the working copy, which every sample then reads.
    void OnBeforeProcess(PixelImage &image) override;
    void ProcessPixel(PixelImage &, int x, int y, uint8_t *__restrict pixel) override { DistordPixel(*this, x, y, pixel); }
    // Where in the picture pixel (x, y) comes from; false leaves the pixel alone.
    virtual bool CalcSourcePosition(int x, int y, double &sx, double &sy) = 0;

protected:
    // With Self a final class the position is computed without a virtual call.
    template <class Self>
    static void DistordPixel(Self &self, int x, int y, uint8_t *pixel)
    {
        double sx = 0.0, sy = 0.0;
        if (self.CalcSourcePosition(x, y, sx, sy))
            self.SampleAt(sx, sy, pixel);
    }
    // Writes the bilinear sample of the working copy at (sx, sy) into all four bytes of `pixel`.
    void SampleAt(double sx, double sy, uint8_t *pixel) const;
};

// Concentric ripples around the centre of the picture.
class FCPixelWave final : public FCPixelBilinearDistord {
public:
    FCPixelWave(double wavelength, double amplitude, double phase = 0.0)
        : m_wavelength(wavelength), m_amplitude(amplitude), m_phase(phase)
    {
    }
    void ProcessPixel(PixelImage &, int x, int y, uint8_t *__restrict pixel) override { DistordPixel(*this, x, y, pixel); }
    bool CalcSourcePosition(int x, int y, double &sx, double &sy) final
    {
        const int w = m_copy.Image().width;
        const int h = m_copy.Image().height;
        // Ripples stay round on oblong pictures: the shorter axis is stretched to the longer.
        const double fx = w < h ? static_cast<double>(h) / w : 1.0;
        const double fy = h < w ? static_cast<double>(w) / h : 1.0;
        const double dx = (x - w / 2) * fx;
        const double dy = (y - h / 2) * fy;
        const double r = std::sqrt(dx * dx + dy * dy);
        const double m = std::sin(r * 2.0 * std::numbers::pi / m_wavelength + m_phase);
        sx = std::clamp((m * m_amplitude + dx) / fx + w / 2, 0.0, static_cast<double>(w - 1));
        sy = std::clamp((m * m_amplitude + dy) / fy + h / 2, 0.0, static_cast<double>(h - 1));
        return true;
    }

private:
    double m_wavelength;
    double m_amplitude;
    double m_phase;
};

} // namespace vexa_effect
