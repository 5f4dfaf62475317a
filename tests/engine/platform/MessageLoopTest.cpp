// Message loop on a headless window: event order against the idle frame, waiting, timers, closing.
#include "engine/platform/MessageLoop.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/platform/VirtualKeys.hpp"

namespace {

using namespace ad::platform;

WindowEvent Key(int key) {
    return WindowEvent{EventKind::KeyDown, key, 0, 0, MouseButton::Left};
}
WindowEvent Move(int x, int y) {
    return WindowEvent{EventKind::MouseMove, 0, x, y, MouseButton::Left};
}
WindowEvent Click(MouseButton button, int x, int y) {
    return WindowEvent{EventKind::MouseDown, 0, x, y, button};
}
WindowEvent CloseRequest() {
    return WindowEvent{EventKind::Close, 0, 0, 0, MouseButton::Left};
}

// A loop whose handlers write what happened into one log, so order can be asserted at a glance.
class MessageLoopTest : public ::testing::Test {
protected:
    MessageLoopTest() : window(640, 480), ticks(10000), loop(window, ticks) {
        loop.On().keyDown = [this](int key) { log.push_back("key " + std::to_string(key)); };
        loop.On().mouseMove = [this](int x, int y) {
            log.push_back("move " + std::to_string(x) + "," + std::to_string(y));
        };
        loop.On().mouseDown = [this](MouseButton button, int x, int y) {
            const char* name = button == MouseButton::Left    ? "left"
                               : button == MouseButton::Right ? "right"
                                                              : "mid";
            log.push_back(std::string("down ") + name + " " + std::to_string(x) + "," + std::to_string(y));
        };
        loop.On().close = [this] {
            log.push_back("close");
            loop.Terminate();
        };
    }

    // Idle frames that each take `frameMs` and ask to be called again at once.
    void ContinuousFrames(uint32_t frameMs) {
        loop.On().idle = [this, frameMs](bool& done) {
            log.push_back("idle");
            ticks.Advance(frameMs);
            done = false;
        };
    }

    int AddLoggingTimer(uint32_t interval, const std::string& name) {
        return loop.AddTimer(interval,
                             [this, name] { log.push_back(name + " @" + std::to_string(ticks.Ticks())); });
    }

    HeadlessWindow window;
    ManualTicks ticks;
    MessageLoop loop;
    std::vector<std::string> log;
};

using Log = std::vector<std::string>;

TEST_F(MessageLoopTest, EveryPendingEventIsDispatchedBeforeTheIdleFrame) {
    ContinuousFrames(1);
    window.PushEvent(Key(vk::Up));
    window.PushEvent(Move(5, 7));
    window.PushEvent(Click(MouseButton::Right, 9, 11));
    EXPECT_TRUE(loop.RunOnce());
    EXPECT_EQ(log, (Log{"key 38", "move 5,7", "down right 9,11", "idle"}));
}

TEST_F(MessageLoopTest, IdleThatLeavesDoneFalseRunsAgainAtOnce) {
    ContinuousFrames(1);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(loop.RunOnce());
    EXPECT_EQ(log, (Log{"idle", "idle", "idle"}));
    EXPECT_EQ(window.WaitCount(), 0);
}

TEST_F(MessageLoopTest, IdleThatIsDoneWaitsForTheNextEventAndDispatchesIt) {
    loop.On().idle = [this](bool&) { log.push_back("idle"); };
    window.SetWaitHook([this](uint32_t) { window.PushEvent(Key(vk::Space)); });
    EXPECT_TRUE(loop.RunOnce());
    EXPECT_EQ(window.WaitCount(), 1);
    EXPECT_EQ(window.LastWaitTimeout(), kWaitForever) << "no timer is running, so nothing limits the wait";
    EXPECT_EQ(log, (Log{"idle", "key 32"}));
}

TEST_F(MessageLoopTest, WithoutIdleHandlerTheLoopWaits) {
    EXPECT_TRUE(loop.RunOnce());
    EXPECT_EQ(window.WaitCount(), 1);
}

TEST_F(MessageLoopTest, CloseCallsTheHandlerAndEndsTheTurnBeforeIdle) {
    ContinuousFrames(1);
    window.PushEvent(Key(vk::KeyA));
    window.PushEvent(CloseRequest());
    window.PushEvent(Key(vk::KeyD));
    EXPECT_FALSE(loop.RunOnce());
    EXPECT_EQ(log, (Log{"key 65", "close"}));
    EXPECT_FALSE(loop.RunOnce());
    EXPECT_EQ(log.size(), 2u);
}

TEST_F(MessageLoopTest, CloseWithoutHandlerEndsTheLoop) {
    loop.On().close = nullptr;
    window.PushEvent(CloseRequest());
    EXPECT_FALSE(loop.RunOnce());
    EXPECT_TRUE(loop.Terminated());
}

TEST_F(MessageLoopTest, RunRepeatsTurnsUntilTerminated) {
    int frames = 0;
    loop.On().idle = [&](bool& done) {
        done = false;
        if (++frames == 5)
            loop.Terminate();
    };
    loop.Run();
    EXPECT_EQ(frames, 5);
}

TEST_F(MessageLoopTest, TimerFiresBetweenFramesAtItsIntervalFromEnabling) {
    ContinuousFrames(100);
    const int timer = AddLoggingTimer(250, "tick");
    EXPECT_FALSE(loop.TimerEnabled(timer)) << "timers start disabled, as the form's timer is designed";
    loop.SetTimerEnabled(timer, true); // at 10000: due at 10250, then every 250 from when it fired
    for (int i = 0; i < 7; ++i)
        loop.RunOnce();
    EXPECT_EQ(log,
              (Log{"idle", "idle", "idle", "tick @10300", "idle", "idle", "idle", "tick @10600", "idle"}));
}

TEST_F(MessageLoopTest, DisabledTimerDoesNotFireAndCanStopItself) {
    ContinuousFrames(500);
    const int idle = AddLoggingTimer(100, "never");
    int fired = 0;
    int selfStopping = -1;
    selfStopping = loop.AddTimer(400, [&] {
        if (++fired == 2)
            loop.SetTimerEnabled(selfStopping, false);
    });
    loop.SetTimerEnabled(selfStopping, true);
    for (int i = 0; i < 10; ++i)
        loop.RunOnce();
    EXPECT_EQ(fired, 2);
    EXPECT_FALSE(loop.TimerEnabled(selfStopping));
    EXPECT_FALSE(loop.TimerEnabled(idle));
    for (const std::string& entry : log)
        EXPECT_EQ(entry.find("never"), std::string::npos);
}

TEST_F(MessageLoopTest, TimerEnabledFromAHandlerCountsFromThen) {
    ContinuousFrames(100);
    const int timer = AddLoggingTimer(1000, "tick");
    loop.On().keyDown = [&](int) { loop.SetTimerEnabled(timer, true); };
    loop.RunOnce();
    loop.RunOnce(); // 10200
    window.PushEvent(Key(vk::F1));
    for (int i = 0; i < 12; ++i)
        loop.RunOnce();
    EXPECT_EQ(std::count(log.begin(), log.end(), "tick @11200"), 1) << "enabled at 10200";
}

TEST_F(MessageLoopTest, ReenablingARunningTimerKeepsItsCount) {
    ContinuousFrames(100);
    const int timer = AddLoggingTimer(300, "tick");
    loop.SetTimerEnabled(timer, true);
    loop.RunOnce();
    loop.RunOnce();
    loop.SetTimerEnabled(timer, true);
    loop.RunOnce();
    loop.RunOnce();
    EXPECT_EQ(log, (Log{"idle", "idle", "idle", "tick @10300", "idle"}));
}

TEST_F(MessageLoopTest, WaitEndsAtTheNextTimerWhichThenFires) {
    loop.On().idle = [this](bool&) { log.push_back("idle"); };
    window.SetWaitHook([this](uint32_t timeout) { ticks.Advance(timeout); });
    const int slow = AddLoggingTimer(1000, "slow");
    const int fast = AddLoggingTimer(300, "fast");
    loop.SetTimerEnabled(slow, true);
    loop.SetTimerEnabled(fast, true);
    ticks.Advance(100);
    loop.RunOnce();
    EXPECT_EQ(window.LastWaitTimeout(), 200u);
    loop.RunOnce();
    EXPECT_EQ(log, (Log{"idle", "fast @10300", "idle"}));
    EXPECT_EQ(window.LastWaitTimeout(), 300u);
}

TEST_F(MessageLoopTest, TimerDueAcrossTheTickCounterWrapFiresOnTime) {
    ticks.Set(0xFFFFFF00u);
    ContinuousFrames(100);
    const int timer = AddLoggingTimer(1000, "tick");
    loop.SetTimerEnabled(timer, true); // due at 0x2E8 = 744 after the wrap
    for (int i = 0; i < 12; ++i)
        loop.RunOnce();
    EXPECT_EQ(std::count(log.begin(), log.end(), "tick @744"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "idle"), 12);
    EXPECT_EQ(log.size(), 13u);
}

TEST_F(MessageLoopTest, TimerAddedFromACallbackDoesNotDisturbTheRunningOne) {
    ContinuousFrames(100);
    int added = -1;
    const int timer = loop.AddTimer(100, [&] {
        if (added < 0) {
            for (int i = 0; i < 20; ++i)
                added = AddLoggingTimer(100, "added");
            loop.SetTimerEnabled(added, true);
        }
        log.push_back("first");
    });
    loop.SetTimerEnabled(timer, true);
    loop.RunOnce();
    loop.RunOnce();
    loop.RunOnce();
    EXPECT_EQ(std::count(log.begin(), log.end(), "first"), 2);
    EXPECT_EQ(std::count(log.begin(), log.end(), "added @10200"), 1);
}

} // namespace
