// Encodes raw 44.1 kHz stereo 16-bit PCM to an MP3 at 128 kbit/s with VexaAddAudioFrame in
// 4096-byte blocks (the mixing library's block size), several times, and prints the best wall
// time and its multiple of real time.
//   bench_encode IN.s16le OUT.mp3 [repeats]

#include "VexaCodecs.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s IN.s16le OUT.mp3 [repeats]\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<uint8_t> pcm((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string out = argv[2];
    const int repeats = argc > 3 ? std::atoi(argv[3]) : 3;
    VexaInitializeCodecs(nullptr);

    FmtContext context{};
    std::copy(out.begin(), out.end(), context.filePath);
    context.formatId = 16;
    context.videoCodec = -1;
    context.audioCodec = 1;
    context.sampleRate = 44100;
    context.channels = 2;
    context.bitsPerSample = 16;
    context.audioBitRate = 128000;
    double best = 1e30;
    for (int r = 0; r < repeats; ++r) {
        const auto start = std::chrono::steady_clock::now();
        MediaEncoder *encoder = VexaInitializeEncoder(&context);
        if (!encoder) {
            std::fprintf(stderr, "cannot create %s\n", out.c_str());
            return 1;
        }
        for (size_t done = 0; done < pcm.size(); done += 4096)
            VexaAddAudioFrame(pcm.data() + done, int32_t(std::min<size_t>(4096, pcm.size() - done)), encoder);
        VexaCloseAudio(encoder);
        VexaDeInitializeEncoder(encoder);
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::printf("%.3f %.1f\n", best, pcm.size() / (44100.0 * 4) / best);
    return 0;
}
