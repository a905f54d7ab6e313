#pragma once
// Small helpers for tests that work with files.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <utility>

inline void WriteTestFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

inline QByteArray ReadTestFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A silent 8000 Hz mono 16-bit WAV of `seconds`.
inline void WriteSilentWav(const QString &path, int seconds)
{
    const quint32 bytes = quint32(16000 * seconds);
    QByteArray wav("RIFF");
    const auto put = [&](quint32 v, int size) { wav.append(reinterpret_cast<const char *>(&v), size); };
    put(36 + bytes, 4);
    wav.append("WAVEfmt ");
    const std::pair<quint32, int> format[] = {{16, 4}, {1, 2}, {1, 2}, {8000, 4}, {16000, 4}, {2, 2}, {16, 2}};
    for (const auto &[v, size] : format)
        put(v, size);
    wav.append("data");
    put(bytes, 4);
    WriteTestFile(path, wav + QByteArray(int(bytes), '\0'));
}
