#include "MixFileJob.h"

#include <algorithm>
#include <string>

CMixFileJob::CMixFileJob(CMixEngine &engine, NotifyCallback notify, void *userData, const char16_t *path,
                         int32_t formatId, int32_t bitRate, int32_t sampleRate, int32_t channels)
    : Engine(engine), NotifyHost(notify), UserData(userData), BytesPerSecond(engine.BytesPerSecond()),
      MixLength(engine.Length())
{
    const size_t length = std::min<size_t>(std::char_traits<char16_t>::length(path), 259);
    std::copy_n(path, length, Context.filePath);
    Context.formatId = formatId;
    Context.videoCodec = -1;
    Context.audioCodec = 1; // MP3
    Context.bitsPerSample = 16;
    Context.sampleRate = sampleRate;
    Context.channels = channels;
    Context.audioBitRate = bitRate;
}

CMixFileJob::~CMixFileJob()
{
    Cancel();
    if (Thread.joinable())
        Thread.join();
}

void CMixFileJob::Start()
{
    Thread = std::thread([this] { Notify(VEXA_MIX_FINISHED, Encode()); });
}

void CMixFileJob::Notify(int32_t code, int32_t value) const
{
    if (NotifyHost)
        NotifyHost(code, value, UserData);
}

int32_t CMixFileJob::Encode()
{
    MediaEncoder *encoder = VexaInitializeEncoder(&Context);
    if (!encoder)
        return VEXA_MIX_RESULT_FAILED;
    Notify(VEXA_MIX_STARTED, 0);
    while (!Cancelled && Engine.TakeBlock(Block.data())) {
        BytesWritten += BlockBytes;
        if (!VexaAddAudioFrame(Block.data(), BlockBytes, encoder))
            break;
        Notify(VEXA_MIX_PROGRESS, int32_t(BytesWritten / BytesPerSecond));
    }
    // The encoder is closed whatever the flush gave, so the file is never left open.
    const bool flushed = VexaCloseAudio(encoder) != 0;
    const bool closed = VexaDeInitializeEncoder(encoder) != 0;
    if (Cancelled)
        return VEXA_MIX_RESULT_CANCELLED;
    if (!flushed || !closed)
        return VEXA_MIX_RESULT_FAILED;
    // A mix that ended well short of its length (a file stopped decoding) is not a result.
    if (BytesWritten * TicksPerSecond / BytesPerSecond < MixLength / 2)
        return VEXA_MIX_RESULT_FAILED;
    return VEXA_MIX_RESULT_DONE;
}
