#include "Resampler.h"

#include <emmintrin.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr int kWeightBits = 14;
constexpr int kWeightOne = 1 << kWeightBits;
constexpr double kLobes = 3.0;

double Lanczos(double x)
{
    x = std::fabs(x);
    if (x < 1e-9)
        return 1.0;
    if (x >= kLobes)
        return 0.0;
    const double px = M_PI * x;
    return kLobes * std::sin(px) * std::sin(px / kLobes) / (px * px);
}

// The filter taps of one axis: for each output pixel first..first+count-1, a run of source
// pixels starting at start[i] with taps[i] fixed-point weights at weights[i * stride].
struct AxisFilter {
    int first = 0;
    int count = 0;
    int stride = 0;
    std::vector<int> start;
    std::vector<int> taps;
    std::vector<int16_t> weights;

    int SourceBegin() const { return start.front(); }
    int SourceEnd() const
    {
        int end = 0;
        for (int i = 0; i < count; ++i)
            end = std::max(end, start[i] + taps[i]);
        return end;
    }
    long long TapCount() const
    {
        long long total = 0;
        for (int t : taps)
            total += t;
        return total;
    }
    void ShiftSource(int offset)
    {
        for (int &s : start)
            s -= offset;
    }
};

// Weights mapping the source span [srcStart, srcStart + srcLength) of a line of sourceLength
// pixels onto [destStart, destStart + destLength) of a line of canvasLength pixels.
AxisFilter MakeAxisFilter(int sourceLength, double srcStart, double srcLength, double destStart,
                          double destLength, int canvasLength)
{
    AxisFilter filter;
    const double destEnd = destStart + destLength;
    const int out0 = std::max(0, int(std::floor(destStart)));
    const int out1 = std::min(canvasLength, int(std::ceil(destEnd)));
    const int in0 = std::max(0, int(std::floor(srcStart)));
    const int in1 = std::min(sourceLength, int(std::ceil(srcStart + srcLength)));
    if (out1 <= out0 || in1 <= in0)
        return filter;

    const double scale = srcLength / destLength;
    const double filterScale = std::max(scale, 1.0);
    const double support = kLobes * filterScale;
    filter.first = out0;
    filter.count = out1 - out0;
    filter.stride = int(std::ceil(2 * support)) + 2;
    filter.start.resize(filter.count);
    filter.taps.resize(filter.count);
    filter.weights.assign(size_t(filter.count) * filter.stride, 0);

    std::vector<double> w(filter.stride);
    for (int i = 0; i < filter.count; ++i) {
        const int out = out0 + i;
        const double coverage =
            std::clamp(std::min(out + 1.0, destEnd) - std::max(double(out), destStart), 0.0, 1.0);
        const double center = srcStart + (out + 0.5 - destStart) * scale;
        int lo = std::max(in0, int(std::floor(center - support)));
        int hi = std::min(in1, int(std::ceil(center + support)));
        hi = std::min(hi, lo + filter.stride);
        double sum = 0;
        for (int j = lo; j < hi; ++j) {
            w[j - lo] = Lanczos((j + 0.5 - center) / filterScale);
            sum += w[j - lo];
        }
        if (hi <= lo || std::fabs(sum) < 1e-12) { // the centre lies outside the source span
            lo = std::clamp(int(std::floor(center)), in0, in1 - 1);
            hi = lo + 1;
            w[0] = sum = 1.0;
        }
        // Fixed-point weights whose sum is exactly the coverage, so flat areas stay flat.
        int16_t *fixed = &filter.weights[size_t(i) * filter.stride];
        int fixedSum = 0, largest = 0;
        for (int j = 0; j < hi - lo; ++j) {
            fixed[j] = int16_t(std::lround(w[j] / sum * coverage * kWeightOne));
            fixedSum += fixed[j];
            if (std::abs(fixed[j]) > std::abs(fixed[largest]))
                largest = j;
        }
        fixed[largest] = int16_t(fixed[largest] + int(std::lround(coverage * kWeightOne)) - fixedSum);
        filter.start[i] = lo;
        filter.taps[i] = hi - lo;
    }
    return filter;
}

inline __m128i WeightPair(int16_t first, int16_t second)
{
    return _mm_set1_epi32(int32_t(uint16_t(first)) | (int32_t(uint16_t(second)) << 16));
}

inline __m128i LoadPixel(const uint8_t *p)
{
    int32_t v;
    std::memcpy(&v, p, 4);
    return _mm_cvtsi32_si128(v);
}

inline void StorePixel(uint8_t *p, __m128i sums)
{
    const __m128i packed = _mm_packus_epi16(_mm_packs_epi32(sums, sums), sums);
    const int32_t v = _mm_cvtsi128_si32(packed);
    std::memcpy(p, &v, 4);
}

// One row along the horizontal filter: out receives filter.count pixels.
void FilterRow(const uint8_t *row, const AxisFilter &filter, uint8_t *out)
{
    const __m128i zero = _mm_setzero_si128();
    for (int i = 0; i < filter.count; ++i) {
        const uint8_t *p = row + size_t(filter.start[i]) * 4;
        const int16_t *w = &filter.weights[size_t(i) * filter.stride];
        const int n = filter.taps[i];
        __m128i sums = _mm_set1_epi32(kWeightOne / 2);
        int k = 0;
        for (; k + 1 < n; k += 2) {
            const __m128i two = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(p + k * 4)), zero);
            const __m128i paired = _mm_unpacklo_epi16(two, _mm_srli_si128(two, 8));
            sums = _mm_add_epi32(sums, _mm_madd_epi16(paired, WeightPair(w[k], w[k + 1])));
        }
        if (k < n) {
            const __m128i one = _mm_unpacklo_epi16(_mm_unpacklo_epi8(LoadPixel(p + k * 4), zero), zero);
            sums = _mm_add_epi32(sums, _mm_madd_epi16(one, WeightPair(w[k], 0)));
        }
        StorePixel(out + size_t(i) * 4, _mm_srai_epi32(sums, kWeightBits));
    }
}

// One output row along the vertical filter: rows[k] are the source rows, bytes per row given.
void FilterColumns(const uint8_t *const *rows, const int16_t *w, int n, int bytes, uint8_t *out)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i half = _mm_set1_epi32(kWeightOne / 2);
    int x = 0;
    for (; x + 16 <= bytes; x += 16) {
        __m128i s0 = half, s1 = half, s2 = half, s3 = half;
        for (int k = 0; k < n; k += 2) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(rows[k] + x));
            const __m128i b = k + 1 < n
                ? _mm_loadu_si128(reinterpret_cast<const __m128i *>(rows[k + 1] + x)) : zero;
            const __m128i weights = WeightPair(w[k], k + 1 < n ? w[k + 1] : 0);
            const __m128i lo = _mm_unpacklo_epi8(a, b);
            const __m128i hi = _mm_unpackhi_epi8(a, b);
            s0 = _mm_add_epi32(s0, _mm_madd_epi16(_mm_unpacklo_epi8(lo, zero), weights));
            s1 = _mm_add_epi32(s1, _mm_madd_epi16(_mm_unpackhi_epi8(lo, zero), weights));
            s2 = _mm_add_epi32(s2, _mm_madd_epi16(_mm_unpacklo_epi8(hi, zero), weights));
            s3 = _mm_add_epi32(s3, _mm_madd_epi16(_mm_unpackhi_epi8(hi, zero), weights));
        }
        const __m128i first = _mm_packs_epi32(_mm_srai_epi32(s0, kWeightBits), _mm_srai_epi32(s1, kWeightBits));
        const __m128i second = _mm_packs_epi32(_mm_srai_epi32(s2, kWeightBits), _mm_srai_epi32(s3, kWeightBits));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + x), _mm_packus_epi16(first, second));
    }
    for (; x < bytes; ++x) {
        int sum = kWeightOne / 2;
        for (int k = 0; k < n; ++k)
            sum += rows[k][x] * w[k];
        out[x] = uint8_t(std::clamp(sum >> kWeightBits, 0, 255));
    }
}

// Vertical pass: source rows come from sourceRow(index), output row i goes to outRow(i).
template <typename SourceRow, typename OutRow>
void FilterImageColumns(const AxisFilter &filter, int bytesPerRow, SourceRow sourceRow,
                        OutRow outRow)
{
    std::vector<const uint8_t *> rows(filter.stride);
    for (int i = 0; i < filter.count; ++i) {
        for (int k = 0; k < filter.taps[i]; ++k)
            rows[k] = sourceRow(filter.start[i] + k);
        FilterColumns(rows.data(), &filter.weights[size_t(i) * filter.stride], filter.taps[i],
                      bytesPerRow, outRow(i));
    }
}

// Ringing can push a colour above its alpha; premultiplied pixels must not have that.
void ClampToAlpha(QImage &image)
{
    const __m128i alphaMask = _mm_set1_epi32(int32_t(0xFF000000u));
    for (int y = 0; y < image.height(); ++y) {
        uint8_t *p = image.scanLine(y);
        int x = 0;
        for (; x + 4 <= image.width(); x += 4, p += 16) {
            const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
            __m128i alpha = _mm_and_si128(pixels, alphaMask);
            alpha = _mm_or_si128(alpha, _mm_srli_epi32(alpha, 8));
            alpha = _mm_or_si128(alpha, _mm_srli_epi32(alpha, 16));
            _mm_storeu_si128(reinterpret_cast<__m128i *>(p), _mm_min_epu8(pixels, alpha));
        }
        for (; x < image.width(); ++x, p += 4)
            for (int c = 0; c < 3; ++c)
                p[c] = std::min(p[c], p[3]);
    }
}

} // namespace

ResampledLayer ResampleLanczos(const QImage &picture, VexaRectF src, VexaRectF dest,
                               QSize canvasSize)
{
    ResampledLayer layer;
    if (!(src.width > 0 && src.height > 0 && dest.width > 0 && dest.height > 0))
        return layer;
    AxisFilter horizontal = MakeAxisFilter(picture.width(), src.x, src.width, dest.x,
                                           dest.width, canvasSize.width());
    AxisFilter vertical = MakeAxisFilter(picture.height(), src.y, src.height, dest.y,
                                         dest.height, canvasSize.height());
    if (horizontal.count == 0 || vertical.count == 0)
        return layer;

    QImage out(horizontal.count, vertical.count, QImage::Format_ARGB32_Premultiplied);
    if (out.isNull())
        return layer;
    const int rowBegin = vertical.SourceBegin(), rowEnd = vertical.SourceEnd();
    const int columnBegin = horizontal.SourceBegin(), columnEnd = horizontal.SourceEnd();
    // Filter first along the axis that leaves less work for the second pass.
    const long long horizontalFirst = (rowEnd - rowBegin) * horizontal.TapCount() +
                                      horizontal.count * vertical.TapCount();
    const long long verticalFirst = (columnEnd - columnBegin) * vertical.TapCount() +
                                    vertical.count * horizontal.TapCount();
    const int outBytes = horizontal.count * 4;
    if (horizontalFirst <= verticalFirst) {
        const size_t pitch = size_t(outBytes);
        std::vector<uint8_t> middle(pitch * (rowEnd - rowBegin));
        for (int y = rowBegin; y < rowEnd; ++y)
            FilterRow(picture.constScanLine(y), horizontal, &middle[pitch * (y - rowBegin)]);
        FilterImageColumns(vertical, outBytes,
                           [&](int y) { return &middle[pitch * (y - rowBegin)]; },
                           [&](int i) { return out.scanLine(i); });
    } else {
        const size_t pitch = size_t(columnEnd - columnBegin) * 4;
        std::vector<uint8_t> middle(pitch * vertical.count);
        FilterImageColumns(vertical, int(pitch),
                           [&](int y) { return picture.constScanLine(y) + size_t(columnBegin) * 4; },
                           [&](int i) { return &middle[pitch * i]; });
        horizontal.ShiftSource(columnBegin);
        for (int y = 0; y < vertical.count; ++y)
            FilterRow(&middle[pitch * y], horizontal, out.scanLine(y));
    }
    ClampToAlpha(out);
    layer.image = std::move(out);
    layer.origin = QPoint(horizontal.first, vertical.first);
    return layer;
}

bool BlendLayer(const ResampledLayer &layer, QImage &target)
{
    const bool opaqueTarget = target.format() == QImage::Format_RGB32;
    if (!opaqueTarget && target.format() != QImage::Format_ARGB32)
        return false;
    const QRect area = QRect(layer.origin, layer.image.size()) & target.rect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto *from = reinterpret_cast<const QRgb *>(layer.image.constScanLine(y - layer.origin.y())) +
                           (area.left() - layer.origin.x());
        auto *to = reinterpret_cast<QRgb *>(target.scanLine(y)) + area.left();
        for (int x = 0; x < area.width(); ++x) {
            const QRgb s = from[x];
            const int sa = qAlpha(s);
            if (sa == 255) {
                to[x] = s;
                continue;
            }
            if (sa == 0)
                continue;
            // Source over destination in premultiplied terms, back to straight alpha.
            const QRgb d = to[x];
            const int da = opaqueTarget ? 255 : qAlpha(d);
            const int keep = 255 - sa;
            const int outAlpha = sa + (da * keep + 127) / 255;
            if (outAlpha == 0)
                continue;
            const auto channel = [&](int sc, int dc) {
                const int premultiplied = sc * 255 + dc * da * keep / 255;
                return std::min(255, (premultiplied + outAlpha / 2) / outAlpha);
            };
            to[x] = qRgba(channel(qRed(s), qRed(d)), channel(qGreen(s), qGreen(d)),
                          channel(qBlue(s), qBlue(d)), opaqueTarget ? 255 : outAlpha);
        }
    }
    return true;
}
