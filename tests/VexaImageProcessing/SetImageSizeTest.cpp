// VexaSetImageSize: fitting, output names and types, orientation, bad input, threads.

#include "ImageLog.h"
#include "PictureFixtures.h"
#include "VexaImageProcessing.h"

#include <gtest/gtest.h>

#include <QFileInfo>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace {

class SetImageSizeTest : public ::testing::Test {
protected:
    QString Path(const QString &name) const { return m_dir.filePath(name); }

    QString WritePicture(const QString &name, const QImage &image, const char *format = "png")
    {
        const QString path = Path(name);
        WriteTestFile(path, Encoded(image, format));
        return path;
    }

    int SetSize(const QString &source, const QString &dest, int maxWidth, int maxHeight,
                int outType = VEXA_OUT_JPEG)
    {
        return VexaSetImageSize(reinterpret_cast<const char16_t *>(source.utf16()),
                                reinterpret_cast<const char16_t *>(dest.utf16()), maxWidth,
                                maxHeight, outType, 80);
    }

    QStringList Files() const { return QDir(m_dir.path()).entryList(QDir::Files); }

    QTemporaryDir m_dir;
};

struct FitCase {
    QSize source;
    QSize box;
    QSize expected;
};

TEST_F(SetImageSizeTest, FitsIntoTheBoxKeepingTheAspectRatio)
{
    const FitCase cases[] = {
        {{400, 300}, {640, 480}, {400, 300}},  // small pictures are never enlarged
        {{1000, 750}, {640, 480}, {640, 480}}, // a tie: the height fills the box
        {{1000, 500}, {640, 480}, {640, 320}},
        {{500, 1000}, {640, 480}, {240, 480}},
        {{1000, 501}, {640, 480}, {640, 320}}, // 320.64, truncated
        {{4000, 3000}, {240, 180}, {240, 180}},
        {{3001, 2003}, {1600, 1200}, {1600, 1067}}, // 1067.9, truncated
    };
    for (const FitCase &c : cases) {
        SCOPED_TRACE(QStringLiteral("%1x%2 into %3x%4").arg(c.source.width()).arg(c.source.height())
                         .arg(c.box.width()).arg(c.box.height()).toStdString());
        const QString source = WritePicture("fit.jpg", RampPicture(c.source.width(), c.source.height()), "jpeg");
        ASSERT_EQ(SetSize(source, Path("fit-out.jpeg"), c.box.width(), c.box.height()), 1);
        EXPECT_EQ(ReadBack(Path("fit-out.jpeg")).size(), c.expected);
    }
}

TEST_F(SetImageSizeTest, ScaledCopyKeepsThePictureInPlace)
{
    // A ramp reduced through the DCT and the resampler still runs from black to white, and a
    // red left quarter stays a quarter: no shift, no mirroring, no lost edge.
    const QString ramp = WritePicture("ramp.jpg", RampPicture(2400, 1800), "jpeg");
    ASSERT_EQ(SetSize(ramp, Path("ramp-out.jpeg"), 240, 180), 1);
    const QImage small = ReadBack(Path("ramp-out.jpeg"));
    ASSERT_EQ(small.size(), QSize(240, 180));
    for (int x : {0, 60, 120, 180, 239}) {
        const int expected = int((x + 0.5) * 255 / 240);
        EXPECT_NEAR(qGray(small.pixel(x, 90)), expected, 6) << "column " << x;
    }

    const QString split = WritePicture("split.jpg", SplitPicture(1280, 960, 0.25), "jpeg");
    ASSERT_EQ(SetSize(split, Path("split-out.png"), 320, 240, VEXA_OUT_PNG), 1);
    const QImage quarter = ReadBack(Path("split-out.png"));
    EXPECT_TRUE(Near(quarter.pixel(77, 120), qRgb(255, 0, 0), 24));
    EXPECT_TRUE(Near(quarter.pixel(83, 120), qRgb(0, 0, 255), 24));
    EXPECT_EQ(qAlpha(quarter.pixel(0, 0)), 255);
    EXPECT_EQ(qAlpha(quarter.pixel(319, 239)), 255);
}

TEST_F(SetImageSizeTest, OutputNameTakesTheTypesExtension)
{
    const QString source = WritePicture("x.png", SplitPicture(40, 30));
    QDir(m_dir.path()).mkpath("a.b");

    // Only the file name's extension changes; a dot in a folder name is left alone.
    ASSERT_EQ(SetSize(source, Path("a.b/photo"), 640, 480), 1);
    EXPECT_TRUE(QFileInfo::exists(Path("a.b/photo.jpeg")));
    EXPECT_FALSE(QFileInfo::exists(Path("a.jpeg")));

    ASSERT_EQ(SetSize(source, Path("thumb.jpg"), 640, 480), 1);
    EXPECT_TRUE(QFileInfo::exists(Path("thumb.jpeg")));
    EXPECT_FALSE(QFileInfo::exists(Path("thumb.jpg")));

    // No length limit on paths.
    const QString folder(120, QLatin1Char('d')), name(120, QLatin1Char('n'));
    const QString deep = Path(folder + "/" + folder + "/" + folder);
    QDir().mkpath(deep);
    ASSERT_EQ(SetSize(source, deep + "/" + name + ".png", 640, 480), 1);
    EXPECT_TRUE(QFileInfo::exists(deep + "/" + name + ".jpeg"));
}

TEST_F(SetImageSizeTest, EmptyDestinationWritesBesideTheSource)
{
    const QString source = WritePicture("x.png", SplitPicture(40, 30));
    const std::u16string path = U16(source);
    ASSERT_EQ(VexaSetImageSize(path.c_str(), u"", 640, 480, VEXA_OUT_JPEG, 80), 1);
    EXPECT_EQ(ReadBack(Path("x.jpeg")).size(), QSize(40, 30));
    ASSERT_TRUE(QFile::remove(Path("x.jpeg")));
    ASSERT_EQ(VexaSetImageSize(path.c_str(), nullptr, 20, 20, VEXA_OUT_JPEG, 80), 1);
    EXPECT_EQ(ReadBack(Path("x.jpeg")).size(), QSize(20, 15));
    EXPECT_TRUE(QFileInfo::exists(source));
}

TEST_F(SetImageSizeTest, WritesOverItsOwnSource)
{
    const QString source = WritePicture("self.jpeg", SplitPicture(800, 600), "jpeg");
    ASSERT_EQ(SetSize(source, source, 240, 180), 1);
    EXPECT_EQ(ReadBack(source).size(), QSize(240, 180));
    EXPECT_EQ(Files(), QStringList{"self.jpeg"}); // no temporary file left behind
}

TEST_F(SetImageSizeTest, WritesEachOutputType)
{
    const QString source = WritePicture("x.png", SplitPicture(64, 48));
    const struct {
        int type;
        const char *file;
        QByteArray magic;
    } types[] = {
        {VEXA_OUT_BMP, "out.bmp", "BM"},
        {VEXA_OUT_JPEG, "out.jpeg", "\xFF\xD8\xFF"},
        {VEXA_OUT_PNG, "out.png", "\x89PNG"},
    };
    for (const auto &t : types) {
        ASSERT_EQ(SetSize(source, Path("out"), 32, 32, t.type), 1) << t.file;
        QFile written(Path(t.file));
        ASSERT_TRUE(written.open(QIODevice::ReadOnly)) << t.file;
        EXPECT_TRUE(written.read(t.magic.size()) == t.magic) << t.file;
        EXPECT_EQ(ReadBack(Path(t.file)).size(), QSize(32, 24)) << t.file;
    }
    for (int bad : {-1, 3}) {
        EXPECT_EQ(SetSize(source, Path("bad"), 32, 32, bad), 0);
    }
    EXPECT_EQ(Files().size(), 4); // the source and the three outputs
}

TEST_F(SetImageSizeTest, AppliesExifOrientation)
{
    // Stored 40 x 20, red left and blue right. Orientation 6 turns it a quarter clockwise
    // (red on top), 8 a quarter counter-clockwise (red at the bottom).
    const struct {
        int orientation;
        QRgb top;
        QRgb bottom;
    } cases[] = {
        {6, qRgb(255, 0, 0), qRgb(0, 0, 255)},
        {8, qRgb(0, 0, 255), qRgb(255, 0, 0)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.orientation);
        const QString source = Path("turned.jpg");
        WriteTestFile(source, JpegWithOrientation(SplitPicture(40, 20), c.orientation));
        for (QSize box : {QSize(640, 480), QSize(10, 10)}) { // kept as it is, and scaled
            ASSERT_EQ(SetSize(source, Path("upright.png"), box.width(), box.height(), VEXA_OUT_PNG), 1);
            const QImage upright = ReadBack(Path("upright.png"));
            const QSize expected = box.width() > 40 ? QSize(20, 40) : QSize(5, 10);
            ASSERT_EQ(upright.size(), expected);
            EXPECT_TRUE(Near(upright.pixel(expected.width() / 2, 0), c.top, 40));
            EXPECT_TRUE(Near(upright.pixel(expected.width() / 2, expected.height() - 1), c.bottom, 40));
        }
    }
}

std::mutex g_logMutex;
std::vector<std::u16string> g_logLines;
void CollectLog(const char16_t *line)
{
    std::lock_guard lock(g_logMutex);
    g_logLines.emplace_back(line);
}

TEST_F(SetImageSizeTest, EmptyScaledCopyIsLoggedAndFails)
{
    const QString source = WritePicture("line.png", QImage(5000, 1, QImage::Format_RGB32));
    g_logLines.clear();
    SetImageLogSink(CollectLog);
    EXPECT_EQ(SetSize(source, Path("line-out.jpeg"), 640, 480), 0);
    SetImageLogSink(nullptr);
    EXPECT_EQ(g_logLines, std::vector<std::u16string>{u"Vexa Codecs: error size: 640x0"});
    EXPECT_EQ(Files(), QStringList{"line.png"});
}

QByteArray JpegWithDeclaredSize(int width, int height)
{
    QByteArray jpeg = Encoded(SplitPicture(16, 16), "jpeg");
    const qsizetype sof = jpeg.indexOf("\xFF\xC0");
    jpeg[sof + 5] = char(height >> 8);
    jpeg[sof + 6] = char(height & 0xFF);
    jpeg[sof + 7] = char(width >> 8);
    jpeg[sof + 8] = char(width & 0xFF);
    return jpeg;
}

QByteArray BmpWithDeclaredSize(int width, int height)
{
    QByteArray bmp = Encoded(SplitPicture(4, 4), "bmp");
    const auto put32 = [&](int at, int value) {
        for (int i = 0; i < 4; ++i)
            bmp[at + i] = char((value >> (8 * i)) & 0xFF);
    };
    put32(18, width);
    put32(22, height);
    return bmp;
}

TEST_F(SetImageSizeTest, BadInputFailsAndWritesNothing)
{
    const QByteArray jpeg = Encoded(RampPicture(320, 240), "jpeg");
    const QByteArray png = Encoded(RampPicture(320, 240), "png");
    QByteArray corruptJpeg = jpeg;
    for (qsizetype i = jpeg.size() / 3; i < jpeg.size() - 2; i += 7)
        corruptJpeg[i] = char(0xFF);
    const struct {
        const char *name;
        QByteArray bytes;
    } cases[] = {
        {"empty.jpg", QByteArray()},
        {"text.jpg", "This is not a picture\n"},
        {"truncated.jpg", jpeg.left(jpeg.size() / 2)},
        {"truncated.png", png.left(png.size() / 2)},
        {"corrupt.jpg", corruptJpeg},
        {"huge.jpg", JpegWithDeclaredSize(60000, 60000)},
        {"huge.bmp", BmpWithDeclaredSize(30000, 30000)},
        {"picture.emf", QByteArray("\x01\0\0\0\x6C\0\0\0", 8) + QByteArray(32, '\0') + " EMF" + QByteArray(64, '\0')},
        {"picture.wmf", QByteArray("\xD7\xCD\xC6\x9A", 4) + QByteArray(64, '\0')},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        WriteTestFile(Path(c.name), c.bytes);
        EXPECT_EQ(SetSize(Path(c.name), Path("out.jpeg"), 640, 480), 0);
        EXPECT_FALSE(QFileInfo::exists(Path("out.jpeg")));
        QFile::remove(Path(c.name));
    }
    EXPECT_EQ(SetSize(Path("missing.jpg"), Path("out.jpeg"), 640, 480), 0);
    EXPECT_EQ(VexaSetImageSize(nullptr, u"out.jpeg", 640, 480, VEXA_OUT_JPEG, 80), 0);

    // A failed save into a missing folder, and a failed load, leave an existing file as it was.
    const QString good = WritePicture("good.png", SplitPicture(40, 30));
    EXPECT_EQ(SetSize(good, Path("no/such/folder/out.jpeg"), 640, 480), 0);
    WriteTestFile(Path("keep.jpeg"), "old");
    EXPECT_EQ(SetSize(Path("missing.jpg"), Path("keep.jpeg"), 640, 480), 0);
    EXPECT_EQ(ReadTestFile(Path("keep.jpeg")), QByteArray("old"));
    EXPECT_EQ(Files(), (QStringList{"good.png", "keep.jpeg"}));
}

TEST_F(SetImageSizeTest, ManyThreadsAtOnce)
{
    constexpr int kThreads = 4, kPerThread = 6;
    const QString source = WritePicture("shared.jpg", RampPicture(1200, 900), "jpeg");
    std::atomic<int> written{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kPerThread; ++i) {
                const QString dest = Path(QStringLiteral("t%1-%2.jpeg").arg(t).arg(i));
                written += SetSize(source, dest, 160 + 40 * t, 120 + 30 * t);
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    EXPECT_EQ(written.load(), kThreads * kPerThread);
    for (int t = 0; t < kThreads; ++t)
        EXPECT_EQ(ReadBack(Path(QStringLiteral("t%1-0.jpeg").arg(t))).size(), QSize(160 + 40 * t, 120 + 30 * t));
}

} // namespace
