#pragma once
// The one message box a player can see: the game directory could not be found.

// Formats an error text into the shared error buffer (1024 bytes, always terminated).
const char* formatError(const char* format, ...);
// Shows the text in a box captioned "tarvel_moravik" with the error icon, owned by the game's
// active window.
void showErrorBox(const char* text);
