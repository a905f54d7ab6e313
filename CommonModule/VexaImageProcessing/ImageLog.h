#pragma once
// The library's one log sink: every diagnostic goes to the host's callback, or nowhere.

#include "VexaImageProcessing.h"

// Installs the sink for the whole process (null drops every line); replaces any earlier sink.
void SetImageLogSink(VexaLogCallback sink);

// Formats one line, prefixes it "Vexa Codecs: ", cuts it to 1023 characters and hands it to the
// sink. Nothing is formatted when no sink is installed.
void ImageLog(const char *format, ...) __attribute__((format(printf, 1, 2)));
