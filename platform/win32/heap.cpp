// The private heap: a growable Win32 heap, released in one call. Only the
// thread that loads a song allocates from it, so it needs no serialisation.
#include <windows.h>

#include "platform/platform.h"

namespace platform {

Heap* heapCreate() {
    return reinterpret_cast<Heap*>(HeapCreate(0, 0, 0));
}

void* heapAllocZeroed(Heap* heap, std::size_t bytes) {
    return HeapAlloc(reinterpret_cast<HANDLE>(heap), HEAP_ZERO_MEMORY | HEAP_NO_SERIALIZE, bytes);
}

void heapDestroy(Heap* heap) {
    if (heap != nullptr) HeapDestroy(reinterpret_cast<HANDLE>(heap));
}

}  // namespace platform
