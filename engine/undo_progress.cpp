#include "engine/undo_progress.h"

const char* const undoFailedMessage =
    "Unable to Undo the file. This happens when the file has been changed after the action the Undo was "
    "attempted on.";

namespace {
constexpr size_t filesNamed = 20;

std::string withThousandsSeparators(size_t number) {
    std::string digits = std::to_string(number);
    for (size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
    return digits;
}
}  // namespace

std::string undoProgressText(size_t done, size_t total, std::string_view fileName) {
    const std::string name(fileName);
    if (total <= 1) return "Undoing " + name + "...";
    return "Undoing " + withThousandsSeparators(done) + " of " + withThousandsSeparators(total) + ": " + name + "...";
}

std::string undoFailuresText(std::span<const std::string> paths) {
    std::string text = undoFailedMessage;
    text += paths.size() == 1 ? "\n\nThis file could not be undone:" : "\n\nThese files could not be undone:";
    for (size_t i = 0; i < paths.size() && i < filesNamed; ++i) text += "\n" + paths[i];
    if (paths.size() > filesNamed) text += "\n... and " + withThousandsSeparators(paths.size() - filesNamed) + " more.";
    return text;
}
