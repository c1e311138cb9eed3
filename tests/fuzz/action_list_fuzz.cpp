// Any bytes as "actionlist.000": a list that loads comes back the same after
// a save and a load; the readable records of a damaged one are never more
// than its bytes can hold.

#include "database/action_list.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RecordTextScratch scratch;  // each input's texts go with it
    std::string_view bytes = fileBytes(data, size);
    std::vector<ActionRecord> readable = readableActionRecords(bytes);
    require(readable.size() <= size / 81);
    ParsedActionList parsed = parseActionList(bytes);
    if (parsed.damaged) return 0;
    require(parsed.records.size() <= readable.size());
    std::string saved = serializeActionList(parsed.records);
    ParsedActionList loaded = parseActionList(saved);
    require(!loaded.damaged && loaded.records.size() == parsed.records.size());
    require(serializeActionList(loaded.records) == saved);
    return 0;
}
