// Read-only files over the C library's stdio.
#include <cstdio>

#include "platform/platform.h"

namespace platform {

struct File {
    std::FILE* stream;
};

File* fileOpen(const char* path) {
    std::FILE* stream = std::fopen(path, "rb");
    if (stream == nullptr) return nullptr;
    return new File{stream};
}

void fileSeek(File* file, std::uint32_t offset) {
    // fseek takes a long; offsets above LONG_MAX would wrap on 32-bit longs,
    // so seek in steps that always fit.
    std::rewind(file->stream);
    constexpr std::uint32_t stride = 0x40000000;
    while (offset > stride) {
        std::fseek(file->stream, static_cast<long>(stride), SEEK_CUR);
        offset -= stride;
    }
    std::fseek(file->stream, static_cast<long>(offset), SEEK_CUR);
}

std::uint32_t fileRead(File* file, void* destination, std::uint32_t bytes) {
    return static_cast<std::uint32_t>(std::fread(destination, 1, bytes, file->stream));
}

void fileClose(File* file) {
    if (file == nullptr) return;
    std::fclose(file->stream);
    delete file;
}

}  // namespace platform
