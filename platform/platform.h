// The platform layer: everything the demo takes from the operating system.
// Code above this header is the same on every platform; each backend
// (win32/, sdl/, headless/, fake/) implements the window part; posix/ and
// win32/ implement the rest.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// ---- Window, GL 1.1 context, message queue -------------------------------

struct Window;

// What taking one message from the queue produced.
enum class MessageKind {
    None,   // the queue was empty: time to draw a frame
    Quit,   // the quit message (posted by Escape or closing the window) was taken
    Other,  // some other message was taken and dispatched
};

struct Message {
    MessageKind kind;
    int exitCode;  // for Quit: the code the quit message carries, the program's exit code
};

// Outcome of opening the window.
struct OpenResult {
    Window* window;     // null on failure
    int exitCode;       // what the program returns when window is null
    const char* error;  // one line for stderr when window is null, or null to stay silent
};

// Opens the fixed-size window with the given title, shows it and makes a GL
// compatibility context (24-bit colour, 16-bit depth, double buffered)
// current on it. The frame loop's sleep paces the frames: the SDL backend
// turns vertical sync off, the Win32 one leaves the driver's setting.
OpenResult openWindow(const char* title, int width, int height);

// Takes at most one message from the queue and dispatches it. Escape and
// closing the window post a quit message, which a later call takes; every
// other key is swallowed.
Message takeMessage(Window* window);

void swapBuffers(Window* window);

// Releases the GL context, then destroys the window.
void closeWindow(Window* window);

void sleepMs(unsigned milliseconds);

// ---- Looping PCM output --------------------------------------------------

// 48000 Hz, 2 channels, 16-bit signed little-endian, left first.
inline constexpr unsigned PCM_RATE = 48000;

struct PcmOutput;

// Opens the default output device; null when there is none.
PcmOutput* pcmOpen();
// Hands the device one buffer that it plays from the start in an endless
// loop; the buffer must stay valid until pcmClose. False when it cannot play.
bool pcmStart(PcmOutput* output, const void* buffer, std::uint32_t bytes);
// Bytes played since pcmStart (keeps counting across loops, modulo 2^32).
std::uint32_t pcmPosition(PcmOutput* output);
// Stops the sound, releases the buffer and closes the device.
void pcmClose(PcmOutput* output);

// ---- Embedded resources --------------------------------------------------

struct Resource {
    const void* data;  // null when the program has no such resource
    std::uint32_t size;
};

// Raw-data resource `id` of the running program.
Resource findResource(int id);

// ---- Files (read only) ---------------------------------------------------

struct File;

File* fileOpen(const char* path);  // null when it cannot be opened
void fileSeek(File* file, std::uint32_t offset);  // absolute, from the start
std::uint32_t fileRead(File* file, void* destination, std::uint32_t bytes);  // bytes read
void fileClose(File* file);

// ---- Private heap --------------------------------------------------------

struct Heap;

Heap* heapCreate();  // null when it cannot be made
void* heapAllocZeroed(Heap* heap, std::size_t bytes);  // null when exhausted
void heapDestroy(Heap* heap);  // frees every allocation at once

// ---- Threads -------------------------------------------------------------

struct Thread;

// Starts `entry(argument)` on a new thread at the highest priority the
// platform grants; null when no thread could be made.
Thread* threadStart(void (*entry)(void*), void* argument);
void threadJoin(Thread* thread);  // waits for the thread to end and releases it

}  // namespace platform
