#include "tools/preview/scenario/scenario_player.h"
#include "tools/preview/check/layout_check.h"
#include "tools/preview/scenario/element_of_call.h"
#include "tools/preview/scenario/radar_map.h"

#include "sim/game_life.h"
#include "sim/host_cameras.h"
#include "sim/host_clock.h"
#include "sim/host_data.h"
#include "sim/host_messages.h"
#include "sim/host_names.h"
#include "sim/host_panels.h"
#include "sim/host_preview.h"
#include "sim/host_timers.h"
#include "sim/sim.h"
#include "windows/windows_paths.h"

#include <windows.h>

#include <algorithm>
#include <cmath>

namespace preview {

const Image* DictionaryTextures::find(const std::string& name) {
    const sim::Texture* texture = sim::loadedTexture(name);
    if (!texture) return nullptr;
    auto cached = cache_.find(texture);
    if (cached == cache_.end()) {
        Image image(texture->width, texture->height);
        image.pixels = texture->rgba;
        cached = cache_.emplace(texture, std::move(image)).first;
    }
    return &cached->second;
}

namespace {

// A file of the data folder beside this program, the game directory the plug-in reads from, as
// the game's 8-bit file calls take it: the folder's short form spells it in any characters.
std::string dataFilePath(const std::string& name) {
    std::wstring folder = modulePath();
    folder.erase(folder.find_last_of(L"\\/") + 1);
    const std::wstring brief = shortPath(folder);
    if (!brief.empty()) folder = brief;
    // A folder the code page cannot spell is one the game could not open a file of either.
    return inCodePage(folder).value_or("") + "tarvel_moravik\\" + name;
}

class Player {
  public:
    explicit Player(const PlayOptions& options)
        : options_(options), replay_(
                                 *options.fonts,
                                 [&textures = *options.textures](const std::string& name) {
                                     return textures.find(name);
                                 },
                                 [](const sim::HostCall& call, Image& canvas) {
                                     if (call.routine == "radarDrawMap") drawRadarMap(canvas);
                                 }) {}

    // The textures the plug-in looked up at start, by the rasters the render state may get.
    void nameRasters() {
        const auto searches = sim::callsTo("findTexture");
        for (const auto& search : searches) {
            const sim::Texture* texture = sim::searchTexture(search.object, search.name);
            if (texture)
                replay_.nameRaster(sim::rasterOf(texture),
                                   texture->dictionary + "/" + texture->name);
        }
        noteMissingTextures(searches);
        sim::clearCalls();
    }

    bool run(const Step& step, std::string& error);

  private:
    void frame();
    // Each texture the calls looked up that the game's dictionary lacks, once.
    void noteMissingTextures(const std::vector<sim::HostCall>& calls) {
        auto* missing = options_.missingTextures;
        if (!missing) return;
        for (const auto& call : calls) {
            if (call.routine != "findTexture") continue;
            const std::string name = sim::dictionaryName(call.object) + "/" + call.name;
            if (!sim::loadedTexture(name) &&
                std::find(missing->begin(), missing->end(), name) == missing->end())
                missing->push_back(name);
        }
    }
    bool capture(const std::string& name, std::string& error);

    const PlayOptions& options_;
    FrameReplay replay_;
    TextState stateBeforeLast_;
    std::vector<sim::HostCall> lastFrame_;
    int stepMilliseconds_ = 20;
    uint32_t frames_ = 0;
};

void Player::frame() {
    sim::advanceClock(static_cast<uint32_t>(stepMilliseconds_));
    sim::setFrameCounter(++frames_);
    sim::clearCalls();
    // In the order of their call sites in the game's frame.
    sim::fire(sim::Event::PhoneDraw);
    sim::fire(sim::Event::HudDraw);
    sim::fire(sim::Event::ReloadKey);
    lastFrame_ = sim::calls();
    noteMissingTextures(lastFrame_);
    stateBeforeLast_ = replay_.textState();
    replay_.play(lastFrame_, nullptr);
}

bool Player::capture(const std::string& name, std::string& error) {
    Image canvas;
    if (options_.capture) canvas = backdrop(options_.width, options_.height);
    CaptureLayout layout{name, options_.width, options_.height, {}, {}};
    FrameReplay replay = replay_;
    replay.setTextState(stateBeforeLast_);
    replay.play(lastFrame_, options_.capture ? &canvas : nullptr,
                options_.layout ? &layout.boxes : nullptr);
    if (options_.capture && !options_.capture(name, canvas)) {
        error = "capture " + name + " was not written";
        return false;
    }
    if (options_.layout) {
        checkLayout(layout);
        if (!options_.layout(layout)) {
            error = "the layout of capture " + name + " was refused";
            return false;
        }
    }
    return true;
}

bool Player::run(const Step& step, std::string& error) {
    const auto& n = step.numbers;
    auto integer = [&](size_t i) { return i < n.size() ? static_cast<int64_t>(n[i]) : 0; };
    switch (step.command) {
    case Command::Screen:
        break;
    case Command::Step:
        stepMilliseconds_ = static_cast<int>(integer(0));
        sim::setTimeStep(static_cast<float>(stepMilliseconds_) * 50.0f / 1000.0f);
        break;
    case Command::Frames:
        for (int64_t i = 0; i < integer(0); ++i)
            frame();
        break;
    case Command::Wait:
        for (int64_t waited = 0; waited < integer(0); waited += stepMilliseconds_)
            frame();
        break;
    case Command::Press:
    case Command::Release:
        sim::setKey(static_cast<int>(integer(0)), step.command == Command::Press);
        break;
    case Command::MouseWheel:
        sim::setMouseWheel(integer(0) != 0, integer(1) != 0);
        break;
    case Command::Cash:
        sim::setCash(static_cast<int32_t>(integer(0)));
        break;
    case Command::Wanted:
        sim::setWantedLevel(static_cast<uint32_t>(integer(0)), sim::clockNow());
        break;
    case Command::Health:
        sim::setHealth(static_cast<float>(n[0]));
        break;
    case Command::Armour:
        sim::setArmour(static_cast<float>(n[0]));
        break;
    case Command::Weapon:
        sim::setWeapon(static_cast<int>(integer(0)), static_cast<int32_t>(integer(1)),
                       static_cast<uint32_t>(integer(2)), static_cast<uint32_t>(integer(3)));
        break;
    case Command::CurrentWeapon:
        sim::setCurrentWeapon(static_cast<int>(integer(0)));
        break;
    case Command::Magazine:
        sim::setMagazineSize(static_cast<int>(integer(0)), static_cast<uint32_t>(integer(1)));
        break;
    case Command::Vehicle:
        sim::setVehicle(!step.off, static_cast<int8_t>(step.off ? 0 : integer(0)));
        break;
    case Command::Radio:
        sim::setRadioAvailable(integer(0) != 0);
        break;
    case Command::Area:
        sim::setAreaName(step.text);
        break;
    case Command::VehicleName:
        sim::setVehicleName(step.text);
        break;
    case Command::TimeOfDay:
        sim::setTimeOfDay(static_cast<uint8_t>(integer(0)), static_cast<uint8_t>(integer(1)));
        break;
    case Command::Timer:
        if (step.off)
            sim::hideMissionTimer();
        else
            sim::showMissionTimer(step.key, step.text);
        break;
    case Command::Counter:
        if (step.off)
            sim::hideMissionCounter();
        else
            sim::showMissionCounter(step.key, step.text);
        break;
    case Command::CounterBar:
        if (step.off)
            sim::hideMissionCounter();
        else
            sim::showMissionCounter(step.key, std::to_string(integer(0)), sim::CounterKind::Bar);
        break;
    case Command::Label:
        sim::setTableText(step.key, step.text);
        break;
    case Command::Message:
        sim::setMessage(static_cast<int>(integer(0)), step.text);
        break;
    case Command::Help:
        sim::setHelpText(step.text);
        break;
    case Command::Subtitle:
        sim::setSubtitle(step.text);
        break;
    case Command::Pager:
        sim::setPagerText(step.text);
        break;
    case Command::Camera:
        sim::setCamera(0, static_cast<int16_t>(integer(0)), sim::playerActorAddress());
        sim::setActiveCamera(0);
        break;
    case Command::MouseAim:
        sim::setMouseAimEnabled(integer(0) != 0);
        break;
    case Command::Aim:
        sim::setAimPoint(static_cast<float>(n[0]), static_cast<float>(n[1]));
        break;
    case Command::Hud:
        sim::setHudShown(integer(0) != 0);
        break;
    case Command::Clock:
        sim::setClock(static_cast<uint32_t>(integer(0)));
        break;
    case Command::LoadSave:
        sim::loadSavedGame(static_cast<uint32_t>(integer(0)));
        break;
    case Command::Lock:
        sim::lockFile(dataFilePath(step.text));
        break;
    case Command::Unlock:
        sim::unlockFile(dataFilePath(step.text));
        break;
    case Command::Capture:
        return capture(step.text, error);
    }
    return true;
}

} // namespace

bool playScenario(const Scenario& scenario, const PlayOptions& options, std::string& error) {
    sim::layOut(sim::Build::v100);
    sim::setScreenSize(options.width, options.height);
    HMODULE plugin = LoadLibraryA("tarvel_hud.dll");
    if (!plugin) {
        error = "tarvel_hud.dll could not be loaded";
        return false;
    }
    if (options.layout) {
        if (!startNamingElements(plugin, error)) {
            FreeLibrary(plugin);
            return false;
        }
        sim::setCallerNamer(elementOfCall);
    }
    bool played = true;
    {
        Player player(options);
        sim::fire(sim::Event::Start);
        player.nameRasters();
        sim::fire(sim::Event::RadarPatch);
        sim::clearCalls();
        for (const Step& step : scenario.steps) {
            if (!player.run(step, error)) {
                played = false;
                break;
            }
        }
        sim::fire(sim::Event::Shutdown);
    }
    sim::setCallerNamer(nullptr);
    stopNamingElements();
    FreeLibrary(plugin);
    sim::releaseAllKeys();
    return played;
}

} // namespace preview
