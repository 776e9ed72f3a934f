#include "host/keyboard.h"

#include <windows.h>

#include <cstring>

namespace {

BYTE keys[256];
bool keysOfThisFrame = false;
unsigned callersThisFrame = 0; // one bit per KeyboardCaller
int openCalls = 0;

void readKeys() {
    if (GetKeyboardState(keys) == 0) std::memset(keys, 0, sizeof keys);
}

} // namespace

KeyboardCall::KeyboardCall(KeyboardCaller caller) {
    const unsigned bit = 1u << static_cast<unsigned>(caller);
    if ((callersThisFrame & bit) != 0) {
        callersThisFrame = 0;
        keysOfThisFrame = false;
    }
    callersThisFrame |= bit;
    ++openCalls;
}

KeyboardCall::~KeyboardCall() {
    --openCalls;
}

bool keyDown(int virtualKey) {
    // GetKeyState knows no negative key and reads only the low byte of any other.
    if (virtualKey < 0) return false;
    if (openCalls == 0 || !keysOfThisFrame) {
        readKeys();
        keysOfThisFrame = openCalls != 0;
    }
    return (keys[virtualKey & 0xFF] & 0x80) != 0;
}
