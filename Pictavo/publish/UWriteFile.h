#pragma once
// Builds a file from a copy of a base file followed by appended blocks, reporting where each block
// landed. Nothing is compressed or transformed on the way.
//
// The file is assembled under a temporary name beside the target and takes the target's name
// only in `Commit`, so a publish that fails or is cancelled never leaves a half-written file and
// never changes an existing one.

#include <QFile>
#include <QIODevice>
#include <QString>
#include <cstdint>
#include <memory>

// Where an appended block landed: its data length (the prefix not counted) and the position of
// its first byte from the start of the target.
struct TBlockPlace {
    uint32_t Length = 0;
    uint32_t Offset = 0;
};

class TWriteFile {
public:
    // Makes the target's folder when absent; raises "File Not Found %s" for a missing source;
    // starts the target as a copy of the source, writable whatever the source's permissions.
    TWriteFile(const QString &sourcePath, const QString &targetPath);
    // Without a `Commit`, the partial file is removed.
    ~TWriteFile();
    TWriteFile(const TWriteFile &) = delete;
    TWriteFile &operator=(const TWriteFile &) = delete;

    // The five bytes "*****" at the end.
    void AppendMarker();
    // A 4-byte big-endian length and the whole file; "File Not Found %s" for a missing file.
    TBlockPlace AppendFile(const QString &path);
    // `count` bytes of `source` from `position`, without a prefix.
    TBlockPlace AppendRange(QIODevice &source, qint64 count, qint64 position);
    // `value` as 4 bytes little-endian at the current position.
    void WriteInt32(uint32_t value);

    // Closes the file and gives it the target's name, replacing an existing file.
    void Commit();

    const QString SourcePath;
    const QString TargetPath;

private:
    // Position of a new block of `count` bytes; raises when the file would reach 4 GiB.
    uint32_t ReserveBlock(qint64 count);

    std::unique_ptr<QFile> Target;
};

// Raises the error for a missing input file.
[[noreturn]] void RaiseFileNotFound(const QString &path);
