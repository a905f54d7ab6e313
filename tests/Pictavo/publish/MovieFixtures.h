#pragma once
// Small Flash movies built byte by byte for the publishing tests.

#include <QByteArray>
#include <QString>
#include <ostream>
#include <zlib.h>

// Readable QString values in test failure messages.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

// The stage rectangle record of 550 × 400 pixels (0, 11000, 0, 8000 twips): n = 15, 65 bits.
inline QByteArray Rect550x400()
{
    return QByteArray::fromHex("7800055F00000FA000");
}

// The record of 960 × 540 pixels (0, 19200, 0, 10800 twips): n = 16, 69 bits.
inline QByteArray Rect960x540()
{
    return QByteArray::fromHex("8000025800000151" "80");
}

// A few tags ending with an End tag: SetBackgroundColor, ShowFrame, End.
inline QByteArray SampleTags()
{
    return QByteArray::fromHex("4302" "336699" "4000" "0000");
}

inline QByteArray LittleEndian32(quint32 value)
{
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>(value >> (8 * i));
    return bytes;
}

// A whole movie: signature, version, length, rectangle, 8.8 rate bytes, count, tags, and
// `trailing` bytes after the movie (inside the zlib stream for "CWS").
inline QByteArray MakeMovie(bool compressed, int version, const QByteArray &rect, quint16 rate,
                            quint16 count, const QByteArray &tags, const QByteArray &trailing = {})
{
    QByteArray rest = rect;
    rest += char(rate & 0xFF);
    rest += char(rate >> 8);
    rest += char(count & 0xFF);
    rest += char(count >> 8);
    rest += tags;
    QByteArray movie = compressed ? "CWS" : "FWS";
    movie += char(version);
    movie += LittleEndian32(quint32(8 + rest.size()));
    rest += trailing;
    if (!compressed)
        return movie + rest;
    uLongf size = compressBound(uLong(rest.size()));
    QByteArray packed(int(size), '\0');
    compress(reinterpret_cast<Bytef *>(packed.data()), &size, reinterpret_cast<const Bytef *>(rest.constData()),
             uLong(rest.size()));
    packed.resize(int(size));
    return movie + packed;
}

// Inflates everything after the 8 header bytes of a "CWS" movie.
inline QByteArray InflateMovie(const QByteArray &movie)
{
    const quint32 length = quint8(movie[4]) | quint8(movie[5]) << 8 | quint8(movie[6]) << 16 | quint32(quint8(movie[7])) << 24;
    QByteArray out(int(length) - 8, '\0');
    uLongf size = uLongf(out.size());
    if (uncompress(reinterpret_cast<Bytef *>(out.data()), &size,
                   reinterpret_cast<const Bytef *>(movie.constData() + 8), uLong(movie.size() - 8)) != Z_OK)
        return {};
    out.resize(int(size));
    return out;
}

// The 4-byte big-endian number at `at` (the length prefixes of packed blocks).
inline quint32 BigEndianAt(const QByteArray &bytes, qint64 at)
{
    return quint32(quint8(bytes[at])) << 24 | quint8(bytes[at + 1]) << 16 | quint8(bytes[at + 2]) << 8 |
           quint8(bytes[at + 3]);
}
