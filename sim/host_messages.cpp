// The game's message state and its 16-bit string routines, as the simulated game keeps them.
#include "sim/host_messages.h"
#include "sim/host_data.h"

#define SIM_CDECL __attribute__((cdecl))

namespace sim {
namespace {

constexpr uint32_t textEqualRoutine = 0x529510;
constexpr uint32_t textCopyRoutine = 0x5294B0;
constexpr uint32_t textLengthRoutine = 0x529490;

constexpr uint32_t holdArray = 0x862140;
constexpr uint32_t slideArray = 0x773248;
constexpr uint32_t opacityArray = 0x862158;

constexpr uint32_t resultStepByte = 0x95CC78;
constexpr uint32_t resultPositionFloat = 0x8F1B5C;
constexpr uint32_t resultByteAddress = 0x95CC52;
constexpr uint32_t resultDelayFloat = 0x942FA0;

constexpr uint32_t helpTextAddress = 0x86B888;
constexpr uint32_t helpLastSeenAddress = 0x6E8F28;
constexpr uint32_t helpDisplayedAddress = 0x664480;
constexpr uint32_t helpStateAddress = 0x880E1C;
constexpr uint32_t helpTimerAddress = 0x880FA4;
constexpr uint32_t helpFadeAddress = 0x8F6258;
constexpr uint32_t helpDurationAddress = 0x8E2C28;
constexpr uint32_t helpSoundGateFloat = 0x6FAE48;
constexpr uint32_t helpShortenedByte = 0x95CCF7;
constexpr uint32_t subtitlesWithMenuByte = 0x5F2E54;

// Per-build option bytes: builds 100, 110, 120.
constexpr uint32_t largeMissionTitleByte[3] = {0x95CDCB, 0x95CF83, 0x96D0C3};
constexpr uint32_t helpBoxHiddenByte[3] = {0x95CD7C, 0x95CF34, 0x96D074};
constexpr uint32_t smallHelpTextByte[3] = {0x95CD1E, 0x95CED6, 0x96D016};

void setPerBuild(const uint32_t (&addresses)[3], bool on) {
    const Build build = currentBuild();
    if (build == Build::unknown) return;
    at<uint8_t>(addresses[static_cast<int>(build)]) = on ? 1 : 0;
}

HostCall textCall(const char* routine, const char16_t* text, int length) {
    HostCall call;
    call.routine = routine;
    call.numbers = {double(length)};
    for (int i = 0; text && text[i] && i < 0x1000; ++i)
        call.text += text[i];
    return call;
}

// Equal when both texts agree up to their end or up to length units.
int SIM_CDECL textEqual(const char16_t* a, const char16_t* b, int length) {
    record(textCall("hostTextEqual", a, length));
    for (int i = 0; i < length; ++i) {
        if (a[i] != b[i]) return 0;
        if (a[i] == 0) break;
    }
    return 1;
}

// Copies up to length units; the end mark is copied when it falls within them.
void SIM_CDECL textCopy(char16_t* destination, const char16_t* source, int length) {
    record(textCall("hostTextCopy", source, length));
    for (int i = 0; i < length; ++i) {
        destination[i] = source[i];
        if (source[i] == 0) break;
    }
}

int SIM_CDECL textLength(const char16_t* text) {
    int length = 0;
    while (text[length] != 0)
        ++length;
    record(textCall("hostTextLength", text, length));
    return length;
}

const HostPart messages({{textEqualRoutine, reinterpret_cast<const void*>(&textEqual)},
                         {textCopyRoutine, reinterpret_cast<const void*>(&textCopy)},
                         {textLengthRoutine, reinterpret_cast<const void*>(&textLength)}});

} // namespace

float& messageHold(int slot) {
    return at<float>(holdArray + 4 * slot);
}
float& messageSlide(int slot) {
    return at<float>(slideArray + 4 * slot);
}
float& messageOpacity(int slot) {
    return at<float>(opacityArray + 4 * slot);
}

int8_t& resultStep() {
    return at<int8_t>(resultStepByte);
}
float& resultPosition() {
    return at<float>(resultPositionFloat);
}
int8_t& resultByte() {
    return at<int8_t>(resultByteAddress);
}
float& resultDelay() {
    return at<float>(resultDelayFloat);
}

void setHelpText(const std::string& text) {
    writeHostText(helpTextAddress, text);
}
std::u16string helpText() {
    return hostTextAt(helpTextAddress);
}
std::u16string helpLastSeen() {
    return hostTextAt(helpLastSeenAddress);
}
std::u16string helpDisplayed() {
    return hostTextAt(helpDisplayedAddress);
}
int32_t& helpBoxState() {
    return at<int32_t>(helpStateAddress);
}
int32_t& helpBoxTimer() {
    return at<int32_t>(helpTimerAddress);
}
int32_t& helpBoxFade() {
    return at<int32_t>(helpFadeAddress);
}
float& helpBoxDuration() {
    return at<float>(helpDurationAddress);
}
void setHelpSoundGate(float value) {
    at<float>(helpSoundGateFloat) = value;
}
void setHelpShortened(bool on) {
    at<uint8_t>(helpShortenedByte) = on ? 1 : 0;
}

void setLargeMissionTitle(bool on) {
    setPerBuild(largeMissionTitleByte, on);
}
void setHelpBoxHidden(bool on) {
    setPerBuild(helpBoxHiddenByte, on);
}
void setSmallHelpText(bool on) {
    setPerBuild(smallHelpTextByte, on);
}
void setSubtitlesWithMenu(bool on) {
    at<uint8_t>(subtitlesWithMenuByte) = on ? 1 : 0;
}

} // namespace sim
