// The window, its GL context and the message queue on SDL2.
//
// SDL's event queue stands in for the window's message queue. Escape and the
// window's close button post a quit message, which (as on Windows) is a flag
// the queue hands out as the quit message once no other event is waiting.
#include "platform/platform.h"

#include <SDL.h>

#include <cstdlib>
#include <string>

namespace platform {

struct Window {
    SDL_Window* window;
    SDL_GLContext context;
    bool quitPosted;
};

namespace {

std::string lastError;

OpenResult failure(const char* what, SDL_Window* window) {
    lastError = std::string(what) + ": " + SDL_GetError();
    if (window != nullptr) SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return {nullptr, 1, lastError.c_str()};
}

bool postsQuit(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:  // also SIGINT and SIGTERM: the demo ends as with Escape
            return true;
        case SDL_WINDOWEVENT:
            return event.window.event == SDL_WINDOWEVENT_CLOSE;
        case SDL_KEYDOWN:
            return event.key.keysym.sym == SDLK_ESCAPE;
        default:
            return false;
    }
}

// Which display system to open. Left alone, SDL falls back on drivers that
// show nothing (and some print to stderr while probing), so unless the user
// names a driver in SDL_VIDEODRIVER, the demo opens the display the environment
// names or none at all.
const char* displayDriver() {
    if (std::getenv("SDL_VIDEODRIVER") != nullptr) return nullptr;
    if (std::getenv("DISPLAY") != nullptr) return "x11";
    if (std::getenv("WAYLAND_DISPLAY") != nullptr) return "wayland";
    return "";
}

}  // namespace

OpenResult openWindow(const char* title, int width, int height) {
    const char* driver = displayDriver();
    if (driver != nullptr && *driver == '\0') {
        lastError = "cannot open a display: neither DISPLAY nor WAYLAND_DISPLAY is set";
        return {nullptr, 1, lastError.c_str()};
    }
    if (driver != nullptr) SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        lastError = std::string("cannot open a display: ") + SDL_GetError();
        return {nullptr, 1, lastError.c_str()};
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);

    SDL_Window* window = SDL_CreateWindow(title, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                          width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    if (window == nullptr) return failure("cannot create the window", nullptr);
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (context == nullptr) return failure("cannot create an OpenGL context", window);
    SDL_GL_MakeCurrent(window, context);
    // Frames are paced by the frame loop's sleep, not by the display.
    SDL_GL_SetSwapInterval(0);
    return {new Window{window, context, false}, 0, nullptr};
}

Message takeMessage(Window* window) {
    SDL_Event event;
    if (SDL_PollEvent(&event) != 0) {
        if (postsQuit(event)) window->quitPosted = true;
        return {MessageKind::Other, 0};
    }
    if (window->quitPosted) {
        window->quitPosted = false;
        return {MessageKind::Quit, 0};
    }
    return {MessageKind::None, 0};
}

void swapBuffers(Window* window) { SDL_GL_SwapWindow(window->window); }

void closeWindow(Window* window) {
    SDL_GL_MakeCurrent(window->window, nullptr);
    SDL_GL_DeleteContext(window->context);
    SDL_DestroyWindow(window->window);
    delete window;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

}  // namespace platform
