#include "recorder/saved_state.h"

void StateWriter::addNumber(uint64_t value) {
    for (int byte = 0; byte < 8; ++byte) bytes_.push_back(char(value >> (8 * byte)));
}

void StateWriter::addText(std::string_view value) {
    addNumber(value.size());
    bytes_.append(value);
}

StateReader::StateReader(std::string_view bytes, std::string_view magic) {
    ok_ = bytes.substr(0, magic.size()) == magic;
    if (ok_) rest_ = bytes.substr(magic.size());
}

std::optional<uint64_t> StateReader::nextNumber() {
    if (!ok_ || rest_.size() < 8) {
        ok_ = false;
        return std::nullopt;
    }
    uint64_t value = 0;
    for (int byte = 0; byte < 8; ++byte) value |= uint64_t(uint8_t(rest_[byte])) << (8 * byte);
    rest_.remove_prefix(8);
    return value;
}

std::optional<std::string> StateReader::nextText() {
    std::optional<uint64_t> length = nextNumber();
    if (!length || *length > rest_.size()) {
        ok_ = false;
        return std::nullopt;
    }
    std::string value(rest_.substr(0, size_t(*length)));
    rest_.remove_prefix(size_t(*length));
    return value;
}
