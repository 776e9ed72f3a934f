#include "sim/sim.h"
#include "sim/host_state.h"

#include <windows.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>

namespace sim {
namespace {

struct EventSites {
    Event event;
    uint32_t site[3]; // builds 100, 110, 120
};

constexpr EventSites eventSites[] = {
    {Event::Start, {0x48D52F, 0x48D62F, 0x48D5BF}},
    {Event::HudDraw, {0x48E420, 0x48E4E0, 0x48E470}},
    {Event::PhoneDraw, {0x48E126, 0x48E1E6, 0x48E176}},
    {Event::RadarPatch, {0x50838D, 0x50846D, 0x5083FD}},
    {Event::Shutdown, {0x48D540, 0x48D640, 0x48D5D0}},
    {Event::ReloadKey, {0x48E49B, 0x48E55B, 0x48E4EB}},
};

constexpr uint32_t probes[3] = {0x5C1E70, 0x5C2130, 0x5C6FD0};
constexpr uint8_t probeBytes[4] = {0x55, 0x89, 0xE5, 0x53};

Build build = Build::unknown;

struct RegisteredPart {
    std::vector<HostRoutine> routines;
    void (*reset)();
};
std::vector<RegisteredPart>& registeredParts() {
    static std::vector<RegisteredPart> parts;
    return parts;
}
std::vector<HostCall> log;
std::vector<std::string> faultList;
bool recordingOn = true;
void (*faultHandler)(const std::string&) = nullptr;
std::string (*callerNamer)() = nullptr;

uint32_t calleeValue(size_t eventIndex, size_t buildIndex) {
    return 0xC0DE0000u + static_cast<uint32_t>(eventIndex * 16 + buildIndex);
}

// One host callee per call site, so a test sees which one ran.
template <size_t EventIndex, size_t BuildIndex> uint32_t __attribute__((cdecl)) hostCallee() {
    HostCall call;
    call.routine = "callee";
    call.object = eventSites[EventIndex].site[BuildIndex];
    record(std::move(call));
    return calleeValue(EventIndex, BuildIndex);
}

template <size_t EventIndex, size_t... B>
constexpr std::array<const void*, 3> calleesOf(std::index_sequence<B...>) {
    return {reinterpret_cast<const void*>(&hostCallee<EventIndex, B>)...};
}

template <size_t... E> constexpr auto allCallees(std::index_sequence<E...>) {
    return std::array<std::array<const void*, 3>, sizeof...(E)>{
        calleesOf<E>(std::make_index_sequence<3>{})...};
}

const auto callees = allCallees(std::make_index_sequence<std::size(eventSites)>{});

void writeBranch(uint32_t address, uint8_t opcode, const void* target) {
    auto* p = reinterpret_cast<uint8_t*>(address);
    const auto displacement = reinterpret_cast<uint32_t>(target) - address - 5;
    p[0] = opcode;
    std::memcpy(p + 1, &displacement, 4);
}

size_t buildIndex(Build b) {
    return static_cast<size_t>(b);
}

size_t eventIndex(Event event) {
    for (size_t i = 0; i < std::size(eventSites); ++i)
        if (eventSites[i].event == event) return i;
    return 0;
}

std::string narrow(const std::u16string& text) {
    std::string out;
    for (char16_t unit : text)
        out += unit < 0x80 ? static_cast<char>(unit) : '?';
    return out;
}

} // namespace

void layOut(Build newBuild) {
    build = newBuild;
    faultList.clear();
    recordingOn = true;
    std::memset(reinterpret_cast<void*>(imageStart), 0, imageEnd - imageStart);
    log.clear();
    releaseAllKeys();

    if (newBuild != Build::unknown)
        std::memcpy(reinterpret_cast<void*>(probes[buildIndex(newBuild)]), probeBytes, 4);

    for (size_t e = 0; e < std::size(eventSites); ++e) {
        for (size_t b = 0; b < 3; ++b) {
            const uint32_t site = eventSites[e].site[b];
            writeBranch(site, 0xE8, callees[e][b]);
            reinterpret_cast<uint8_t*>(site)[5] = 0xC3;
        }
    }
    layOutHostRoutines();
    resetHostState();
    for (const auto& part : registeredParts()) {
        for (const auto& routine : part.routines)
            installRoutine(routine.address, routine.function);
        if (part.reset) part.reset();
    }
}

Build currentBuild() {
    return build;
}

uint32_t siteOf(Event event, Build b) {
    if (b == Build::unknown) return 0;
    return eventSites[eventIndex(event)].site[buildIndex(b)];
}

uint32_t siteOf(Event event) {
    return siteOf(event, build);
}

uint32_t calleeResult(Event event) {
    return build == Build::unknown ? 0 : calleeValue(eventIndex(event), buildIndex(build));
}

uint32_t callAt(uint32_t address) {
    using HostCode = uint32_t(__attribute__((cdecl))*)();
    return reinterpret_cast<HostCode>(address)();
}

uint32_t fire(Event event) {
    const uint32_t site = siteOf(event);
    return site ? callAt(site) : 0;
}

const std::vector<HostCall>& calls() {
    return log;
}
void clearCalls() {
    log.clear();
}
void record(HostCall call) {
    if (!recordingOn) return;
    for (double number : call.numbers) {
        if (!std::isfinite(number)) {
            reportFault("a non-finite number: " + describe(call));
            break;
        }
    }
    if (callerNamer) call.caller = callerNamer();
    log.push_back(std::move(call));
}

void setRecording(bool on) {
    recordingOn = on;
}
bool recording() {
    return recordingOn;
}

void setCallerNamer(std::string (*namer)()) {
    callerNamer = namer;
}

void setFaultHandler(void (*handler)(const std::string&)) {
    faultHandler = handler;
}
const std::vector<std::string>& faults() {
    return faultList;
}
void clearFaults() {
    faultList.clear();
}
void reportFault(const std::string& fault) {
    faultList.push_back(fault);
    if (faultHandler) faultHandler(fault);
}

bool checkReadable(const void* pointer, size_t size, const char* what) {
    if (!recordingOn) return pointer != nullptr;
    const auto* p = static_cast<const uint8_t*>(pointer);
    const uint8_t* end = p + size;
    bool readable = pointer != nullptr;
    while (readable && p < end) {
        MEMORY_BASIC_INFORMATION info{};
        if (VirtualQuery(p, &info, sizeof info) == 0 || info.State != MEM_COMMIT ||
            (info.Protect & (PAGE_NOACCESS | PAGE_GUARD)) != 0) {
            readable = false;
            break;
        }
        p = static_cast<const uint8_t*>(info.BaseAddress) + info.RegionSize;
    }
    if (!readable) {
        char text[128];
        std::snprintf(text, sizeof text, "an unreadable pointer %p for %s", pointer, what);
        reportFault(text);
    }
    return readable;
}

std::vector<HostCall> callsTo(std::string_view routine) {
    std::vector<HostCall> found;
    for (const auto& call : log)
        if (call.routine == routine) found.push_back(call);
    return found;
}

size_t countCalls(std::string_view routine) {
    return callsTo(routine).size();
}

std::string describe(const HostCall& call) {
    std::string line = call.routine + "(";
    char buffer[64];
    const char* separator = "";
    if (call.object) {
        std::snprintf(buffer, sizeof buffer, "@%08X", static_cast<unsigned>(call.object));
        line += buffer;
        separator = ", ";
    }
    for (double n : call.numbers) {
        std::snprintf(buffer, sizeof buffer, "%s%.3f", separator, n);
        line += buffer;
        separator = ", ";
    }
    if (!call.name.empty()) {
        line += separator + ("'" + call.name + "'");
        separator = ", ";
    }
    if (!call.text.empty()) {
        line += separator + ("\"" + narrow(call.text) + "\"");
        separator = ", ";
    }
    if (call.hasColour) {
        std::snprintf(buffer, sizeof buffer, "%srgba(%u %u %u %u)", separator, call.colour.r,
                      call.colour.g, call.colour.b, call.colour.a);
        line += buffer;
    }
    return line + ")";
}

std::string describeAll() {
    std::string text;
    for (const auto& call : log)
        text += describe(call) + "\n";
    return text;
}

HostPart::HostPart(std::initializer_list<HostRoutine> routines, void (*reset)()) {
    registeredParts().push_back({routines, reset});
}

void installRoutine(uint32_t address, const void* function) {
    writeBranch(address, 0xE9, function);
}

std::vector<uint8_t> bytes(uint32_t address, size_t count) {
    const auto* p = reinterpret_cast<const uint8_t*>(address);
    return {p, p + count};
}

std::vector<uint8_t> snapshot() {
    return bytes(imageStart, imageEnd - imageStart);
}

void fillRecognisable(uint32_t address, size_t count) {
    // INT3 padding: executing it by mistake stops the test loudly.
    std::memset(reinterpret_cast<void*>(address), 0xCC, count);
}

void setKey(int virtualKey, bool down) {
    BYTE state[256];
    GetKeyboardState(state);
    state[virtualKey & 0xFF] = down ? 0x80 : 0;
    SetKeyboardState(state);
}

void releaseAllKeys() {
    BYTE state[256] = {};
    SetKeyboardState(state);
}

} // namespace sim
