#include "PictureFile.h"

#include "ImagingPlatform.h"
#include "JpegDecoder.h"

#include <QImageReader>

namespace {

bool IsJpeg(QFile &file)
{
    const QByteArray head = file.peek(3);
    return head.size() == 3 && uchar(head[0]) == 0xFF && uchar(head[1]) == 0xD8 &&
           uchar(head[2]) == 0xFF;
}

QSize Upright(QSize stored, bool transposed)
{
    return transposed ? stored.transposed() : stored;
}

QImage InLibraryFormat(QImage picture)
{
    if (picture.isNull())
        return picture;
    const QImage::Format format =
        picture.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    return picture.format() == format ? picture : picture.convertToFormat(format);
}

} // namespace

CPictureFile::CPictureFile(const QString &path) : m_file(path)
{
    StartImagingPlatform();
    if (!m_file.open(QIODevice::ReadOnly))
        return;
    if (IsJpeg(m_file)) {
        qint64 size = m_file.size();
        const uchar *data = m_file.map(0, size);
        if (!data) {
            m_bytes = m_file.readAll();
            data = reinterpret_cast<const uchar *>(m_bytes.constData());
            size = m_bytes.size();
        }
        m_jpeg = std::make_unique<CJpegDecoder>(data, size_t(size));
        if (m_jpeg->IsValid())
            m_size = Upright(m_jpeg->StoredSize(), m_jpeg->Orientation() >= 5);
        return;
    }
    m_reader = std::make_unique<QImageReader>(&m_file);
    m_reader->setAutoTransform(true);
    m_size = Upright(m_reader->size(),
                     m_reader->transformation().testFlag(QImageIOHandler::TransformationRotate90));
}

CPictureFile::~CPictureFile() = default;

QImage CPictureFile::Read(QSize atLeast)
{
    if (m_size.isValid() && !PictureSizeAllowed(m_size.width(), m_size.height()))
        return QImage();
    if (m_jpeg) {
        const bool transposed = m_jpeg->Orientation() >= 5;
        QImage stored = m_jpeg->Decode(Upright(atLeast, transposed));
        return ApplyOrientation(std::move(stored), m_jpeg->Orientation());
    }
    if (!m_reader)
        return QImage();
    return InLibraryFormat(m_reader->read());
}
