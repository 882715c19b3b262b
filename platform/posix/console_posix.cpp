#include "platform/console.h"

namespace quillmor {

std::vector<std::string> CommandLineUtf8(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }

void UseUtf8StandardOutput() {}

}  // namespace quillmor
