// Writes 8-bit RGBA pictures as PNG files: one IHDR, one IDAT, IEND; no other chunks,
// so the same pixels always give the same bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace png_write {

// rgba holds width * height * 4 bytes, rows top to bottom. Returns the complete file.
std::vector<std::uint8_t> encode_rgba(std::span<const std::uint8_t> rgba, std::uint32_t width,
                                      std::uint32_t height);

// Encodes and writes the file; false (with errno set by the C library) when it cannot be written.
bool write_rgba_file(const std::string& path, std::span<const std::uint8_t> rgba, std::uint32_t width,
                     std::uint32_t height);

}  // namespace png_write
