#pragma once
// Shared helpers of the mixing tests: WAV fixtures written by code, a component that is freed at
// scope end, a recorder of notifications and pulling a whole mix.

#include "VexaMixAudio.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace mixtest {

constexpr int64_t Second = 10000000;

// A scratch folder of this process, removed at exit.
inline std::filesystem::path ScratchFolder()
{
    static const struct Folder {
        std::filesystem::path path = std::filesystem::temp_directory_path()
            / ("vexamixaudio-test-" + std::to_string(::getpid()));
        Folder() { std::filesystem::create_directories(path); }
        ~Folder() { std::filesystem::remove_all(path); }
    } folder;
    return folder.path;
}

// Writes interleaved signed 16-bit samples as a PCM WAV file and returns its path.
inline std::filesystem::path WriteWav(const std::string &name, int rate, int channels, const std::vector<int16_t> &samples)
{
    const std::filesystem::path path = ScratchFolder() / name;
    std::ofstream out(path, std::ios::binary);
    const auto put32 = [&](uint32_t v) { out.write(reinterpret_cast<const char *>(&v), 4); };
    const auto put16 = [&](uint16_t v) { out.write(reinterpret_cast<const char *>(&v), 2); };
    const uint32_t bytes = uint32_t(samples.size() * 2);
    out.write("RIFF", 4);
    put32(36 + bytes);
    out.write("WAVEfmt ", 8);
    put32(16);
    put16(1);
    put16(uint16_t(channels));
    put32(uint32_t(rate));
    put32(uint32_t(rate * channels * 2));
    put16(uint16_t(channels * 2));
    put16(16);
    out.write("data", 4);
    put32(bytes);
    out.write(reinterpret_cast<const char *>(samples.data()), std::streamsize(bytes));
    return path;
}

// `count` samples given by `value(i)`.
inline std::vector<int16_t> Samples(size_t count, const std::function<int16_t(size_t)> &value)
{
    std::vector<int16_t> samples(count);
    for (size_t i = 0; i < count; ++i)
        samples[i] = value(i);
    return samples;
}

// Varied, never silent samples, so that misplaced data shows.
inline std::vector<int16_t> Pattern(size_t count)
{
    return Samples(count, [](size_t i) { return int16_t(int(i * 7919 % 50021) - 25000 + (i % 2 ? 0 : 1)); });
}

// Notifications in arrival order, from whatever thread sent them.
class Recorder {
public:
    static void Callback(int32_t code, int32_t value, void *user)
    {
        auto *self = static_cast<Recorder *>(user);
        {
            std::lock_guard lock(self->Mutex);
            self->Seen.emplace_back(code, value);
        }
        self->Changed.notify_all();
    }

    std::vector<std::pair<int, int>> All()
    {
        std::lock_guard lock(Mutex);
        return Seen;
    }
    void Clear()
    {
        std::lock_guard lock(Mutex);
        Seen.clear();
    }
    // Waits until a notification satisfies `match`; false after `timeout`.
    bool WaitFor(const std::function<bool(int code, int value)> &match, std::chrono::milliseconds timeout)
    {
        std::unique_lock lock(Mutex);
        size_t checked = 0;
        return Changed.wait_for(lock, timeout, [&] {
            for (; checked < Seen.size(); ++checked)
                if (match(Seen[checked].first, Seen[checked].second))
                    return true;
            return false;
        });
    }
    bool WaitForFinish(std::chrono::milliseconds timeout = std::chrono::seconds(30))
    {
        return WaitFor([](int code, int) { return code == VEXA_MIX_FINISHED; }, timeout);
    }

private:
    std::mutex Mutex;
    std::condition_variable Changed;
    std::vector<std::pair<int, int>> Seen;
};

struct ComponentDeleter {
    void operator()(MusicComponent *c) const { VexaDeinitializeMusicComponent(c); }
};
using Component = std::unique_ptr<MusicComponent, ComponentDeleter>;

inline Component NewComponent(Recorder *recorder = nullptr)
{
    return Component(VexaInitializeMusicComponent(recorder ? &Recorder::Callback : nullptr, recorder, nullptr));
}

inline MusicElement *Add(MusicComponent *c, const std::filesystem::path &path)
{
    return VexaAddMusicElement(path.u16string().c_str(), c);
}

// Every sample of the mix through the pull interface, with the blocks' pts.
inline std::vector<int16_t> PullAll(MusicComponent *c, std::vector<int64_t> *pts = nullptr)
{
    std::vector<int16_t> all;
    auto frame = std::make_unique<AudioFrame>();
    EXPECT_TRUE(VexaStartGetMixAudio(c));
    while (VexaGetNextMixAudio(frame.get(), c)) {
        EXPECT_EQ(frame->size, 4096);
        const auto *samples = reinterpret_cast<const int16_t *>(frame->data);
        all.insert(all.end(), samples, samples + frame->size / 2);
        if (pts)
            pts->push_back(frame->pts);
    }
    return all;
}

} // namespace mixtest
