#include "publish/StreamIO.h"

#include "platform/AppError.h"

#include <QFileDevice>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace {

// Large enough that copying runs at the disk's pace, small enough to stay in cache.
constexpr qint64 CopyChunk = 1 << 20;

} // namespace

QString DeviceName(const QIODevice &device)
{
    if (auto file = qobject_cast<const QFileDevice *>(&device))
        return file->fileName();
    return QStringLiteral("memory");
}

void WriteAll(QIODevice &device, const char *bytes, qint64 count)
{
    while (count > 0) {
        const qint64 written = device.write(bytes, count);
        if (written <= 0)
            throw AppError(QStringLiteral("Cannot write %1: %2").arg(DeviceName(device), device.errorString()));
        bytes += written;
        count -= written;
    }
}

QByteArray ReadExactly(QIODevice &device, qint64 count)
{
    QByteArray bytes = device.read(count);
    if (bytes.size() != count)
        throw AppError(QStringLiteral("Unexpected end of %1").arg(DeviceName(device)));
    return bytes;
}

namespace {

// Between two files the kernel copies without a round trip through our buffers. Answers false,
// having copied nothing, where the file systems do not support it.
bool CopyBetweenFiles(QIODevice &source, QIODevice &target, qint64 count)
{
    auto in = qobject_cast<QFileDevice *>(&source);
    auto out = qobject_cast<QFileDevice *>(&target);
    if (!in || !out || in->handle() < 0 || out->handle() < 0 || !out->flush())
        return false;
    loff_t inAt = in->pos();
    loff_t outAt = out->pos();
    const qint64 total = count;
    while (count > 0) {
        const ssize_t copied = copy_file_range(in->handle(), &inAt, out->handle(), &outAt,
                                               static_cast<size_t>(std::min<qint64>(count, 1 << 30)), 0);
        if (copied < 0 && count == total && (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP))
            return false;
        if (copied < 0)
            throw AppError(QStringLiteral("Cannot copy %1 to %2: %3")
                               .arg(DeviceName(source), DeviceName(target), QString::fromLocal8Bit(strerror(errno))));
        if (copied == 0)
            throw AppError(QStringLiteral("Unexpected end of %1").arg(DeviceName(source)));
        count -= copied;
    }
    if (!in->seek(inAt) || !out->seek(outAt))
        throw AppError(QStringLiteral("Cannot copy %1 to %2").arg(DeviceName(source), DeviceName(target)));
    return true;
}

} // namespace

void CopyBytes(QIODevice &source, QIODevice &target, qint64 count)
{
    if (count > 0 && CopyBetweenFiles(source, target, count))
        return;
    std::vector<char> buffer(static_cast<size_t>(std::min(count, CopyChunk)));
    while (count > 0) {
        const qint64 want = std::min<qint64>(count, static_cast<qint64>(buffer.size()));
        const qint64 got = source.read(buffer.data(), want);
        if (got <= 0)
            throw AppError(QStringLiteral("Unexpected end of %1").arg(DeviceName(source)));
        WriteAll(target, buffer.data(), got);
        count -= got;
    }
}

void RaiseTooLarge(const QString &path)
{
    throw AppError(QStringLiteral("%1 would reach 4 GiB, more than a gallery file can address").arg(path));
}

void PutUInt32BE(char *out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<char>(value >> (24 - 8 * i));
}

void PutUInt32LE(char *out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<char>(value >> (8 * i));
}

uint32_t GetUInt32BE(const char *in)
{
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<uint8_t>(in[i]);
    return value;
}

uint32_t GetUInt32LE(const char *in)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<uint8_t>(in[i]);
    return value;
}
