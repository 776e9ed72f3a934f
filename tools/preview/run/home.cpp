#include "tools/preview/run/home.h"

namespace preview {

namespace fs = std::filesystem;

namespace {

// The first of the paths that exists, or the first when none does.
fs::path firstExisting(std::initializer_list<fs::path> paths) {
    std::error_code failure;
    for (const auto& path : paths)
        if (fs::exists(path, failure)) return path;
    return *paths.begin();
}

} // namespace

Home findHome(const fs::path& folder) {
    const fs::path release = folder.parent_path();
    Home home;
    home.folder = folder;
    home.plugin = firstExisting(
        {folder / "tarvel_hud.dll", release / "tarvel_hud.asi", release / "tarvel_hud.dll"});
    home.symbols = firstExisting({folder / "tarvel_hud.asi.debug", folder / "tarvel_hud.symbols"});
    home.shipped = firstExisting({folder / "shipped", release});
    home.scenario =
        firstExisting({folder / "shipped" / "default.scenario", folder / "default.scenario"});
    home.dictionaries = firstExisting({folder / "dictionaries", release / "tarvel_moravik"});
    return home;
}

} // namespace preview
