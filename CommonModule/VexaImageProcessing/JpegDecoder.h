#pragma once
// JPEG decoding straight from a memory-mapped file through libjpeg, with DCT-domain scaling
// and the EXIF orientation read from the APP1 segment.

#include <QImage>
#include <QSize>

#include <cstddef>
#include <cstdint>
#include <memory>

class CJpegDecoder {
public:
    // Reads the header of the JPEG data (which must outlive the decoder).
    CJpegDecoder(const uint8_t *data, size_t size);
    ~CJpegDecoder();

    CJpegDecoder(const CJpegDecoder &) = delete;
    CJpegDecoder &operator=(const CJpegDecoder &) = delete;

    bool IsValid() const { return m_valid; }
    QSize StoredSize() const; // as coded, before orientation
    int Orientation() const { return m_orientation; } // EXIF value 1..8

    // Decodes at the smallest scale n/8 that keeps both axes at least atLeast (as coded);
    // Format_RGB32, not yet oriented. Null on any error or truncation. Call once.
    QImage Decode(QSize atLeast);

private:
    struct State;
    std::unique_ptr<State> m_state;
    bool m_valid = false;
    int m_orientation = 1;
};

// The EXIF orientation (1..8) in an APP1 payload starting with "Exif\0\0"; 1 when absent.
int ExifOrientation(const uint8_t *payload, size_t size);

// Turns a picture stored with EXIF orientation so that it shows upright.
QImage ApplyOrientation(QImage picture, int orientation);
