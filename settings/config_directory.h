// Where the settings, the attribute cache and the timing log live.
#pragma once

#include <string>
#include <string_view>

#include "platform/env.h"

namespace quillmor {

// The configuration directory, computed anew on every call and created when
// needed: Documents\Quillmor\config, else the local application data folder's
// Quillmor\config, else the temporary directory's, else C:\Quillmor\config.
std::u16string ConfigDirectory(Env& env);

// Makes ConfigDirectory answer `directory` (created when needed) instead;
// empty restores the search. For tools such as the command line, which name
// their own; call it before any thread starts.
void SetConfigDirectoryOverride(std::u16string directory);

// ConfigDirectory + "\" + name.
std::u16string ConfigFilePath(Env& env, std::u16string_view name);

}  // namespace quillmor
