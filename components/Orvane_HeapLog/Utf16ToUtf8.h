#pragma once

#include <string>

// UTF-8 form of a zero-terminated UTF-16 string. Surrogate pairs become one code point; a
// surrogate without its partner becomes U+FFFD, so the result is always valid UTF-8.
std::string Utf16ToUtf8(const char16_t* text);
