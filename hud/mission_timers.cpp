// The game's mission timer and counter, lower right: each value right-aligned on a timerbar
// background with its label to the left; the counter may be a progress bar instead. The game
// runs both and fills the record; this only draws them.
#include "config/hud_settings.h"
#include "host/host_interface.h"
#include "host/hud_textures.h"
#include "hud/hud_drawers.h"
#include "screen/units.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

HOST_PACKED_BEGIN
struct MissionTimerRecord {
    char timerKey[10]; // text-table keys; an empty key means no label
    char counterKey[10];
    int16_t counterKind; // 0 a number, otherwise a bar
    char counterValue[42];
    char timerValue[42];
    uint8_t timerShown;
    uint8_t counterShown;
    uint8_t anyShown;
};
HOST_PACKED_END
static_assert(sizeof(MissionTimerRecord) == 0x8622AD - 0x862240);

// The blink state lives in the game's own bytes, which its code reads too.
struct BlinkBytes {
    uint32_t HostAddresses::*seen;
    uint32_t HostAddresses::*count;
};
constexpr BlinkBytes timerBlink{&HostAddresses::timerSeen, &HostAddresses::timerBlink};
constexpr BlinkBytes counterBlink{&HostAddresses::counterSeen, &HostAddresses::counterBlink};

// A newly shown item blinks for about fifty frames. Gives whether to draw it this frame.
bool blinkAllowsDrawing(const BlinkBytes& bytes) {
    uint8_t& seen = host::global<uint8_t>(bytes.seen);
    uint8_t& count = host::global<uint8_t>(bytes.count);
    if (seen == 0) count = 1;
    seen = 1;
    if (count != 0) {
        count = static_cast<uint8_t>(count + 1);
        if (static_cast<int8_t>(count) > 50) count = 0;
    }
    return (host::frameCounter() & 4) != 0 || count == 0;
}

// The game's value texts need not end inside their field; convert a bounded copy.
template <size_t N> struct ValueText {
    char16_t units[N + 1];
    explicit ValueText(const char (&field)[N]) {
        char copy[N + 1];
        std::memcpy(copy, field, N);
        copy[N] = 0;
        host::asciiToHostText(copy, units);
    }
};

// The counter text as a signed decimal, read inside its field and held inside int range.
template <size_t N> int32_t readPercent(const char (&text)[N]) {
    size_t i = 0;
    while (i < N && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    const bool negative = i < N && text[i] == '-';
    if (i < N && (text[i] == '-' || text[i] == '+')) ++i;
    int64_t value = 0;
    for (; i < N && text[i] >= '0' && text[i] <= '9'; ++i)
        if (value <= INT32_MAX) value = value * 10 + (text[i] - '0');
    if (value > INT32_MAX) value = INT32_MAX;
    return static_cast<int32_t>(negative ? -value : value);
}

float valueX() {
    return host::screenWidth() - UnitX(hudSettings.MISSIONTIMERS_POS_RIGHT);
}

void setValueScale() {
    host::setTextScale(UnitX(hudSettings.MISSIONTIMERS_SCALE.x),
                       UnitY(hudSettings.MISSIONTIMERS_SCALE.y));
}

// The value's background, raised above the timer row by raise units.
void drawValueBackground(float raise) {
    const auto& s = hudSettings;
    const float w = host::screenWidth();
    const float h = host::screenHeight();
    host::drawSprite(hudTextures.mainSprites[TimerBarSprite],
                     {w - UnitX(s.MISSIONTIMERS_BG_A.x), h - UnitY(raise + s.MISSIONTIMERS_BG_B.y),
                      w - UnitX(s.MISSIONTIMERS_BG_B.x), h - UnitY(raise + s.MISSIONTIMERS_BG_A.y)},
                     s.colors.MISSIONTIMER_BG);
}

// Labels are a tenth smaller than the values, worked out in double precision.
void printLabel(const char* key, const Rgba& colour, float y) {
    const double w = host::screenWidth();
    const double h = host::screenHeight();
    const auto& scale = hudSettings.MISSIONTIMERS_SCALE;
    host::textSwitch1DA0();
    host::setTextScale(static_cast<float>(w * (scale.x - 0.1) / 640.0 * 4.0 / 3.0 / (w / h)),
                       static_cast<float>(h * (scale.y - 0.1) / 448.0));
    host::setTextColour(colour);
    const char16_t* label = host::lookupText(key);
    host::printHostText(valueX() - UnitX(hudSettings.MISSIONTIMERS_TIMER_GAP), y, label);
}

void drawTimer(const MissionTimerRecord& record) {
    const auto& s = hudSettings;
    const ValueText value(record.timerValue);
    host::textSwitch1DA0();
    host::textSwitch1CF0();
    setValueScale();
    host::setRightJustifyOn();
    host::setRightJustifyWidth(0.0f);
    host::setFont(0);
    host::textSwitch1D90();
    host::textSwitch1D30();
    host::setTextColour(s.colors.TIMER_COLOR);
    drawValueBackground(0.0f);
    const float y = host::screenHeight() - UnitY(s.MISSIONTIMERS_POS_BOTTOM);
    host::printHostText(valueX(), y, value.units);
    if (record.timerKey[0] != 0) printLabel(record.timerKey, s.colors.TIMER_COLOR, y);
}

void drawCounterNumber(const MissionTimerRecord& record) {
    const auto& s = hudSettings;
    const float gap = s.MISSIONDESCTIMERAB_GAP;
    const ValueText value(record.counterValue);
    host::textSwitch1DA0();
    host::textSwitch1CF0();
    setValueScale();
    host::textSwitch1CB0();
    host::setRightJustifyOn();
    host::setRightJustifyWidth(0.0f);
    host::setFont(0);
    host::setWrapWidth(UnitX(640.0f));
    host::textSwitch1D90();
    host::textSwitch1D30();
    drawValueBackground(gap);
    host::setTextColour(s.colors.COUNTER_COLOR);
    host::printHostText(valueX(),
                        host::screenHeight() - UnitY(gap + s.MISSIONTIMERS_POS_BOTTOM - 0.5f),
                        value.units);
}

// The fill grows from the A edge towards the B edge; past 100 percent it overshoots.
void drawCounterBar(const MissionTimerRecord& record) {
    const auto& s = hudSettings;
    const float gap = s.MISSIONDESCTIMERAB_GAP;
    const FloatPair& a = s.MISSIONTIMERBAR_BG_A;
    const FloatPair& b = s.MISSIONTIMERBAR_BG_B;
    const int32_t percent = readPercent(record.counterValue);
    drawValueBackground(gap);

    const float w = host::screenWidth();
    const float h = host::screenHeight();
    const ScreenRect bar{w - UnitX(a.x), h - UnitY(b.y + gap), w - UnitX(b.x),
                         h - UnitY(a.y + gap)};
    host::drawPlainRectangle(bar, s.colors.MISSIONTIMERBAR_BG);

    const double wd = w;
    const double fillEnd = static_cast<double>(a.x) -
                           (static_cast<double>(a.x) - static_cast<double>(b.x)) * percent / 100.0;
    const double right = wd - fillEnd * wd / 640.0 * 4.0 / 3.0 / (wd / static_cast<double>(h));
    host::drawPlainRectangle({bar.left, bar.bottom, static_cast<float>(right), bar.top},
                             s.colors.MISSIONTIMERBAR_FG);
}

} // namespace

void drawMissionTimers() {
    const auto& record = host::global<MissionTimerRecord>(&HostAddresses::missionTimerRecord);
    if (record.timerShown == 0) host::global<uint8_t>(timerBlink.seen) = 0;
    if (record.counterShown == 0) host::global<uint8_t>(counterBlink.seen) = 0;
    if (record.anyShown == 0) return;

    if (record.timerShown != 0 && blinkAllowsDrawing(timerBlink)) drawTimer(record);

    if (record.counterShown != 0 && blinkAllowsDrawing(counterBlink)) {
        if (record.counterKind == 0)
            drawCounterNumber(record);
        else
            drawCounterBar(record);
        if (record.counterKey[0] != 0)
            printLabel(record.counterKey, hudSettings.colors.COUNTER_COLOR,
                       host::screenHeight() - UnitY(hudSettings.MISSIONDESCTIMERAB_GAP +
                                                    hudSettings.MISSIONTIMERS_POS_BOTTOM));
    }
}
