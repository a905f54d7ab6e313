#pragma once
// The format-context objects: defaults and checks of an output description per container.
// The library holds one current object, replaced by each format-context call.

#include "VexaCodecs.h"

#include <cstdint>

class CFormatContext {
public:
    explicit CFormatContext(int32_t formatId) : formatId_(formatId) {}
    virtual ~CFormatContext() = default;
    // Clears every field and stores this object's format id.
    virtual int32_t GetDefaultFmtContext(FmtContext *context);
    // Every record is accepted.
    virtual int32_t CheckFmtContext(FmtContext *context);

protected:
    int32_t formatId_;
};

// Video CD: MPEG-1 video at 400 kbit/s and 25 frames/s, MPEG audio layer 2 stereo at 44.1 kHz.
class CVCDMpgFormatCtx : public CFormatContext {
public:
    CVCDMpgFormatCtx() : CFormatContext(1) {}
    int32_t GetDefaultFmtContext(FmtContext *context) override;
};

// Replaces the current object by one made for formatId and returns it.
CFormatContext &MakeCurrentFormatContext(int32_t formatId);
// Frees the current object (library de-initialisation).
void ReleaseFormatContext();
