#pragma once
// The keyboard and mouse buttons as the game's thread sees them. Within one game frame every
// element asks the same copy, filled by one GetKeyboardState: under Wine each read of key state
// is a round trip to the Wine server.

// The game's calls into the plug-in that ask about keys, each once per frame.
enum class KeyboardCaller { HudFrame, PhoneDraw, ReloadPoll };

// Marks one of those calls for its duration. A frame ends when a caller comes round again, so
// every caller sees the keys at least as fresh as at its own previous call.
class KeyboardCall {
  public:
    explicit KeyboardCall(KeyboardCaller caller);
    ~KeyboardCall();
    KeyboardCall(const KeyboardCall&) = delete;
    KeyboardCall& operator=(const KeyboardCall&) = delete;
};

// Bit 15 of the key's state: the key is held now. Outside a KeyboardCall the keys are read
// afresh on every question.
bool keyDown(int virtualKey);
