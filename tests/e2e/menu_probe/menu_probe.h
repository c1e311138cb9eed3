#pragma once
// What passes between a test and menu_probe.dll loaded into the program under
// test. The test allocates a block in the program: its capacity in bytes as a
// 32-bit number, then room for that many bytes of listing. It runs the
// exported function there in a thread of its own, with the block's address as
// the argument; the thread's exit code is the result.

#include <cstddef>
#include <cstdint>

// DWORD WINAPI listOpenMenu(void* block): finds the pop-up menu that the
// program shows and writes its listing (menu_listing.h) after the capacity.
// Returns the listing's length, having written nothing when it exceeds the
// capacity, or menuProbeNoOpenMenu when the program shows no pop-up menu.
inline constexpr char menuProbeExport[] = "listOpenMenu";
inline constexpr uint32_t menuProbeNoOpenMenu = UINT32_MAX;
inline constexpr size_t menuProbeListingOffset = sizeof(uint32_t);
