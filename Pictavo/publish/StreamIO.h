#pragma once
// Byte-stream helpers shared by the movie reader and the pack writer. Every failure raises an
// AppError naming the file, so a short read or a full disk ends a publish with a clear message.

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <cstdint>

// Writes all of `bytes`; raises when the device takes fewer.
void WriteAll(QIODevice &device, const char *bytes, qint64 count);
inline void WriteAll(QIODevice &device, const QByteArray &bytes)
{
    WriteAll(device, bytes.constData(), bytes.size());
}

// Reads exactly `count` bytes; raises when the device ends first.
QByteArray ReadExactly(QIODevice &device, qint64 count);

// Copies `count` bytes from the current position of `source` to `target`; raises on a short
// read or write.
void CopyBytes(QIODevice &source, QIODevice &target, qint64 count);

// The name a device is reported under: the file name for files, "memory" otherwise.
QString DeviceName(const QIODevice &device);

// The largest value a 32-bit offset or length of the pack and movie formats can hold.
constexpr qint64 MaxBlockPosition = 0xFFFFFFFFLL;

// Raises the error for a file that would grow beyond what 32-bit offsets can address.
[[noreturn]] void RaiseTooLarge(const QString &path);

void PutUInt32BE(char *out, uint32_t value);
void PutUInt32LE(char *out, uint32_t value);
uint32_t GetUInt32BE(const char *in);
uint32_t GetUInt32LE(const char *in);
