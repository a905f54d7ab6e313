#include "publish/BitsEngine.h"

#include "platform/AppError.h"
#include "publish/StreamIO.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

uint32_t LowBits(uint64_t value, int count)
{
    return count >= 32 ? static_cast<uint32_t>(value) : static_cast<uint32_t>(value & ((1ULL << count) - 1));
}

uint32_t Magnitude(int32_t value)
{
    // Computed in 64 bits so that the most negative value has a magnitude too.
    return static_cast<uint32_t>(std::llabs(static_cast<int64_t>(value)));
}

} // namespace

void TBitsEngine::WriteBits(uint32_t value, int count)
{
    if (count <= 0)
        return;
    const uint32_t v = LowBits(value, count);
    const int total = BitCount + count;
    const int whole = total / 8;
    if (whole == 0) {
        BitBuffer = static_cast<uint8_t>((BitBuffer << count) | v);
        BitCount = static_cast<uint8_t>(total);
        return;
    }
    const int rest = total % 8;
    uint64_t out;
    if (rest == 0) {
        out = (static_cast<uint64_t>(BitBuffer) << count) + v;
        BitBuffer = 0;
        BitCount = 0;
    } else {
        out = (static_cast<uint64_t>(BitBuffer) << (count - rest)) + (v >> rest);
        BitCount = static_cast<uint8_t>(rest);
        BitBuffer = static_cast<uint8_t>(LowBits(value, rest));
    }
    char bytes[5];
    for (int i = 0; i < whole; ++i)
        bytes[i] = static_cast<char>(out >> (8 * (whole - 1 - i)));
    WriteAll(Stream, bytes, whole);
}

void TBitsEngine::FlushBits(bool pad)
{
    if (BitCount > 0 && pad) {
        const char byte = static_cast<char>(BitBuffer << (8 - BitCount));
        WriteAll(Stream, &byte, 1);
    }
    BitBuffer = 0;
    BitCount = 0;
}

void TBitsEngine::WriteRect(int32_t xmin, int32_t xmax, int32_t ymin, int32_t ymax)
{
    // The 5-bit size field holds at most 31 bits per value, the sign included.
    const uint32_t largest = MaxAbs(xmin, xmax, ymin, ymax);
    if (largest >= (1u << 30))
        throw AppError(QStringLiteral("A stage rectangle of %1 twips does not fit the movie header").arg(largest));
    const int n = SignedBitsNeeded(static_cast<int32_t>(largest), 1);
    WriteUB(static_cast<uint32_t>(n), 5);
    WriteSB(xmin, n);
    WriteSB(xmax, n);
    WriteSB(ymin, n);
    WriteSB(ymax, n);
    FlushBits(true);
}

void TBitsEngine::WriteFrameRect(const TRect &rect)
{
    const TSWFRect r = NormalizeRect(rect, false);
    WriteRect(r.Xmin, r.Xmax, r.Ymin, r.Ymax);
}

uint8_t TBitsEngine::ReadUI8()
{
    return static_cast<uint8_t>(ReadExactly(Stream, 1)[0]);
}

uint16_t TBitsEngine::ReadUI16()
{
    const QByteArray bytes = ReadExactly(Stream, 2);
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes[0]) | (static_cast<uint8_t>(bytes[1]) << 8));
}

uint32_t TBitsEngine::ReadBits(int count)
{
    if (count <= 0)
        return 0;
    uint64_t result = 0;
    while (count > BitCount) {
        result |= static_cast<uint64_t>(BitBuffer) << (count - BitCount);
        count -= BitCount;
        BitBuffer = ReadUI8();
        BitCount = 8;
    }
    result |= static_cast<uint64_t>(BitBuffer >> (BitCount - count));
    BitCount = static_cast<uint8_t>(BitCount - count);
    BitBuffer = static_cast<uint8_t>(BitBuffer & ((1u << BitCount) - 1));
    return static_cast<uint32_t>(result);
}

int32_t TBitsEngine::ReadSB(int count)
{
    const uint32_t bits = ReadBits(count);
    if (count <= 0 || count >= 32)
        return static_cast<int32_t>(bits);
    const uint32_t sign = 1u << (count - 1);
    return static_cast<int32_t>((bits ^ sign) - sign);
}

TRect TBitsEngine::ReadRect()
{
    const int n = static_cast<int>(ReadBits(5));
    TRect rect;
    rect.Left = ReadSB(n);
    rect.Right = ReadSB(n);
    rect.Top = ReadSB(n);
    rect.Bottom = ReadSB(n);
    FlushBits(false);
    return rect;
}

int BitsNeeded(uint32_t value)
{
    if (value == 0)
        return 0;
    for (int c = 1; c <= 31; ++c)
        if (value < (1u << c))
            return c;
    return 0;
}

int SignedBitsNeeded(int32_t value, int extra)
{
    return value == 0 ? 0 : BitsNeeded(Magnitude(value)) + extra;
}

uint32_t MaxAbs(int32_t a, int32_t b, int32_t c, int32_t d)
{
    return std::max({Magnitude(a), Magnitude(b), Magnitude(c), Magnitude(d)});
}

TSWFRect NormalizeRect(const TRect &rect, bool toTwips)
{
    const int32_t scale = toTwips ? 20 : 1;
    return {std::min(rect.Left, rect.Right) * scale, std::max(rect.Left, rect.Right) * scale,
            std::min(rect.Top, rect.Bottom) * scale, std::max(rect.Top, rect.Bottom) * scale};
}

uint16_t ToFixed8(float x)
{
    const double value = x;
    const double whole = std::trunc(value);
    const double fraction = std::nearbyint((value - whole) * 256.0);
    return static_cast<uint16_t>(static_cast<int64_t>(whole * 256.0 + fraction));
}
