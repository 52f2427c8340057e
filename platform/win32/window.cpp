// The window, its OpenGL context and the message queue on Win32.
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/startup.h"

namespace platform {

struct Window {
    HWND handle;
    HDC deviceContext;
    HGLRC renderingContext;
};

namespace {

// Escape and closing the window ask to quit; every other key is swallowed.
// WM_DESTROY posts no quit message: the window is only destroyed on the way out.
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        PostQuitMessage(0);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) PostQuitMessage(0);
        return 0;
    case WM_DESTROY:
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

// 24-bit RGBA colour, 16-bit depth, double buffered; every other field 0.
void CreateGlContext(HWND window, HDC& deviceContext, HGLRC& renderingContext) {
    deviceContext = GetDC(window);
    PIXELFORMATDESCRIPTOR pfd;
    ZeroMemory(&pfd, sizeof pfd);
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 24;
    pfd.cDepthBits = 16;
    const int format = ChoosePixelFormat(deviceContext, &pfd);
    SetPixelFormat(deviceContext, format, &pfd);
    renderingContext = wglCreateContext(deviceContext);
    wglMakeCurrent(deviceContext, renderingContext);
}

void ReleaseGlContext(HWND window, HDC deviceContext, HGLRC renderingContext) {
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(renderingContext);
    ReleaseDC(window, deviceContext);
}

}  // namespace

OpenResult openWindow(const char* title, int width, int height) {
    const HINSTANCE instance = win32::startup.instance;
    WNDCLASSEXA windowClass;
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = title;
    windowClass.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
    if (RegisterClassExA(&windowClass) == 0) return {nullptr, 0, nullptr};

    // Style 0 (overlapped: caption and thin border); the size is the outer size.
    const HWND handle = CreateWindowExA(0, title, title, 0, CW_USEDEFAULT, CW_USEDEFAULT, width, height,
                                        nullptr, nullptr, instance, nullptr);
    // Without a window nothing could ever post the quit message: the program
    // would run on unseen. It ends at once instead.
    if (handle == nullptr) return {nullptr, 1, nullptr};
    ShowWindow(handle, win32::startup.showState);

    auto* window = new Window{handle, nullptr, nullptr};
    CreateGlContext(handle, window->deviceContext, window->renderingContext);
    return {window, 0, nullptr};
}

Message takeMessage(Window*) {
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return {MessageKind::None, 0};
    if (message.message == WM_QUIT) return {MessageKind::Quit, static_cast<int>(message.wParam)};
    TranslateMessage(&message);
    DispatchMessageA(&message);
    return {MessageKind::Other, 0};
}

void swapBuffers(Window* window) {
    SwapBuffers(window->deviceContext);
}

void closeWindow(Window* window) {
    ReleaseGlContext(window->handle, window->deviceContext, window->renderingContext);
    DestroyWindow(window->handle);
    delete window;
}

}  // namespace platform
