#include "platform/console.h"

#include "platform/file_name_bytes.h"

#include <cstdio>

namespace quillmor {

std::vector<std::string> CommandLineUtf8(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }

void UseUtf8StandardOutput() {}

std::string PathOutputBytes(std::u16string_view path) { return FileNameToBytes(path); }

bool WriteStandardOutput(std::string_view utf8) {
  return std::fwrite(utf8.data(), 1, utf8.size(), stdout) == utf8.size();
}

}  // namespace quillmor
