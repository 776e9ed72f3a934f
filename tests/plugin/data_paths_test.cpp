#include "host/data_paths.h"
#include "host/error_box.h"
#include "host/screen_text.h"
#include "sim/sim.h"
#include "support/plugin_session.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(DataPaths, TheGameDirectoryEndsAtTheLastSeparatorOfEitherKind) {
    EXPECT_EQ(directoryOf("C:\\Games\\Host\\host.exe"), "C:\\Games\\Host\\");
    EXPECT_EQ(directoryOf("C:\\Games/Host/host.exe"), "C:\\Games/Host/");
    EXPECT_EQ(directoryOf("C:/Games\\Host\\host.exe"), "C:/Games\\Host\\");
    EXPECT_EQ(directoryOf("host.exe"), "host.exe");
}

TEST(DataPaths, AFullPathIsTheGameDirectoryFollowedByTheName) {
    const std::string dir = gameDirectory();
    EXPECT_EQ(dir, testing_support::gameDirectory());
    EXPECT_EQ(std::string(dataPath("tarvel_moravik\\phone_iii.txd")),
              dir + "tarvel_moravik\\phone_iii.txd");
}

TEST(DataPaths, ALongNameIsNeitherCutNorWrittenPastItsStorage) {
    const std::string longName = "tarvel_moravik\\" + std::string(400, 'd') + "\\tarvel_III.ini";
    const std::string first = dataPath(longName.c_str());
    EXPECT_EQ(first, std::string(gameDirectory()) + longName);
    EXPECT_EQ(std::string(dataPath("x")), std::string(gameDirectory()) + "x")
        << "each call overwrites the shared result";
}

// The game's loader takes 8-bit text in the system code page, which may lack letters of the
// game folder's name.
TEST(DataPaths, TheGamesLoaderGetsTheFullPathElseAnAsciiShortNameElseAPathFromTheCurrentFolder) {
    const std::wstring game = L"C:\\Игры\\Tarvel\\";
    const auto form = [&](PathCandidates candidates) {
        return chooseLoaderDirectory(game, candidates);
    };
    const LoaderDirectory full =
        form({"C:\\\xC8\xE3\xF0\xFB\\Tarvel\\", L"C:\\IGRY~1\\TARVEL\\", L"C:\\"});
    EXPECT_EQ(full.form, LoaderPathForm::Full);
    EXPECT_EQ(full.text, "C:\\\xC8\xE3\xF0\xFB\\Tarvel\\");

    const LoaderDirectory shortName = form({"", L"C:\\IGRY~1\\TARVEL", L"C:\\"});
    EXPECT_EQ(shortName.form, LoaderPathForm::Short);
    EXPECT_EQ(shortName.text, "C:\\IGRY~1\\TARVEL\\");

    // A short name the system made of the folder's own letters is no help either.
    const LoaderDirectory relative = form({"", L"C:\\ИГРЫ~1\\TARVEL\\", L"c:/игры/tarvel"});
    EXPECT_EQ(relative.form, LoaderPathForm::Relative);
    EXPECT_EQ(relative.text, "");

    EXPECT_EQ(form({"", L"", L"C:\\Игры\\"}).form, LoaderPathForm::None);
    EXPECT_EQ(form({"", L"", L""}).form, LoaderPathForm::None);
}

TEST(DataPaths, AnErrorTextIsAlwaysTerminatedWithinItsBuffer) {
    const std::string huge(5000, 'e');
    const std::string text = formatError("%s", huge.c_str());
    EXPECT_EQ(text.size(), 1023u);
    EXPECT_EQ(std::string(formatError("FILESYSTEM\n%d", 7)), "FILESYSTEM\n7");
}

TEST(PrintText, BytesReachTheGameWidenedWithoutSignExtension) {
    sim::layOut(sim::Build::v100);
    printText("caf\xE9 \x7F\x80", 12.5f, 40.0f);
    const auto prints = sim::callsTo("printText");
    ASSERT_EQ(prints.size(), 1u);
    EXPECT_EQ(prints[0].text, std::u16string(u"caf\u00E9 \u007F\u0080"));
    EXPECT_EQ(prints[0].numbers, (std::vector<double>{12.5, 40.0}));
}

} // namespace
