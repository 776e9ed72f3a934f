#pragma once
// Which build of the game is running, and where its image sits.
#include <cstdint>

enum class GameVersion : int32_t { Unknown = 0, Build100 = 100, Build110 = 110, Build120 = 120 };

// Why the running build counts as unknown.
enum class UnknownBuildReason {
    None,             // the build is known
    ExecutableMoved,  // loaded at another base than 0x400000: most host addresses are absolute
    NoBuildSignature, // no build's signature bytes at its probe address
};

// The build code, detected once on the first call.
GameVersion gameVersion();
// Why gameVersion() is Unknown, detected with it.
UnknownBuildReason unknownBuildReason();
// The probe itself: reads each build's signature bytes in turn.
GameVersion detectGameVersion();
// Writes to the log which build runs, or why nothing is hooked.
void logBuild(GameVersion version);
// Load address of the game's module minus its nominal base 0x400000.
uint32_t moduleBaseDelta();
// A nominal (base 0x400000) game address moved to where the module really is.
uint32_t adjustAddress(uint32_t address);
// The address of the running build among three, or 0 for an unknown build.
uint32_t addressByVersion(uint32_t build100, uint32_t build110, uint32_t build120);

// A game reference given per build, resolved once at load to a pointer into game memory.
template <class T> struct GameAddress {
    T* pointer;
    GameAddress(uint32_t build100, uint32_t build110, uint32_t build120)
        : pointer(
              reinterpret_cast<T*>(adjustAddress(addressByVersion(build100, build110, build120)))) {
    }
    T& operator*() const { return *pointer; }
    bool known() const { return gameVersion() != GameVersion::Unknown; }
};
