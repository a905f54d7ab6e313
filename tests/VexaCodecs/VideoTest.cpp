// Video pictures: encoded from 32-bit pixels and decoded back, display and resize sizes, the
// drain of held-back pictures and the stand-alone picture scaler.

#include "CodecTestSupport.h"

#include <cmath>

using namespace codectest;

namespace {

constexpr int kWidth = 160, kHeight = 120, kFrames = 20;

// A moving pattern: smooth gradients and a bright square that travels.
std::vector<uint8_t> Picture(int index)
{
    std::vector<uint8_t> p(size_t(kWidth) * kHeight * 4);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            uint8_t *px = &p[(size_t(y) * kWidth + x) * 4];
            const bool square = x >= index * 4 && x < index * 4 + 30 && y >= 40 && y < 70;
            px[0] = uint8_t(square ? 240 : x + index * 3);  // B
            px[1] = uint8_t(square ? 230 : y * 2);          // G
            px[2] = uint8_t(square ? 20 : (x + y) / 2);     // R
            px[3] = 255;
        }
    return p;
}

double Psnr(const std::vector<uint8_t> &a, const uint8_t *b)
{
    double squares = 0;
    size_t n = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        if (i % 4 == 3)
            continue;  // alpha is not carried by the video
        const double d = double(a[i]) - b[i];
        squares += d * d;
        ++n;
    }
    return 10 * std::log10(255.0 * 255.0 / std::max(squares / n, 1e-9));
}

} // namespace

TEST(Video, PicturesEncodeAndDecodeBack)
{
    const struct {
        const char *name;
        int formatId, videoCodec;
    } cases[] = {{"pictures.avi", 9, 2}, {"pictures.mp4", 5, 5}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const std::filesystem::path path = ScratchFolder() / c.name;
        FmtContext context{};
        Wide(path).copy(context.filePath, 259);
        context.formatId = c.formatId;
        context.videoCodec = c.videoCodec;
        context.audioCodec = -1;
        context.frameRateNum = 25;
        context.frameRateDen = 1;
        context.videoBitRate = 2000000;
        context.width = kWidth;
        context.height = kHeight;
        MediaEncoder *encoder = VexaInitializeEncoder(&context);
        ASSERT_NE(encoder, nullptr);
        const std::vector<uint8_t> first = Picture(0);
        EXPECT_EQ(VexaAddVideoFrame(kWidth, kHeight, 2, first.data(), 0, encoder), 0);
        EXPECT_EQ(VexaAddAudioFrame(first.data(), 100, encoder), 0);  // no audio stream
        EXPECT_EQ(VexaCloseAudio(encoder), 0);
        for (int i = 0; i < kFrames; ++i) {
            const std::vector<uint8_t> p = Picture(i);
            if (i % 2) {
                ASSERT_EQ(VexaAddVideoFrame(kWidth, kHeight, 1, p.data(), 0, encoder), 1);
            } else {
                // Bottom-up: the first row read is the picture's top row, stepping backwards.
                std::vector<uint8_t> flipped(p.size());
                for (int y = 0; y < kHeight; ++y)
                    std::memcpy(&flipped[size_t(kHeight - 1 - y) * kWidth * 4], &p[size_t(y) * kWidth * 4], kWidth * 4);
                VideoFrame frame{&flipped[size_t(kHeight - 1) * kWidth * 4], kWidth, kHeight, -kWidth * 4, 0, 0, 0};
                ASSERT_EQ(VexaAddVideoFrameEx(&frame, encoder), 1);
            }
        }
        LogCapture::Clear();
        ASSERT_EQ(VexaDeInitializeEncoder(encoder), 1);
        EXPECT_TRUE(LogCapture::Has("Vexa Codecs: succeed to close video stream."));

        LoadedFile file(path);
        ASSERT_NE(file.decoder, nullptr);
        ASSERT_EQ(file.info->count, 1);
        EXPECT_EQ(file.info->streams[0]->width, kWidth);
        ASSERT_EQ(VexaGetVideoBuffersize(file.decoder), kWidth * kHeight * 4);
        std::vector<uint8_t> buffer(kWidth * kHeight * 4);
        VideoFrame out{buffer.data(), 0, 0, 0, int32_t(buffer.size()), 0, 0};
        int decoded = 0;
        while (VexaGetNextVideoFrame(&out, file.decoder)) {
            ASSERT_LT(decoded, kFrames);
            EXPECT_EQ(out.width, kWidth);
            EXPECT_EQ(out.stride, kWidth * 4);
            EXPECT_EQ(out.pts, decoded * kTicksPerSecond / 25);
            EXPECT_NEAR(out.nextPts, (decoded + 1) * kTicksPerSecond / 25, 1);
            EXPECT_GT(Psnr(Picture(decoded), buffer.data()), 30.0) << "picture " << decoded;
            ++decoded;
        }
        // Every picture, including those the decoder held back for reordering, came out once.
        EXPECT_EQ(decoded, kFrames);
        LogCapture::Clear();
        EXPECT_EQ(VexaGetNextVideoFrame(&out, file.decoder), 0);
        EXPECT_TRUE(LogCapture::Has("Vexa Codecs: no more video frame exist..."));
    }
}

TEST(Video, DisplayAspectAndResizeTarget)
{
    LoadedFile file(Fixture("sar.avi"));  // 720 x 576, sample aspect 16:15
    ASSERT_NE(file.decoder, nullptr);
    EXPECT_EQ(file.info->streams[0]->width, 768);
    EXPECT_EQ(file.info->streams[0]->height, 576);
    EXPECT_EQ(VexaGetVideoBuffersize(file.decoder), 768 * 576 * 4);

    const struct {
        int32_t w, h, expectW, expectH;
    } cases[] = {{400, 400, 400, 300}, {1000, 200, 266, 200}, {0, 0, 768, 576}, {768, 576, 768, 576}, {-5, 10, 768, 576}};
    for (const auto &c : cases) {
        int32_t w = c.w, h = c.h;
        ASSERT_EQ(VexaResizeVideoSize(&w, &h, file.decoder), 1);
        EXPECT_EQ(w, c.expectW) << c.w << "x" << c.h;
        EXPECT_EQ(h, c.expectH) << c.w << "x" << c.h;
        EXPECT_EQ(VexaGetVideoBuffersize(file.decoder), w * h * 4);
    }
    int32_t w = 400, h = 400;
    VexaResizeVideoSize(&w, &h, file.decoder);
    EXPECT_EQ(VexaGetVideoBuffersize(file.decoder), 480000);
    std::vector<uint8_t> buffer(480000);
    VideoFrame out{buffer.data(), 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(VexaGetNextVideoFrame(&out, file.decoder), 1);
    EXPECT_EQ(out.width, 400);
    EXPECT_EQ(out.height, 300);
    EXPECT_EQ(out.stride, 1600);
    // A buffer declared too small is refused rather than overrun.
    out.size = 1000;
    LogCapture::Clear();
    EXPECT_EQ(VexaGetNextVideoFrame(&out, file.decoder), 0);
    EXPECT_TRUE(LogCapture::Has("Vexa Codecs: Error parameter..."));
}

TEST(Video, RequestsThatCannotBeServed)
{
    LoadedFile audioOnly(Fixture("tone.mp3"));
    std::vector<uint8_t> buffer(16);
    VideoFrame out{buffer.data(), 0, 0, 0, 0, 0, 0};
    LogCapture::Clear();
    EXPECT_EQ(VexaGetNextVideoFrame(&out, audioOnly.decoder), 0);
    EXPECT_TRUE(LogCapture::Has("Vexa Codecs: no video stream exist...."));
    EXPECT_EQ(VexaGetVideoBuffersize(audioOnly.decoder), 0);
    out.data = nullptr;
    EXPECT_EQ(VexaGetNextVideoFrame(&out, audioOnly.decoder), 0);
    EXPECT_TRUE(LogCapture::Has("Vexa Codecs: Error parameter..."));
    EXPECT_EQ(VexaGetNextVideoFrame(&out, nullptr), 0);
    EXPECT_EQ(VexaResizeVideoSize(nullptr, nullptr, audioOnly.decoder), 0);
}

TEST(Video, ResizeImageCopiesOrScales)
{
    std::vector<uint8_t> source(4 * 4 * 4), target(4 * 4 * 4, 0);
    for (size_t i = 0; i < source.size(); ++i)
        source[i] = uint8_t(i * 7);
    VideoFrame src{source.data(), 4, 4, 16, int32_t(source.size()), 0, 0};
    VideoFrame same{target.data(), 4, 4, 16, int32_t(target.size()), 0, 0};
    ASSERT_EQ(VexaResizeImage(&src, &same), 1);
    EXPECT_EQ(source, target);

    // A flat colour scales to the same flat colour.
    std::vector<uint8_t> flat(8 * 8 * 4), small(2 * 2 * 4, 0);
    for (size_t i = 0; i < flat.size(); i += 4) {
        flat[i] = 10;
        flat[i + 1] = 120;
        flat[i + 2] = 250;
        flat[i + 3] = 255;
    }
    VideoFrame big{flat.data(), 8, 8, 32, int32_t(flat.size()), 0, 0};
    VideoFrame little{small.data(), 2, 2, 8, int32_t(small.size()), 0, 0};
    ASSERT_EQ(VexaResizeImage(&big, &little), 1);
    for (size_t i = 0; i < small.size(); i += 4) {
        EXPECT_NEAR(small[i], 10, 2);
        EXPECT_NEAR(small[i + 1], 120, 2);
        EXPECT_NEAR(small[i + 2], 250, 2);
    }
    little.size = 12;  // not width x height x 4
    EXPECT_EQ(VexaResizeImage(&big, &little), 0);
    EXPECT_EQ(VexaResizeImage(nullptr, &little), 0);
}
