#pragma once
// Printing the plug-in's own 8-bit text through the game's 16-bit text printer.

// Prints text at (x, y) in pixels with the game's current text state.
void printText(const char* text, float x, float y);
