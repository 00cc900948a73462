#pragma once
// What a console program does first, the same on Linux and Windows: its arguments as UTF-8 (on
// Windows from the wide command line: the narrow argv there holds the ANSI code page, which has
// no room for a Chinese path on an English system) and a console that shows UTF-8 output.
#include <string>
#include <vector>

namespace zk {

// The arguments after the program's name, UTF-8.
std::vector<std::string> program_arguments(int argc, char** argv);

// Makes the console show what the program writes as UTF-8 (Windows); nothing elsewhere.
void use_utf8_console();

} // namespace zk
