#pragma once
// Printing the plug-in's own text through the game's 16-bit text printer.

// Prints text at (x, y) in pixels with the game's current text state.
void printText(const char* text, float x, float y);
// The same with 16-bit character codes, handed over as they are.
void printText16(const char16_t* text, float x, float y);
