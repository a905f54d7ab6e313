#pragma once
// Sample conversions of the audio path: the bits-per-sample rule of the stream description,
// interleaving decoded frames as they are, bringing any format to signed 16-bit and the
// stereo down-mix.

#include "Ffmpeg.h"

#include <cstdint>

// 8 (unsigned 8-bit), 16 (signed 16-bit), 32 (signed 32-bit or float), 64 (double), else 16.
int SampleFormatBits(AVSampleFormat format);

// The interleaved format a frame is delivered in when no conversion target is set: the packed
// form of the decoded format, or signed 16-bit for formats outside the bits rule above.
AVSampleFormat DeliveredFormat(AVSampleFormat format);

// Writes count sample frames from first on of frame, interleaved, in DeliveredFormat.
void InterleaveSamples(const AVFrame *frame, int first, int count, uint8_t *out);

// Writes count sample frames from first on of frame as interleaved signed 16-bit, every channel.
// Unsigned 8-bit v becomes (v * 65535) / 256 - 32767; 32 and 64-bit integers keep their top 16
// bits; float and double are scaled by 32768 and saturated.
void SamplesToInt16(const AVFrame *frame, int first, int count, int16_t *out);

// Mixes count interleaved 16-bit sample frames of channels channels down to stereo pairs.
// Sums are divided with truncation toward zero; a layout without a rule keeps channel 0 on the
// left and leaves the right silent.
void DownMixToStereo(const int16_t *in, int channels, int count, int16_t *out);
