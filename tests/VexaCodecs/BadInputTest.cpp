// Bad input: files that cannot be opened, damaged files, files changed while open, and
// unloading while the reader waits. None may crash or hang.

#include "CodecTestSupport.h"

#include <unistd.h>

#include <fstream>
#include <thread>

using namespace codectest;

namespace {

std::filesystem::path ScratchCopy(const char *fixture, const std::string &name)
{
    const std::filesystem::path copy = ScratchFolder() / name;
    std::filesystem::copy_file(Fixture(fixture), copy, std::filesystem::copy_options::overwrite_existing);
    return copy;
}

double DecodedSeconds(MediaDecoder *decoder)
{
    VexaResample(44100, 16, 2, decoder);
    return Joined(DecodeBlocks(decoder)).size() / 4 / 44100.0;
}

} // namespace

TEST(BadInput, FilesThatCannotBeOpened)
{
    const std::filesystem::path empty = ScratchFolder() / "empty.mp3";
    std::ofstream(empty).close();
    const std::filesystem::path missing = ScratchFolder() / "no such file.wav";
    const std::filesystem::path garbage = Fixture("garbage.bin");
    const std::string invalidData = "-1094995529"; // FFmpeg's "invalid data" code
    const struct {
        std::filesystem::path path;
        std::string reason;
    } cases[] = {
        {missing, "media file(" + missing.string() + ")don't exist.."},
        {empty, "Failed to open media file(" + empty.string() + "), Error code: -22"},
        {garbage, "Failed to open media file(" + garbage.string() + "), Error code: " + invalidData},
        {ScratchFolder(), "Failed to open media file(" + ScratchFolder().string() + "), Error code: -21"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        LogCapture::Clear();
        FileFormatInfo *info = VexaMallocFileFormatInfo(nullptr);
        EXPECT_EQ(VexaLoadMediaFile(Wide(c.path).c_str(), info), nullptr);
        EXPECT_EQ(info->count, 0);
        VexaFreeFileFormatInfo(info);
        EXPECT_TRUE(LogCapture::Has("Vexa Codecs: " + c.reason));
        EXPECT_TRUE(LogCapture::Has("Vexa Codecs: failed to load media file(" + c.path.string() + ")"));
    }
    LogCapture::Clear();
    EXPECT_EQ(VexaLoadMediaFile(nullptr, nullptr), nullptr);
    EXPECT_TRUE(LogCapture::Has("Vexa Codecs: media file()don't exist.."));
}

TEST(BadInput, LongAndNonAsciiPathsOpenTheirOwnFile)
{
    // Longer than 260 bytes, with characters outside ASCII: handed over whole, never cut.
    std::filesystem::path folder = ScratchFolder();
    for (int i = 0; i < 3; ++i)
        folder /= std::u16string(90, u'\u00e9');
    std::filesystem::create_directories(folder);
    const std::filesystem::path path = folder / u"t\u00f6ne \u97f3.mp3";
    std::filesystem::copy_file(Fixture("tone.mp3"), path);
    ASSERT_GT(path.string().size(), 520u);
    LoadedFile file(path);
    ASSERT_NE(file.decoder, nullptr);
    EXPECT_EQ(file.Audio()->duration, 4);
}

TEST(BadInput, DamagedFilesDecodeWhatTheyHold)
{
    const struct {
        const char *name;
        double minSeconds, maxSeconds;
    } cases[] = {
        {"truncated.mp3", 0.9, 1.2},  // 9000 of 32619 bytes: about a quarter of 4 s
        {"corrupt.mp3", 3.0, 4.1},    // 8000 bytes of PCM pasted over the middle
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        LoadedFile file(Fixture(c.name));
        ASSERT_NE(file.decoder, nullptr);
        const double seconds = DecodedSeconds(file.decoder);
        EXPECT_GE(seconds, c.minSeconds);
        EXPECT_LE(seconds, c.maxSeconds);
    }
}

TEST(BadInput, FileChangedWhileOpen)
{
    // The reader stops ahead of the consumer once the video queue is full, so these changes land
    // while the file is still being read.
    const std::filesystem::path deleted = ScratchCopy("av.avi", "deleted.avi");
    LoadedFile stillThere(deleted);
    ASSERT_NE(stillThere.decoder, nullptr);
    std::filesystem::remove(deleted);
    EXPECT_NEAR(DecodedSeconds(stillThere.decoder), 4.0, 0.1);

    const std::filesystem::path truncated = ScratchCopy("av.avi", "truncated.avi");
    LoadedFile cut(truncated);
    ASSERT_NE(cut.decoder, nullptr);
    std::filesystem::resize_file(truncated, 20000);
    LogCapture::Clear();
    EXPECT_LE(DecodedSeconds(cut.decoder), 4.1);
    EXPECT_TRUE(LogCapture::Has("Vexa Codecs: finish decode...."));
    // Into the cut part the seek may fail (the index points past the end); either way decoding
    // goes on, and the start is still there.
    VexaSeekMediaFile(2 * kTicksPerSecond, cut.decoder);
    DecodeBlocks(cut.decoder);
    ASSERT_EQ(VexaSeekMediaFile(0, cut.decoder), 1);
    EXPECT_GT(DecodedSeconds(cut.decoder), 0.5);
}

TEST(BadInput, UnloadWhileTheReaderWaits)
{
    // Waiting for queue space (a video queue nobody empties), at end of input, or not yet started.
    for (const char *name : {"av.avi", "stereo16.wav", "tone.mp3"}) {
        for (int waitMs : {0, 100}) {
            SCOPED_TRACE(testing::Message() << name << " after " << waitMs << " ms");
            FileFormatInfo *info = nullptr;
            VexaMallocFileFormatInfo(&info);
            MediaDecoder *decoder = VexaLoadMediaFile(Wide(Fixture(name)).c_str(), info);
            ASSERT_NE(decoder, nullptr);
            std::this_thread::sleep_for(std::chrono::milliseconds(waitMs));
            EXPECT_EQ(VexaUnloadMediaFile(decoder), 1);
            VexaFreeFileFormatInfo(info);
        }
    }
}
