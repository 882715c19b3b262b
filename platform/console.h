// The process's command line and standard output, for console tools.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillmor {

// The arguments as UTF-8, program name first. On Windows they are read as
// UTF-16 from the process (argv there is in the ANSI code page and loses
// characters); elsewhere argv is used as it is.
std::vector<std::string> CommandLineUtf8(int argc, char** argv);

// Makes standard output carry UTF-8 bytes unchanged ("\n" stays "\n").
void UseUtf8StandardOutput();

// The bytes that show a path on standard output: UTF-8 on Windows; on POSIX
// the name's own bytes (FileNameToBytes), so that a name that is not UTF-8
// prints as it is stored and can be handed back to other tools.
std::string PathOutputBytes(std::u16string_view path);

// Writes UTF-8 text to standard output, after anything printed before. On
// Windows a console is given the text as UTF-16 (WriteConsoleW), so that
// every character shows whatever the console's code page; a pipe or a file
// gets the UTF-8 bytes unchanged. False when not everything was written.
bool WriteStandardOutput(std::string_view utf8);

}  // namespace quillmor
