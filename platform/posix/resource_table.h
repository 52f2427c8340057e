// How programs built for POSIX systems carry their resources: each embedded
// resource registers its bytes under its id before main runs (see
// platform/resources.cmake); findResource looks them up.
#pragma once

#include <cstdint>

namespace platform {

// Returns false when the table is full or the id is taken.
bool registerResource(int id, const void* data, std::uint32_t size);

}  // namespace platform
