#include "paths.h"

#include <vector>

namespace {

bool Separator(char c) {
#ifdef _WIN32
    return c == '/' || c == '\\';
#else
    return c == '/';
#endif
}

bool Absolute(const std::string& path) {
#ifdef _WIN32
    return (!path.empty() && Separator(path[0])) || (path.size() > 1 && path[1] == ':');
#else
    return !path.empty() && path[0] == '/';
#endif
}

// The parts of a path, "." dropped.
std::vector<std::string> Parts(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (const char c : path + "/") {
        if (!Separator(c)) {
            part += c;
            continue;
        }
        if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        part.clear();
    }
    return parts;
}

}  // namespace

std::string FolderOf(const std::string& path) {
    std::size_t end = path.size();
    while (end > 0 && !Separator(path[end - 1])) {
        --end;
    }
    return path.substr(0, end);
}

std::string FileNameOf(const std::string& path) { return path.substr(FolderOf(path).size()); }

std::string Joined(const std::string& folder, const std::string& path) {
    return Absolute(path) || folder.empty() ? path : folder + path;
}

std::string RelativeTo(const std::string& folder, const std::string& path) {
    if (Absolute(folder) != Absolute(path)) {
        return path;
    }
    const std::vector<std::string> from = Parts(folder);
    const std::vector<std::string> to = Parts(path);
    std::size_t common = 0;
    while (common < from.size() && common + 1 < to.size() && from[common] == to[common]) {
        ++common;
    }
    std::string relative;
    for (std::size_t i = common; i < from.size(); ++i) {
        if (from[i] == "..") {
            return path;  // a folder above the current one: no way back down by name
        }
        relative += "../";
    }
    for (std::size_t i = common; i < to.size(); ++i) {
        relative += to[i] + (i + 1 < to.size() ? "/" : "");
    }
    return relative;
}
