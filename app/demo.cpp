#include "app/demo.h"

#include "app/frame.h"
#include "app/frame_loop.h"
#include "platform/platform.h"

#include <cstdio>

int runDemo() {
    Scene scene;
    LoopState loop;

    const platform::OpenResult opened = platform::openWindow(WINDOW_TITLE, FRAME_SIZE, FRAME_SIZE);
    if (opened.window == nullptr) {
        if (opened.error != nullptr) std::fprintf(stderr, "whitepine: %s\n", opened.error);
        return opened.exitCode;
    }
    setUpGlState();

    const int exitCode = runFrameLoop(opened.window, [&] { drawFrame(scene, loop); });

    // The music is not stopped: it ends with the process.
    platform::closeWindow(opened.window);
    return exitCode;
}
