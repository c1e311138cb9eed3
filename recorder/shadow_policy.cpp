#include "recorder/shadow_policy.h"

#include <algorithm>

#include "base/paths.h"
#include "base/text.h"

namespace {
bool isSettingsFile(std::string_view path) {
    static const char* const extensions[] = {".ini", ".cfg", ".conf", ".config", ".json", ".xml", ".inf"};
    std::string_view extension = splitExtension(fileNameOf(path)).extension;
    return std::any_of(std::begin(extensions), std::end(extensions),
                       [&](const char* known) { return equalsIgnoreCase(extension, known); });
}
}  // namespace

ShadowClass shadowClassOf(std::string_view path, uint64_t size) {
    if (isSettingsFile(path)) return size <= largestShadowedSettingsFile ? ShadowClass::Settings : ShadowClass::None;
    return size <= largestShadowedDocument ? ShadowClass::Document : ShadowClass::None;
}

ShadowBudget::ShadowBudget(uint64_t undoBinSize) {
    limit_[int(ShadowClass::Settings)] = undoBinSize / 20;
    limit_[int(ShadowClass::Document)] = undoBinSize / 10;
}

bool ShadowBudget::take(ShadowClass shadowClass, uint64_t bytes) {
    uint64_t& used = used_[int(shadowClass)];
    if (shadowClass == ShadowClass::None || bytes > limit_[int(shadowClass)] - used) return false;
    used += bytes;
    return true;
}

void ShadowBudget::give(ShadowClass shadowClass, uint64_t bytes) {
    uint64_t& used = used_[int(shadowClass)];
    used -= std::min(used, bytes);
}

uint64_t ShadowBudget::used(ShadowClass shadowClass) const { return used_[int(shadowClass)]; }
