// Mpixel/s of every effect on a 4000 x 3000 picture, single thread, beside a plain memcpy of the
// same buffer measured in the same run (the memory bound). Each figure is the best of a few runs.
//   bench_effects [repeats]

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "VexaEffect.h"

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr std::size_t kBytes = static_cast<std::size_t>(kWidth) * kHeight * 4;

struct Bench {
    int32_t id;
    const char *name;
    int32_t p1, p2;
    bool goal; // expected to reach a quarter of the copy's rate
};

constexpr Bench kBenches[] = {
    {0, "Gray", 0, 0, true},          {1, "Invert", 0, 0, true},         {2, "Brightness", 70, 0, true},
    {3, "Contrast", 70, 0, true},     {4, "Gamma", 20, 0, true},          {5, "Sepia", 0, 0, false},
    {6, "Embossment", 5, 0, false},   {7, "Filp Horizontally", 0, 0, false}, {8, "Filp Vertically", 0, 0, false},
    {9, "3DGrid", 50, 20, false},     {10, "Noise", 50, 0, false},       {11, "Posterization", 10, 0, true},
    {12, "Solarization", 10, 0, true}, {13, "Threshold", 50, 0, true},   {14, "Video", 0, 0, true},
    {15, "Wave", 25, 30, false},      {16, "Halftone", 0, 0, true},
};

double Seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// Best times of a plain copy and of `run`, timed in turns so that a busy spell of the (shared)
// machine slows both alike. Every run starts from the pristine picture.
struct Pair {
    double copySeconds = 1e30;
    double runSeconds = 1e30;
};

template <class Work>
Pair TimeInTurns(int repeats, std::vector<uint8_t> &work, std::vector<uint8_t> &copy,
                 const std::vector<uint8_t> &pristine, Work run)
{
    Pair best;
    auto timed = [](auto &&work) {
        const auto start = std::chrono::steady_clock::now();
        work();
        return Seconds(std::chrono::steady_clock::now() - start);
    };
    for (int i = 0; i < repeats; ++i) {
        std::memcpy(work.data(), pristine.data(), kBytes);
        best.copySeconds = std::min(best.copySeconds, timed([&] { std::memcpy(copy.data(), work.data(), kBytes); }));
        best.runSeconds = std::min(best.runSeconds, timed(run));
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::vector<uint8_t> pristine(kBytes);
    uint32_t state = 12345;
    for (auto &byte : pristine) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<uint8_t>(state >> 24);
    }
    std::vector<uint8_t> work(pristine);
    std::vector<uint8_t> copy(kBytes, 1);

    const double megapixels = kWidth * static_cast<double>(kHeight) / 1e6;
    std::printf("%d x %d, 32-bit, single thread, best of %d; the copy is timed in turns with each effect\n\n",
                kWidth, kHeight, repeats);
    std::printf("%-18s %10s %14s %8s  %s\n", "effect", "Mpixel/s", "memcpy Mpix/s", "ratio", "goal (ratio >= 0.25)");
    int missed = 0;
    for (const Bench &bench : kBenches) {
        EffectImage image{work.data(), kWidth, kHeight, kWidth * 4, static_cast<int32_t>(kBytes), {}};
        const EffectParams params{bench.id, bench.p1, bench.p2, 0};
        bool ok = true;
        const Pair best = TimeInTurns(repeats, work, copy, pristine, [&] {
            ok = VexaDoEffect(&image, nullptr, &params) && ok;
        });
        const double rate = megapixels / best.runSeconds;
        const double copyRate = megapixels / best.copySeconds;
        const double ratio = rate / copyRate;
        const bool shortOfGoal = bench.goal && ratio < 0.25;
        missed += shortOfGoal;
        std::printf("%-18s %10.0f %14.0f %8.2f  %s%s\n", bench.name, rate, copyRate, ratio,
                    !bench.goal ? "" : shortOfGoal ? "MISSED" : "met", ok ? "" : " (call failed)");
    }
    std::printf("\n%d goal%s missed\n", missed, missed == 1 ? "" : "s");
    return 0;
}
