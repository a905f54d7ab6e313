#pragma once
// High-quality scaling: a separable Lanczos (a = 3) resampler over 32-bit premultiplied pixels,
// in 14-bit fixed point with SSE2.

#include "CVexaImage.h"

#include <QImage>
#include <QPoint>
#include <QSize>

struct ResampledLayer {
    QImage image; // Format_ARGB32_Premultiplied; null when nothing of dest lies on the canvas
    QPoint origin; // its top-left corner on the canvas
};

// Scales the part src of picture (Format_RGB32 or Format_ARGB32_Premultiplied) onto dest, a
// rectangle in a canvas of canvasSize (all in pixels). Returns the canvas pixels that dest
// touches; those only partly inside dest get the covered fraction as alpha.
ResampledLayer ResampleLanczos(const QImage &picture, VexaRectF src, VexaRectF dest,
                               QSize canvasSize);

// Blends the layer over target (Format_ARGB32 or Format_RGB32) with its top-left corner at
// origin, in this thread. False when target has another format.
bool BlendLayer(const ResampledLayer &layer, QImage &target);
