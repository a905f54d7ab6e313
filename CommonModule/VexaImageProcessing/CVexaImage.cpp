#include "CVexaImage.h"

#include "CQtImageImp.h"

namespace {

std::unique_ptr<CVexaImageImp> Made(bool ok, std::unique_ptr<CQtImageImp> imp)
{
    return ok ? std::move(imp) : nullptr;
}

} // namespace

FontInfo DefaultFontInfo()
{
    FontInfo font{};
    const char16_t face[] = u"Arial";
    std::copy(std::begin(face), std::end(face), font.faceName);
    font.size = 8.0f;
    font.color = 0xFF000000u;
    font.alpha = 255;
    return font;
}

CVexaImage::CVexaImage(const char16_t *path)
{
    auto imp = std::make_unique<CQtImageImp>();
    const bool ok = imp->LoadFromFile(path);
    m_imp = Made(ok, std::move(imp));
}

CVexaImage::CVexaImage(int width, int height)
{
    auto imp = std::make_unique<CQtImageImp>();
    const bool ok = imp->Create(width, height, kPixelFormatARGB32);
    m_imp = Made(ok, std::move(imp));
}

CVexaImage::CVexaImage(int width, int height, uint32_t fill) : CVexaImage(width, height)
{
    if (m_imp)
        static_cast<CQtImageImp *>(m_imp.get())->Fill(fill);
}

CVexaImage::CVexaImage(std::unique_ptr<CVexaImageImp> imp) : m_imp(std::move(imp)) {}

CVexaImage::~CVexaImage() = default;
