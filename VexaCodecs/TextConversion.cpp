#include "TextConversion.h"

#include <algorithm>

namespace {

void AppendUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

void AppendUtf16(std::u16string &out, char32_t c)
{
    if (c < 0x10000) {
        out += char16_t(c);
    } else {
        c -= 0x10000;
        out += char16_t(0xD800 | (c >> 10));
        out += char16_t(0xDC00 | (c & 0x3FF));
    }
}

constexpr char32_t kReplacement = 0xFFFD;

} // namespace

std::string Utf16ToUtf8(const char16_t *text)
{
    std::string out;
    if (!text)
        return out;
    for (const char16_t *p = text; *p; ++p) {
        char32_t c = *p;
        if (c >= 0xD800 && c < 0xDC00 && p[1] >= 0xDC00 && p[1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (p[1] - 0xDC00);
            ++p;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = kReplacement;
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view text)
{
    std::u16string out;
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char lead = text[i];
        const int extra = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : -1;
        bool ok = extra >= 0 && i + extra < text.size();
        char32_t c = ok ? char32_t(lead & (0x7F >> extra)) : 0;
        for (int k = 1; ok && k <= extra; ++k) {
            const unsigned char next = text[i + k];
            ok = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        if (!ok || (c >= 0xD800 && c < 0xE000) || c > 0x10FFFF) {
            // A stray continuation byte, an invalid lead or a sequence cut short.
            out += char16_t(kReplacement);
            ++i;
            continue;
        }
        AppendUtf16(out, c);
        i += extra + 1;
    }
    return out;
}

void CopyToUtf16Field(std::string_view text, size_t maxChars, char16_t *field, size_t fieldSize)
{
    const std::u16string wide = Utf8ToUtf16(text);
    size_t n = std::min({wide.size(), maxChars, fieldSize - 1});
    wide.copy(field, n);
    field[n] = 0;
}
