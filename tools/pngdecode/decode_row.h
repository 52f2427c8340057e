// The table pngdecode prints: one row per file, tab-separated.
#pragma once

#include <string>

extern const char* const DECODE_ROW_HEADER;  // "file\terror\t...\tsha256"

// Decodes the file at `path` and gives its row without a line end: the base
// name, the error code, the detail number, width, height, the format code and
// the SHA-256 of the pixel buffer, or "-" when there is none.
std::string decode_row(const std::string& path);
