#include "publish/UWriteFile.h"

#include "platform/AppError.h"
#include "publish/StreamIO.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

void RaiseFileNotFound(const QString &path)
{
    throw AppError(QStringLiteral("File Not Found %1").arg(path));
}

TWriteFile::TWriteFile(const QString &sourcePath, const QString &targetPath)
    : SourcePath(sourcePath), TargetPath(targetPath)
{
    const QFileInfo targetInfo(targetPath);
    QDir().mkpath(targetInfo.absolutePath());
    QFile source(sourcePath);
    if (!QFileInfo(sourcePath).isFile())
        RaiseFileNotFound(sourcePath);
    if (!source.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Cannot open %1: %2").arg(sourcePath, source.errorString()));

    QTemporaryFile partial(targetInfo.absolutePath() + QStringLiteral("/.") + targetInfo.fileName()
                           + QStringLiteral(".XXXXXX"));
    if (!partial.open())
        throw AppError(QStringLiteral("Cannot create %1: %2").arg(targetPath, partial.errorString()));
    partial.setAutoRemove(false);
    Target = std::make_unique<QFile>(partial.fileName());
    partial.close();
    if (!Target->open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        QFile::remove(Target->fileName());
        throw AppError(QStringLiteral("Cannot create %1: %2").arg(targetPath, Target->errorString()));
    }
    try {
        ReserveBlock(source.size());
        CopyBytes(source, *Target, source.size());
    } catch (...) {
        Target->remove();
        throw;
    }
    // Keep the source's execute bits (player programs), and make the copy writable.
    Target->setPermissions(source.permissions() | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TWriteFile::~TWriteFile()
{
    if (Target)
        Target->remove();
}

uint32_t TWriteFile::ReserveBlock(qint64 count)
{
    const qint64 position = Target->size();
    if (position + count > MaxBlockPosition)
        RaiseTooLarge(TargetPath);
    if (!Target->seek(position))
        throw AppError(QStringLiteral("Cannot write %1: %2").arg(TargetPath, Target->errorString()));
    return static_cast<uint32_t>(position);
}

void TWriteFile::AppendMarker()
{
    ReserveBlock(5);
    WriteAll(*Target, "*****", 5);
}

TBlockPlace TWriteFile::AppendFile(const QString &path)
{
    if (!QFileInfo(path).isFile())
        RaiseFileNotFound(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw AppError(QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
    const qint64 size = file.size();
    TBlockPlace place;
    place.Offset = ReserveBlock(4 + size);
    place.Length = static_cast<uint32_t>(size);
    char prefix[4];
    PutUInt32BE(prefix, place.Length);
    WriteAll(*Target, prefix, 4);
    CopyBytes(file, *Target, size);
    return place;
}

TBlockPlace TWriteFile::AppendRange(QIODevice &source, qint64 count, qint64 position)
{
    TBlockPlace place;
    place.Offset = ReserveBlock(count);
    place.Length = static_cast<uint32_t>(count);
    if (!source.seek(position))
        throw AppError(QStringLiteral("Cannot read %1 at %2").arg(DeviceName(source)).arg(position));
    CopyBytes(source, *Target, count);
    return place;
}

void TWriteFile::WriteInt32(uint32_t value)
{
    if (Target->pos() + 4 > MaxBlockPosition)
        RaiseTooLarge(TargetPath);
    char bytes[4];
    PutUInt32LE(bytes, value);
    WriteAll(*Target, bytes, 4);
}

void TWriteFile::Commit()
{
    if (!Target)
        return;
    const QString partial = Target->fileName();
    Target->close();
    const bool failed = Target->error() != QFileDevice::NoError;
    const QString why = Target->errorString();
    Target.reset();
    if (failed) {
        QFile::remove(partial);
        throw AppError(QStringLiteral("Cannot write %1: %2").arg(TargetPath, why));
    }
    // rename(2) replaces an existing target in one step; a read-only target is replaced too.
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(TargetPath).constData()) != 0) {
        const int err = errno;
        QFile::remove(partial);
        throw AppError(QStringLiteral("Cannot write %1: %2").arg(TargetPath, QString::fromLocal8Bit(strerror(err))));
    }
}
