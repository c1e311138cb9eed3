#include "browse/paths.h"

std::string_view containingFolder(std::string_view path) {
    return path.substr(0, path.rfind('\\'));
}

std::string folderOf(std::string_view path, const std::function<bool(const std::string&)>& isFolder) {
    std::string whole(path);
    if (whole.empty() || isFolder(whole)) return whole;
    return std::string(containingFolder(path));
}

std::string fileBeside(std::string_view path, std::string_view name) {
    std::string file(containingFolder(path));
    file += '\\';
    file += name;
    return file;
}
