// What the start-up code hands to WinMain, kept for the window backend.
#pragma once

#include <windows.h>

namespace platform::win32 {

struct Startup {
    HINSTANCE instance;
    int showState;  // how the window is first shown, as the start-up code asks
};

// Set by WinMain before the program runs; SW_SHOWDEFAULT until then.
extern Startup startup;

}  // namespace platform::win32
