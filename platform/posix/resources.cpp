#include "platform/platform.h"
#include "platform/posix/resource_table.h"

namespace platform {

namespace {

struct Entry {
    int id;
    Resource resource;
};

// Zero-initialised before any registration runs, whatever the order of the
// static initialisers.
constexpr int MAX_RESOURCES = 16;
Entry entries[MAX_RESOURCES];
int entryCount;

}  // namespace

bool registerResource(int id, const void* data, std::uint32_t size) {
    if (entryCount == MAX_RESOURCES || findResource(id).data != nullptr) return false;
    entries[entryCount++] = Entry{id, Resource{data, size}};
    return true;
}

Resource findResource(int id) {
    for (int i = 0; i < entryCount; ++i) {
        if (entries[i].id == id) return entries[i].resource;
    }
    return Resource{nullptr, 0};
}

}  // namespace platform
