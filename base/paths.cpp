#include "base/paths.h"

std::string_view containingFolder(std::string_view path) {
    return path.substr(0, path.rfind('\\'));
}

std::string_view fileNameOf(std::string_view path) {
    size_t lastBackslash = path.rfind('\\');
    return lastBackslash == std::string_view::npos ? path : path.substr(lastBackslash + 1);
}

PathStem splitExtension(std::string_view path) {
    size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || dot < path.size() - fileNameOf(path).size()) return {path, {}};
    return {path.substr(0, dot), path.substr(dot)};
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
