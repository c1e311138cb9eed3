#include "base/crc32.h"

#include <array>

namespace {

using CrcTable = std::array<uint32_t, 256>;

const CrcTable& crcTable() {
    // Built on first use; a function-local static is initialised once, safely.
    static const CrcTable table = [] {
        CrcTable built{};
        for (uint32_t n = 0; n < built.size(); ++n) {
            uint32_t value = n;
            for (int bit = 0; bit < 8; ++bit) value = value & 1 ? 0xEDB88320u ^ (value >> 1) : value >> 1;
            built[n] = value;
        }
        return built;
    }();
    return table;
}

}  // namespace

uint32_t crc32(const void* bytes, size_t length) {
    if (bytes == nullptr || length == 0) return 0xFFFFFFFFu;
    const CrcTable& table = crcTable();
    const auto* byte = static_cast<const uint8_t*>(bytes);
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < length; ++i) crc = table[(crc ^ byte[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}
