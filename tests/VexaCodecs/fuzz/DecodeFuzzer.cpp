// libFuzzer harness: any bytes as a media file, loaded, decoded (audio under a conversion target,
// and a few pictures), seeked inside, before and past the file, decoded again and unloaded.

#include "VexaCodecs.h"

extern "C" {
#include <libavutil/log.h>
}

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string g_path;
std::u16string g_widePath;
std::unique_ptr<AudioFrame> g_frame;

void IgnoreLog(const char16_t *) {}

void Decode(MediaDecoder *decoder, int blocks)
{
    for (int i = 0; i < blocks; ++i) {
        VexaFlushVideo(decoder);
        if (!VexaGetNextAudioFrame(g_frame.get(), decoder))
            break;
    }
}

void DecodePictures(MediaDecoder *decoder, int pictures)
{
    // Pictures of absurd claimed sizes are left alone: the buffer is the caller's to provide.
    const int32_t size = VexaGetVideoBuffersize(decoder);
    if (size <= 0 || size > (16 << 20))
        return;
    std::vector<uint8_t> buffer(static_cast<size_t>(size));
    VideoFrame frame{buffer.data(), 0, 0, 0, size, 0, 0};
    for (int i = 0; i < pictures && VexaGetNextVideoFrame(&frame, decoder); ++i) {
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    av_log_set_level(AV_LOG_QUIET);
    VexaInitializeCodecs(&IgnoreLog);
    char name[] = "/tmp/vexacodecs-fuzz-XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0)
        std::abort();
    close(fd);
    g_path = name;
    g_widePath.assign(g_path.begin(), g_path.end());
    g_frame = std::make_unique<AudioFrame>();
    std::atexit([] { std::remove(g_path.c_str()); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FILE *file = std::fopen(g_path.c_str(), "wb");
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    static const int kTargets[][3] = {{44100, 16, 2}, {48000, 16, 2}, {22050, 8, 1}, {8000, 32, 6}, {0, 0, 0}};
    FileFormatInfo *info = VexaMallocFileFormatInfo(nullptr);
    if (MediaDecoder *decoder = VexaLoadMediaFile(g_widePath.c_str(), info)) {
        const int *target = kTargets[size ? data[size - 1] % 5 : 0];
        if (target[0])
            VexaResample(target[0], target[1], target[2], decoder);
        Decode(decoder, 24);
        DecodePictures(decoder, 4);
        int32_t width = 64, height = 48;
        VexaResizeVideoSize(&width, &height, decoder);
        DecodePictures(decoder, 2);
        const int64_t length = info->count ? info->streams[info->count - 1]->duration : 1;
        VexaSeekMediaFile(length * 5000000, decoder);
        Decode(decoder, 8);
        VexaSeekMediaFile(0, decoder);
        Decode(decoder, 8);
        VexaSeekMediaFile((length + 10) * 10000000, decoder);
        Decode(decoder, 4);
        VexaUnloadMediaFile(decoder);
    }
    VexaFreeFileFormatInfo(info);
    return 0;
}
