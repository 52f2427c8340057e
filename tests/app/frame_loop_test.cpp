// The frame loop and the demo's start and end, against the scripted fake
// window. In the traces, '-' is an empty queue, '|' a presented frame, 'E'
// 'C' 'K' 'M' the events taken and 'Q' the quit message.
#include "app/demo.h"
#include "app/frame_loop.h"
#include "platform/fake/fake_window.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::fake::Event;

struct LoopRun {
    int exitCode;
    int framesDrawn;
    std::string trace;
};

LoopRun runScript() {
    const platform::OpenResult opened = platform::openWindow("test", 600, 600);
    EXPECT_NE(opened.window, nullptr);
    int framesDrawn = 0;
    const int exitCode = runFrameLoop(opened.window, [&] { ++framesDrawn; });
    platform::closeWindow(opened.window);
    return {exitCode, framesDrawn, platform::fake::trace()};
}

class FrameLoop : public testing::Test {
protected:
    void SetUp() override { platform::fake::reset(); }
};

TEST_F(FrameLoop, EscapeEndsTheLoopOnTheNextIterationWithoutAFrame) {
    platform::fake::queueEvent(Event::EscapeKey);
    const LoopRun run = runScript();
    EXPECT_EQ(run.trace, "EQ");
    EXPECT_EQ(run.framesDrawn, 0);
    EXPECT_EQ(run.exitCode, 0);
}

TEST_F(FrameLoop, ClosingTheWindowEndsTheLoopAfterTheFramesSoFar) {
    platform::fake::queueEvent(Event::Close, 2);
    const LoopRun run = runScript();
    EXPECT_EQ(run.trace, "-|-|CQ");
    EXPECT_EQ(run.framesDrawn, 2);
    EXPECT_EQ(run.exitCode, 0);
}

TEST_F(FrameLoop, OtherKeysAreSwallowed) {
    platform::fake::queueEvent(Event::OtherKey);
    platform::fake::queueEvent(Event::OtherKey, 1);
    platform::fake::queueEvent(Event::EscapeKey, 3);
    const LoopRun run = runScript();
    EXPECT_EQ(run.trace, "K-|K-|-|EQ");
    EXPECT_EQ(run.framesDrawn, 3);
}

TEST_F(FrameLoop, WaitingMessagesAreTakenOnePerIterationAndHoldBackFrames) {
    for (int i = 0; i < 5; ++i) platform::fake::queueEvent(Event::MouseMove, 1);
    platform::fake::queueEvent(Event::EscapeKey, 2);
    const LoopRun run = runScript();
    EXPECT_EQ(run.trace, "-|MMMMM-|EQ");
    EXPECT_EQ(run.framesDrawn, 2);
}

TEST_F(FrameLoop, TheQuitMessageComesAfterTheMessagesAlreadyWaiting) {
    platform::fake::queueEvent(Event::EscapeKey);
    platform::fake::queueEvent(Event::MouseMove);
    platform::fake::queueEvent(Event::Close);
    const LoopRun run = runScript();
    // Escape and close both ask to quit; one quit message ends the loop, and
    // no frame is drawn in between although the quit is pending.
    EXPECT_EQ(run.trace, "EMCQ");
    EXPECT_EQ(run.framesDrawn, 0);
}

class Demo : public FrameLoop {};

TEST_F(Demo, WithoutAWindowPrintsOneLineAndFails) {
    platform::fake::failNextOpen();
    testing::internal::CaptureStderr();
    const int exitCode = runDemo();
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(exitCode, 1);
    EXPECT_EQ(printed.rfind("whitepine: ", 0), 0u) << printed;
    ASSERT_FALSE(printed.empty());
    EXPECT_EQ(printed.find('\n'), printed.size() - 1) << printed;
    EXPECT_EQ(platform::fake::trace(), "");
}

TEST_F(Demo, EscapeExitsWithZeroAndClosesTheWindow) {
    platform::fake::queueEvent(Event::EscapeKey);
    EXPECT_EQ(runDemo(), 0);
    EXPECT_EQ(platform::fake::trace(), "EQ");
    EXPECT_FALSE(platform::fake::windowOpen());
}

}  // namespace
