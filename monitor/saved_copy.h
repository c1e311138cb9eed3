#pragma once
// Saved copies: the earlier content of a deleted or overwritten file, kept in
// the Undo Bin as a 4-byte total followed by blocks, each stored or
// compressed, each decodable by itself.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// Decodes one block. `block` starts at the method byte and holds the L bytes
// that the block's length field counts. Returns the bytes written to `out`,
// or nothing when the block is damaged (shorter than its 4-byte header, a
// back-reference before the start of the output or of distance 0, a flag
// word or reference cut short, output past `out`). Bytes of `out` beyond the
// returned count are left as they were.
std::optional<size_t> decodeBlock(std::span<const uint8_t> block, std::span<uint8_t> out);

enum class BlockMethod { Stored, Compressed };

// Writes a saved copy of `content` (under 4 GiB, as the total is 32 bits)
// that decodeSavedCopy reads back, in blocks of at most `blockSize` bytes of
// content each. A compressed block that would not come out smaller than its
// content is stored instead. Empty content gives the total alone.
std::string encodeSavedCopy(std::string_view content, BlockMethod method = BlockMethod::Compressed,
                            size_t blockSize = 32768);
