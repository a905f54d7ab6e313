// Mixes two files, laid over each other from time 0, into one MP3 at 128 kbit/s with
// VexaStartMixAudio, several times, and prints the best wall time and its multiple of real time.
//   bench_mix A B OUT.mp3 [repeats]

#include "VexaMixAudio.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

namespace {

struct Finish {
    std::mutex mutex;
    std::condition_variable done;
    int result = -1;

    static void Notify(int32_t code, int32_t value, void *self)
    {
        if (code != VEXA_MIX_FINISHED)
            return;
        auto *f = static_cast<Finish *>(self);
        {
            std::lock_guard lock(f->mutex);
            f->result = value;
        }
        f->done.notify_all();
    }
};

std::u16string Wide(const char *path)
{
    const std::string s(path);
    return std::u16string(s.begin(), s.end());
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s A B OUT.mp3 [repeats]\n", argv[0]);
        return 2;
    }
    const int repeats = argc > 4 ? std::atoi(argv[4]) : 3;
    Finish finish;
    MusicComponent *component = VexaInitializeMusicComponent(&Finish::Notify, &finish, nullptr);
    for (int i = 1; i <= 2; ++i)
        if (!VexaAddMusicElement(Wide(argv[i]).c_str(), component)) {
            std::fprintf(stderr, "cannot use %s\n", argv[i]);
            return 1;
        }
    const double audioSeconds = double(VexaGetMixAudioLength(component)) / 1e7;
    const std::u16string out = Wide(argv[3]);
    double best = 1e30;
    for (int r = 0; r < repeats; ++r) {
        finish.result = -1;
        const auto start = std::chrono::steady_clock::now();
        VexaStartMixAudio(out.c_str(), component, 128000, 16);
        std::unique_lock lock(finish.mutex);
        finish.done.wait(lock, [&] { return finish.result >= 0; });
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (finish.result != VEXA_MIX_RESULT_DONE) {
            std::fprintf(stderr, "mix failed (%d)\n", finish.result);
            return 1;
        }
        best = std::min(best, seconds);
    }
    VexaDeinitializeMusicComponent(component);
    std::printf("%.3f %.1f\n", best, audioSeconds / best);
    return 0;
}
