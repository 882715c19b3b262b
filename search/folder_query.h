// Typing a folder's path lists what is directly inside it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/search_engine.h"
#include "platform/file_system.h"

namespace quillmor {

// Whether the query names an existing folder ("C:/Windows/", "c:\", a path in
// quotes); `folder` then receives it normalised ("C:\Windows", "c:"). A query
// beginning with the content prefix "s:" never does, nor does a path to a file.
bool ResolveFolderQuery(FileSystem& files, std::u16string_view query, std::u16string& folder);

// Delivers, volume by volume in snapshot order and by ascending record index,
// every record that is not deleted and whose full path's parent is `folder`
// (ignoring ASCII case). Volumes not available or being built are skipped.
void ListFolderChildren(const std::vector<VolumePtr>& snapshot, std::u16string_view folder,
                        const std::function<void(VolumeIndex*, uint64_t)>& sink);

}  // namespace quillmor
