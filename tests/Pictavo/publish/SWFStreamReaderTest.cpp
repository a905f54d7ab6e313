// Reading, resizing and writing Flash movie headers.
#include "MovieFixtures.h"
#include "TestFiles.h"
#include "platform/AppError.h"
#include "publish/ProgressReceiver.h"
#include "publish/SWFStreamReader.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct NoticeRecorder : TProgressReceiver {
    void PublishProgress(int, int) override {}
    void PublishNotice(const QString &text) override { notices << text; }
    QStringList notices;
};

class SWFStreamReaderTest : public ::testing::Test {
protected:
    QByteArray Resized(const QByteArray &movie, int width, int height)
    {
        WriteTestFile(dir.filePath("in.swf"), movie);
        ResizeMovie(dir.filePath("in.swf"), dir.filePath("out.swf"), width, height, receiver);
        return ReadTestFile(dir.filePath("out.swf"));
    }
    QTemporaryDir dir;
    NoticeRecorder receiver;
};

TEST_F(SWFStreamReaderTest, CompressedMovieIsResizedKeepingItsTags)
{
    const QByteArray tags = SampleTags() + QByteArray(5000, 'x') + QByteArray::fromHex("0000");
    const QByteArray out = Resized(MakeMovie(true, 10, Rect550x400(), 0x1800, 42, tags), 960, 540);
    ASSERT_EQ(out.left(4), QByteArray("CWS") + char(10));
    const QByteArray inflated = InflateMovie(out);
    const QByteArray expected = Rect960x540() + QByteArray::fromHex("0018" "2A00") + tags;
    EXPECT_EQ(inflated, expected);
    // The length field: header of ceil((16 × 4 + 5) / 8) + 12 = 21 bytes plus the body.
    EXPECT_EQ(out.mid(4, 4), LittleEndian32(21 + tags.size()));

    TSWFStreamReader reader(dir.filePath("out.swf"));
    EXPECT_TRUE(reader.Compressed);
    EXPECT_EQ(reader.FrameRect, (TRect{0, 0, 19200, 10800}));
    EXPECT_EQ(reader.HeaderSize(), 21);
    EXPECT_EQ(reader.Body, tags);
}

TEST_F(SWFStreamReaderTest, VersionIsRaisedToSixOnlyForCompressedMovies)
{
    struct Case { bool compressed; int version; int written; };
    for (const Case c : {Case{false, 5, 5}, Case{true, 5, 6}, Case{true, 6, 6}, Case{false, 9, 9}, Case{true, 3, 6}}) {
        const QByteArray out = Resized(MakeMovie(c.compressed, c.version, Rect550x400(), 0x0C00, 1, SampleTags()), 100, 100);
        ASSERT_GE(out.size(), 4);
        EXPECT_EQ(out.left(3), c.compressed ? QByteArray("CWS") : QByteArray("FWS"));
        EXPECT_EQ(int(out[3]), c.written) << "version " << c.version << (c.compressed ? " compressed" : "");
    }
}

TEST_F(SWFStreamReaderTest, UncompressedMovieKeepsTrailingBytesAndFrameRateFraction)
{
    // 24.5 frames per second (0x1880) and 12.5 (0x0C80) stay as they are; only the stage changes.
    for (const quint16 rate : {quint16(0x1880), quint16(0x0C80)}) {
        const QByteArray trailing("after the end tag");
        const QByteArray out = Resized(MakeMovie(false, 8, Rect550x400(), rate, 7, SampleTags(), trailing), 960, 540);
        const QByteArray body = SampleTags() + trailing;
        QByteArray expected = QByteArray("FWS") + char(8) + LittleEndian32(21 + body.size()) + Rect960x540();
        expected += char(rate & 0xFF);
        expected += char(rate >> 8);
        expected += QByteArray::fromHex("0700") + body;
        EXPECT_EQ(out, expected);
    }
}

TEST_F(SWFStreamReaderTest, SomethingElseIsNotReadAsAMovie)
{
    TSWFStreamReader reader;
    for (const QByteArray &bytes : {QByteArray("FWS"), QByteArray("fws\x09\x10\0\0\0"), QByteArray("GIF89a....")}) {
        WriteTestFile(dir.filePath("x.bin"), bytes);
        reader.LoadFromFile(dir.filePath("x.bin"));
        EXPECT_FALSE(reader.Valid);
        EXPECT_TRUE(reader.Body.isEmpty());
        EXPECT_EQ(reader.FrameRect, TRect{});
    }
    // Saved, it is a bare uncompressed header with the stage size.
    EXPECT_EQ(Resized("GIF89a, not a movie", 550, 400),
              QByteArray("FWS") + char(9) + LittleEndian32(21) + Rect550x400() +
                  QByteArray(4, '\0'));
}

TEST_F(SWFStreamReaderTest, DamagedMoviesRaise)
{
    QByteArray compressed = MakeMovie(true, 10, Rect550x400(), 0x1800, 1, QByteArray(3000, 'y'));
    compressed.chop(compressed.size() / 2);
    QByteArray lying = MakeMovie(true, 10, Rect550x400(), 0x1800, 1, SampleTags());
    lying.replace(4, 4, LittleEndian32(0x7FFFFFF0)); // claims far more than the stream holds
    const QByteArray shortHeader = QByteArray("FWS") + char(9) + LittleEndian32(100) + QByteArray::fromHex("78");
    for (const QByteArray &movie : {compressed, lying, shortHeader}) {
        WriteTestFile(dir.filePath("bad.swf"), movie);
        EXPECT_THROW(TSWFStreamReader(dir.filePath("bad.swf")), AppError);
    }
}

TEST_F(SWFStreamReaderTest, MissingSourceIsReportedAndNothingWritten)
{
    ResizeMovie(dir.filePath("none.swf"), dir.filePath("out.swf"), 960, 540, receiver);
    EXPECT_EQ(receiver.notices, QStringList{dir.filePath("none.swf") + " do not exists."});
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("out.swf")));
}

} // namespace
