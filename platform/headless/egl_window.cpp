// An offscreen "window": a desktop GL compatibility context on an EGL pbuffer
// of Mesa's surfaceless platform, which needs no display server. Nothing ever
// arrives in its message queue.
#include "platform/platform.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstdio>

namespace platform {

struct Window {
    EGLDisplay display;
    EGLSurface surface;
    EGLContext context;
};

namespace {

char lastError[160];

EGLDisplay surfacelessDisplay() {
    auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay == nullptr) return EGL_NO_DISPLAY;
    return getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
}

OpenResult failure(const char* what, EGLDisplay display) {
    std::snprintf(lastError, sizeof lastError, "%s (EGL error 0x%04x)", what,
                  static_cast<unsigned>(eglGetError()));
    if (display != EGL_NO_DISPLAY) eglTerminate(display);
    return {nullptr, 1, lastError};
}

}  // namespace

OpenResult openWindow(const char*, int width, int height) {
    EGLDisplay display = surfacelessDisplay();
    if (display == EGL_NO_DISPLAY || eglInitialize(display, nullptr, nullptr) != EGL_TRUE)
        return failure("cannot open an offscreen EGL display", EGL_NO_DISPLAY);
    if (eglBindAPI(EGL_OPENGL_API) != EGL_TRUE) return failure("no desktop OpenGL through EGL", display);

    const EGLint configAttributes[] = {
        EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
        EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_DEPTH_SIZE, 16,
        EGL_NONE,
    };
    EGLConfig config;
    EGLint configCount = 0;
    if (eglChooseConfig(display, configAttributes, &config, 1, &configCount) != EGL_TRUE || configCount < 1)
        return failure("no EGL configuration for an offscreen OpenGL surface", display);

    const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    EGLSurface surface = eglCreatePbufferSurface(display, config, surfaceAttributes);
    if (surface == EGL_NO_SURFACE) return failure("cannot create an offscreen surface", display);

    const EGLint contextAttributes[] = {
        EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE,
    };
    EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
    if (context == EGL_NO_CONTEXT) return failure("cannot create an OpenGL context", display);
    if (eglMakeCurrent(display, surface, surface, context) != EGL_TRUE)
        return failure("cannot make the OpenGL context current", display);
    return {new Window{display, surface, context}, 0, nullptr};
}

Message takeMessage(Window*) { return {MessageKind::None, 0}; }

void swapBuffers(Window* window) { eglSwapBuffers(window->display, window->surface); }

void closeWindow(Window* window) {
    eglMakeCurrent(window->display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(window->display, window->context);
    eglDestroySurface(window->display, window->surface);
    // The display stays initialised: EGL hands out this same display for the
    // whole process, and terminating it unloads Mesa's driver, which then
    // leaves a few of its allocations behind.
    delete window;
}

}  // namespace platform
