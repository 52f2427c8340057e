#include <windows.h>

#include "platform/platform.h"

namespace platform {

void sleepMs(unsigned milliseconds) {
    Sleep(milliseconds);
}

}  // namespace platform
