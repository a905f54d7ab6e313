#pragma once
// CVexaImageImp over QtGui. The picture is a QImage in Format_ARGB32 (B, G, R, A in memory),
// Format_RGB32 for opaque decoded pictures, or Format_BGR888 for 24-bit images made by code.

#include "CVexaImage.h"

#include <QImage>

#include <vector>

class CQtImageImp final : public CVexaImageImp {
public:
    CQtImageImp();
    explicit CQtImageImp(QImage picture);

    bool CreateFromBuffer(int width, int height, void *pixels, int format) override;
    bool Create(int width, int height, int format) override;
    bool LoadFromFile(const char16_t *path) override;
    bool GetSize(int *width, int *height) override;
    int GetWidth() override;
    int GetHeight() override;
    bool DrawImage(CVexaImageImp *source, int x, int y) override;
    bool DrawRectangle(VexaRectF rect, int outlineStyle, uint32_t argb) override;
    bool DrawImageRect(CVexaImageImp *source, VexaRectF dest, VexaRectF src,
                       int interpolation) override;
    bool DrawImageRectI(CVexaImageImp *source, int x, int y, int width, int height,
                        int interpolation) override;
    bool DrawText(const char16_t *text, const FontInfo &font, float x, float y,
                  bool frame) override;
    bool MeasureText(const char16_t *text, const FontInfo &font, float *width,
                     float *height) override;
    bool Flip(int flags, CVexaImageImp *result) override;
    bool Rotate(int code, CVexaImageImp *result) override;
    bool LockBits(BitsInfo *bits) override;
    bool UnlockBits(BitsInfo *bits) override;
    bool Save(const char16_t *path, int outType, int quality) override;

    const QImage &Picture() const { return m_bitmap; }
    // Sets every pixel to the 32-bit value as it stands (0xAARRGGBB for ARGB images).
    void Fill(uint32_t pixel) { m_bitmap.fill(pixel); }

private:
    // The source as a drawable picture of this class, or null.
    static const QImage *DrawablePicture(CVexaImageImp *source);
    // Makes result an ARGB32 image of the given size unless it already has it; its pixels, 4
    // bytes each, are then written through the returned lock.
    static bool PrepareResult(CVexaImageImp *result, int width, int height, BitsInfo *bits);
    void TakeResolution(const QImage &source);
    void FlipInPlace(int flags);

    QImage m_bitmap;
    QImage m_lockedCopy;            // 32-bit view of a 24-bit picture while it is locked
    bool m_locked = false;
    std::vector<uint8_t> m_rowBuffer; // scratch row of the in-place vertical flip; only grows
};
