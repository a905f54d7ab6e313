#include "CPixBase.h"

#include <cstring>

namespace vexa_effect {

std::optional<PixelImage> ViewOf(const EffectImage *image)
{
    if (image == nullptr || image->pixels == nullptr || image->width <= 0 || image->height <= 0)
        return std::nullopt;
    if (static_cast<int64_t>(image->stride) < static_cast<int64_t>(image->width) * 4)
        return std::nullopt;
    return PixelImage{image->pixels, image->width, image->height, image->stride};
}

void WorkingCopy::Take(const PixelImage &image)
{
    const std::size_t rowBytes = static_cast<std::size_t>(image.width) * 4;
    m_buffer = std::make_unique_for_overwrite<uint8_t[]>(rowBytes * static_cast<std::size_t>(image.height));
    m_image = PixelImage{m_buffer.get(), image.width, image.height, static_cast<std::ptrdiff_t>(rowBytes)};
    if (image.stride == m_image.stride) {
        std::memcpy(m_buffer.get(), image.pixels, rowBytes * static_cast<std::size_t>(image.height));
        return;
    }
    // Padded rows are copied one by one, so the copy holds the pixels and nothing else.
    for (int y = 0; y < image.height; ++y)
        std::memcpy(m_image.Row(y), image.Row(y), rowBytes);
}

} // namespace vexa_effect
