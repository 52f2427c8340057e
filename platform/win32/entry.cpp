// The Windows entry point. The C runtime's start-up code passes the module
// handle and the show state (GetStartupInfoA's wShowWindow when its
// STARTF_USESHOWWINDOW flag is set, otherwise SW_SHOWDEFAULT); the command
// line is not used.
#include <windows.h>

#include "app/demo.h"
#include "platform/win32/startup.h"

namespace platform::win32 {

Startup startup{nullptr, SW_SHOWDEFAULT};

}  // namespace platform::win32

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showState) {
    platform::win32::startup = {instance, showState};
    return runDemo();
}
