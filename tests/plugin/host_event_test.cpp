// Handler lists of a host event: order, duplicates, and the one site installation.
#include "host/host_events.h"

#include <gtest/gtest.h>

#include <string>

namespace {

int installs = 0;
void countInstall(HostEvent&) {
    ++installs;
}

std::string trace;
void plainA() {
    trace += "a";
}
void plainB() {
    trace += "b";
}

TEST(HostEvent, APlainFunctionIsAddedOnceButEqualClosuresTwice) {
    HostEvent event(countInstall);
    event.addHandler(plainA);
    event.addHandler(plainA);
    EXPECT_EQ(event.afterHandlers.size(), 1u);
    event.addHandler(plainA, HandlerList::Before);
    EXPECT_EQ(event.beforeHandlers.size(), 1u) << "the rule is per list";

    int runs = 0;
    event.addHandler([&runs] { ++runs; });
    event.addHandler([&runs] { ++runs; });
    EXPECT_EQ(event.afterHandlers.size(), 3u);
}

TEST(HostEvent, TheFirstHandlerInstallsTheSiteAndNoLaterOneDoes) {
    installs = 0;
    HostEvent event(countInstall);
    EXPECT_FALSE(event.hookInstalled);
    event.addHandler(plainA);
    EXPECT_TRUE(event.hookInstalled);
    event.addHandler(plainB, HandlerList::Before);
    event.addHandler(plainA); // a duplicate installs nothing either
    EXPECT_EQ(installs, 1);
}

TEST(HostEvent, DispatchRunsBeforeHandlersThenTheGameThenAfterHandlersAndReturnsItsResult) {
    HostEvent event(countInstall);
    trace.clear();
    event.addHandler(plainA);
    event.addHandler(plainB);
    event.addHandler([] { trace += "0"; }, HandlerList::Before);
    void* const gameResult = reinterpret_cast<void*>(0x1234);
    void* result = event.dispatch([gameResult] {
        trace += "G";
        return gameResult;
    });
    EXPECT_EQ(trace, "0Gab");
    EXPECT_EQ(result, gameResult);
}

TEST(HostEvent, AHandlerMayAddHandlersWhileTheListRuns) {
    HostEvent event(countInstall);
    trace.clear();
    event.addHandler([&event] {
        trace += "x";
        event.addHandler(plainB);
    });
    for (int i = 0; i < 20; ++i)
        event.dispatch([] { return nullptr; });
    EXPECT_EQ(event.afterHandlers.size(), 2u);
    EXPECT_EQ(trace.substr(0, 4), "xbxb")
        << "a handler added while the list runs runs in that pass";
}

} // namespace
