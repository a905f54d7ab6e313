#pragma once
// Bit-packed fields of the SWF format: unsigned and signed bit fields stored most significant bit
// first, and the stage rectangle record (a 5-bit field size, four signed fields, byte padding).

#include <QIODevice>
#include <cstdint>

// A rectangle in the platform order: left = Xmin, top = Ymin, right = Xmax, bottom = Ymax.
struct TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    bool operator==(const TRect &) const = default;
};

// A rectangle in the SWF order.
struct TSWFRect {
    int32_t Xmin = 0;
    int32_t Xmax = 0;
    int32_t Ymin = 0;
    int32_t Ymax = 0;
    bool operator==(const TSWFRect &) const = default;
};

// Reads or writes bit fields on a byte stream it does not own. One engine is used either for
// reading or for writing, never both. Stream failures raise AppError.
class TBitsEngine {
public:
    explicit TBitsEngine(QIODevice &stream) : Stream(stream) {}

    // Appends the low `count` bits of `value` (0..32; 0 writes nothing).
    void WriteBits(uint32_t value, int count);
    // The caller gives a `count` that holds the sign.
    void WriteSB(int32_t value, int count) { WriteBits(static_cast<uint32_t>(value), count); }
    // Bit field from the low byte of `value`.
    void WriteUB(uint32_t value, int count) { WriteBits(value & 0xFF, count); }
    // Ends a bit run: with `pad`, zero bits complete the pending byte and write it; without,
    // pending bits are dropped.
    void FlushBits(bool pad);
    void WriteRect(int32_t xmin, int32_t xmax, int32_t ymin, int32_t ymax);
    // Writes a platform-order rectangle after ordering each minimum below its maximum.
    void WriteFrameRect(const TRect &rect);

    // Whole bytes; pending bits are ignored.
    uint8_t ReadUI8();
    uint16_t ReadUI16();
    // The next `count` bits as an unsigned number; a count of 0 or less gives 0.
    uint32_t ReadBits(int count);
    int32_t ReadSB(int count);
    // Reads a rectangle record and skips the rest of its last byte.
    TRect ReadRect();

private:
    QIODevice &Stream;
    uint8_t BitBuffer = 0;
    uint8_t BitCount = 0;
};

// 0 for 0; otherwise the smallest c (1..31) with value < 2^c; 0 for values of 2^31 and more.
int BitsNeeded(uint32_t value);
// 0 for 0; otherwise BitsNeeded(|value|) + extra (the writers pass 1 for the sign bit).
int SignedBitsNeeded(int32_t value, int extra);
// The largest of the four magnitudes.
uint32_t MaxAbs(int32_t a, int32_t b, int32_t c, int32_t d);
// SWF-order values with each minimum not above its maximum; `toTwips` multiplies each by 20.
TSWFRect NormalizeRect(const TRect &rect, bool toTwips);
// 8.8 fixed point: integer part × 256 plus the fraction × 256 rounded half to even, modulo 2^16.
uint16_t ToFixed8(float x);
