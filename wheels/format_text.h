#pragma once
// Formatting for the wheels' texture names and captions.

// Formats like printf into the next of ten rotating 4096-byte buffers and returns it, cut at
// 4095 characters. A result stays valid until ten further calls.
const char* formatText(const char* format, ...);
