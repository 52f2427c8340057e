// The private heap: a growable arena of chunks, released in one step.
// Allocations are never freed one by one, so a bump pointer is all it needs.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/platform.h"

namespace platform {

namespace {

struct Chunk {
    Chunk* previous;
    std::size_t size;  // usable bytes after the header
    std::size_t used;
};

constexpr std::size_t CHUNK_BYTES = 256 * 1024;
constexpr std::size_t ALIGNMENT = alignof(std::max_align_t);
constexpr std::size_t HEADER_BYTES = (sizeof(Chunk) + ALIGNMENT - 1) / ALIGNMENT * ALIGNMENT;

std::byte* payload(Chunk* chunk) {
    return reinterpret_cast<std::byte*>(chunk) + HEADER_BYTES;
}

}  // namespace

struct Heap {
    Chunk* last = nullptr;
};

Heap* heapCreate() {
    return new (std::nothrow) Heap{};
}

void* heapAllocZeroed(Heap* heap, std::size_t bytes) {
    if (bytes > SIZE_MAX / 2) return nullptr;
    const std::size_t rounded = (bytes + ALIGNMENT - 1) / ALIGNMENT * ALIGNMENT;
    Chunk* chunk = heap->last;
    if (chunk == nullptr || chunk->size - chunk->used < rounded) {
        // A large block gets a chunk of its own, linked in behind the current
        // one so that the current chunk's free space stays in use.
        const bool own = rounded > CHUNK_BYTES / 4;
        const std::size_t size = own ? rounded : CHUNK_BYTES;
        void* memory = std::malloc(HEADER_BYTES + size);
        if (memory == nullptr) return nullptr;
        if (own && heap->last != nullptr) {
            chunk = new (memory) Chunk{heap->last->previous, size, 0};
            heap->last->previous = chunk;
        } else {
            chunk = new (memory) Chunk{heap->last, size, 0};
            heap->last = chunk;
        }
    }
    std::byte* block = payload(chunk) + chunk->used;
    chunk->used += rounded;
    std::memset(block, 0, rounded);
    return block;
}

void heapDestroy(Heap* heap) {
    if (heap == nullptr) return;
    Chunk* chunk = heap->last;
    while (chunk != nullptr) {
        Chunk* previous = chunk->previous;
        std::free(chunk);
        chunk = previous;
    }
    delete heap;
}

}  // namespace platform
