// Library set-up, the log channel, the allocator and the null-handle contract.

#include "CodecTestSupport.h"

#include <thread>

using namespace codectest;

namespace {

std::vector<std::string> g_otherLines;
void OtherCallback(const char16_t *message)
{
    g_otherLines.push_back(std::filesystem::path(std::u16string(message)).string());
}

} // namespace

TEST(CodecLibrary, SecondInitializeReturnsTwoAndKeepsFirstCallback)
{
    EXPECT_EQ(FirstInitializeResult(), 1);
    EXPECT_EQ(VexaInitializeCodecs(&OtherCallback), 2);
    EXPECT_EQ(VexaInitializeCodecs(nullptr), 2);

    LogCapture::Clear();
    const std::filesystem::path missing = ScratchFolder() / "missing.mp3";
    EXPECT_EQ(VexaLoadMediaFile(Wide(missing).c_str(), nullptr), nullptr);
    EXPECT_TRUE(LogCapture::Has("Vexa Codecs: media file(" + missing.string() + ")don't exist.."));
    EXPECT_TRUE(LogCapture::Has("Vexa Codecs: failed to load media file(" + missing.string() + ")"));
    EXPECT_TRUE(g_otherLines.empty());
}

TEST(CodecLibrary, LogLineIsCutAt1023BytesOfFormattedText)
{
    // A long name with a two-byte character straddling the cut.
    const std::string name = std::string(1010 - ScratchFolder().string().size(), 'a') + "\xc3\xa9" + std::string(100, 'b');
    const std::filesystem::path missing = ScratchFolder() / name;
    LogCapture::Clear();
    VexaLoadMediaFile(Wide(missing).c_str(), nullptr);
    const std::string full = "media file(" + missing.string() + ")don't exist..";
    ASSERT_GT(full.size(), 1023u);
    const std::string first = LogCapture::Lines().at(0);
    const std::string prefix = "Vexa Codecs: ";
    ASSERT_EQ(first.compare(0, prefix.size(), prefix), 0);
    const std::string text = first.substr(prefix.size());
    // Cut at 1023 bytes or just before a character that would not fit whole.
    EXPECT_LE(text.size(), 1023u);
    EXPECT_GE(text.size(), 1022u);
    EXPECT_EQ(full.compare(0, text.size(), text), 0);
}

TEST(CodecLibrary, AllocatorAndFormatInfoRecords)
{
    auto *bytes = static_cast<uint8_t *>(VexaMalloc(100));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(bytes) % 16, 0u);
    for (int i = 0; i < 100; ++i)
        bytes[i] = uint8_t(i);
    bytes = static_cast<uint8_t *>(VexaRealloc(bytes, 100000));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes[99], 99);
    VexaFree(bytes);
    VexaFree(nullptr);

    FileFormatInfo *info = nullptr;
    FileFormatInfo *returned = VexaMallocFileFormatInfo(&info);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(returned, info);
    EXPECT_EQ(info->count, 0);
    EXPECT_EQ(info->streams[0], nullptr);
    VexaFreeFileFormatInfo(info);
    VexaFreeFileFormatInfo(nullptr);
}

TEST(CodecLibrary, NullHandleDoesNothing)
{
    AudioFrame *frame = new AudioFrame;
    frame->size = 7;
    EXPECT_EQ(VexaUnloadMediaFile(nullptr), 0);
    EXPECT_EQ(VexaGetNextAudioFrame(frame, nullptr), 0);
    EXPECT_EQ(VexaFlushAudio(nullptr), 0);
    EXPECT_EQ(VexaFlushVideo(nullptr), 0);
    EXPECT_EQ(VexaSeekMediaFile(0, nullptr), 0);
    EXPECT_EQ(VexaResample(44100, 16, 2, nullptr), 0);
    delete frame;
}

TEST(CodecLibrary, FfmpegLockIsHeldAcrossThreads)
{
    // A load probes its streams under the lock, so it cannot finish while a client holds it.
    VexaEnterFfmpegCriticalSection();
    std::atomic<bool> loaded{false};
    std::thread loader([&] {
        LoadedFile file(Fixture("stereo16.wav"));
        loaded = file.decoder != nullptr;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(loaded);
    VexaLeaveFfmpegCriticalSection();
    loader.join();
    EXPECT_TRUE(loaded);
}

extern "C" size_t CRecordLayout(int which);

TEST(CodecLibrary, RecordsHaveTheSameLayoutInC)
{
    const size_t layouts[] = {sizeof(StreamInfo),  offsetof(StreamInfo, channels), sizeof(FileFormatInfo),
                              sizeof(AudioFrame),  offsetof(AudioFrame, pts),      sizeof(VideoFrame),
                              sizeof(FmtContext),  offsetof(FmtContext, audioCodec)};
    for (int i = 0; i < int(std::size(layouts)); ++i)
        EXPECT_EQ(CRecordLayout(i), layouts[i]) << i;
    EXPECT_EQ(offsetof(AudioFrame, size), size_t(VEXA_AUDIO_FRAME_BYTES));
    EXPECT_EQ(sizeof(FmtContext), 704u);
}
