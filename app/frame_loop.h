// The frame loop: one message per iteration, a frame whenever the queue is empty.
#pragma once

#include "platform/platform.h"

#include <functional>

// Frames are paced by this sleep after each buffer swap; there is no clock.
inline constexpr unsigned FRAME_SLEEP_MS = 10;

// Runs until the quit message is taken and returns the exit code it carries.
// While messages are waiting no frame is drawn, and none after the quit.
int runFrameLoop(platform::Window* window, const std::function<void()>& drawOneFrame);
