// The recent-files list in a user-defaults store: an array of bookmark byte strings under one key.
#pragma once

#include "viewer_core/FileUrl.hpp"
#include "viewer_core/UserDefaults.hpp"

#include <string_view>
#include <vector>

namespace quessel::core {

// The files the stored list names, in stored order, those that no longer resolve left out.
// A value that is absent, not an array, or holds anything but byte strings gives an empty list
// and is left in the store as it is. Duplicates and the length are not checked here.
std::vector<FileUrl> loadRecentFiles(const UserDefaults& store, std::string_view key);

// Replaces the stored value with the files' bookmarks in list order (an empty array for an
// empty list; the key is never removed).
void saveRecentFiles(UserDefaults& store, std::string_view key, const std::vector<FileUrl>& files);

} // namespace quessel::core
