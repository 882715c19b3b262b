// Running a helper program (schtasks.exe) without a window and waiting for it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace quillmor {

// Starts `executable` with `arguments` (each quoted as CommandLineToArgvW
// expects), hidden and without a console, in this process's environment and
// directory, and waits up to `timeoutMs` for it. True when it ran to its end:
// `exitCode` is then its exit code (0xFFFFFFFF when that cannot be read).
// False when it could not be started (`exitCode` untouched), when it outran
// the timeout (ended with exit code 1460; `exitCode` 258) or when the wait
// failed (`exitCode` the wait's error).
bool RunHidden(std::u16string_view executable, std::span<const std::u16string> arguments, uint32_t& exitCode,
               uint32_t timeoutMs);

}  // namespace quillmor
