// Decodes a file to 44.1 kHz stereo 16-bit with VexaGetNextAudioFrame, several times, and prints
// the best wall time and its multiple of real time.
//   bench_decode FILE [repeats]

#include "VexaCodecs.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE [repeats]\n", argv[0]);
        return 2;
    }
    const std::string path = argv[1];
    const int repeats = argc > 2 ? std::atoi(argv[2]) : 3;
    const std::u16string widePath(path.begin(), path.end());
    VexaInitializeCodecs(nullptr);
    auto frame = std::make_unique<AudioFrame>();
    double best = 1e30;
    int64_t bytes = 0;
    for (int r = 0; r < repeats; ++r) {
        const auto start = std::chrono::steady_clock::now();
        MediaDecoder *decoder = VexaLoadMediaFile(widePath.c_str(), nullptr);
        if (!decoder) {
            std::fprintf(stderr, "cannot load %s\n", path.c_str());
            return 1;
        }
        VexaResample(44100, 16, 2, decoder);
        bytes = 0;
        while (VexaGetNextAudioFrame(frame.get(), decoder))
            bytes += frame->size;
        VexaUnloadMediaFile(decoder);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        best = std::min(best, seconds);
    }
    const double audioSeconds = double(bytes) / (44100 * 4);
    std::printf("%.3f %.1f\n", best, audioSeconds / best);
    return 0;
}
