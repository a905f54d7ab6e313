#pragma once
// Pictures made by code for the image library's tests.

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QString>
#include <QTemporaryDir>

#include "TestFiles.h"

#include <string>

inline std::u16string U16(const QString &text)
{
    return text.toStdU16String();
}

inline QByteArray Encoded(const QImage &image, const char *format, int quality = 90)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.write(image);
    return bytes;
}

// A picture whose left part (the given fraction of its width) is red and the rest blue.
inline QImage SplitPicture(int width, int height, double redFraction = 0.5)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter painter(&image);
    painter.fillRect(QRectF(0, 0, width * redFraction, height), Qt::red);
    return image;
}

// A smooth horizontal grey ramp, black at the left to white at the right.
inline QImage RampPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int v = x * 255 / (width - 1);
            row[x] = qRgb(v, v, v);
        }
    }
    return image;
}

// A JPEG with an EXIF APP1 segment holding only the orientation tag.
inline QByteArray JpegWithOrientation(const QImage &image, int orientation)
{
    QByteArray jpeg = Encoded(image, "jpeg");
    QByteArray exif("Exif\0\0", 6);
    exif += QByteArray("MM\0\x2A\0\0\0\x08", 8); // big-endian TIFF header, IFD at 8
    exif += QByteArray("\0\x01", 2);               // one entry
    exif += QByteArray("\x01\x12\0\x03\0\0\0\x01", 8); // orientation, SHORT, count 1
    exif += char(0);
    exif += char(orientation);
    exif += QByteArray(2, '\0');
    exif += QByteArray(4, '\0'); // no next IFD
    QByteArray segment("\xFF\xE1", 2);
    const int length = int(exif.size()) + 2;
    segment += char(length >> 8);
    segment += char(length & 0xFF);
    segment += exif;
    return jpeg.left(2) + segment + jpeg.mid(2);
}

// A written file decoded as stored (no orientation applied); null when it does not decode.
inline QImage ReadBack(const QString &path)
{
    QImageReader reader(path);
    reader.setAutoTransform(false);
    return reader.read();
}

// True when two colours differ by at most tolerance on every channel.
inline bool Near(QRgb a, QRgb b, int tolerance)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}
