#pragma once
// A Flash movie split into its header and the untouched rest. The header's stage size can be
// changed; the movie is written back compressed or not, as it was read. Tags are never parsed.

#include "publish/BitsEngine.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <cstdint>

class TProgressReceiver;

class TSWFStreamReader {
public:
    // A reader with version 9; loads `fileName` when it is not empty.
    explicit TSWFStreamReader(const QString &fileName = {});
    virtual ~TSWFStreamReader() = default;

    void LoadFromFile(const QString &fileName);
    // A stream that is not a Flash movie leaves the reader as it was. A damaged movie (header or
    // compressed data ending early) raises AppError.
    void LoadFromStream(QIODevice &stream);
    void SaveToFile(const QString &fileName);
    void SaveToStream(QIODevice &stream);

    void SetWidth(int pixels);
    void SetHeight(int pixels);
    // Bytes of the uncompressed header: 8 fixed bytes, the rectangle record, rate and count.
    int HeaderSize() const;

    bool Compressed = false;
    bool Valid = false;
    QByteArray Signature;
    QByteArray Body;           // everything after the frame count, uncompressed
    uint8_t Version = 9;
    uint32_t FileLength = 0;   // length of the whole movie uncompressed, header included
    TRect FrameRect;           // twips
    uint16_t FrameRate = 0;    // 8.8 fixed point, fraction kept as read
    uint16_t FrameCount = 0;

protected:
    // Called after the stage size changed.
    virtual void Changed() {}

private:
    bool CheckHeader(QIODevice &stream);
    void ReadFixedHeader(QIODevice &stream);
    void ReadMovieHeader(QIODevice &stream);
    void WriteFixedHeader(QIODevice &stream);
    void WriteMovieHeader(QIODevice &stream);
};

// Writes `source` with a stage of `width` × `height` pixels to `target`. When `source` does not
// exist, `receiver` gets "<source> do not exists." and nothing is written.
void ResizeMovie(const QString &source, const QString &target, int width, int height,
                 TProgressReceiver &receiver);
