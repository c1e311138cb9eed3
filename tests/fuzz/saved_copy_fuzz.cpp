// Any bytes as a saved copy: one block decodes within the output the restore
// gives it; the whole copy decodes to at most eight bytes per byte read, the
// same in memory as streamed block by block, and its start for a preview is
// the start of that; and the encoder gives any content back.

#include <vector>

#include "engine/saved_copy_start.h"
#include "monitor/saved_copy.h"
#include "monitor/saved_copy_reader.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes = fileBytes(data, size);
    std::vector<uint8_t> out(8 * size + 1);
    std::optional<size_t> block = decodeBlock({data, size}, out);
    require(!block || *block <= out.size());

    std::optional<std::string> whole = decodeSavedCopy(bytes);
    require(!whole || whole->size() <= 8 * size);
    MemorySource source(bytes);
    SavedCopyReader reader(source, size);
    std::string streamed;
    if (reader.readTotal())
        while (reader.next()) streamed.append(reinterpret_cast<const char*>(reader.output().data()), reader.output().size());
    require(whole.has_value() == reader.complete());
    require(!whole || streamed == *whole);
    SavedCopyStart start = readSavedCopyStart(bytes, 16);
    require(start.complete == whole.has_value());
    require(!whole || start.start == whole->substr(0, 16));

    size_t blockSize = 1 + (size == 0 ? 0 : data[0] % 64);
    require(decodeSavedCopy(encodeSavedCopy(bytes, BlockMethod::Compressed, blockSize)) == std::string(bytes));
    return 0;
}
