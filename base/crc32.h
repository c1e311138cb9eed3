#pragma once
// CRC-32 of IEEE 802.3: reflected polynomial 0xEDB88320, all ones before,
// complemented after.

#include <cstddef>
#include <cstdint>

// A missing buffer or a length of 0 gives 0xFFFFFFFF, not the standard's 0
// for empty input.
uint32_t crc32(const void* bytes, size_t length);
