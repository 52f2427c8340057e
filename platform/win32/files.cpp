// Read-only files over Win32 file handles.
#include <windows.h>

#include <new>

#include "platform/platform.h"

namespace platform {

struct File {
    HANDLE handle;
};

File* fileOpen(const char* path) {
    const HANDLE handle = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    auto* file = new (std::nothrow) File{handle};
    if (file == nullptr) CloseHandle(handle);
    return file;
}

void fileSeek(File* file, std::uint32_t offset) {
    // With the high half given, the low half counts as unsigned: every 32-bit offset is reachable.
    LONG high = 0;
    SetFilePointer(file->handle, static_cast<LONG>(offset), &high, FILE_BEGIN);
}

std::uint32_t fileRead(File* file, void* destination, std::uint32_t bytes) {
    DWORD read = 0;
    if (!ReadFile(file->handle, destination, bytes, &read, nullptr)) return 0;
    return read;
}

void fileClose(File* file) {
    if (file == nullptr) return;
    CloseHandle(file->handle);
    delete file;
}

}  // namespace platform
