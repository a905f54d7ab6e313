#pragma once
// Shared helpers of the codec tests: fixture paths, a log capture and whole-file decoding.

#include "VexaCodecs.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

namespace codectest {

inline std::filesystem::path Fixture(const std::string &name)
{
    const char *root = std::getenv("LUMIVUE_TEST_DATA");
    return std::filesystem::path(root ? root : "tests") / "VexaCodecs" / "fixtures" / name;
}

// A scratch folder of this process, removed at exit.
inline std::filesystem::path ScratchFolder()
{
    static const struct Folder {
        std::filesystem::path path = std::filesystem::temp_directory_path()
            / ("vexacodecs-test-" + std::to_string(::getpid()));
        Folder() { std::filesystem::create_directories(path); }
        ~Folder() { std::filesystem::remove_all(path); }
    } folder;
    return folder.path;
}

inline std::u16string Wide(const std::filesystem::path &path)
{
    return path.u16string();
}

// Collects every log line of the library (from any thread) as UTF-8.
class LogCapture {
public:
    static void Callback(const char16_t *message)
    {
        std::lock_guard lock(Mutex());
        Store().push_back(std::filesystem::path(std::u16string(message)).string());
    }
    static std::vector<std::string> Lines()
    {
        std::lock_guard lock(Mutex());
        return Store();
    }
    static void Clear()
    {
        std::lock_guard lock(Mutex());
        Store().clear();
    }
    static bool Has(const std::string &line)
    {
        for (const std::string &l : Lines())
            if (l == line)
                return true;
        return false;
    }

private:
    static std::mutex &Mutex()
    {
        static std::mutex m;
        return m;
    }
    static std::vector<std::string> &Store()
    {
        static std::vector<std::string> s;
        return s;
    }
};

// The result of the process's first VexaInitializeCodecs, made before any test runs.
inline int &FirstInitializeResult()
{
    static int result = 0;
    return result;
}

class CodecEnvironment : public testing::Environment {
public:
    void SetUp() override { FirstInitializeResult() = VexaInitializeCodecs(&LogCapture::Callback); }
};

// A loaded file with its description, unloaded at scope end.
struct LoadedFile {
    explicit LoadedFile(const std::filesystem::path &path)
    {
        VexaMallocFileFormatInfo(&info);
        decoder = VexaLoadMediaFile(Wide(path).c_str(), info);
    }
    ~LoadedFile()
    {
        VexaUnloadMediaFile(decoder);
        VexaFreeFileFormatInfo(info);
    }
    LoadedFile(const LoadedFile &) = delete;
    LoadedFile &operator=(const LoadedFile &) = delete;
    const StreamInfo *Audio() const
    {
        for (int i = 0; i < info->count; ++i)
            if (info->streams[i]->type == 1)
                return info->streams[i];
        return nullptr;
    }

    FileFormatInfo *info = nullptr;
    MediaDecoder *decoder = nullptr;
};

struct Block {
    std::vector<uint8_t> data;
    int64_t pts;
};

// Decodes blocks until the end (or limit blocks), keeping each block.
inline std::vector<Block> DecodeBlocks(MediaDecoder *decoder, size_t limit = SIZE_MAX)
{
    std::vector<Block> blocks;
    auto frame = std::make_unique<AudioFrame>();
    while (blocks.size() < limit && VexaGetNextAudioFrame(frame.get(), decoder))
        blocks.push_back({std::vector<uint8_t>(frame->data, frame->data + frame->size), frame->pts});
    return blocks;
}

inline std::vector<uint8_t> Joined(const std::vector<Block> &blocks)
{
    std::vector<uint8_t> all;
    for (const Block &b : blocks)
        all.insert(all.end(), b.data.begin(), b.data.end());
    return all;
}

template <typename T>
std::vector<T> SamplesOf(const std::vector<uint8_t> &bytes)
{
    std::vector<T> samples(bytes.size() / sizeof(T));
    std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(T));
    return samples;
}

constexpr int64_t kTicksPerSecond = 10000000;

} // namespace codectest
