// Threads on Win32; the player thread runs at time-critical priority.
#include <windows.h>

#include <new>

#include "platform/platform.h"

namespace platform {

struct Thread {
    HANDLE handle;
    void (*entry)(void*);
    void* argument;
};

namespace {

DWORD WINAPI runThread(LPVOID self) {
    auto* thread = static_cast<Thread*>(self);
    thread->entry(thread->argument);
    return 0;
}

}  // namespace

Thread* threadStart(void (*entry)(void*), void* argument) {
    auto* thread = new (std::nothrow) Thread{nullptr, entry, argument};
    if (thread == nullptr) return nullptr;
    DWORD id = 0;
    thread->handle = CreateThread(nullptr, 0, runThread, thread, 0, &id);
    if (thread->handle == nullptr) {
        delete thread;
        return nullptr;
    }
    SetThreadPriority(thread->handle, THREAD_PRIORITY_TIME_CRITICAL);
    return thread;
}

void threadJoin(Thread* thread) {
    WaitForSingleObject(thread->handle, INFINITE);
    CloseHandle(thread->handle);
    delete thread;
}

}  // namespace platform
