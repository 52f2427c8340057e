// The demo from start to finish: window, GL context, frame loop, teardown.
#pragma once

inline constexpr const char* WINDOW_TITLE = "[Glimmerax] Whitepine Dells";

// Returns the program's exit code: the quit message's code, or when the
// window or its GL context cannot be made, the code the platform gives
// (after one line on stderr, if the platform has one to say).
int runDemo();
