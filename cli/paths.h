// Paths as scripts name them: a table relative to its script's folder.
#pragma once

#include <string>

// The folder part of a path, with its last separator ("work/" of
// "work/game.txt"); empty for a name alone.
std::string FolderOf(const std::string& path);

// The last part of a path: "game.nes".
std::string FileNameOf(const std::string& path);

// `path` as seen from `folder` (as FolderOf gives it): joined where it is
// relative.
std::string Joined(const std::string& folder, const std::string& path);

// `path` relative to `folder`, both relative to the current folder or both
// absolute; `path` itself where they are not alike.
std::string RelativeTo(const std::string& folder, const std::string& path);
