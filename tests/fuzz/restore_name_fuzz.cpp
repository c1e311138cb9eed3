// Any path, with its first few restore names taken: the name found keeps the
// path's folder and extension, fits a path, and is one that was free.

#include "base/paths.h"
#include "engine/restore_name.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    std::string_view path = fileBytes(data + 1, size - 1);
    PathStem parts = splitExtension(path);
    require(std::string(parts.stem) + std::string(parts.extension) == path);
    int taken = data[0] % 8, asked = 0;
    std::string name = makeRestoreName(path, restoreSuffix, [&](const std::string&) { return asked++ < taken; });
    if (name.empty()) return 0;
    require(name.size() <= 259 && asked == taken + 1);
    require(name.starts_with(parts.stem) && name.ends_with(parts.extension));
    return 0;
}
