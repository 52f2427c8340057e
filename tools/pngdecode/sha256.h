// SHA-256 (FIPS 180-4) of a byte block, as lower-case hex.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

std::string sha256_hex(const uint8_t* data, size_t size);
