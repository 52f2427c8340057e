// Raw-data resources of the running program (linked in from a .rc file).
#include <windows.h>

#include "platform/platform.h"

namespace platform {

Resource findResource(int id) {
    const HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), RT_RCDATA);
    if (found == nullptr) return {nullptr, 0};
    const DWORD size = SizeofResource(nullptr, found);
    const HGLOBAL loaded = LoadResource(nullptr, found);
    return {LockResource(loaded), size};
}

}  // namespace platform
