#include "JpegDecoder.h"

#include "ImagingPlatform.h"

#include <QTransform>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace {

// More scans than any encoder writes; a file with more is hostile and would decode forever.
constexpr int kMaxScans = 1000;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
    bool truncated = false;
};

[[noreturn]] void OnError(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(cinfo->err)->escape, 1);
}

void OnMessage(j_common_ptr cinfo, int level)
{
    // libjpeg makes up the missing end of a truncated file and only warns; the picture is
    // incomplete, so it counts as unreadable.
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF)
        reinterpret_cast<ErrorManager *>(cinfo->err)->truncated = true;
}

void OnOutput(j_common_ptr) {}

void OnProgress(j_common_ptr cinfo)
{
    const auto *decompress = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (decompress->input_scan_number > kMaxScans)
        ERREXIT(cinfo, JERR_NOT_COMPILED);
}

uint16_t Read16(const uint8_t *p, bool bigEndian)
{
    return bigEndian ? uint16_t(p[0] << 8 | p[1]) : uint16_t(p[1] << 8 | p[0]);
}

uint32_t Read32(const uint8_t *p, bool bigEndian)
{
    return bigEndian ? uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]
                     : uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

// Adobe CMYK JPEGs store inverted ink values.
void CmykRowToBgra(const uint8_t *cmyk, uint8_t *bgra, int width)
{
    for (int x = 0; x < width; ++x, cmyk += 4, bgra += 4) {
        const int k = cmyk[3];
        bgra[0] = uint8_t(cmyk[2] * k / 255);
        bgra[1] = uint8_t(cmyk[1] * k / 255);
        bgra[2] = uint8_t(cmyk[0] * k / 255);
        bgra[3] = 255;
    }
}

} // namespace

struct CJpegDecoder::State {
    jpeg_decompress_struct cinfo{};
    ErrorManager errors{};
    jpeg_progress_mgr progress{};
    bool created = false;
    // Written after setjmp, so held here rather than in locals that a longjmp would leave
    // indeterminate.
    QImage picture;
    std::vector<uint8_t> cmykRow;
};

int ExifOrientation(const uint8_t *payload, size_t size)
{
    constexpr size_t kTiff = 6; // after "Exif\0\0"
    if (size < kTiff + 8 || std::memcmp(payload, "Exif\0\0", 6) != 0)
        return 1;
    const uint8_t *tiff = payload + kTiff;
    const size_t length = size - kTiff;
    bool bigEndian;
    if (std::memcmp(tiff, "MM", 2) == 0)
        bigEndian = true;
    else if (std::memcmp(tiff, "II", 2) == 0)
        bigEndian = false;
    else
        return 1;
    const uint32_t ifd = Read32(tiff + 4, bigEndian);
    if (ifd > length - 2)
        return 1;
    const unsigned entries = Read16(tiff + ifd, bigEndian);
    for (unsigned i = 0; i < entries; ++i) {
        const size_t entry = size_t(ifd) + 2 + size_t(i) * 12;
        if (entry + 12 > length)
            break;
        if (Read16(tiff + entry, bigEndian) == 0x0112 && Read16(tiff + entry + 2, bigEndian) == 3) {
            const int value = Read16(tiff + entry + 8, bigEndian);
            return value >= 1 && value <= 8 ? value : 1;
        }
    }
    return 1;
}

QImage ApplyOrientation(QImage picture, int orientation)
{
    const QTransform quarterTurn = QTransform().rotate(90);
    switch (orientation) {
    case 2: return picture.mirrored(true, false);
    case 3: return picture.mirrored(true, true);
    case 4: return picture.mirrored(false, true);
    case 5: return picture.transformed(quarterTurn).mirrored(true, false);
    case 6: return picture.transformed(quarterTurn);
    case 7: return picture.transformed(quarterTurn).mirrored(false, true);
    case 8: return picture.transformed(QTransform().rotate(270));
    default: return picture;
    }
}

CJpegDecoder::CJpegDecoder(const uint8_t *data, size_t size) : m_state(std::make_unique<State>())
{
    jpeg_decompress_struct &cinfo = m_state->cinfo;
    cinfo.err = jpeg_std_error(&m_state->errors.base);
    m_state->errors.base.error_exit = OnError;
    m_state->errors.base.emit_message = OnMessage;
    m_state->errors.base.output_message = OnOutput;
    if (setjmp(m_state->errors.escape))
        return;
    jpeg_create_decompress(&cinfo);
    m_state->created = true;
    cinfo.mem->max_memory_to_use = long(kMaxPictureBytes);
    m_state->progress.progress_monitor = OnProgress;
    cinfo.progress = &m_state->progress;
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xFFFF);
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK || m_state->errors.truncated)
        return;
    for (jpeg_saved_marker_ptr marker = cinfo.marker_list; marker; marker = marker->next) {
        if (marker->marker == JPEG_APP0 + 1) {
            m_orientation = ExifOrientation(marker->data, marker->data_length);
            if (m_orientation != 1)
                break;
        }
    }
    m_valid = cinfo.image_width > 0 && cinfo.image_height > 0;
}

CJpegDecoder::~CJpegDecoder()
{
    if (m_state->created)
        jpeg_destroy_decompress(&m_state->cinfo);
}

QSize CJpegDecoder::StoredSize() const
{
    return m_valid ? QSize(int(m_state->cinfo.image_width), int(m_state->cinfo.image_height))
                   : QSize();
}

QImage CJpegDecoder::Decode(QSize atLeast)
{
    if (!m_valid)
        return QImage();
    m_valid = false;
    jpeg_decompress_struct &cinfo = m_state->cinfo;
    const long long width = cinfo.image_width, height = cinfo.image_height;
    if (!PictureSizeAllowed(width, height))
        return QImage();

    QImage &picture = m_state->picture;
    std::vector<uint8_t> &cmykRow = m_state->cmykRow;
    if (setjmp(m_state->errors.escape)) {
        picture = QImage();
        return QImage();
    }
    int eighths = 8;
    if (atLeast.width() > 0 && atLeast.height() > 0) {
        for (eighths = 1; eighths < 8; ++eighths) {
            if ((width * eighths + 7) / 8 >= atLeast.width() &&
                (height * eighths + 7) / 8 >= atLeast.height())
                break;
        }
    }
    cinfo.scale_num = unsigned(eighths);
    cinfo.scale_denom = 8;
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
    jpeg_start_decompress(&cinfo);
    picture = QImage(int(cinfo.output_width), int(cinfo.output_height), QImage::Format_RGB32);
    if (picture.isNull())
        ERREXIT(reinterpret_cast<j_common_ptr>(&cinfo), JERR_OUT_OF_MEMORY);
    if (cmyk)
        cmykRow.resize(size_t(cinfo.output_width) * 4);
    while (cinfo.output_scanline < cinfo.output_height) {
        uchar *row = picture.scanLine(int(cinfo.output_scanline));
        JSAMPROW target = cmyk ? cmykRow.data() : row;
        if (jpeg_read_scanlines(&cinfo, &target, 1) != 1)
            ERREXIT(reinterpret_cast<j_common_ptr>(&cinfo), JERR_INPUT_EMPTY);
        if (cmyk)
            CmykRowToBgra(cmykRow.data(), row, picture.width());
    }
    jpeg_finish_decompress(&cinfo);
    cmykRow = {};
    if (m_state->errors.truncated)
        picture = QImage();
    return std::move(picture);
}
