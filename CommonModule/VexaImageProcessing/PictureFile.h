#pragma once
// Reading one picture file: its upright size from the header first, then its pixels, decoded
// at a reduced scale where the format allows it (JPEG: 1/8 to 8/8 in the DCT). EXIF orientation
// is applied, so callers only ever see the picture upright.

#include <QFile>
#include <QImage>
#include <QSize>

#include <memory>

class CJpegDecoder;
class QImageReader;

class CPictureFile {
public:
    explicit CPictureFile(const QString &path);
    ~CPictureFile();

    CPictureFile(const CPictureFile &) = delete;
    CPictureFile &operator=(const CPictureFile &) = delete;

    // The upright size the file declares; empty when the file is unusable or does not tell.
    QSize Size() const { return m_size; }

    // Decodes the picture upright, as Format_RGB32 when opaque, else Format_ARGB32; no smaller
    // than atLeast (upright) on either axis unless the picture itself is. Null on failure:
    // unreadable, corrupt or truncated data, or more than 1 GiB of pixels. Call once.
    QImage Read(QSize atLeast = QSize());

private:
    QFile m_file;
    QByteArray m_bytes; // the file's content where it cannot be mapped
    std::unique_ptr<CJpegDecoder> m_jpeg;
    std::unique_ptr<QImageReader> m_reader;
    QSize m_size;
};
