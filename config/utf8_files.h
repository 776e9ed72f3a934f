#pragma once
// Files named by UTF-8 paths. Windows' 8-bit file calls read a path in the system code page,
// which cannot spell every folder name; these take UTF-8 and open through the wide calls there.
#include <cstdio>
#include <string>
#include <string_view>

// The UTF-16 form of UTF-8 text; a byte that is no part of a valid sequence becomes U+FFFD.
std::wstring wideFromUtf8(std::string_view utf8);
// The UTF-8 form of UTF-16 text; an unpaired surrogate becomes U+FFFD.
std::string utf8FromWide(std::wstring_view wide);

// fopen for a UTF-8 path.
std::FILE* openUtf8File(const char* path, const char* mode);
