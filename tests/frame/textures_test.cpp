// The HUD's texture dictionaries and the game sprites that hold their textures: made by the game
// at load, filled at game start, emptied at shutdown, destroyed at unload.
#include "frame_support.h"
#include "host/hud_textures.h"
#include "sim/busy_game.h"
#include "sim/host_data.h"
#include "sim/host_radar.h"
#include "support/plugin_session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using testing::ElementsAreArray;
using testing_support::PluginSession;

// The sprites in the order the plug-in has the game construct them.
struct SpriteAddresses {
    std::vector<uint32_t> ring, radio, main, radioWheel, weaponWheel, phone;
};

// Sets of consecutive sprite objects, four bytes each, taken from the construction log.
SpriteAddresses spritesFromLog(const std::vector<sim::HostCall>& constructed) {
    SpriteAddresses s;
    size_t next = 0;
    for (auto* set : {&s.ring, &s.radio, &s.main, &s.radioWheel, &s.weaponWheel, &s.phone}) {
        const size_t count = set == &s.ring          ? 22
                             : set == &s.radio       ? 12
                             : set == &s.main        ? 5
                             : set == &s.weaponWheel ? 2
                                                     : 1;
        for (size_t i = 0; i < count && next < constructed.size(); ++i)
            set->push_back(constructed[next++].object);
    }
    return s;
}

class HudTextureSession : public testing::Test {
  protected:
    void SetUp() override {
        testing_support::removeDataFolder();
        session = std::make_unique<PluginSession>();
        constructed = sim::callsTo("spriteConstruct");
        sprites = spritesFromLog(constructed);
        sim::clearCalls();
    }
    std::vector<std::string> texturesOf(const std::vector<uint32_t>& set) {
        std::vector<std::string> names;
        for (uint32_t sprite : set)
            names.push_back(sim::textureName(sprite));
        return names;
    }
    std::vector<uint32_t> allSprites() {
        std::vector<uint32_t> all;
        for (const auto& call : constructed)
            all.push_back(call.object);
        return all;
    }
    std::unique_ptr<PluginSession> session;
    std::vector<sim::HostCall> constructed;
    SpriteAddresses sprites;
};

TEST_F(HudTextureSession, AtLoadTheGameConstructs43SpritesSetBySet) {
    ASSERT_EQ(constructed.size(), 22u + 12u + 5u + 1u + 2u + 1u);
    // Within a set the sprites lie next to each other, in index order.
    for (const auto* set : {&sprites.ring, &sprites.radio, &sprites.main, &sprites.weaponWheel})
        for (size_t i = 1; i < set->size(); ++i)
            EXPECT_EQ((*set)[i], (*set)[i - 1] + 4);
    auto all = allSprites();
    std::sort(all.begin(), all.end());
    EXPECT_EQ(std::adjacent_find(all.begin(), all.end()), all.end()) << "a sprite built twice";
    for (uint32_t sprite : allSprites())
        EXPECT_TRUE(session->inPlugin(sprite));
    EXPECT_EQ(sim::countCalls("spriteDestroy"), 0u);
}

TEST_F(HudTextureSession, AtUnloadTheGameDestroysThemInReverse) {
    session->unload();
    std::vector<uint32_t> destroyed;
    for (const auto& call : sim::callsTo("spriteDestroy"))
        destroyed.push_back(call.object);
    auto expected = allSprites();
    std::reverse(expected.begin(), expected.end());
    EXPECT_EQ(destroyed, expected);
}

TEST_F(HudTextureSession, StartLoadsThreeDictionariesFindsEveryTextureThenLoadsThePhones) {
    sim::fire(sim::Event::Start);
    const std::string folder = testing_support::gameDirectory() + "tarvel_moravik\\";
    std::vector<std::string> expected = {"load " + folder + "tarvel_iii.txd",
                                         "load " + folder + "ring_iii.txd",
                                         "load " + folder + "radio_iii.txd"};
    for (const char* name : {"blrect", "radarmask", "bar", "star", "timerbar"})
        expected.push_back(std::string("find ") + name);
    for (int i = 0; i <= 12; ++i)
        expected.push_back("find " + std::to_string(i));
    for (const char* name : {"siterocket", "pager", "sitesniper", "siteM16"})
        expected.push_back(std::string("find ") + name);
    for (int i = 0; i <= 11; ++i)
        expected.push_back("find " + std::to_string(i));
    expected.push_back("load " + folder + "phone_iii.txd");

    std::vector<std::string> actual;
    std::vector<uint32_t> handles; // of each search
    for (const auto& call : sim::calls()) {
        if (call.routine == "loadDictionary") actual.push_back("load " + call.name);
        if (call.routine == "findTexture") {
            actual.push_back("find " + call.name);
            handles.push_back(call.object);
        }
    }
    EXPECT_THAT(actual, ElementsAreArray(expected));

    // Searches 0-4 and 18-21 in one dictionary, 5-17 in a second, 22-33 in a third.
    ASSERT_EQ(handles.size(), 34u);
    const uint32_t main = handles[0], ring = handles[5], radio = handles[22];
    for (size_t i = 0; i < handles.size(); ++i) {
        const uint32_t expectedHandle = i < 5 ? main : i < 18 ? ring : i < 22 ? main : radio;
        EXPECT_EQ(handles[i], expectedHandle) << "search " << i;
    }
    EXPECT_NE(main, ring);
    EXPECT_NE(ring, radio);
    EXPECT_NE(main, radio);
}

TEST_F(HudTextureSession, StartFillsEachSpriteFromItsDictionary) {
    sim::fire(sim::Event::Start);
    std::vector<std::string> ring;
    for (int i = 0; i <= 12; ++i)
        ring.push_back("ring_iii/" + std::to_string(i));
    ring.insert(ring.end(), {"", "tarvel_iii/siterocket", "", "tarvel_iii/pager", "", "", "",
                             "tarvel_iii/sitesniper", "tarvel_iii/siteM16"});
    EXPECT_THAT(texturesOf(sprites.ring), ElementsAreArray(ring));

    std::vector<std::string> radio;
    for (int i = 0; i <= 11; ++i)
        radio.push_back("radio_iii/" + std::to_string(i));
    EXPECT_THAT(texturesOf(sprites.radio), ElementsAreArray(radio));

    EXPECT_THAT(texturesOf(sprites.main),
                ElementsAreArray({"tarvel_iii/blrect", "tarvel_iii/radarmask", "tarvel_iii/bar",
                                  "tarvel_iii/star", "tarvel_iii/timerbar"}));
    // The wheels and the phone choose their textures when they draw.
    for (const auto* set : {&sprites.radioWheel, &sprites.weaponWheel, &sprites.phone})
        for (const std::string& name : texturesOf(*set))
            EXPECT_EQ(name, "");
}

TEST_F(HudTextureSession, ATextureTheDictionaryLacksLeavesItsSpriteEmpty) {
    sim::removeTexture("ring_iii", "5");
    sim::fire(sim::Event::Start);
    EXPECT_EQ(sim::textureName(sprites.ring[5]), "");
    EXPECT_EQ(sim::textureName(sprites.ring[6]), "ring_iii/6");
}

TEST_F(HudTextureSession, ShutdownReleasesEachDictionaryOnceBeforeTheGamesCallAndEmptiesAll) {
    sim::fire(sim::Event::Start);
    const uint32_t main = sim::callsTo("findTexture")[0].object;
    const uint32_t ring = sim::callsTo("findTexture")[5].object;
    const uint32_t radio = sim::callsTo("findTexture")[22].object;
    sim::clearCalls();

    sim::fire(sim::Event::Shutdown);
    const auto released = sim::callsTo("releaseDictionary");
    ASSERT_EQ(released.size(), 4u);
    EXPECT_EQ(released[0].object, main);
    EXPECT_EQ(released[1].object, ring);
    EXPECT_EQ(released[2].object, radio);
    EXPECT_NE(released[3].object, 0u);
    EXPECT_EQ(frame_test::routineNames().back(), "callee");
    for (const char* stem : {"tarvel_iii", "ring_iii", "radio_iii", "phone_iii"}) {
        EXPECT_EQ(sim::loadCount(stem), 1) << stem;
        EXPECT_EQ(sim::releaseCount(stem), 1) << stem;
    }
    for (uint32_t sprite : allSprites())
        EXPECT_EQ(sim::textureOf(sprite), nullptr);
}

TEST_F(HudTextureSession, ASecondStartReleasesTheFirstStartsDictionariesFirst) {
    sim::fire(sim::Event::Start);
    sim::clearCalls();
    sim::fire(sim::Event::Start);
    const auto names = frame_test::routineNames();
    const auto firstLoad = std::find(names.begin(), names.end(), "loadDictionary");
    EXPECT_EQ(std::count(names.begin(), firstLoad, "releaseDictionary"), 4);
    for (const char* stem : {"tarvel_iii", "ring_iii", "radio_iii", "phone_iii"}) {
        EXPECT_EQ(sim::loadCount(stem), 2) << stem;
        EXPECT_EQ(sim::releaseCount(stem), 1) << stem;
    }
    EXPECT_EQ(sim::textureName(sprites.main[0]), "tarvel_iii/blrect");
}

TEST_F(HudTextureSession, AStartAfterShutdownReleasesNothingTwice) {
    sim::fire(sim::Event::Start);
    sim::fire(sim::Event::Shutdown);
    sim::fire(sim::Event::Start);
    for (const char* stem : {"tarvel_iii", "ring_iii", "radio_iii", "phone_iii"})
        EXPECT_EQ(sim::releaseCount(stem), 1) << stem;
    sim::fire(sim::Event::Shutdown);
    sim::fire(sim::Event::Shutdown);
    for (const char* stem : {"tarvel_iii", "ring_iii", "radio_iii", "phone_iii"}) {
        EXPECT_EQ(sim::loadCount(stem), 2) << stem;
        EXPECT_EQ(sim::releaseCount(stem), 2) << stem;
    }
}

// Frames between shutdown and the next start search no released dictionary and hand the game
// no texture of one; the simulated game fails the test on any such use.
TEST_F(HudTextureSession, FramesAfterShutdownUseNoReleasedDictionary) {
    sim::fire(sim::Event::Start);
    sim::showEverything();
    sim::setKey('P', true); // the phone out, so it draws
    sim::fire(sim::Event::HudDraw);
    sim::fire(sim::Event::PhoneDraw);
    sim::fire(sim::Event::Shutdown);
    sim::clearCalls();
    for (int frame = 0; frame < 3; ++frame) {
        sim::advanceBusyFrame();
        sim::fire(sim::Event::PhoneDraw);
        sim::fire(sim::Event::HudDraw);
    }
    sim::setKey('P', false);
    EXPECT_EQ(sim::countCalls("findTexture"), 0u);
    for (uint32_t sprite : allSprites())
        EXPECT_EQ(sim::textureOf(sprite), nullptr);

    sim::fire(sim::Event::Start);
    sim::fire(sim::Event::HudDraw);
    EXPECT_EQ(sim::textureName(sprites.weaponWheel[0]), "ring_iii/sring");
}

// White-box: the texture field of every sprite the shutdown lists.
class HudTextureFields : public frame_test::WhiteBox {};

TEST_F(HudTextureFields, ReleaseEmptiesEveryTextureFieldIncludingTheWheelsAndThePhone) {
    loadHudTextures();
    auto& t = hudTextures;
    // What the wheels and the phone would have chosen while drawing.
    int chosen = 0;
    for (HostSprite* s :
         {&t.radioWheelSprite, &t.weaponWheelSprites[0], &t.weaponWheelSprites[1], &t.phoneSprite})
        s->texture = &chosen;
    releaseHudTextures();
    for (const HostSprite& s : t.ringSprites)
        EXPECT_EQ(s.texture, nullptr);
    for (const HostSprite& s : t.radioSprites)
        EXPECT_EQ(s.texture, nullptr);
    for (const HostSprite& s : t.mainSprites)
        EXPECT_EQ(s.texture, nullptr);
    for (const HostSprite& s : t.weaponWheelSprites)
        EXPECT_EQ(s.texture, nullptr);
    EXPECT_EQ(t.radioWheelSprite.texture, nullptr);
    EXPECT_EQ(t.phoneSprite.texture, nullptr);
    // Released dictionaries are gone: no handle to them is kept.
    for (HostDictionary d :
         {t.mainDictionary, t.ringDictionary, t.radioDictionary, t.phoneDictionary})
        EXPECT_EQ(d, nullptr);
}

// On builds whose addresses are not all known nothing of build 100 is touched: no sprite is
// made, no textures are loaded, nothing is patched, no jump is written.
TEST(OtherBuilds, Builds110And120HookTheirEventsButTouchNoBuild100Address) {
    testing_support::removeDataFolder();
    for (sim::Build build : {sim::Build::v110, sim::Build::v120}) {
        sim::layOut(build);
        const auto radarBytes = sim::bytes(sim::radarToScreenRoutine, 5);
        const auto hudBytes = sim::bytes(sim::hudRoutineA, 5);
        const auto codeByte = sim::bytes(sim::hudCodeByteA, 1);
        {
            PluginSession session(build, false);
            for (sim::Event event : sim::allEvents)
                sim::fire(event);
            EXPECT_EQ(sim::bytes(sim::radarToScreenRoutine, 5), radarBytes);
            EXPECT_EQ(sim::bytes(sim::hudRoutineA, 5), hudBytes);
            EXPECT_EQ(sim::bytes(sim::hudCodeByteA, 1), codeByte);
        }
        // The game's callees ran; no routine of build 100 was called, not even at unload.
        for (const auto& call : sim::calls())
            EXPECT_EQ(call.routine, "callee") << static_cast<int>(build);
        EXPECT_EQ(sim::countCalls("callee"), std::size(sim::allEvents));
    }
}

TEST(OtherBuilds, AnUnknownBuildIsLeftUntouchedFromLoadToUnload) {
    testing_support::removeDataFolder();
    sim::layOut(sim::Build::unknown);
    const auto before = sim::snapshot();
    {
        PluginSession session(sim::Build::unknown, false);
        EXPECT_TRUE(sim::snapshot() == before);
        // The game runs every call site of every build; none leads into the plug-in.
        for (sim::Build build : sim::knownBuilds)
            for (sim::Event event : sim::allEvents)
                sim::callAt(sim::siteOf(event, build));
        EXPECT_TRUE(sim::snapshot() == before);
    }
    EXPECT_TRUE(sim::snapshot() == before);
    for (const auto& call : sim::calls())
        EXPECT_EQ(call.routine, "callee");
}

} // namespace
