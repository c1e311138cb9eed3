#include "database/record_text.h"

#include <cstring>
#include <memory>
#include <mutex>
#include <ostream>
#include <unordered_map>
#include <vector>

namespace {

// Texts lie in blocks of 1 MiB that never move, addressed in 4-byte units:
// block at >> 18, unit at & 0x3FFFF. A text is its length (4 bytes), its
// bytes and a zero byte, padded to whole units, within one block; a text
// too long for a block gets consecutive blocks of its own, so the same
// addressing finds all of it. The top bit of an index tells a scratch
// store's texts from the shared store's; 2^31 units make 8 GiB of text.
constexpr unsigned unitShift = 2;
constexpr unsigned blockShift = 18;
constexpr uint32_t blockUnits = 1u << blockShift;
constexpr size_t blockBytes = size_t(blockUnits) << unitShift;
constexpr size_t blockCount = size_t(1) << (31 - blockShift);
constexpr uint32_t scratchBit = 0x80000000u;

// Registry value data is mostly a few bytes that many records repeat (a
// DWORD, a flag), each costing a 12-byte text of its own, and registry paths
// repeat as program paths do: such texts are stored once, up to so many
// different ones, so that a history of ever new ones costs no more than a
// map of bounded size.
constexpr size_t shortText = 8;
constexpr size_t textsShared = 1u << 16;

}  // namespace

struct RecordTextStore {
    // Written only under `lock`, never moved; a reader reads only the
    // blocks of texts it was handed, which were in place before the text.
    std::vector<char*> blocks = std::vector<char*>(blockCount);
    std::mutex lock;
    uint32_t nextBlock = 0;
    uint32_t fill = blockUnits;  // units used in the newest block; full until there is one
    size_t bytes = 0;
    std::unordered_map<std::string_view, uint32_t> interned;
    size_t sharedCount = 0;  // texts other than interned ones in `interned`
    std::string_view lastInterned;
    uint32_t lastInternedAt = 0;
    std::vector<std::unique_ptr<char[]>> owned;

    RecordTextStore() {
        // Unit 0 of block 0 stays unused: index 0 is the empty text.
        startBlock(1);
        fill = 1;
    }

    char* startBlock(uint32_t count) {
        if (nextBlock + count > blockCount) throw std::bad_alloc();
        owned.push_back(std::make_unique_for_overwrite<char[]>(count * blockBytes));
        char* start = owned.back().get();
        for (uint32_t i = 0; i < count; ++i) blocks[nextBlock + i] = start + i * blockBytes;
        nextBlock += count;
        fill = blockUnits;
        bytes += count * blockBytes;
        return start;
    }

    uint32_t store(std::string_view text) {
        const size_t units = (4 + text.size() + 1 + 3) >> unitShift;
        uint32_t at;
        if (units > blockUnits) {
            at = nextBlock << blockShift;
            startBlock(uint32_t((units + blockUnits - 1) >> blockShift));
        } else {
            if (fill + units > blockUnits) {
                startBlock(1);
                fill = 0;
            }
            at = (nextBlock - 1) << blockShift | fill;
            fill += uint32_t(units);
        }
        char* place = address(at);
        const uint32_t size = uint32_t(text.size());
        std::memcpy(place, &size, 4);
        std::memcpy(place + 4, text.data(), text.size());
        place[4 + text.size()] = '\0';
        return at;
    }

    // Under `lock`.
    uint32_t intern(std::string_view text) {
        // Records of one program come in runs: most look-ups ask for the last.
        if (text == lastInterned) return lastInternedAt;
        auto found = interned.find(text);
        if (found == interned.end()) {
            const uint32_t at = store(text);
            found = interned.emplace(std::string_view(address(at) + 4, text.size()), at).first;
        }
        lastInterned = found->first;
        lastInternedAt = found->second;
        return found->second;
    }

    // Under `lock`.
    uint32_t share(std::string_view text) {
        if (auto found = interned.find(text); found != interned.end()) return found->second;
        const uint32_t at = store(text);
        if (sharedCount < textsShared) {
            interned.emplace(std::string_view(address(at) + 4, text.size()), at);
            ++sharedCount;
        }
        return at;
    }

    // Under `lock`: a short text once, a longer one anew.
    uint32_t storeOrShare(std::string_view text) { return text.size() <= shortText ? share(text) : store(text); }

    char* address(uint32_t at) const { return blocks[at >> blockShift] + (size_t(at & (blockUnits - 1)) << unitShift); }
};

namespace {

RecordTextStore& sharedStore() {
    static RecordTextStore* store = new RecordTextStore;  // never destroyed: records may outlive any static
    return *store;
}

thread_local RecordTextStore* scratchStore = nullptr;
thread_local bool sharedStoreHeld = false;  // by a RecordTextBulk of this thread

const char* address(uint32_t at) {
    return at & scratchBit ? scratchStore->address(at & ~scratchBit) : sharedStore().address(at);
}

}  // namespace

RecordTextScratch::RecordTextScratch() : outer_(scratchStore) { scratchStore = new RecordTextStore; }

RecordTextScratch::~RecordTextScratch() {
    delete scratchStore;
    scratchStore = outer_;
}

RecordTextBulk::RecordTextBulk() : scratch_(scratchStore) {
    if (scratch_ || sharedStoreHeld) return;
    sharedStore().lock.lock();
    sharedStoreHeld = held_ = true;
}

RecordTextBulk::~RecordTextBulk() {
    if (!held_) return;
    sharedStoreHeld = false;
    sharedStore().lock.unlock();
}

RecordText RecordTextBulk::stored(std::string_view text) const {
    if (text.empty()) return {};
    return RecordText(scratch_ ? scratch_->store(text) | scratchBit : sharedStore().storeOrShare(text));
}

RecordText RecordTextBulk::interned(std::string_view text) const {
    if (text.empty()) return {};
    return RecordText(scratch_ ? scratch_->store(text) | scratchBit : sharedStore().intern(text));
}

RecordText RecordTextBulk::shared(std::string_view text) const {
    if (text.empty()) return {};
    return RecordText(scratch_ ? scratch_->store(text) | scratchBit : sharedStore().share(text));
}

RecordText::RecordText(std::string_view text) {
    if (!text.empty()) at_ = RecordTextBulk().stored(text).at_;
}

RecordText RecordText::interned(std::string_view text) {
    return text.empty() ? RecordText() : RecordTextBulk().interned(text);
}

RecordText RecordText::shared(std::string_view text) {
    return text.empty() ? RecordText() : RecordTextBulk().shared(text);
}

const char* RecordText::data() const {
    static const char empty = '\0';
    return at_ == 0 ? &empty : address(at_) + 4;
}

size_t RecordText::size() const {
    if (at_ == 0) return 0;
    uint32_t size;
    std::memcpy(&size, address(at_), 4);
    return size;
}

std::string_view RecordText::view() const {
    if (at_ == 0) return {};
    const char* place = address(at_);
    uint32_t size;
    std::memcpy(&size, place, 4);
    return {place + 4, size};
}

std::ostream& operator<<(std::ostream& out, const RecordText& text) { return out << text.view(); }

size_t recordTextBytesStored() {
    RecordTextStore& store = sharedStore();
    RecordTextBulk held;
    return store.bytes;
}
