/* Built as C: the public header must stay a C header, with the same record layouts in C. */
#include "VexaCodecs.h"

#include <stddef.h>

size_t CRecordLayout(int which)
{
    switch (which) {
    case 0: return sizeof(StreamInfo);
    case 1: return offsetof(StreamInfo, channels);
    case 2: return sizeof(FileFormatInfo);
    case 3: return sizeof(AudioFrame);
    case 4: return offsetof(AudioFrame, pts);
    case 5: return sizeof(VideoFrame);
    case 6: return sizeof(FmtContext);
    case 7: return offsetof(FmtContext, audioCodec);
    default: return 0;
    }
}
