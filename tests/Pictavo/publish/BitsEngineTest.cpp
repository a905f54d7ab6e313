// Bit fields and the stage rectangle record.
#include "MovieFixtures.h"
#include "publish/BitsEngine.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

QByteArray Written(const std::function<void(TBitsEngine &)> &write)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    TBitsEngine bits(buffer);
    write(bits);
    return bytes;
}

TEST(BitsEngine, RectangleRecordsHaveTheExpectedBytes)
{
    // 11000 needs 14 magnitude bits, so 15 per value: 5 + 60 = 65 bits in 9 bytes, 7 padding bits.
    EXPECT_EQ(Written([](TBitsEngine &b) { b.WriteRect(0, 11000, 0, 8000); }), Rect550x400());
    EXPECT_EQ(Written([](TBitsEngine &b) { b.WriteRect(0, 19200, 0, 10800); }), Rect960x540());
    // All zero: n = 0, one byte of five zero bits and three padding bits.
    EXPECT_EQ(Written([](TBitsEngine &b) { b.WriteRect(0, 0, 0, 0); }), QByteArray(1, '\0'));
}

TEST(BitsEngine, FrameRectOrdersMinimumsAndMaximums)
{
    const TRect flipped{11000, 8000, 0, 0}; // left > right, top > bottom
    EXPECT_EQ(Written([&](TBitsEngine &b) { b.WriteFrameRect(flipped); }), Rect550x400());
    EXPECT_EQ(NormalizeRect(flipped, false), (TSWFRect{0, 11000, 0, 8000}));
    EXPECT_EQ(NormalizeRect({1, 2, 3, 4}, true), (TSWFRect{20, 60, 40, 80}));
}

TEST(BitsEngine, RectanglesReadBackAndLeaveTheStreamAfterTheRecord)
{
    const TRect cases[] = {{0, 0, 0, 0}, {0, 0, 11000, 8000}, {-1, -20, 5, 7}, {-300000, 12, 1, 200000},
                           {(1 << 29), -(1 << 29), 0, 1}};
    for (const TRect &rect : cases) {
        QByteArray bytes = Written([&](TBitsEngine &b) { b.WriteRect(rect.Left, rect.Right, rect.Top, rect.Bottom); });
        bytes += char(0x5A);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        TBitsEngine bits(buffer);
        EXPECT_EQ(bits.ReadRect(), rect);
        EXPECT_EQ(bits.ReadUI8(), 0x5A) << "record of " << rect.Left << "," << rect.Right;
    }
}

TEST(BitsEngine, ReadsSignedAndUnsignedFields)
{
    QByteArray bytes = QByteArray::fromHex("C0"); // 110 00000
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TBitsEngine bits(buffer);
    EXPECT_EQ(bits.ReadSB(3), -2);
    buffer.seek(0);
    TBitsEngine unsignedBits(buffer);
    EXPECT_EQ(unsignedBits.ReadBits(3), 6u);
    EXPECT_EQ(unsignedBits.ReadBits(0), 0u);
    // Fields spanning bytes, then whole little-endian numbers.
    QByteArray more = QByteArray::fromHex("ABCD" "3412");
    QBuffer moreBuffer(&more);
    moreBuffer.open(QIODevice::ReadOnly);
    TBitsEngine spanning(moreBuffer);
    EXPECT_EQ(spanning.ReadBits(4), 0xAu);
    EXPECT_EQ(spanning.ReadBits(12), 0xBCDu);
    EXPECT_EQ(spanning.ReadUI16(), 0x1234);
}

TEST(BitsEngine, WritesBitsMostSignificantFirstAndFlushes)
{
    EXPECT_EQ(Written([](TBitsEngine &b) { b.WriteBits(0b101, 3); b.FlushBits(false); }), QByteArray());
    EXPECT_EQ(Written([](TBitsEngine &b) { b.WriteBits(0b101, 3); b.FlushBits(true); }), QByteArray::fromHex("A0"));
    EXPECT_EQ(Written([](TBitsEngine &b) { b.WriteBits(0x7, 3); b.WriteBits(0xFFFFFFFF, 32); b.WriteBits(0, 5); }),
              QByteArray::fromHex("FFFFFFFFE0"));
    EXPECT_EQ(Written([](TBitsEngine &b) { b.WriteUB(0x1F3, 8); }), QByteArray::fromHex("F3"));
}

TEST(BitsEngine, FreeFunctions)
{
    EXPECT_EQ(BitsNeeded(0), 0);
    EXPECT_EQ(BitsNeeded(1), 1);
    EXPECT_EQ(BitsNeeded(11000), 14);
    EXPECT_EQ(BitsNeeded(0x7FFFFFFF), 31);
    EXPECT_EQ(BitsNeeded(0x80000000), 0);
    EXPECT_EQ(SignedBitsNeeded(0, 1), 0);
    EXPECT_EQ(SignedBitsNeeded(-4, 1), 4);
    EXPECT_EQ(MaxAbs(3, -19200, 7, INT32_MIN + 1), 0x7FFFFFFFu);
    EXPECT_EQ(ToFixed8(24.0f), 6144);
    EXPECT_EQ(ToFixed8(12.5f), 3200);
    EXPECT_EQ(ToFixed8(1.5f / 256), 2);   // halves go to even
    EXPECT_EQ(ToFixed8(2.5f / 256), 2);
    EXPECT_EQ(ToFixed8(-1.5f), 0xFE80);   // wraps at 16 bits
}

} // namespace
