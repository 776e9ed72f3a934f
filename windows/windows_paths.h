#pragma once
// Windows paths as the system gives and takes them: the one way this project reads a module's
// path, and the one rule for whether the system's 8-bit code page can spell a path. Below both
// the plug-in and the tools: either may include this, and it includes nothing of theirs.
#include <windows.h>

#include <optional>
#include <string>

// The full path of a module (null: this program's executable), however long; the buffer grows
// until the path fits. Empty when the call fails.
std::wstring modulePath(HMODULE module = nullptr);

// The text as the system's 8-bit code page writes it, or nothing when a character has no exact
// form there (a best-fit letter, O for Ω, would name another file). A UTF-8 code page writes
// every character.
std::optional<std::string> inCodePage(const std::wstring& text);

// The short (8.3) form of an existing path, however long; empty when the system gives none.
std::wstring shortPath(const std::wstring& path);
