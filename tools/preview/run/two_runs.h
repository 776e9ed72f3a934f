#pragma once
// The preview runs twice: outside, where it lays out a game directory of its own, and inside it,
// where a copy of this program plays as the game. What the two share: the command line one
// starts the other with, the events of --watch, and the game directory's name.
#include <windows.h>

#include <string>

namespace preview {

// Every game directory is named this and the id of the process outside.
constexpr wchar_t gameDirectoryPrefix[] = L"tarvel_preview_";
// Held open by the run outside while it lasts.
constexpr char inUseFile[] = "in_use";

// One argument of a command line: backslashes before a quote are doubled, so that a folder
// ending in one stays a folder.
std::string quoted(const std::string& text);

// The name of an event of the watching process ("again": render once more, "done": rendered).
std::string eventName(DWORD process, const char* what);

// In the game directory under --watch: the size to render first, "WxH", written before "again"
// when an edit was made in a frame of that size; absent otherwise.
constexpr wchar_t firstSizeFile[] = L"first_size";

// In the game directory: what became of the game before this one (it ended, or hung and was
// ended), written before a new one is started, shown on its first page and then removed.
constexpr wchar_t gameNoteFile[] = L"game_note";

// In the game directory, written by the game after each render: its handles, its memory and
// what the render cost by stage, for the soak and the bench to read.
constexpr wchar_t gameHealthFile[] = L"game_health";

} // namespace preview
