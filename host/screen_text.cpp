#include "host/screen_text.h"
#include "host/host_interface.h"

#include <string>

namespace {
std::u16string printBuffer;
} // namespace

void printText(const char* text, float x, float y) {
    // Bytes are widened as unsigned: 0xE9 is U+00E9, as the game's fonts expect.
    printBuffer.clear();
    for (const char* p = text; *p; ++p)
        printBuffer.push_back(static_cast<unsigned char>(*p));
    host::printHostText(x, y, printBuffer.c_str());
}

void printText16(const char16_t* text, float x, float y) {
    host::printHostText(x, y, text);
}
