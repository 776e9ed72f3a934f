#include "frame_support.h"
#include "config/hud_settings.h"
#include "host/game_version.h"
#include "host/hud_textures.h"
#include "support/plugin_session.h"
#include "wheels/screen_metrics.h"
#include "wheels/wheel_state.h"

#include <algorithm>

namespace frame_test {
namespace {

// The library detects the build once per process, on first use: it must see build 100.
class Build100First : public testing::Environment {
  public:
    void SetUp() override {
        sim::layOut(sim::Build::v100);
        ASSERT_EQ(gameVersion(), GameVersion::Build100);
    }
};
[[maybe_unused]] testing::Environment* const build100First =
    testing::AddGlobalTestEnvironment(new Build100First);

} // namespace

void WhiteBox::SetUp() {
    testing_support::removeDataFolder();
    sim::layOut(sim::Build::v100);
    hudSettings = HudSettings{};
    hudTextures = HudTextures{};
    screenMetrics = ScreenMetrics{};
    currentWeaponIndex = 0;
    constructHudSprites();
    sim::clearCalls();
}

std::string line(const sim::HostCall& call) {
    sim::HostCall withoutObject = call;
    withoutObject.object = 0;
    return sim::describe(withoutObject) + "\n";
}

std::string linesOf(std::initializer_list<std::string_view> routines) {
    std::string text;
    for (const auto& call : sim::calls())
        if (std::find(routines.begin(), routines.end(), call.routine) != routines.end())
            text += line(call);
    return text;
}

std::vector<std::string> routineNames() {
    std::vector<std::string> names;
    for (const auto& call : sim::calls())
        names.push_back(call.routine);
    return names;
}

} // namespace frame_test
