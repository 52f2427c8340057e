#include "app/frame_loop.h"

int runFrameLoop(platform::Window* window, const std::function<void()>& drawOneFrame) {
    for (;;) {
        const platform::Message message = platform::takeMessage(window);
        if (message.kind == platform::MessageKind::Quit) return message.exitCode;
        if (message.kind == platform::MessageKind::None) {
            drawOneFrame();
            platform::swapBuffers(window);
            platform::sleepMs(FRAME_SLEEP_MS);
        }
    }
}
