#include "publish/SWFStreamReader.h"

#include "platform/AppError.h"
#include "publish/ProgressReceiver.h"
#include "publish/StreamIO.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <vector>

namespace {

constexpr int FixedHeaderSize = 8;
constexpr int ZlibChunk = 1 << 16;

[[noreturn]] void RaiseDamaged(const QIODevice &stream, const char *what)
{
    throw AppError(QStringLiteral("The movie %1 is damaged: %2").arg(DeviceName(stream), QLatin1String(what)));
}

// Inflates from the current position of `stream` until `wanted` bytes came out.
QByteArray InflateExactly(QIODevice &stream, qint64 wanted)
{
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        throw AppError(QStringLiteral("Cannot start the zlib inflater"));
    QByteArray out;
    std::vector<char> in(ZlibChunk);
    int status = Z_OK;
    // The output grows with the data actually inflated, never by what the header claims.
    while (out.size() < wanted && status != Z_STREAM_END) {
        if (z.avail_in == 0) {
            const qint64 got = stream.read(in.data(), ZlibChunk);
            if (got <= 0)
                break;
            z.next_in = reinterpret_cast<Bytef *>(in.data());
            z.avail_in = static_cast<uInt>(got);
        }
        const qint64 room = std::min<qint64>(wanted - out.size(), ZlibChunk);
        const qsizetype before = out.size();
        out.resize(before + room);
        z.next_out = reinterpret_cast<Bytef *>(out.data() + before);
        z.avail_out = static_cast<uInt>(room);
        status = inflate(&z, Z_NO_FLUSH);
        out.resize(before + room - z.avail_out);
        if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR) {
            inflateEnd(&z);
            RaiseDamaged(stream, "its compressed data cannot be inflated");
        }
    }
    inflateEnd(&z);
    if (out.size() < wanted)
        RaiseDamaged(stream, "its compressed data ends early");
    return out;
}

// Deflates the pieces, in order, at the default level onto `target`.
void DeflateTo(QIODevice &target, std::initializer_list<const QByteArray *> pieces)
{
    z_stream z{};
    if (deflateInit(&z, Z_DEFAULT_COMPRESSION) != Z_OK)
        throw AppError(QStringLiteral("Cannot start the zlib deflater"));
    std::vector<char> out(ZlibChunk);
    auto drain = [&](int flush) {
        int status;
        do {
            z.next_out = reinterpret_cast<Bytef *>(out.data());
            z.avail_out = ZlibChunk;
            status = deflate(&z, flush);
            WriteAll(target, out.data(), ZlibChunk - z.avail_out);
        } while (z.avail_out == 0 || (flush == Z_FINISH && status != Z_STREAM_END));
    };
    try {
        for (const QByteArray *piece : pieces) {
            qsizetype offset = 0;
            while (offset < piece->size()) {
                const qsizetype step = std::min<qsizetype>(piece->size() - offset, 1 << 30);
                z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(piece->constData() + offset));
                z.avail_in = static_cast<uInt>(step);
                drain(Z_NO_FLUSH);
                offset += step;
            }
        }
        drain(Z_FINISH);
    } catch (...) {
        deflateEnd(&z);
        throw;
    }
    deflateEnd(&z);
}

} // namespace

TSWFStreamReader::TSWFStreamReader(const QString &fileName)
{
    if (!fileName.isEmpty())
        LoadFromFile(fileName);
}

void TSWFStreamReader::LoadFromFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Cannot open %1: %2").arg(fileName, file.errorString()));
    LoadFromStream(file);
}

bool TSWFStreamReader::CheckHeader(QIODevice &stream)
{
    Valid = false;
    if (stream.size() <= 3)
        return false;
    stream.seek(0);
    Signature = stream.read(3);
    Valid = Signature == "FWS" || Signature == "CWS";
    if (Valid)
        Compressed = Signature == "CWS";
    return Valid;
}

void TSWFStreamReader::ReadFixedHeader(QIODevice &stream)
{
    const QByteArray bytes = ReadExactly(stream, FixedHeaderSize);
    Signature = bytes.left(3);
    Version = static_cast<uint8_t>(bytes[3]);
    FileLength = GetUInt32LE(bytes.constData() + 4);
}

void TSWFStreamReader::ReadMovieHeader(QIODevice &stream)
{
    TBitsEngine bits(stream);
    FrameRect = bits.ReadRect();
    FrameRate = bits.ReadUI16();
    FrameCount = bits.ReadUI16();
}

void TSWFStreamReader::LoadFromStream(QIODevice &stream)
{
    if (!CheckHeader(stream))
        return;
    stream.seek(0);
    Body.clear();
    if (Compressed) {
        ReadFixedHeader(stream);
        if (FileLength < FixedHeaderSize)
            RaiseDamaged(stream, "its length field is too small");
        QByteArray inflated = InflateExactly(stream, qint64(FileLength) - FixedHeaderSize);
        QBuffer rest(&inflated);
        rest.open(QIODevice::ReadOnly);
        ReadMovieHeader(rest);
        Body = inflated.mid(rest.pos());
    } else {
        ReadFixedHeader(stream);
        ReadMovieHeader(stream);
        Body = stream.readAll();
    }
}

void TSWFStreamReader::SaveToFile(const QString &fileName)
{
    // Written beside the target and renamed over it, so a failure never leaves half a movie.
    // Not synced to disk: the movies written here are work files of a publish.
    const QString partial = fileName + QStringLiteral(".partial");
    QFile file(partial);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw AppError(QStringLiteral("Cannot create %1: %2").arg(fileName, file.errorString()));
    try {
        SaveToStream(file);
        file.close();
        if (file.error() != QFileDevice::NoError)
            throw AppError(QStringLiteral("Cannot write %1: %2").arg(fileName, file.errorString()));
        if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(fileName).constData()) != 0)
            throw AppError(QStringLiteral("Cannot write %1: %2").arg(fileName, QString::fromLocal8Bit(strerror(errno))));
    } catch (...) {
        QFile::remove(partial);
        throw;
    }
}

void TSWFStreamReader::WriteFixedHeader(QIODevice &stream)
{
    char bytes[FixedHeaderSize];
    std::copy_n(Signature.constData(), 3, bytes);
    bytes[3] = static_cast<char>(Version);
    PutUInt32LE(bytes + 4, FileLength);
    WriteAll(stream, bytes, FixedHeaderSize);
}

void TSWFStreamReader::WriteMovieHeader(QIODevice &stream)
{
    TBitsEngine bits(stream);
    bits.WriteFrameRect(FrameRect);
    const char tail[4] = {static_cast<char>(FrameRate), static_cast<char>(FrameRate >> 8),
                          static_cast<char>(FrameCount), static_cast<char>(FrameCount >> 8)};
    WriteAll(stream, tail, 4);
}

void TSWFStreamReader::SaveToStream(QIODevice &stream)
{
    const qint64 length = qint64(Body.size()) + HeaderSize();
    if (length > MaxBlockPosition)
        RaiseTooLarge(DeviceName(stream));
    FileLength = static_cast<uint32_t>(length);
    if (Compressed) {
        Signature = "CWS";
        if (Version < 6)
            Version = 6;
        WriteFixedHeader(stream);
        QByteArray header;
        QBuffer headerStream(&header);
        headerStream.open(QIODevice::WriteOnly);
        WriteMovieHeader(headerStream);
        DeflateTo(stream, {&header, &Body});
    } else {
        Signature = "FWS";
        WriteFixedHeader(stream);
        WriteMovieHeader(stream);
        WriteAll(stream, Body);
    }
}

void TSWFStreamReader::SetWidth(int pixels)
{
    FrameRect.Right = FrameRect.Left + pixels * 20;
    Changed();
}

void TSWFStreamReader::SetHeight(int pixels)
{
    FrameRect.Bottom = FrameRect.Top + pixels * 20;
    Changed();
}

int TSWFStreamReader::HeaderSize() const
{
    const int n = SignedBitsNeeded(
        static_cast<int32_t>(MaxAbs(FrameRect.Left, FrameRect.Top, FrameRect.Right, FrameRect.Bottom)), 1);
    return (n * 4 + 5 + 7) / 8 + 12;
}

void ResizeMovie(const QString &source, const QString &target, int width, int height,
                 TProgressReceiver &receiver)
{
    if (!QFileInfo::exists(source)) {
        receiver.PublishNotice(source + QStringLiteral(" do not exists."));
        return;
    }
    TSWFStreamReader reader(source);
    reader.SetWidth(width);
    reader.SetHeight(height);
    reader.SaveToFile(target);
}
