// The headless backend has no sound device: songs do not start.
#include "platform/platform.h"

namespace platform {

struct PcmOutput {};

PcmOutput* pcmOpen() {
    return nullptr;
}

bool pcmStart(PcmOutput*, const void*, std::uint32_t) {
    return false;
}

std::uint32_t pcmPosition(PcmOutput*) {
    return 0;
}

void pcmClose(PcmOutput*) {}

}  // namespace platform
