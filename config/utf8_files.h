#pragma once
// Files named by UTF-8 paths. Windows' 8-bit file calls read a path in the system code page,
// which cannot spell every folder name; these take UTF-8 and open through the wide calls there.
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

// The code point at text[at] (at < text.size()), moving at past it; a byte that is no part of a
// valid sequence is one U+FFFD.
char32_t nextCodePoint(std::string_view text, std::size_t& at);
// Whether every byte is part of a valid UTF-8 sequence.
bool validUtf8(std::string_view text);
// The character a byte stands for in Windows-1252, the single-byte encoding Windows editors save
// as "ANSI": Latin-1 but for 0x80-0x9F, which hold € ’ – œ and the like.
char32_t fromWindows1252(unsigned char byte);
// Appends a code point's UTF-8 bytes; a surrogate or a code beyond U+10FFFF becomes U+FFFD.
void appendUtf8(std::string& out, char32_t code);

// The UTF-16 form of UTF-8 text; a byte that is no part of a valid sequence becomes U+FFFD.
std::wstring wideFromUtf8(std::string_view utf8);
// The UTF-8 form of UTF-16 text; an unpaired surrogate becomes U+FFFD.
std::string utf8FromWide(std::wstring_view wide);

// fopen for a UTF-8 path.
std::FILE* openUtf8File(const char* path, const char* mode);
