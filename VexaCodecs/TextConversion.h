#pragma once
// UTF-16 <-> UTF-8 for the library's strings (the interface speaks UTF-16, FFmpeg and the log
// formatter UTF-8). Ill-formed input becomes U+FFFD rather than being dropped silently.

#include <string>
#include <string_view>

std::string Utf16ToUtf8(const char16_t *text);
std::u16string Utf8ToUtf16(std::string_view text);

// Copies at most maxChars characters of text and a terminator into a fixed UTF-16 field.
void CopyToUtf16Field(std::string_view text, size_t maxChars, char16_t *field, size_t fieldSize);
