#include "platform/console.h"

#include "platform/file_name_bytes.h"

namespace quillmor {

std::vector<std::string> CommandLineUtf8(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }

void UseUtf8StandardOutput() {}

std::string PathOutputBytes(std::u16string_view path) { return FileNameToBytes(path); }

}  // namespace quillmor
